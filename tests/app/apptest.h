#pragma once

// Small helpers the window and dialog suites share.

#include "tests/support/queuedspy.h"
#include "tests/support/testsupport.h"

#include <QComboBox>
#include <QDir>
#include <QLoggingCategory>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>

#include <cstdlib>

// Everything the logging worker has written to application logs in this run.
inline QByteArray applicationLogs()
{
    const QDir dir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                   QStringLiteral("/logging"));
    QByteArray all;
    for (const QString& name : dir.entryList({QStringLiteral("Vantora_Direct_LogFile_*")}))
        all += fileBytes(dir.filePath(name));
    return all;
}

// The link's word on opening `port`, from a spy on its log lines made before the open: empty
// once the line is open, else why it is not. A line that does not open fails the row there, with
// the link's reason, not later with what the unit never got.
inline QString openFailure(const QueuedSpy& linkLog, const QString& port)
{
    const QString opened = QStringLiteral("INFO: Successfully Opened Serial Port ") + port;
    const QString refused = QStringLiteral("ERROR: Unable to Open Serial Port ") + port;
    QString failure = QStringLiteral("the link said nothing on opening ") + port;
    // Silence past the wait leaves `failure` saying so.
    (void)QTest::qWaitFor(
        [&] {
            for (const QList<QVariant>& call : linkLog) {
                const QString line = call.at(0).toString();
                if (line == opened || line.startsWith(refused)) {
                    failure = line == opened ? QString() : line;
                    return true;
                }
            }
            return false;
        },
        10000);
    return failure;
}
#define VERIFY_OPENED(linkLog, port)                                                               \
    do {                                                                                           \
        const QString failure = openFailure(linkLog, port);                                        \
        QVERIFY2(failure.isEmpty(), qPrintable(failure));                                          \
    } while (false)

inline QStringList comboTexts(const QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

// The suites run with debug output off; this turns it on for the application's own lines, for
// a suite that checks what reaches the debug output.
inline void enableDebugOutput()
{
    static QLoggingCategory::CategoryFilter rules = QLoggingCategory::installFilter(nullptr);
    QLoggingCategory::installFilter([](QLoggingCategory* category) {
        rules(category);
        if (qstrcmp(category->categoryName(), "default") == 0)
            category->setEnabled(QtDebugMsg, true);
    });
}

// The first argument of every call a spy heard, as text.
inline QStringList firstArgs(const QSignalSpy& spy)
{
    QStringList texts;
    for (const QList<QVariant>& call : spy)
        texts << call.at(0).toString();
    return texts;
}

// A named child that must exist; a missing one is a broken form, not a failed check.
template <typename T> T* child(const QObject* parent, const char* name)
{
    T* found = parent->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no %s", name);
    return found;
}

// The BRQ command lists, as the setup dialog and the command page show them.
// clang-format off
namespace BrqItems
{
const QStringList mode = {"No command", "3 Hour", "1 Hour", "20 Minute", "5 Minute", "1 Minute",
                          "20 Second", "10 Second"};
const QStringList camera = {"No command", "Off", "Request Images (All)", "Request Single Camera",
                            "Set Auto Image Capture", "Cancel Auto Image Capture"};
const QStringList ceilometer = {"No command", "Disable", "Enable Auto", "Enable Always"};
const QStringList gps = {"No command", "Disable Lat/Lon", "Enable Lat/Lon", "Update GPS Lat/Lon",
                         "Update GPS Lat/Lon and Elevation", "Set Elevation (m)"};
const QStringList speci = {"No command", "Disable", "Enable"};
const QStringList cameraNumber = {"1", "2", "3", "4"};
} // namespace BrqItems
// clang-format on
