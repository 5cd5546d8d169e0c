#include "decoder/weatherdatadecoder.h"
#include "tests/support/recordtext.h"
#include "tests/support/testsupport.h"

#include <QtTest>

#include <functional>

namespace
{

constexpr int kNone = 0;
constexpr int kBrq = 1;
constexpr int kOrva = 2;

const QString kDeg = QString(QChar(0x00B0));

// rec({{"WI", "5.2:180"}, {"TA", "21.5"}}) gives the record text with those lines.
QString rec(std::initializer_list<std::pair<const char*, const char*>> lines)
{
    QList<RecordLine> built;
    for (const auto& line : lines)
        built.append({QString::fromLatin1(line.first),
                      QString::fromLatin1(line.second).split(QLatin1Char(':'))});
    return buildRecord(built);
}

void load(WeatherDataDecoder& decoder, const QString& record, int deviceType)
{
    decoder.setRecordText(record);
    decoder.setDeviceType(deviceType, false);
}

using Reader = std::function<QString(WeatherDataDecoder&)>;

const QMap<QString, Reader>& readers()
{
#define READ(call) [](WeatherDataDecoder& d) { return d.call; }
    static const QMap<QString, Reader> map{{"timestamp", READ(getTimestamp())},
                                           {"voltage", READ(getVoltage())},
                                           {"interval", READ(getReportingInterval())},
                                           {"model", READ(getDeviceModel())},
                                           {"txRate", READ(getRadioTransmitRate())},
                                           {"speedInst", READ(getWindSpeed(true))},
                                           {"speed", READ(getWindSpeed(false))},
                                           {"dir", READ(getWindDirection())},
                                           {"dir2Min", READ(getWindDirection2MinAvg())},
                                           {"gust", READ(getGustSpeed())},
                                           {"gustDir", READ(getGustDirection())},
                                           {"temp", READ(getTemperature())},
                                           {"humidity", READ(getHumidity())},
                                           {"haPressure", READ(getHAPressure())},
                                           {"stationPressure", READ(getStationPressure())},
                                           {"altimeter", READ(getAltimeter())},
                                           {"threeHour", READ(getThreeHourPressure())},
                                           {"elevation", READ(getElevation())},
                                           {"vis", READ(getVisibility())},
                                           {"vis1", READ(getVisibility1())},
                                           {"precip", READ(getPrecipitation())},
                                           {"contamination", READ(getContamination())},
                                           {"ldDistance", READ(getLightningDistance())},
                                           {"ldFrequency", READ(getLightningFrequency())},
                                           {"lat", READ(getLatitude())},
                                           {"lon", READ(getLongitude())},
                                           {"gps", READ(getGpsText())},
                                           {"orientation", READ(getOrientation())},
                                           {"tilt", READ(getTilt())},
                                           {"heading", READ(getCompassHeading())},
                                           {"waveHeight", READ(getSigWaveHeight())},
                                           {"wavePeriod", READ(getSigWavePeriod())},
                                           {"waveDir", READ(getSigWaveDirection())},
                                           {"seaTemp", READ(getSeaSurfaceTemp())},
                                           {"rflosTx", READ(getRflosTransmitFrequency())},
                                           {"rflosRx", READ(getRflosReceiveFrequency())},
                                           {"band", READ(getRflosBand())}};
#undef READ
    return map;
}

void addRow(const char* reader, int type, const QString& record, const QString& expected,
            const QStringList& errors = {})
{
    QTest::addRow("%s type %d: %s", reader, type, qPrintable(QString(record).replace("\r\n", "|")))
        << QString::fromLatin1(reader) << type << record << expected << errors;
}

} // namespace

class TestFieldReaders : public QObject
{
    Q_OBJECT
private slots:
    void reader_data();
    void reader();
    void lightningStrikes_data();
    void lightningStrikes();
    void stationId_data();
    void stationId();
    void precipAccumIndex_data();
    void precipAccumIndex();
};

