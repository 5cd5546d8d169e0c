#include "decoder/weatherdatadecoder.h"
#include "tests/support/recordtext.h"
#include "tests/support/testsupport.h"

#include <QtTest>

namespace
{

constexpr int kNone = 0;
constexpr int kBrq = 1;
constexpr int kOrva = 2;
constexpr int kLegacyOrva = 102; // ORVA with the legacy flag set

void load(WeatherDataDecoder& decoder, const QString& record, int type)
{
    decoder.setRecordText(record);
    if (type == kLegacyOrva)
        decoder.setDeviceType(kOrva, true);
    else
        decoder.setDeviceType(type, false);
}

// A ceilometer line: state, six heights, six oktas and the lowest broken layer.
QString ceilometer(const QString& state, QStringList heights, QStringList oktas,
                   const QString& lowestBroken = QStringLiteral("0"))
{
    while (heights.size() < 6)
        heights << "0";
    while (oktas.size() < 6)
        oktas << "0";
    return buildRecord({{"CL", QStringList{state} + heights + oktas + QStringList{lowestBroken}}});
}

QString weatherCode(const QString& code, const QString& temperature = QString())
{
    QList<RecordLine> lines{{"PW", {"0", code, "x", "10", "55", "XX"}}};
    if (!temperature.isNull())
        lines.append({"TA", {temperature}});
    return buildRecord(lines);
}

QString brqRecord(const QString& rate, const QString& temperature, const QString& humidity,
                  const QString& visibility)
{
    QList<RecordLine> lines{{"PW", {rate}}};
    if (!temperature.isNull())
        lines.append({"TA", {temperature}});
    if (!humidity.isNull())
        lines.append({"RH", {humidity}});
    if (!visibility.isNull())
        lines.append({"VI", {visibility}});
    return buildRecord(lines);
}

} // namespace

class TestSkyWeather : public QObject
{
    Q_OBJECT
private slots:
    void cloudLayers_data();
    void cloudLayers();
    void layerRounding_data();
    void layerRounding();
    void cloudCoverFromOktas_data();
    void cloudCoverFromOktas();
    void lowestBrokenLayer_data();
    void lowestBrokenLayer();
    void presentWeatherCode_data();
    void presentWeatherCode();
    void thunderStateOfTheReport();
    void brqWeather_data();
    void brqWeather();
    void freezingFog_data();
    void freezingFog();
    void describePresentWeather_data();
    void describePresentWeather();
};

void TestSkyWeather::cloudLayers_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QList<int>>("heights");
    QTest::addColumn<QStringList>("covers");

    const auto add = [](const char* name, int type, const QString& record, const char* status,
                        const QList<int>& heights, const QStringList& covers) {
        QTest::newRow(name) << type << record << QString(status) << heights << covers;
    };
    const QString twoLayers = ceilometer("1", {"30", "9"}, {"2", "6"});
    add("ceilometer off", kOrva, ceilometer("-1", {"30"}, {"8"}), "Ceilometer OFF", {}, {});
    add("no ceilometer", kOrva, ceilometer("?", {"30"}, {"8"}), "No Ceilometer", {}, {});
    add("no line", kOrva, buildRecord({{"TA", {"1"}}}), "", {}, {});
    // 300 and 90 m: 984 ft rounds to 1000, 295 ft to 300; sorted lowest first.
    add("ORVA tens of metres", kOrva, twoLayers, "", {300, 1000}, {"BKN", "FEW"});
    // 98 ft rounds to 100; 29 ft rounds to 0 and is not listed.
    add("BRQ metres", kBrq, twoLayers, "", {100}, {"FEW"});
    add("legacy ORVA metres", kLegacyOrva, twoLayers, "", {100}, {"FEW"});
    // 1000, 1100 and 1300 ft: 1100 is only 100 ft above 1000.
    add("separation", kBrq, ceilometer("1", {"305", "335", "396"}, {"1", "3", "5"}), "",
        {1000, 1300}, {"FEW", "BKN"});
    // The dropped layer at 1100 still counts as the one below 1200.
    add("separation from a dropped layer", kBrq,
        ceilometer("1", {"305", "335", "366"}, {"1", "3", "5"}), "", {1000}, {"FEW"});
    add("equal heights keep their own covers", kBrq,
        ceilometer("1", {"305", "300", "610"}, {"3", "6", "8"}), "", {1000, 2000}, {"SCT", "OVC"});
    add("unordered layers", kBrq, ceilometer("1", {"610", "152.4"}, {"8", "1"}), "", {500, 2000},
        {"FEW", "OVC"});
    add("ORVA clear", kOrva, ceilometer("1", {}, {"3"}), "CLR", {}, {});
    add("BRQ without layers", kBrq, ceilometer("1", {}, {}), "", {}, {});
    // 10 m is 32 ft: a layer is present, so no CLR, but it rounds to 0 and is not reported.
    add("ORVA layer below 50 ft", kOrva, ceilometer("1", {"1"}, {"8"}), "", {}, {});
    add("BRQ 50 ft", kBrq, ceilometer("1", {"15.24"}, {"4"}), "", {100}, {"SCT"});
    add("negative and unreadable heights", kOrva,
        ceilometer("1", {"-30", "abc", "50"}, {"8", "8", "9"}), "", {1600}, {"BKN"});
    add("unreadable oktas are clear", kBrq, ceilometer("1", {"305"}, {"x"}), "", {1000}, {"CLR"});
    add("negative oktas have no cover", kBrq, ceilometer("1", {"305"}, {"-1"}), "", {1000}, {""});
    add("height beyond any integer", kOrva, ceilometer("1", {"1e12", "30"}, {"8", "2"}), "", {1000},
        {"FEW"});
}

