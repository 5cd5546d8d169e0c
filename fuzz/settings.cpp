// The settings file as the window reads it at start-up, its alerts handed to the alert list, and
// saved again. A file that is not a JSON object is kept beside itself byte for byte; what a save
// writes reads back as itself (a second read and save change nothing).
//
// Input: the file.

#include "alerts/alertstore.h"
#include "app/maingui.h"
#include "app/settingsfile.h"
#include "fuzz/fuzzsupport.h"
#include "fuzz/windowfuzz.h"

#include <QFile>
#include <QJsonDocument>

namespace
{

// Reads the file into the window as start-up does, then saves the window's settings.
QByteArray readAndSave(MainGUI& window)
{
    window.alertDefs.clear();
    window.alertThresholds.clear();
    window.alertActive.clear();
    window.readOptions();
    window.loadAlerts(window.storedAlerts);
    window.storedAlertsApplied = true;
    window.saveSettings();
    return fileBytes(settingsFilePath());
}

} // namespace

FUZZ_START(fuzzStartWindow)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    const QString path = settingsFilePath();
    QFile::remove(path + QStringLiteral(".bad"));
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();

    // The alert store reads what it writes.
    const QJsonArray alerts = readAlertsSetting(QJsonDocument::fromJson(bytes).object());
    const QList<AlertDef> defs = alertDefsFromJson(alerts);
    FUZZ_CHECK(alertDefsFromJson(alertDefsToJson(defs)) == defs);

    MainGUI& window = fuzzWindow();
    const QByteArray saved = readAndSave(window);
    if (!QJsonDocument::fromJson(bytes).isObject())
        FUZZ_CHECK(fileBytes(path + QStringLiteral(".bad")) == bytes);
    FUZZ_CHECK(readAndSave(window) == saved);
    return 0;
}