void TestFieldReaders::reader_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("errors");

    // Every field distinct, so a reader that takes the wrong field shows.
    const QString full = rec({{"B", "12.6:1:x:E1:y:2"},
                              {"WI", "5.2:180:6.1:175"},
                              {"GU", "12.5:190:14.5:200"},
                              {"TA", "21.5"},
                              {"BA", "1001.2:2992:-1.4"},
                              {"HP", "1001.7"},
                              {"EL", "1655"},
                              {"PW", "0.8:61:x:10:55"},
                              {"LD", "14:3"},
                              {"OR", "271.5:1.5"},
                              {"SS", "88:1.25:7.5:95:a:b:c:d:16.5"},
                              {"RA", "433.5:434.25:2"}});
    const QList<std::tuple<const char*, int, const char*>> fullRows{
        {"voltage", kOrva, "12.6"},
        {"speedInst", kOrva, "5.2"},
        {"speed", kOrva, "6.1"},
        {"dir", kOrva, "180"},
        {"dir2Min", kOrva, "175"},
        {"gust", kOrva, "14.5"},
        {"gustDir", kOrva, "200"},
        {"speedInst", kBrq, "5.2"},
        {"speed", kBrq, "5.2"},
        {"dir", kBrq, "180"},
        {"dir2Min", kBrq, "180"},
        {"gust", kBrq, "12.5"},
        {"gustDir", kBrq, "190"},
        {"gust", kNone, "12.5"},
        {"temp", kOrva, "21.5"},
        {"haPressure", kOrva, "1001.7"},
        {"stationPressure", kOrva, "1001.7"},
        {"elevation", kOrva, "1655"},
        {"precip", kOrva, "0.8"},
        {"ldDistance", kBrq, "14"},
        {"ldFrequency", kBrq, "3"},
        {"orientation", kOrva, "271.5"},
        {"tilt", kOrva, "1.5"},
        {"heading", kOrva, "88"},
        {"waveHeight", kOrva, "1.25"},
        {"wavePeriod", kOrva, "7.5"},
        {"waveDir", kOrva, "95"},
        {"seaTemp", kOrva, "16.5"},
        {"rflosTx", kOrva, "433.5"},
        {"rflosRx", kOrva, "434.25"},
        {"band", kOrva, "VHF"},
        {"threeHour", kOrva, "-1.4"},
        {"threeHour", kBrq, ""},
        {"altimeter", kOrva, "29.92"},
        {"txRate", kOrva, "60 Seconds"},
        {"model", kOrva, "ORVA"}};
    for (const auto& row : fullRows)
        QTest::addRow("%s type %d", std::get<0>(row), std::get<1>(row))
            << QString(std::get<0>(row)) << std::get<1>(row) << full << QString(std::get<2>(row))
            << QStringList();

    const QString bad = rec({{"B", "12,6"},
                             {"WI", "fast:north:6..1:-"},
                             {"TA", "warm"},
                             {"HP", "x"},
                             {"BA", "1001.5:high"},
                             {"LD", "far:3.5"},
                             {"SS", "n:e:a:r:x:x:x:x:cold"},
                             {"RA", "abc:1e400:x"}});
    for (const char* name :
         {"voltage", "speedInst", "speed", "dir", "dir2Min", "temp", "haPressure", "altimeter",
          "ldDistance", "ldFrequency", "heading", "seaTemp", "rflosTx", "rflosRx"})
        addRow(name, kOrva, bad, "");
    addRow("stationPressure", kOrva, bad, "1001.5");
    addRow("band", kOrva, bad, "INACTIVE");
    // Digits alone, but past the largest double.
    addRow("temp", kOrva, buildRecord({{"TA", {QString(309, QLatin1Char('9'))}}}), "");

    const QString none = rec({{"TA", "1"}});
    for (const char* name : {"voltage", "speed", "gust", "stationPressure", "model", "interval"})
        addRow(name, kOrva, none, "");
    for (const char* name : {"rflosTx", "rflosRx", "band", "txRate"})
        addRow(name, kOrva, none, "INACTIVE");
    addRow("rflosTx", kOrva, rec({{"RA", "::"}}), "INACTIVE");

    // ORVA wind line with two fields only.
    const QString shortWind = rec({{"WI", "5.2:180"}});
    addRow("speed", kOrva, shortWind, "", {"WI:2 not found"});
    addRow("dir2Min", kOrva, shortWind, "", {"WI:3 not found"});
    addRow("speed", kBrq, shortWind, "5.2");

    addRow("timestamp", kOrva, rec({{"T", "24/03/05,14:07:09"}}), "2024-03-05 14:07:09");
    addRow("timestamp", kOrva, rec({{"T", "24/03/ab,14:07:09"}}), "");
    addRow("timestamp", kOrva, rec({{"LT", "24/03/05,14:07:09"}}), "");
    addRow("timestamp", kOrva, rec({{"T", "24/03/05,4:07:09"}}), "");
    addRow("timestamp", kOrva, rec({{"T", "24/13/05,14:07:09"}}), "2024-13-05 14:07:09");
    addRow("timestamp", kOrva, rec({{"T", "24/03/05,14:07:09Z:x"}}), "2024-03-05 14:07:09");
    addRow("timestamp", kOrva, rec({{"T", "x,24/03/05,14:07:09"}}), "2024-03-05 14:07:09");
    addRow("timestamp", kOrva, "\r\nT:99/12/31,23:59:59", "2099-12-31 23:59:59");

    const char* brqIntervals[] = {"3 Hour",   "1 Hour",    "20 Minute", "5 Minute",
                                  "1 Minute", "20 Second", "10 Second", ""};
    for (int code = 0; code < 8; ++code)
        addRow("interval", kBrq, buildRecord({{"B", {"12", QString::number(code), "x", "64"}}}),
               brqIntervals[code]);
    addRow("interval", kBrq, rec({{"B", "12:6:x:E0"}}), "10 Second");
    addRow("interval", kBrq, rec({{"B", "12:3:x:zz"}}), "5 Minute");
    addRow("interval", kBrq, rec({{"B", "12:5:x:E1"}}), "5 minute");
    addRow("interval", kBrq, rec({{"B", "12:10:x:e1"}}), "10 minute");
    addRow("interval", kBrq, rec({{"B", "12:60:x:FF"}}), "1 hour");
    addRow("interval", kBrq, rec({{"B", "12:3:x:E1"}}), "");
    addRow("interval", kBrq, rec({{"B", "12:1.0:x:64"}}), "");
    addRow("interval", kBrq, rec({{"B", "12::x:64"}}), "");
    addRow("interval", kBrq, rec({{"B", "12:1:x:"}}), "");

    const QList<QPair<const char*, const char*>> models{
        {"64", "R200"},   {"65", "R210"}, {"66", "R200-T"}, {"6E", "R300"},   {"6f", "R310"},
        {"70", "R300-T"}, {"C8", "S200"}, {"C9", "S210"},   {"CA", "S200-T"}, {"67", "BRQ"},
        {"E0", "BRQ"},    {"E1", "ORVA"}, {"FF", "ORVA"},   {"zz", "BRQ"},    {"", ""}};
    for (const auto& model : models)
        addRow("model", kBrq, buildRecord({{"B", {"12", "1", "x", model.first}}}), model.second);

    const QList<QPair<const char*, const char*>> rates{{"", "INACTIVE"},    {"0", "5 Seconds"},
                                                       {"1", "10 Seconds"}, {"2", "60 Seconds"},
                                                       {"3", "ERROR"},      {"00", "ERROR"}};
    for (const auto& rate : rates)
        addRow("txRate", kOrva, buildRecord({{"B", {"12", "1", "x", "E1", "y", rate.first}}}),
               rate.second);

    addRow("humidity", kBrq, rec({{"RH", "45"}}), "45");
    addRow("humidity", kBrq, rec({{"RH", "45.5"}}), "45.5");
    addRow("humidity", kBrq, rec({{"RH", "-1"}}), "");
    addRow("humidity", kBrq, rec({{"RH", "-0.5"}}), "-0.5");
    addRow("humidity", kBrq, rec({{"RH", "wet"}}), "");

    addRow("altimeter", kOrva, rec({{"BA", "1001:3001.0"}}), "30.01");
    addRow("altimeter", kOrva, rec({{"BA", "1001:850"}}), "8.50");
    addRow("stationPressure", kOrva, rec({{"BA", "1001.5"}}), "1001.5");
    addRow("threeHour", kOrva, rec({{"BA", "1001:2992:"}}), "-");
    addRow("threeHour", kOrva, rec({{"BA", "1001:2992"}}), "-", {"BA:2 not found"});

    addRow("vis", kOrva, rec({{"PW", "0:61:x:1:10"}}), "6.21504");
    addRow("vis", kOrva, rec({{"PW", "0:61:x:1:16.09"}}), "10");
    addRow("vis", kOrva, rec({{"PW", "0:61:x:1:100"}}), "62.1504");
    addRow("vis", kOrva, rec({{"PW", "0:61:x:1:0.5"}}), "0.310752");
    addRow("vis", kOrva, rec({{"PW", "0:61:x:1:far"}}), "");
    addRow("vis", kBrq, rec({{"VI", "2.50"}, {"PW", "0:61:x:AC:10"}}), "2.50");
    addRow("vis", kNone, rec({{"VI", "2.50"}, {"PW", "0:61:x:AC:10"}}), "");
    addRow("vis1", kOrva, rec({{"PW", "0:61:x:10:1"}}), "6.21504");
    addRow("vis1", kBrq, rec({{"PW", "0:61:x:10"}}), "6.21504");
    addRow("vis1", kBrq, rec({{"PW", "0:61:x:AC"}}), "");

    addRow("contamination", kOrva, rec({{"PW", "0:61:x:10:49"}}), "Sensor Interference");
    addRow("contamination", kOrva, rec({{"PW", "0:61:x:10:50"}}), "None");
    addRow("contamination", kOrva, rec({{"PW", "0:61:x:10:50.0"}}), "");
    addRow("contamination", kOrva, rec({{"PW", "0:61:x:10:"}}), "");

    const QList<std::tuple<const char*, const char*, const char*>> bounds{
        {"lat", "-90", "-90"}, {"lat", "90", "90"},   {"lat", "-90.5", ""},
        {"lat", "90.1", ""},   {"lat", "?", ""},      {"lon", "-180", "-180"},
        {"lon", "180", "180"}, {"lon", "180.01", ""}, {"lon", "-180.5", ""}};
    for (const auto& b : bounds) {
        const char* key = QByteArray(std::get<0>(b)) == "lat" ? "LA" : "LO";
        addRow(std::get<0>(b), kOrva, buildRecord({{key, {std::get<1>(b)}}}), std::get<2>(b));
    }

    addRow("gps", kBrq, rec({{"LA", "-12.5"}, {"LO", "45"}}),
           "-12.5" + kDeg + "S&nbsp;&nbsp;45" + kDeg + "E");
    addRow("gps", kBrq, rec({{"LA", "39.74"}, {"LO", "-104.99"}}),
           "39.74" + kDeg + "N&nbsp;&nbsp;-104.99" + kDeg + "W");
    addRow("gps", kBrq, rec({{"LA", "?"}, {"LO", "45"}}), "No GPS");
    addRow("gps", kBrq, rec({{"LA", "-12.5"}, {"LO", "4?5"}}), "No GPS");
    addRow("gps", kBrq, rec({{"LA", "-12.5"}}), "");
    addRow("gps", kBrq, rec({{"LO", "45"}}), "45" + kDeg + "E");

    const QList<QPair<const char*, const char*>> bands{
        {"0", "INACTIVE"}, {"1", "UHF"},      {"2", "VHF"},        {"3", "ERROR"},
        {"-1", "ERROR"},   {"x", "INACTIVE"}, {"1.0", "INACTIVE"}, {"", "INACTIVE"}};
    for (const auto& band : bands)
        addRow("band", kOrva, buildRecord({{"RA", {"433.5", "434.25", band.first}}}), band.second);
}