void TestSkyWeather::cloudLayers()
{
    QFETCH(int, type);
    QFETCH(QString, record);
    QFETCH(QString, status);
    QFETCH(QList<int>, heights);
    QFETCH(QStringList, covers);

    WeatherDataDecoder decoder;
    load(decoder, record, type);
    // Stale contents must not survive the call.
    QList<int> gotHeights{42};
    QStringList gotCovers{"stale"};
    QCOMPARE(decoder.getCloudLayers(gotHeights, gotCovers), status);
    QCOMPARE(gotHeights, heights);
    QCOMPARE(gotCovers, covers);
    QVERIFY(decoder.getParseErrors().isEmpty());
}

void TestSkyWeather::layerRounding_data()
{
    QTest::addColumn<QString>("metres");
    QTest::addColumn<int>("feet");

    // Heights in metres chosen so that the truncated feet are the value in the row name.
    QTest::newRow("149 ft, step 100") << "45.43" << 100;
    QTest::newRow("150 ft rounds up") << "45.72" << 200;
    QTest::newRow("4950 ft rounds up") << "1508.69" << 5000;
    QTest::newRow("5000 ft, step 100") << "1524" << 5000;
    QTest::newRow("5001 ft, step 500") << "1524.3" << 5000;
    QTest::newRow("5250 ft rounds up to 5500") << "1600.13" << 5500;
    QTest::newRow("7750 ft rounds up to 8000") << "2362.09" << 8000;
    QTest::newRow("10000 ft, step 500") << "3047.9" << 10000;
    QTest::newRow("10250 ft, step 1000") << "3124.05" << 10000;
    QTest::newRow("10500 ft rounds up to 11000") << "3200.25" << 11000;
}

void TestSkyWeather::layerRounding()
{
    QFETCH(QString, metres);
    QFETCH(int, feet);

    WeatherDataDecoder decoder;
    load(decoder, ceilometer("1", {metres}, {"8"}), kBrq);
    QList<int> heights;
    QStringList covers;
    decoder.getCloudLayers(heights, covers);
    QCOMPARE(heights, QList<int>{feet});
}

void TestSkyWeather::cloudCoverFromOktas_data()
{
    QTest::addColumn<int>("oktas");
    QTest::addColumn<QString>("cover");

    const QList<QPair<int, const char*>> rows{{-1, ""},   {0, "CLR"}, {1, "FEW"},  {2, "FEW"},
                                              {3, "SCT"}, {4, "SCT"}, {5, "BKN"},  {7, "BKN"},
                                              {8, "OVC"}, {9, "BKN"}, {100, "BKN"}};
    for (const auto& row : rows)
        QTest::addRow("%d", row.first) << row.first << QString(row.second);
}

void TestSkyWeather::cloudCoverFromOktas()
{
    QFETCH(int, oktas);
    QFETCH(QString, cover);

    const WeatherDataDecoder decoder;
    QCOMPARE(decoder.cloudCoverFromOktas(oktas), cover);
}

