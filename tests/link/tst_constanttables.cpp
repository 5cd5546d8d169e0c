#include "tests/support/testsupport.h"

#include "link/constanttables.h"

#include <QtTest>

// Every expected value below is written out from the unit's and the window's documented tables,
// not taken from the code under test.
class TestConstantTables : public QObject
{
    Q_OBJECT
private slots:
    void highSpeedKeysInOrder()
    {
        const QStringList expected = {
            "Timestamp",
            "Timestamp UTC",
            "Timestamp Device",
            "Wind Speed",
            "Wind Direction",
            "Wind Speed Inst",
            "Wind Direction 2minAvg",
            "Wind Direction Max 10 Minutes",
            "Wind Speed Max 10 Minutes",
            "Wind Direction Min 10 Minutes",
            "Wind Speed Min 10 Minutes",
            "Wind Direction Max 1 Hour",
            "Wind Speed Max 1 Hour",
            "Wind Direction Min 1 Hour",
            "Wind Speed Min 1 Hour",
            "Wind Average Direction 10 Minutes",
            "Wind Average Speed 10 Minutes",
            "Wind Average Direction 1 Hour",
            "Wind Average Speed 1 Hour",
            "X Wind",
            "Gust Speed",
            "Gust Direction",
            "X Gust",
            "Lightning Strikes 1 Min",
            "Lightning Strikes 10 Min",
            "Lightning Strikes 60 Min",
            "Lightning Min Distance 1 Min",
            "Lightning Min Distance 10 Min",
            "Lightning Min Distance 60 Min",
        };
        QCOMPARE(highSpeedKeys, expected);
    }