void TestFieldReaders::reader()
{
    QFETCH(QString, reader);
    QFETCH(int, type);
    QFETCH(QString, record);
    QFETCH(QString, expected);
    QFETCH(QStringList, errors);

    QVERIFY2(readers().contains(reader), qPrintable(reader));
    WeatherDataDecoder decoder;
    load(decoder, record, type);
    QCOMPARE(readers().value(reader)(decoder), expected);
    QCOMPARE(decoder.getParseErrors(), errors);
}

void TestFieldReaders::lightningStrikes_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("leading zeros")
        << rec({{"LT", "0:007:12:000:05:100"}}) << QStringList{"", "7", "12", "", "5", "100"};
    QTest::newRow("not whole numbers")
        << rec({{"LT", "x:1.5::-03:2:3"}}) << QStringList{"", "", "", "-03", "2", "3"};
    QTest::newRow("no LT line") << rec({{"T", "24/03/05,14:07:09"}})
                                << QStringList{"", "", "", "", "", ""};
}

void TestFieldReaders::lightningStrikes()
{
    QFETCH(QString, record);
    QFETCH(QStringList, expected);
    WeatherDataDecoder decoder;
    load(decoder, record, kOrva);
    QCOMPARE(decoder.getLightningStrikes(), expected);
}

void TestFieldReaders::stationId_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("fromHeader");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("icao");

    // The stored identifier is "KOLD" before every row.
    QTest::newRow("BRQ") << kBrq << false << "kden"
                         << "BQ-0042"
                         << "KOLD";
    QTest::newRow("BRQ from header") << kBrq << true << "kden"
                                     << "BQ-0042"
                                     << "KOLD";
    QTest::newRow("ORVA unit") << kOrva << false << "kden"
                               << "OV7731"
                               << "KOLD";
    QTest::newRow("ORVA header stored") << kOrva << true << "kden"
                                        << "KDEN"
                                        << "KDEN";
    QTest::newRow("ORVA header ?") << kOrva << true << "?"
                                   << "OV7731"
                                   << "KOLD";
    QTest::newRow("ORVA header empty") << kOrva << true << ""
                                       << ""
                                       << "";
    QTest::newRow("no device") << kNone << true << "kden"
                               << ""
                               << "KOLD";
}