void TestSkyWeather::lowestBrokenLayer_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << kOrva << ""
                           << "";
    QTest::newRow("question mark") << kOrva << "1?"
                                   << "";
    QTest::newRow("zero") << kOrva << "0"
                          << "0";
    QTest::newRow("negative") << kOrva << "-5"
                              << "0";
    QTest::newRow("not a number") << kOrva << "abc"
                                  << "0";
    // Always metres, so the ORVA tens-of-metres scale does not apply.
    QTest::newRow("ORVA 305 m") << kOrva << "305"
                                << "1000";
    QTest::newRow("BRQ 305 m") << kBrq << "305"
                               << "1000";
    QTest::newRow("150 ft rounds up") << kOrva << "45.72"
                                      << "200";
    QTest::newRow("4950 ft rounds up") << kOrva << "1508.69"
                                       << "5000";
    QTest::newRow("5250 ft, step 500") << kOrva << "1600.13"
                                       << "5500";
    QTest::newRow("10250 ft, step 1000") << kOrva << "3124.05"
                                         << "10000";
}

void TestSkyWeather::lowestBrokenLayer()
{
    QFETCH(int, type);
    QFETCH(QString, field);
    QFETCH(QString, expected);

    WeatherDataDecoder decoder;
    load(decoder, ceilometer("1", {"30"}, {"8"}, field), type);
    QCOMPARE(decoder.getLowestBrokenLayer(), expected);
}

void TestSkyWeather::presentWeatherCode_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<bool>("vicinity");
    QTest::addColumn<QString>("expected");

    const QList<QPair<const char*, const char*>> table{
        {"4", "HZ"},     {"10", "BR"},    {"30", "FG"},    {"31", "FZFG"},  {"40", "UP"},
        {"51", "-DZ"},   {"53", "+DZ"},   {"54", "-FZDZ"}, {"55", "FZDZ"},  {"56", "+FZDZ"},
        {"61", "-RA"},   {"62", "RA"},    {"63", "+RA"},   {"64", "-FZRA"}, {"65", "FZRA"},
        {"66", "+FZRA"}, {"67", "-RASN"}, {"68", "RASN"},  {"69", "+RASN"}, {"71", "-SN"},
        {"72", "SN"},    {"73", "+SN"},   {"87", "GS"},    {"89", "GR"},    {"90", "TS"},
        {"92", "TSRA"},  {"93", "TSGS"},  {"95", "+TSRA"}, {"96", "TSGR"}};
    for (const auto& row : table)
        QTest::addRow("code %s", row.first)
            << weatherCode(row.first) << false << QString(row.second);

    const QList<QPair<const char*, const char*>> vicinity{{"90", "VCTS"},   {"92", "VCTSRA"},
                                                          {"93", "VCTSGS"}, {"95", "+VCTSRA"},
                                                          {"96", "VCTSGR"}, {"61", "-RA"}};
    for (const auto& row : vicinity)
        QTest::addRow("vicinity code %s", row.first)
            << weatherCode(row.first) << true << QString(row.second);

    // Code 52 is freezing at or below 0 degrees after rounding halves away from zero.
    QTest::newRow("52 at 0.4") << weatherCode("52", "0.4") << false << "FZDZ";
    QTest::newRow("52 at 0.49") << weatherCode("52", "0.49") << false << "FZDZ";
    QTest::newRow("52 at 0.5") << weatherCode("52", "0.5") << false << "DZ";
    QTest::newRow("52 at 0.6") << weatherCode("52", "0.6") << false << "DZ";
    QTest::newRow("52 at -0.5") << weatherCode("52", "-0.5") << false << "FZDZ";
    QTest::newRow("52 without temperature") << weatherCode("52") << false << "FZDZ";
    QTest::newRow("52 at the sentinel") << weatherCode("52", "-1000") << false << "DZ";
    // However the unit spells it.
    QTest::newRow("52 at a blank, then the sentinel")
        << weatherCode("52", " -1000") << false << "DZ";
    QTest::newRow("52 at the sentinel in exponent form")
        << weatherCode("52", "-1e3") << false << "DZ";

    QTest::newRow("code not in the table") << weatherCode("91") << false << "";
    QTest::newRow("XX") << weatherCode("XX") << false << "";
    QTest::newRow("contains 00") << weatherCode("100") << false << "";
    QTest::newRow("empty") << weatherCode("") << false << "";
    QTest::newRow("not a number") << weatherCode("abc") << false << "";
    QTest::newRow("not a whole number") << weatherCode("61.0") << false << "";
    QTest::newRow("leading zero") << weatherCode("04") << false << "HZ";
    QTest::newRow("no PW line") << buildRecord({{"TA", {"1"}}}) << false << "";
}