    void texts_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        QTest::newRow("colorAlertRed") << colorAlertRed << "#FF0000";
        QTest::newRow("colorButtonBase") << colorButtonBase << "#1F2933";
        QTest::newRow("htmlFontLime") << htmlFontLime << R"(<font color="Lime">)";
        QTest::newRow("htmlFontOrange") << htmlFontOrange << R"(<font color="Orange">)";
        QTest::newRow("htmlFontEnd") << htmlFontEnd << "</font><br>";
        QTest::newRow("styleComboInvalid")
            << styleComboInvalid << "QComboBox { background-color: #FF0000; color: #F5F7FA; }";
        QTest::newRow("styleComboNormal")
            << styleComboNormal << "QComboBox { background-color: #1F2933; color: #F5F7FA; }";
        QTest::newRow("styleLineEditInvalid")
            << styleLineEditInvalid
            << "QLineEdit {color:#F5F7FA; border: 1px solid #3E4C59; background: "
               "#FF0000;font-weight: bold; }";
        QTest::newRow("styleLineEditNormal")
            << styleLineEditNormal
            << "QLineEdit {color:#F5F7FA; border: 1px solid #3E4C59; background: "
               "#1F2933;font-weight: bold; }";
    }
    void texts()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }

    void brushes_data()
    {
        QTest::addColumn<QBrush>("brush");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("brushChartGrid") << brushChartGrid << QColor(62, 76, 89, 255);
        QTest::newRow("brushChartSeries") << brushChartSeries << QColor(67, 167, 162, 255);
        QTest::newRow("brushTransparent") << brushTransparent << QColor(0, 0, 0, 0);
        QTest::newRow("brushWhite") << brushWhite << QColor(255, 255, 255, 255);
    }
    void brushes()
    {
        QFETCH(QBrush, brush);
        QFETCH(QColor, colour);
        QCOMPARE(brush.style(), Qt::SolidPattern);
        QCOMPARE(brush.color().rgba(), colour.rgba());
    }

    void moduleTable()
    {
        const QList<QPair<QString, QString>> expected = {
            {"Main Controller (MAIN)", ">"}, {"Ceilometer (CEL)", "C"},
            {"Iridium (IRD)", "I"},          {"Temperature, Pressure & Humidity (TPH)", "T"},
            {"Present Weather (PWD)", "V"},  {"Wind (WND)", "W"},
            {"Lightning (LTG)", "G"},        {"Radio (RFLOS)", "R"},
        };
        QCOMPARE(modulePrefixes, expected);
    }

    void moduleOfStackLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("label");
        QTest::newRow("main") << ">MAIN 1.2 enabled"
                              << "Main Controller (MAIN)";
        QTest::newRow("ceilometer") << "C:1:enabled"
                                    << "Ceilometer (CEL)";
        QTest::newRow("iridium") << "I"
                                 << "Iridium (IRD)";
        QTest::newRow("tph") << "T 0 1"
                             << "Temperature, Pressure & Humidity (TPH)";
        QTest::newRow("present weather") << "V1"
                                         << "Present Weather (PWD)";
        QTest::newRow("wind") << "W"
                              << "Wind (WND)";
        QTest::newRow("lightning") << "G-"
                                   << "Lightning (LTG)";
        QTest::newRow("radio") << "R:0"
                               << "Radio (RFLOS)";
        QTest::newRow("unknown letter") << "X:1"
                                        << "";
        QTest::newRow("lower case") << "c:1"
                                    << "";
        QTest::newRow("letter not first") << " C:1"
                                          << "";
        QTest::newRow("empty line") << ""
                                    << "";
    }
    void moduleOfStackLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, label);
        QCOMPARE(moduleLabelForLine(line), label);
    }

    void commandHelpTextsInOrder()
    {
        const QList<QPair<QString, QString>> expected = {
            {"label_command_help_frequency",
             "Set the sensor's METAR reporting frequency & default Iridium transmit frequency. "
             "This does not affect the default 5 second serial output rate."},
            {"label_command_help_gps", "Set GPS behavior."},
            {"label_command_help_elevation",
             "If automated GPS elevation readings are insufficiently accurate, manually set the "
             "elevation here. Setting a manual elevation will ignore any automated GPS-based "
             "updates until this setting is disabled."},
            {"label_command_help_decl",
             "Set compass declination in degrees. Resulting TRUE = MAGNETIC + DECLINATION"},
            {"label_command_help_rf", "Enable/disable all RF emitting modules (Iridium, RFLOS)."},
            {"label_command_help_blower",
             "Set ceilometer blower behavior. If your sensor does not have a ceilometer, this "
             "setting will not work."},
            {"label_command_help_heater",
             "Set heater behavior. If enabled, heaters will automatically regulate temperature. "
             "Heaters require commercial power to work (solar and battery will not work)."},
            {"label_command_help_led", "Enable/disable the LED on the front panel of the sensor."},
            {"label_command_help_log",
             "Enable/disable the data logging feature inside the main controller module. This "
             "does not affect Vantora Direct's logging features. This will freeze the sensor for "
             "up to 5 minutes on a clear command."},
            {"label_command_help_timestamp", "Manually set a timestamp."},
            {"label_command_help_icao", "Set an ICAO station identifier."},
            {"label_command_help_send",
             "Send a message via Iridium. See user's manual for more information."},
            {"label_command_help_txf",
             "Set RFLOS transmit frequency. Both sensor and station radios must use the same "
             "value. Transmit frequency and receive frequency must differ by at least 50 kHz. "
             "The value will program into the frequency table per the \"Program Channel\" "
             "selection."},
            {"label_command_help_rxf",
             "Set RFLOS receive frequency. Both sensor and station radios must use the same "
             "value. Transmit frequency and receive frequency must differ by at least 50 kHz. "
             "The value will program into the frequency table per the \"Program Channel\" "
             "selection."},
            {"label_command_help_prog_chan",
             "Select which element of the RFLOS frequency table will be programed with the above "
             "transmit and receive frequencies."},
            {"label_command_help_sel_chan",
             "RFLOS frequencies are programmed into an 12 element table using the above "
             "commands. Use this command to select your active channel."},
            {"label_command_help_rflos_message_rate",
             "The RFLOS module transmits data at user selected rates. The default 60 second rate "
             "operates on battery power. Selecting a 5 or 10 second rate will rapidly drain "
             "battery. Commercial power is recommended."},
            {"label_orva_commands_stack_help",
             "The stack status indicates whether modules are enabled (Green) or disabled (Red) "
             "and can be populated by clicking the 'Refresh' button. Make sure you click refresh "
             "after a power cycle to ensure you have an up to date status. When disabled, a "
             "module will still be enumerated by the stack, but will no longer perform active "
             "measurement/comms functions."},
        };
        QCOMPARE(commandHelpTexts, expected);
    }
};

QTEST_GUILESS_MAIN(TestConstantTables)
#include "tst_constanttables.moc"