void TestFieldReaders::stationId()
{
    QFETCH(int, type);
    QFETCH(bool, fromHeader);
    QFETCH(QString, header);
    QFETCH(QString, expected);
    QFETCH(QString, icao);

    // The identity line opens the text, without a CRLF before it.
    const QString record = QStringLiteral("@I:BQ-0042:1\r\n") +
                           recordLine("N", {"METAR", "x", "y", "z", header}) +
                           recordLine("IR", {"a", "b", "c", "OV7731"});
    WeatherDataDecoder decoder;
    decoder.setIcao(QStringLiteral("KOLD"));
    load(decoder, record, type);
    QCOMPARE(decoder.getStationId(fromHeader), expected);
    QCOMPARE(decoder.getIcao(), icao);
}

void TestFieldReaders::precipAccumIndex_data()
{
    QTest::addColumn<QString>("values");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("hours");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QStringList>("errors");

    // The short line stops at field 9, so asking for field 10 is a parse error.
    const QString shortLine = "0:1:2:3:4:5:6:7:8:9";
    const QString fullLine = "0:1:2:3:4:5:6:7:8:9:10";
    const QString emptyField10 = "0:1:2:3:4:5:6:7:8:9:";
    const QStringList missing{"PA:10 not found"};
    const QStringList ok;
    const int prev = 1;
    const int since12z = 0;

    QTest::newRow("1 h, short") << shortLine << prev << 1 << 5 << missing;
    QTest::newRow("3 h, short") << shortLine << prev << 3 << 6 << missing;
    QTest::newRow("6 h, short") << shortLine << prev << 6 << 7 << missing;
    QTest::newRow("24 h, short") << shortLine << since12z << 24 << 8 << missing;
    QTest::newRow("12 h, short") << shortLine << prev << 12 << 12 << missing;
    QTest::newRow("1 h, full") << fullLine << prev << 1 << 6 << ok;
    QTest::newRow("3 h, full") << fullLine << prev << 3 << 7 << ok;
    QTest::newRow("6 h, full") << fullLine << prev << 6 << 8 << ok;
    QTest::newRow("24 h previous, full") << fullLine << prev << 24 << 9 << ok;
    QTest::newRow("24 h since 12Z, full") << fullLine << since12z << 24 << 10 << ok;
    QTest::newRow("0 h, full") << fullLine << prev << 0 << 0 << ok;
    QTest::newRow("24 h, field 10 empty") << emptyField10 << prev << 24 << 8 << ok;
    QTest::newRow("no PA line") << QString() << prev << 3 << 6 << ok;
}

void TestFieldReaders::precipAccumIndex()
{
    QFETCH(QString, values);
    QFETCH(int, interval);
    QFETCH(int, hours);
    QFETCH(int, expected);
    QFETCH(QStringList, errors);

    WeatherDataDecoder decoder;
    load(decoder, values.isNull() ? rec({{"TA", "1"}}) : buildRecord({{"PA", values.split(':')}}),
         kOrva);
    decoder.setPrecipAccum24Interval(interval);
    QCOMPARE(decoder.getPrecipAccumIndex(hours), expected);
    QCOMPARE(decoder.getParseErrors(), errors);
}

QTEST_GUILESS_MAIN(TestFieldReaders)
#include "tst_fieldreaders.moc"