void TestSkyWeather::presentWeatherCode()
{
    QFETCH(QString, record);
    QFETCH(bool, vicinity);
    QFETCH(QString, expected);

    WeatherDataDecoder decoder;
    load(decoder, record, kOrva);
    decoder.vicinityThunder = vicinity;
    QCOMPARE(decoder.getPresentWeatherCode(false), expected);
    QCOMPARE(decoder.getPresentWeather(false), expected);
}

void TestSkyWeather::thunderStateOfTheReport()
{
    WeatherDataDecoder decoder;
    load(decoder, weatherCode("61"), kOrva);

    // Before a report has merged thunder, both calls compute the group afresh.
    QCOMPARE(decoder.getPresentWeather(true), QString("-RA"));

    decoder.cachedWeatherGroup = QStringLiteral("-TSRA");
    QCOMPARE(decoder.getPresentWeather(true), QString("-TSRA"));
    QCOMPARE(decoder.getPresentWeather(false), QString("-RA"));
    QCOMPARE(decoder.getPresentWeatherCode(true), QString("-TSRA"));

    // The BRQ group never comes from the cache.
    load(decoder, brqRecord("0.2", "20", "50", "10"), kBrq);
    QCOMPARE(decoder.getPresentWeather(true), QString("RA"));
}

void TestSkyWeather::brqWeather_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("rain");
    QTest::addColumn<QString>("obscuration");
    QTest::addColumn<QString>("weather");

    const QString n; // a line that is not sent
    const auto add = [](const char* name, int type, const QString& record, const char* rain,
                        const char* obscuration, const char* weather) {
        QTest::newRow(name) << type << record << QString(rain) << QString(obscuration)
                            << QString(weather);
    };
    add("rate 0.4", kBrq, brqRecord("0.4", n, n, n), "RA", "", "RA");
    add("rate 0.41", kBrq, brqRecord("0.41", n, n, n), "+RA", "", "+RA");
    add("rate 0.11", kBrq, brqRecord("0.11", n, n, n), "RA", "", "RA");
    add("rate 0.1", kBrq, brqRecord("0.1", n, n, n), "-RA", "", "-RA");
    add("rate 0.01", kBrq, brqRecord("0.01", n, n, n), "-RA", "", "-RA");
    add("rate 0", kBrq, brqRecord("0", n, n, n), "", "", "");
    add("rate negative", kBrq, brqRecord("-1", n, n, n), "", "", "");
    add("rate missing", kBrq, brqRecord("", n, n, n), "", "", "");

    // 0.62 mi is 998 m; 0.6214 mi is just over 1000 m.
    add("fog", kBrq, brqRecord("0", "20", "50", "0.62"), "", "FG", "FG");
    add("just over 1000 m is not fog", kBrq, brqRecord("0", "20", "50", "0.6214"), "", "HZ", "HZ");
    // Dew point 15.0 at 20 C and 72.9 %: a spread of exactly 5 is mist.
    add("spread 5", kBrq, brqRecord("0", "20", "72.9", "2"), "", "BR", "BR");
    add("spread 5.1", kBrq, brqRecord("0", "20.1", "72.5", "2"), "", "HZ", "HZ");
    add("just under 4000 m", kBrq, brqRecord("0", "20", "72.9", "2.4854"), "", "BR", "BR");
    add("4000 m and above", kBrq, brqRecord("0", "20", "72.9", "2.4855"), "", "", "");
    add("2.5 mi", kBrq, brqRecord("0", "20", "50", "2.5"), "", "", "");
    // The unit's negative visibility is "not determined": no fog is made up from it.
    add("negative visibility", kBrq, brqRecord("0", "20", "50", "-1"), "", "", "");
    add("no visibility", kBrq, brqRecord("0", "20", "50", n), "", "", "");
    add("no temperature", kBrq, brqRecord("0", n, "50", "0.5"), "", "", "");
    add("no humidity", kBrq, brqRecord("0", "20", n, "0.5"), "", "", "");
    add("rain and fog", kBrq, brqRecord("0.2", "20", "50", "0.5"), "RA", "FG", "RA FG");
    add("other device type", kNone, brqRecord("0.2", "20", "50", "0.5"), "RA", "", "");
}

