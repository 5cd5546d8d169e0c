#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Stand-in for the desktop's per-user data protection, asked to protect the key text before the
// key file is written. This platform offers no such service to the program, so the bytes pass
// through unchanged and the call succeeds; the caller uses only the success, never the output.
bool protectData(const QByteArray& plain, const QString& description, QByteArray* protectedOut);

// Lets a test make the service fail; an empty function restores the stand-in.
using DataProtector = std::function<bool(const QByteArray& plain, QByteArray* protectedOut)>;
void setDataProtector(DataProtector protector);
