#include "link/constanttables.h"

#include <QColor>

const QString colorAlertRed = QStringLiteral("#FF0000");
const QString colorButtonBase = QStringLiteral("#1F2933");

const QBrush brushChartGrid(QColor(62, 76, 89), Qt::SolidPattern);
const QBrush brushChartSeries(QColor(67, 167, 162), Qt::SolidPattern);
const QBrush brushTransparent(QColor(QStringLiteral("transparent")), Qt::SolidPattern);
const QBrush brushWhite(QColor(QStringLiteral("white")), Qt::SolidPattern);

const QString htmlFontLime = QStringLiteral("<font color=\"Lime\">");
const QString htmlFontOrange = QStringLiteral("<font color=\"Orange\">");
const QString htmlFontEnd = QStringLiteral("</font><br>");

const QList<QPair<QString, QString>> modulePrefixes = {
    {QStringLiteral("Main Controller (MAIN)"), QStringLiteral(">")},
    {QStringLiteral("Ceilometer (CEL)"), QStringLiteral("C")},
    {QStringLiteral("Iridium (IRD)"), QStringLiteral("I")},
    {QStringLiteral("Temperature, Pressure & Humidity (TPH)"), QStringLiteral("T")},
    {QStringLiteral("Present Weather (PWD)"), QStringLiteral("V")},
    {QStringLiteral("Wind (WND)"), QStringLiteral("W")},
    {QStringLiteral("Lightning (LTG)"), QStringLiteral("G")},
    {QStringLiteral("Radio (RFLOS)"), QStringLiteral("R")},
};

QString moduleLabelForLine(const QString& stackLine)
{
    if (stackLine.isEmpty())
        return QString();
    const QStringRef letter = stackLine.leftRef(1);
    for (const QPair<QString, QString>& module : modulePrefixes) {
        if (module.second == letter)
            return module.first;
    }
    return QString();
}

const QString styleComboInvalid =
    QStringLiteral("QComboBox { background-color: #FF0000; color: #F5F7FA; }");
const QString styleComboNormal =
    QStringLiteral("QComboBox { background-color: #1F2933; color: #F5F7FA; }");
const QString styleLineEditInvalid =
    QStringLiteral("QLineEdit {color:#F5F7FA; border: 1px solid #3E4C59; background: "
                   "#FF0000;font-weight: bold; }");
const QString styleLineEditNormal =
    QStringLiteral("QLineEdit {color:#F5F7FA; border: 1px solid #3E4C59; background: "
                   "#1F2933;font-weight: bold; }");

const QList<QPair<QString, QString>> commandHelpTexts = {
    {QStringLiteral("label_command_help_frequency"),
     QStringLiteral("Set the sensor's METAR reporting frequency & default Iridium transmit "
                    "frequency. This does not affect the default 5 second serial output rate.")},
    {QStringLiteral("label_command_help_gps"), QStringLiteral("Set GPS behavior.")},
    {QStringLiteral("label_command_help_elevation"),
     QStringLiteral("If automated GPS elevation readings are insufficiently accurate, manually "
                    "set the elevation here. Setting a manual elevation will ignore any automated "
                    "GPS-based updates until this setting is disabled.")},
    {QStringLiteral("label_command_help_decl"),
     QStringLiteral("Set compass declination in degrees. Resulting TRUE = MAGNETIC + "
                    "DECLINATION")},
    {QStringLiteral("label_command_help_rf"),
     QStringLiteral("Enable/disable all RF emitting modules (Iridium, RFLOS).")},
    {QStringLiteral("label_command_help_blower"),
     QStringLiteral("Set ceilometer blower behavior. If your sensor does not have a ceilometer, "
                    "this setting will not work.")},
    {QStringLiteral("label_command_help_heater"),
     QStringLiteral("Set heater behavior. If enabled, heaters will automatically regulate "
                    "temperature. Heaters require commercial power to work (solar and battery "
                    "will not work).")},
    {QStringLiteral("label_command_help_led"),
     QStringLiteral("Enable/disable the LED on the front panel of the sensor.")},
    {QStringLiteral("label_command_help_log"),
     QStringLiteral("Enable/disable the data logging feature inside the main controller module. "
                    "This does not affect Vantora Direct's logging features. This will freeze "
                    "the sensor for up to 5 minutes on a clear command.")},
    {QStringLiteral("label_command_help_timestamp"), QStringLiteral("Manually set a timestamp.")},
    {QStringLiteral("label_command_help_icao"), QStringLiteral("Set an ICAO station identifier.")},
    {QStringLiteral("label_command_help_send"),
     QStringLiteral("Send a message via Iridium. See user's manual for more information.")},
    {QStringLiteral("label_command_help_txf"),
     QStringLiteral("Set RFLOS transmit frequency. Both sensor and station radios must use the "
                    "same value. Transmit frequency and receive frequency must differ by at "
                    "least 50 kHz. The value will program into the frequency table per the "
                    "\"Program Channel\" selection.")},
    {QStringLiteral("label_command_help_rxf"),
     QStringLiteral("Set RFLOS receive frequency. Both sensor and station radios must use the "
                    "same value. Transmit frequency and receive frequency must differ by at "
                    "least 50 kHz. The value will program into the frequency table per the "
                    "\"Program Channel\" selection.")},
    {QStringLiteral("label_command_help_prog_chan"),
     QStringLiteral("Select which element of the RFLOS frequency table will be programed with "
                    "the above transmit and receive frequencies.")},
    {QStringLiteral("label_command_help_sel_chan"),
     QStringLiteral("RFLOS frequencies are programmed into an 12 element table using the above "
                    "commands. Use this command to select your active channel.")},
    {QStringLiteral("label_command_help_rflos_message_rate"),
     QStringLiteral("The RFLOS module transmits data at user selected rates. The default 60 "
                    "second rate operates on battery power. Selecting a 5 or 10 second rate will "
                    "rapidly drain battery. Commercial power is recommended.")},
    {QStringLiteral("label_orva_commands_stack_help"),
     QStringLiteral("The stack status indicates whether modules are enabled (Green) or disabled "
                    "(Red) and can be populated by clicking the 'Refresh' button. Make sure you "
                    "click refresh after a power cycle to ensure you have an up to date status. "
                    "When disabled, a module will still be enumerated by the stack, but will no "
                    "longer perform active measurement/comms functions.")},
};