void TestSkyWeather::brqWeather()
{
    QFETCH(int, type);
    QFETCH(QString, record);
    QFETCH(QString, rain);
    QFETCH(QString, obscuration);
    QFETCH(QString, weather);

    WeatherDataDecoder decoder;
    load(decoder, record, type);
    QCOMPARE(decoder.getRainIntensity(), rain);
    QCOMPARE(decoder.getObscuration(), obscuration);
    QCOMPARE(decoder.getPresentWeather(false), weather);
}

void TestSkyWeather::freezingFog_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");

    QTest::newRow("0") << "0"
                       << "HZ";
    QTest::newRow("6") << "6"
                       << "BR";
    QTest::newRow("26") << "26"
                        << "FG";
    QTest::newRow("27") << "27"
                        << "FZFG";
    QTest::newRow("5") << "5"
                       << "";
    QTest::newRow("not a number counts as 0") << "abc"
                                              << "HZ";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("XX") << "XX"
                        << "";
    QTest::newRow("00") << "00"
                        << "";
    QTest::newRow("contains 00") << "100"
                                 << "";
}

void TestSkyWeather::freezingFog()
{
    QFETCH(QString, field);
    QFETCH(QString, expected);

    WeatherDataDecoder decoder;
    load(decoder, buildRecord({{"PW", {"0", "61", "x", "10", "55", field}}}), kOrva);
    QCOMPARE(decoder.getFreezingFog(), expected);
}

void TestSkyWeather::describePresentWeather_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("text");

    // The last rows: only whole groups are described.
    const QList<QPair<const char*, const char*>> table{
        {"HZ", "Haze or Smoke"},
        {"BR", "Mist"},
        {"FG", "Fog"},
        {"FZFG", "Freezing Fog"},
        {"UP", "Indeterminate precipitation type"},
        {"-DZ", "Light Drizzle"},
        {"DZ", "Moderate Drizzle"},
        {"+DZ", "Heavy Drizzle"},
        {"-FZDZ", "Light Freezing Drizzle"},
        {"FZDZ", "Moderate Freezing Drizzle"},
        {"+FZDZ", "Heavy Freezing Drizzle"},
        {"-RA", "Light Rain"},
        {"RA", "Moderate Rain"},
        {"+RA", "Heavy Rain"},
        {"-FZRA", "Light Freezing Rain"},
        {"FZRA", "Moderate Freezing Rain"},
        {"+FZRA", "Heavy Freezing Rain"},
        {"-RASN", "Light Rain or Drizzle and Snow"},
        {"RASN", "Moderate Rain or Drizzle and Snow"},
        {"+RASN", "Heavy Rain or Drizzle and Snow"},
        {"-SN", "Light Snow"},
        {"SN", "Moderate Snow"},
        {"+SN", "Heavy Snow"},
        {"GS", "Small Hail"},
        {"GR", "Hail"},
        {"TS", "Thunderstorm"},
        {"TSRA", "Thunderstorm with Rain"},
        {"TSSN", "Thunderstorm with Snow"},
        {"TSGS", "Thunderstorm with Small Hail "},
        {"+TSRA", "Thunderstorm with Heavy Rain"},
        {"+TSSN", "Thunderstorm with Heavy Snow"},
        {"TSGR", "Thunderstorm with Hail"},
        {"TSSNGS", "Thunderstorm with Snow and Small Hail"},
        {"VCTS", "Vicinity Thunderstorm"},
        {"VCTSRA", "Vicinity Thunderstorm with Rain"},
        {"VCTSSN", "Vicinity Thunderstorm with Snow"},
        {"VCTSGS", "Vicinity Thunderstorm with Small Hail "},
        {"+VCTSRA", "Vicinity Thunderstorm with Heavy Rain"},
        {"+VCTSSN", "Vicinity Thunderstorm with Heavy Snow"},
        {"VCTSGR", "Vicinity Thunderstorm with Hail"},
        {"RA FG", ""},
        {"ra", ""},
        {"-TSRA", ""},
        {" RA", ""},
        {"", ""}};
    for (const auto& row : table)
        QTest::addRow("'%s'", row.first) << QString(row.first) << QString(row.second);
}

void TestSkyWeather::describePresentWeather()
{
    QFETCH(QString, group);
    QFETCH(QString, text);

    const WeatherDataDecoder decoder;
    QCOMPARE(decoder.describePresentWeather(group), text);
}

QTEST_GUILESS_MAIN(TestSkyWeather)
#include "tst_skyweather.moc"
