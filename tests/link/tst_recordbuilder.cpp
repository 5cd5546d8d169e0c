#include "tests/support/testsupport.h"

#include "decoder/weatherdatadecoder.h"
#include "link/data_incoming.h"
#include "tests/support/recordtext.h"
#include "tests/support/scopedclock.h"

#include <QSignalSpy>
#include <QtTest>

namespace
{

class WorkerProbe : public data_incoming
{
public:
    using data_incoming::decoder;
};

// Every key of a built record, as the dashboard, the report form and the data log know them.
const QStringList kOrvaKeys = {"Timestamp",
                               "Timestamp UTC",
                               "Timestamp Device",
                               "IMEI",
                               "precip_total_1hr",
                               "precip_total_3hr",
                               "precip_total_6hr",
                               "precip_total_24hr",
                               "METAR",
                               "Type",
                               "Voltage",
                               "Temperature",
                               "Temperature 24 Hrs Max",
                               "Temperature 24 Hrs Min",
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
                               "X Wind",
                               "Gust Speed",
                               "Gust Direction",
                               "X Gust",
                               "Pressure",
                               "HA Pressure",
                               "Humidity",
                               "Dewpoint",
                               "Dew Point 24 Hrs Max",
                               "Dew Point 24 Hrs Min",
                               "Cloud Layer 1",
                               "Cloud Layer 2",
                               "Cloud Layer 3",
                               "Cloud Layer 4",
                               "Cloud Layer 5",
                               "Cloud Layer 6",
                               "Cloud Vertical Visibility",
                               "Clouds",
                               "Lowest Broken Layer",
                               "Precipitation",
                               "Lightning Frequency",
                               "Lightning Distance",
                               "Lightning Strikes 1 Min",
                               "Lightning Strikes 10 Min",
                               "Lightning Strikes 60 Min",
                               "Lightning Min Distance 1 Min",
                               "Lightning Min Distance 10 Min",
                               "Lightning Min Distance 60 Min",
                               "Latitude",
                               "Longitude",
                               "Elevation",
                               "Orientation",
                               "Tilt",
                               "Reporting Mode",
                               "Heat Index",
                               "Wind Chill",
                               "Altimeter",
                               "Station Pressure",
                               "3 Hr Pressure",
                               "Sea Level Pressure",
                               "Pressure Altitude",
                               "Density Altitude",
                               "Present Weather",
                               "Contamination",
                               "Sig Wave Direction",
                               "Sig Wave Period",
                               "Sig Wave Height",
                               "Sea Surface Temp",
                               "Compass Heading",
                               "Serial Port",
                               "Visibility",
                               "Visibility1",
                               "RFLOS Transmit Frequency",
                               "RFLOS Receive Frequency",
                               "RFLOS Band",
                               "Radio Transmit Rate",
                               "Tampering"};
const QStringList kFlagKeys = {"Obs METAR", "Obs SPECI", "Backlog Status"};
const QStringList kOrvaOnlyKeys = {"precip_total_1hr", "precip_total_3hr", "precip_total_6hr",
                                   "precip_total_24hr", "Visibility1"};

using Lines = QList<RecordLine>;

Lines withLine(Lines lines, const QString& key, const QStringList& values)
{
    for (RecordLine& line : lines) {
        if (line.first == key) {
            line.second = values;
            return lines;
        }
    }
    lines << RecordLine{key, values};
    return lines;
}

Lines without(Lines lines, const QString& key)
{
    for (int i = 0; i < lines.size(); ++i)
        if (lines.at(i).first == key)
            lines.removeAt(i--);
    return lines;
}

// A full ORVA observation at 2026-03-05 14:07:09.
const Lines kOrvaLines = {
    {"N", {"METAR", "0", "0", "0", "KXYZ", "1", "1"}},
    {"B", {"12.6", "10", "x", "E1", "y", "0"}},
    {"T", {"26/03/05,14", "07", "09"}},
    {"IR", {"a", "b", "c", "OV7731"}},
    {"WI", {"12.5", "184", "12", "184"}},
    {"GU", {"0", "0", "18", "190", "0", "0", "150", "220"}},
    {"TA", {"21.4"}},
    {"RH", {"45"}},
    {"BA", {"1013.25", "2992", "-1.6", "0", "2"}},
    {"EL", {"100"}},
    {"CL", {"1", "30", "9", "0", "0", "0", "0", "2", "6", "0", "0", "0", "0", "120"}},
    {"PW", {"0.2", "61", "x", "10.0", "10.0", "27"}},
    {"LT", {"3", "5", "9", "12", "12", "12"}},
    {"LA", {"45.5"}},
    {"LO", {"-73.6"}},
    {"OR", {"10", "1"}},
    {"SS", {"90", "1.5", "8", "270", "0", "0", "0", "0", "14.5"}},
    {"RA", {"433.5", "434.25", "1"}},
    {"PA", {"0", "0", "0", "0", "0", "0.12", "0.5", "1.0", "2.0"}},
};

// A BRQ observation at the same time.
const Lines kBrqLines = {
    {"T", {"26/03/05,14", "07", "09"}},
    {"B", {"12.6", "1", "x", "64", "y", "1"}},
    {"WI", {"8", "270"}},
    {"GU", {"12", "280"}},
    {"TA", {"18.5"}},
    {"RH", {"60"}},
    {"BA", {"1013.25", "2992"}},
    {"VI", {"10"}},
    {"CL", {"1", "366", "1036", "0", "0", "0", "0", "3", "8", "0", "0", "0", "0", "366"}},
    {"LD", {"12", "3", "--"}},
    {"LA", {"45.5"}},
    {"LO", {"-73.6"}},
};

// Every field either family reads, the second station pressure included.
Lines noValueBase(bool orvaUnit)
{
    return (orvaUnit ? kOrvaLines : kBrqLines) + Lines{{"HP", {"990.5"}}};
}

QByteArray orvaPacket(const Lines& lines, char type = '0')
{
    return QByteArray("@") + type + buildRecord(lines).toUtf8() + "~0000\r\n\r\n";
}

QByteArray brqPacket(const Lines& lines, const QString& unit = QStringLiteral("UNIT7"))
{
    return ("@I:" + unit + "\r\n" + buildRecord(lines).mid(2)).toUtf8();
}

// Lines of a record at `hhmm` on 5 March.
Lines at(const QString& hhmm, Lines lines)
{
    lines.prepend({"T", {"26/03/05," + hhmm.left(2), hhmm.mid(2), "00"}});
    return lines;
}

// An ORVA record of unit `unit`; an empty unit leaves its line out.
QByteArray orvaAt(const QString& unit, const QString& hhmm, const Lines& lines)
{
    return orvaPacket(unit.isEmpty() ? at(hhmm, lines)
                                     : withLine(at(hhmm, lines), "IR", {"a", "b", "c", unit}));
}

QByteArray brqAt(const QString& unit, const QString& hhmm, const Lines& lines)
{
    return brqPacket(at(hhmm, lines), unit);
}

// A legacy ORVA weather block of unit `unit`.
QByteArray legacyAt(const QString& unit, const QString& hhmm, const Lines& lines)
{
    const QString record = buildRecord(withLine(at(hhmm, lines), "IR", {"a", "b", "c", unit}));
    return ("@I:LEG\r\n" + record.mid(2) + "@0:00~\r\n\r\n").toUtf8();
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

class TestRecordBuilder : public QObject
{
    Q_OBJECT

private:
    QJsonObject built;
    QList<QJsonObject> published;
    void attach(WorkerProbe& worker, DeviceTypes device)
    {
        worker.setDeviceTypeState(device);
        connect(&worker, &data_incoming::weather_data_received, this, [this](const QJsonObject& r) {
            built = r;
            published << r;
        });
    }
    // "L..." is a compass packet, an empty one "Setup...", "=" nothing; a block with an "@0"
    // line is a legacy ORVA unit's.
    void feed(WorkerProbe& worker, const QByteArrayList& packets)
    {
        for (const QByteArray& packet : packets) {
            if (packet.isEmpty()) {
                worker.closeSerialPort();
                worker.clearTampering();
            } else if (packet.startsWith('L')) {
                worker.decoder->parseLightningCompassData(packet);
            } else if (packet != "=") {
                const bool legacy = packet.contains("\r\n@0");
                const bool orva = legacy || !packet.startsWith("@I");
                worker.setDeviceTypeState(orva ? DeviceTypes::ORVA : DeviceTypes::BRQ);
                if (legacy)
                    worker.legacyorvadevicecheck(true);
                worker.handleWeatherData(packet, orva && !legacy ? packet.at(1) : '0', packet);
            }
        }
    }
    QJsonObject orva(const Lines& lines)
    {
        WorkerProbe worker;
        attach(worker, DeviceTypes::ORVA);
        worker.handleWeatherData(orvaPacket(lines), '0', orvaPacket(lines));
        return built;
    }
    QJsonObject brq(const Lines& lines)
    {
        WorkerProbe worker;
        attach(worker, DeviceTypes::BRQ);
        worker.handleWeatherData(brqPacket(lines), '0', QByteArray());
        return built;
    }

private slots:
    void keysOfEachFamily()
    {
        const QJsonObject o = orva(kOrvaLines);
        QCOMPARE(sorted(o.keys()), sorted(kOrvaKeys + kFlagKeys));
        QCOMPARE(o.size(), 86);
        for (const QString& key : kOrvaKeys)
            QVERIFY2(o.value(key).isString(), qPrintable(key));

        // The same key set even when the record holds nothing at all.
        QCOMPARE(sorted(orva({}).keys()), sorted(kOrvaKeys + kFlagKeys));

        QStringList brqKeys = kOrvaKeys + kFlagKeys;
        for (const QString& key : kOrvaOnlyKeys)
            brqKeys.removeOne(key);
        QCOMPARE(sorted(brq(kBrqLines).keys()), sorted(brqKeys));
        QCOMPARE(brq(kBrqLines).size(), 81);
    }

    void orvaValues()
    {
        const QJsonObject r = orva(kOrvaLines);
        const QList<QPair<const char*, const char*>> expected = {
            {"Timestamp", "2026-03-05 14:07:09"},
            {"IMEI", "OV7731"},
            {"Type", "ORVA"},
            {"Voltage", "12.6"},
            {"Reporting Mode", "10 minute"},
            {"Radio Transmit Rate", "5 Seconds"},
            {"Temperature", "21.4"},
            {"Temperature 24 Hrs Max", "21.4"},
            {"Wind Speed", "12"},
            {"Wind Speed Inst", "12.5"},
            {"Wind Direction", "184"},
            {"Wind Direction 2minAvg", "184"},
            {"Wind Speed Max 10 Minutes", "12"},
            {"Wind Direction Max 10 Minutes", "184"},
            {"Gust Speed", "18"},
            {"Gust Direction", "190"},
            {"X Wind", " 0.8"},
            {"X Gust", " 3.1"},
            {"Cloud Layer 1", "300"},
            {"Cloud Layer 2", "1000"},
            {"Cloud Layer 3", ""},
            {"Cloud Vertical Visibility", "0"},
            {"Clouds", "300, 1000 ft"},
            {"Lowest Broken Layer", "400"},
            {"Present Weather", "Light Rain"},
            {"Lightning Strikes 1 Min", "3"},
            {"Lightning Strikes 60 Min", "9"},
            {"Lightning Min Distance 60 Min", "12"},
            {"3 Hr Pressure", "-1.6"},
            {"Visibility", "6.21504"},
            {"Visibility1", "6.21504"},
            {"RFLOS Band", "UHF"},
            {"precip_total_1hr", "12"},
            {"precip_total_3hr", "50"},
            {"precip_total_6hr", "100"},
            {"precip_total_24hr", "200"},
            {"Tampering", ""},
        };
        for (const auto& e : expected)
            QVERIFY2(
                r.value(e.first).toString() == QLatin1String(e.second),
                qPrintable(QStringLiteral("%1: %2").arg(e.first, r.value(e.first).toString())));
        QVERIFY(r.value("METAR").toString().startsWith("METAR KXYZ 051407Z 18012G18KT 150V220 "));
        QCOMPARE(r.value("METAR").toString(), r.value("METAR").toString().trimmed());
    }

    void brqValues()
    {
        const QJsonObject r = brq(kBrqLines);
        QCOMPARE(r.value("IMEI").toString(), QStringLiteral("UNIT7"));
        QCOMPARE(r.value("Type").toString(), QStringLiteral("R200"));
        QCOMPARE(r.value("Reporting Mode").toString(), QStringLiteral("1 Hour"));
        QCOMPARE(r.value("Visibility").toString(), QStringLiteral("10"));
        QCOMPARE(r.value("Lightning Distance").toString(), QStringLiteral("12"));
        QCOMPARE(r.value("Lightning Frequency").toString(), QStringLiteral("3"));
        QCOMPARE(r.value("3 Hr Pressure").toString(), QStringLiteral("0.00"));
        QCOMPARE(r.value("Lowest Broken Layer").toString(), QStringLiteral("1200"));
        QVERIFY(r.value("METAR").toString().startsWith("METAR UNIT7 051407Z AUTO 27008G12KT "));
    }

    void timestamps_data()
    {
        QTest::addColumn<QStringList>("timeLine");
        QTest::addColumn<QString>("timestamp");
        QTest::addColumn<QString>("utc");
        QTest::addColumn<QString>("device");

        const QString now = QStringLiteral("26-06-30 23:59:58");
        QTest::newRow("no time line") << QStringList() << "" << now << "";
        QTest::newRow("device clock unset") << QStringList{"00/01/01,00", "00", "05"}
                                            << "2000-01-01 00:00:05" << now << "00-01-01 00:00:05";
        QTest::newRow("device clock set")
            << QStringList{"26/03/04,05", "06", "07"} << "2026-03-04 05:06:07"
            << "26-03-04 05:06:07"
            << "26-03-04 05:06:07";
        QTest::newRow("set but impossible date")
            << QStringList{"26/13/04,05", "06", "07"} << "2026-13-04 05:06:07"
            << ""
            << "";
    }

    void timestamps()
    {
        QFETCH(QStringList, timeLine);
        QFETCH(QString, timestamp);
        QFETCH(QString, utc);
        QFETCH(QString, device);

        ScopedClock clock(QDateTime(QDate(2026, 6, 30), QTime(23, 59, 58), Qt::UTC));
        const auto timed = [&timeLine](const Lines& lines) {
            return timeLine.isEmpty() ? without(lines, "T") : withLine(lines, "T", timeLine);
        };
        for (const QJsonObject& r : {orva(timed(kOrvaLines)), brq(timed(kBrqLines))}) {
            QCOMPARE(r.value("Timestamp").toString(), timestamp);
            QCOMPARE(r.value("Timestamp UTC").toString(), utc);
            QCOMPARE(r.value("Timestamp Device").toString(), device);
        }
    }

    void sky_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<QStringList>("ceilometer");
        QTest::addColumn<QStringList>("layers");
        QTest::addColumn<QString>("vertical");
        QTest::addColumn<QString>("clouds");

        const QStringList none{"", "", "", "", "", ""};
        const QStringList dashes{"-", "-", "-", "-", "-", "-"};
        QTest::newRow("two BRQ layers")
            << int(DeviceTypes::BRQ)
            << QStringList{"1", "366", "1036", "0", "0", "0", "0", "3", "8", "0", "0", "0", "0", ""}
            << QStringList{"1200", "3400", "", "", "", ""} << "0"
            << "1200, 3400 ft";
        QTest::newRow("clear ORVA sky")
            << int(DeviceTypes::ORVA)
            << QStringList{"1", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", ""}
            << none << "0"
            << "CLR";
        QTest::newRow("BRQ without layers")
            << int(DeviceTypes::BRQ)
            << QStringList{"1", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", ""}
            << none << "0"
            << "";
        QTest::newRow("ceilometer off")
            << int(DeviceTypes::ORVA) << QStringList{"-", "30", "9"} << dashes << "-"
            << "Ceilometer OFF";
        QTest::newRow("no ceilometer") << int(DeviceTypes::BRQ) << QStringList{"?"} << dashes << "-"
                                       << "No Ceilometer";
        QTest::newRow("six ORVA layers")
            << int(DeviceTypes::ORVA) << QStringList{"1", "10", "20", "40", "80", "160", "320",
                                                     "1", "2",  "3",  "4",  "5",  "8",   ""}
            << QStringList{"300", "700", "1300", "2600", "5000", "10000"} << "0"
            << "300, 700, 1300, 2600, 5000, 10000 ft";
    }

    void sky()
    {
        QFETCH(int, device);
        QFETCH(QStringList, ceilometer);
        QFETCH(QStringList, layers);
        QFETCH(QString, vertical);
        QFETCH(QString, clouds);

        const QJsonObject r = device == int(DeviceTypes::ORVA)
                                  ? orva(withLine(kOrvaLines, "CL", ceilometer))
                                  : brq(withLine(kBrqLines, "CL", ceilometer));
        for (int i = 0; i < 6; ++i)
            QCOMPARE(r.value(QStringLiteral("Cloud Layer %1").arg(i + 1)).toString(), layers.at(i));
        QCOMPARE(r.value("Cloud Vertical Visibility").toString(), vertical);
        QCOMPARE(r.value("Clouds").toString(), clouds);
    }

    void stationPressure()
    {
        QJsonObject r = orva(kOrvaLines);
        QCOMPARE(r.value("Pressure").toString(), QStringLiteral("1013.25"));
        QCOMPARE(r.value("Station Pressure").toString(), QStringLiteral("29.9212"));

        // The second station pressure wins where the unit sends one.
        r = brq(withLine(kBrqLines, "HP", {"990.5"}));
        QCOMPARE(r.value("Pressure").toString(), QStringLiteral("990.5"));
        QCOMPARE(r.value("HA Pressure").toString(), QStringLiteral("990.5"));
        QCOMPARE(r.value("Station Pressure").toString(), QStringLiteral("29.2494"));

        r = orva(without(kOrvaLines, "BA"));
        QCOMPARE(r.value("Pressure").toString(), QString());
        QCOMPARE(r.value("Station Pressure").toString(), QStringLiteral("-"));
        QCOMPARE(r.value("3 Hr Pressure").toString(), QStringLiteral("-"));
        r = brq(without(kBrqLines, "BA"));
        QCOMPARE(r.value("Station Pressure").toString(), QStringLiteral("-"));
        QCOMPARE(r.value("3 Hr Pressure").toString(), QStringLiteral("-"));
    }

    // The unit's no-value in a field gives what that field left empty gives: in the record, its
    // report and the running windows, for the record itself and the one after it. An elevation
    // left empty is sea level, the no-value none: that record has no sea-level pressure.
    void noValueIsAnEmptyField_data()
    {
        QTest::addColumn<bool>("orvaUnit");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("noValue");

        for (const bool orvaUnit : {true, false}) {
            for (const RecordLine& line : noValueBase(orvaUnit)) {
                for (int field = 0; field < line.second.size(); ++field) {
                    for (const char* noValue :
                         {"-1000", "-1000.0", "-1000.00", " -1000", "\t-1000.0"})
                        QTest::addRow("%s %s %d \"%s\"", orvaUnit ? "ORVA" : "BRQ",
                                      qPrintable(line.first), field,
                                      qPrintable(QString(noValue).replace('\t', "\\t")))
                            << orvaUnit << line.first << field << QString(noValue);
                }
            }
        }
    }

    void noValueIsAnEmptyField()
    {
        QFETCH(bool, orvaUnit);
        QFETCH(QString, key);
        QFETCH(int, field);
        QFETCH(QString, noValue);

        ScopedClock clock(QDateTime(QDate(2026, 3, 5), QTime(15, 0), Qt::UTC));
        const auto publish = [&](const QString& value) {
            QByteArrayList packets;
            for (const char* minute : {"00", "05", "10"}) {
                Lines lines = withLine(noValueBase(orvaUnit), "T", {"26/03/05,14", minute, "00"});
                if (packets.size() == 1) {
                    for (RecordLine& line : lines)
                        if (line.first == key)
                            line.second[field] = value;
                }
                packets << (orvaUnit ? orvaPacket(lines) : brqPacket(lines));
            }
            WorkerProbe worker;
            attach(worker, orvaUnit ? DeviceTypes::ORVA : DeviceTypes::BRQ);
            published.clear();
            feed(worker, packets);
            return published;
        };
        QList<QJsonObject> twin = publish(QString());
        const QList<QJsonObject> seen = publish(noValue);
        QCOMPARE(seen.size(), 3);
        QCOMPARE(twin.size(), 3);
        if (key == QLatin1String("EL")) {
            QString report = twin.at(1).value("METAR").toString();
            QVERIFY(report.contains(QRegularExpression(" SLP\\d{3} ")));
            twin[1].insert("METAR", report.replace(QRegularExpression(" SLP\\d{3} "), " SLPNO "));
            twin[1].insert("Sea Level Pressure", QString());
        }
        for (int i = 0; i < 3; ++i) {
            for (const QString& name : twin.at(i).keys())
                QVERIFY2(seen.at(i).value(name) == twin.at(i).value(name),
                         qPrintable(QStringLiteral("record %1, %2: %3 instead of %4")
                                        .arg(i)
                                        .arg(name, seen.at(i).value(name).toVariant().toString(),
                                             twin.at(i).value(name).toVariant().toString())));
        }
    }

    void unitNamedInReport_data()
    {
        QTest::addColumn<QString>("station");
        QTest::addColumn<QString>("reportStart");

        QTest::newRow("no station") << ""
                                    << "^METAR OV7731 \\d{6}Z 18012G18KT 150V220 ";
        QTest::newRow("station") << "kxyz"
                                 << "^METAR KXYZ 051407Z 18012G18KT 150V220 ";
        // The header asks for the unit's identifier, which the report already carries in full.
        QTest::newRow("station unknown") << "?"
                                         << "^METAR OV7731 051407Z 18012G18KT 150V220 ";
    }

    void unitNamedInReport()
    {
        QFETCH(QString, station);
        QFETCH(QString, reportStart);

        const QJsonObject r =
            orva(withLine(kOrvaLines, "N", {"METAR", "0", "0", "0", station, "1", "1"}));
        QCOMPARE(r.value("IMEI").toString(), QStringLiteral("OV7731"));
        const QString report = r.value("METAR").toString();
        QVERIFY2(QRegularExpression(reportStart).match(report).hasMatch(), qPrintable(report));
    }

    void anotherUnitStartsAfresh_data()
    {
        // From the second record behind "=" on, every record equals that of a fresh start fed the
        // packets behind it.
        QTest::addColumn<QByteArrayList>("packets");
        QTest::addColumn<QJsonObject>("expected"); // under "METAR" its remarks

        const QByteArray compassNE = "L\nheader\n0,N1,45,20;0,N2,200,35XX";
        const QByteArray compassS = "L\nheader\n0,N3,180,25;0,N4,0,5XX";
        const Lines rain{{"TA", {"30.0"}}, {"PW", {"0", "61"}}};
        const Lines strikes{{"TA", {"10.0"}}, {"LT", {"2", "5", "9", "18", "8", "8"}}};
        QTest::newRow("ORVA at 11:50 after another ORVA unit")
            << QByteArrayList{compassNE, orvaAt("OV1", "1100", rain), orvaAt("", "1120", rain),
                              orvaAt("OV2", "1150", strikes)}
            << QJsonObject{{"METAR", "RMK AO2 SLPNO T0100 10100 20100 401000100"},
                           {"Temperature 24 Hrs Max", "10"}};
        QTest::newRow("ORVA at 05:50 after a BRQ unit")
            << QByteArrayList{brqAt("UNIT7", "0500", {{"TA", {"30"}}, {"WI", {"20", "270"}}}),
                              compassS, orvaAt("OV2", "0550", strikes)}
            << QJsonObject{{"METAR", "RMK AO2 LTG DSNT S SLPNO T0100 10100 20100"},
                           {"Wind Speed Max 1 Hour", ""}};
        // The unit before sent its compass packet after its last record.
        QTest::newRow("ORVA after Setup to another ORVA unit")
            << QByteArrayList{orvaAt("OV1", "1100", rain),
                              compassNE,
                              {},
                              orvaAt("OV2", "1150", strikes)}
            << QJsonObject{{"METAR", "RMK AO2 SLPNO T0100 10100 20100 401000100"}};
        // The high-speed packets before the first record are the new unit's: their extremes count.
        QTest::newRow("ORVA high-speed packets after Setup, before the first record")
            << QByteArrayList{orvaAt("OV1", "1100", rain),
                              {},
                              orvaPacket(at("1140", {{"TA", {"30"}},
                                                     {"RH", {"50"}},
                                                     {"WI", {"25", "200", "25", "200"}}}),
                                         'D'),
                              orvaPacket(at("1145", {{"TA", {"25"}},
                                                     {"RH", {"50"}},
                                                     {"WI", {"15", "200", "15", "200"}}}),
                                         'D'),
                              orvaAt(
                                  "OV2", "1150",
                                  {{"TA", {"20"}}, {"RH", {"50"}}, {"WI", {"5", "90", "5", "90"}}})}
            << QJsonObject{{"Temperature 24 Hrs Max", "30"},
                           {"Dew Point 24 Hrs Max", "18.4"},
                           {"Wind Speed Max 1 Hour", "25"}};
        QTest::newRow("the same ORVA unit after Setup again")
            << QByteArrayList{orvaAt("OV1", "1100", rain),
                              orvaAt("", "1120", rain),
                              {},
                              orvaAt("OV1", "1150", {{"TA", {"10.0"}}})}
            << QJsonObject{{"METAR", "RMK AO2 RAE50 SLPNO T0100 10300 20100 403000100"},
                           {"Temperature 24 Hrs Max", "30"}};

        const Lines first{{"TA", {"30"}}, {"RH", {"50"}}, {"WI", {"20", "270"}}, {"BA", {"1010"}}};
        const Lines next{{"TA", {"20"}}, {"RH", {"50"}}, {"WI", {"5", "90"}}, {"BA", {"1008.5"}}};
        const QJsonObject own{{"Temperature 24 Hrs Max", "20"},
                              {"Dew Point 24 Hrs Max", "9.3"},
                              {"Wind Speed Max 10 Minutes", "5"},
                              {"Wind Direction Max 1 Hour", "90"},
                              {"3 Hr Pressure", "0.00"}};
        // An ORVA wind line, which a BRQ unit's reader takes as well; rain begins at 11:45.
        const Lines seven{{"TA", {"30"}}, {"RH", {"50"}}, {"WI", {"20", "270", "20", "270"}}};
        const Lines hot{{"TA", {"35"}},
                        {"WI", {"25", "200", "25", "200"}},
                        {"BA", {"1005.0"}},
                        {"PW", {"0", "61"}}};
        const Lines cool{{"TA", {"20"}}, {"WI", {"5", "90", "5", "90"}}, {"BA", {"1004.0"}}};
        const Lines mild{{"TA", {"21"}}, {"WI", {"8", "120", "8", "120"}}, {"BA", {"1004.5"}}};
        // A BRQ record carries no checksum: another identifier counts when the next record names
        // it too, or at once when it is the first named over a new connection. The first record
        // is the new unit's own all the same.
        QTest::newRow("BRQ after another BRQ unit, by its second record")
            << QByteArrayList{brqAt("UNIT7", "1200", seven),
                              brqAt("UNIT7", "1205", seven),
                              "=",
                              brqAt("UNIT8", "1210", hot),
                              brqAt("UNIT8", "1215", cool),
                              brqAt("UNIT8", "1220", mild)}
            << QJsonObject{{"Temperature 24 Hrs Max", "35"},
                           {"Wind Speed Max 10 Minutes", "25"},
                           {"3 Hr Pressure", "-1.00"}};
        QTest::newRow("legacy ORVA after another legacy ORVA unit, by its second record")
            << QByteArrayList{legacyAt("OV7", "1130", seven),
                              legacyAt("OV7", "1135", seven),
                              "=",
                              legacyAt("OV8", "1145", hot),
                              legacyAt("OV8", "1150", cool),
                              legacyAt("OV8", "1155", mild)}
            << QJsonObject{{"METAR", "RMK AO2 SLP045 T0210 10350 20200 403500200"}};
        QTest::newRow("BRQ after Setup to another BRQ unit")
            << QByteArrayList{brqAt("UNIT7", "1200", first), {}, brqAt("UNIT8", "1205", next)}
            << own;
        // One record whose identifier lost a byte on the line keeps the unit's day.
        QTest::newRow("BRQ day with one damaged identifier")
            << QByteArrayList{brqAt("BRQ00042", "0930",
                                    {{"TA", {"30"}}, {"WI", {"10", "90"}}, {"BA", {"1010.0"}}}),
                              brqAt("BRQ00042", "1205",
                                    {{"TA", {"28"}}, {"WI", {"18", "200"}}, {"BA", {"1009.0"}}}),
                              brqAt("BRQ0004\"", "1210",
                                    {{"TA", {"27"}}, {"WI", {"12", "180"}}, {"BA", {"1009.0"}}}),
                              brqAt("BRQ00042", "1215",
                                    {{"TA", {"26"}}, {"WI", {"6", "90"}}, {"BA", {"1008.5"}}})}
            << QJsonObject{{"Temperature 24 Hrs Max", "30"},
                           {"Wind Speed Max 10 Minutes", "18"},
                           {"3 Hr Pressure", "-1.50"}};
        QTest::newRow("BRQ after an ORVA unit")
            << QByteArrayList{orvaAt("OV1", "1200",
                                     withLine(first, "WI", {"20", "270", "20", "270"})),
                              brqAt("UNIT8", "1205", next)}
            << own;
        QTest::newRow("the same BRQ unit after Setup again")
            << QByteArrayList{brqAt("UNIT7", "1200", first), {}, brqAt("UNIT7", "1205", next)}
            << QJsonObject{{"Temperature 24 Hrs Max", "30"},
                           {"Dew Point 24 Hrs Max", "18.4"},
                           {"Wind Speed Max 10 Minutes", "20"},
                           {"Wind Direction Max 1 Hour", "270"},
                           {"3 Hr Pressure", "-1.50"}};
        // The BRQ record stays the last one shown: no ORVA wind is merged into it.
        QTest::newRow("ORVA high-speed packet after a BRQ unit")
            << QByteArrayList{brqAt("UNIT7", "1200", first),
                              orvaPacket(at("1201", {{"WI", {"9", "90", "9", "90"}}}), 'D')}
            << QJsonObject{{"Wind Speed", "20"}};
    }

    void anotherUnitStartsAfresh()
    {
        QFETCH(QByteArrayList, packets);
        QFETCH(QJsonObject, expected);

        WorkerProbe worker;
        attach(worker, DeviceTypes::BRQ);
        published.clear();
        feed(worker, packets);
        for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
            QString value = built.value(it.key()).toString();
            if (it.key() == QLatin1String("METAR"))
                value = value.mid(value.indexOf(QLatin1String("RMK")));
            QVERIFY2(value == it.value().toString(), qPrintable(it.key() + ": " + value));
        }

        const int freshFrom = packets.indexOf("=");
        if (freshFrom < 0)
            return;
        const QList<QJsonObject> own = published;
        WorkerProbe fresh;
        attach(fresh, DeviceTypes::BRQ);
        published.clear();
        feed(fresh, packets.mid(freshFrom + 1));
        QVERIFY(published.size() > 1 && own.size() >= published.size());
        for (int i = 1; i < published.size(); ++i) {
            const QJsonObject& seen = own.at(own.size() - published.size() + i);
            QCOMPARE(seen.keys(), published.at(i).keys());
            for (const QString& key : seen.keys())
                QVERIFY2(seen.value(key) == published.at(i).value(key),
                         qPrintable(key + ": " + seen.value(key).toString()));
        }
    }

    void parseErrorsLoggedInDebugMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("logged");

        QTest::newRow("Default") << int(LoggingType::Default) << false;
        QTest::newRow("Data") << int(LoggingType::Data) << false;
        QTest::newRow("Debug") << int(LoggingType::Debug) << true;
    }

    void parseErrorsLoggedInDebugMode()
    {
        QFETCH(int, mode);
        QFETCH(bool, logged);

        WorkerProbe worker;
        attach(worker, DeviceTypes::BRQ);
        worker.setLoggingState(LoggingType(mode));
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);

        // A wind line without its direction: every reader of field 1 records an error.
        worker.handleWeatherData(brqPacket(withLine(kBrqLines, "WI", {"8"})), '0', QByteArray());
        QStringList lines;
        for (const QList<QVariant>& call : log)
            lines << QString::fromUtf8(call.at(0).toByteArray());
        const QStringList debug = lines.filter(QStringLiteral("DEBUG: "));
        if (!logged) {
            QVERIFY(debug.isEmpty());
            return;
        }
        QCOMPARE(debug.size(), 1);
        const QString line = debug.first();
        QVERIFY(line.startsWith(QStringLiteral("DEBUG: List of Parsing Errors [ WI:1 not found,")));
        QVERIFY(line.endsWith(QStringLiteral("not found ]")));
        QVERIFY(!line.contains(QStringLiteral(",,")));
        QVERIFY(!line.contains(QStringLiteral(", ]")));
        QVERIFY(worker.decoder->getParseErrors().isEmpty());

        // A record without errors logs no list.
        log.clear();
        worker.handleWeatherData(brqPacket(kBrqLines), '0', QByteArray());
        for (const QList<QVariant>& call : log)
            QVERIFY(!call.at(0).toByteArray().startsWith("DEBUG: "));
    }
};

QTEST_GUILESS_MAIN(TestRecordBuilder)
#include "tst_recordbuilder.moc"
