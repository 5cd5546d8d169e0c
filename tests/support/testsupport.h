#pragma once

// Included by every suite: test mode keeps the suites out of the operator's
// application data folder (each suite gets its own folder under ~/.qttest).

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>

static void vdEnableTestMode()
{
    QStandardPaths::setTestModeEnabled(true);
}
Q_COREAPP_STARTUP_FUNCTION(vdEnableTestMode)

// The whole content of a file; empty when it cannot be read.
inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
