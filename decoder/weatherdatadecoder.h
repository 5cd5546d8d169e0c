#pragma once

#include "decoder/sharedtypes.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

// Helpers shared by every reader. An empty text means "no value".
QString validDouble(const QString& text);
QString validInt(const QString& text);
// The number in a text as QString::toDouble reads it (0 when there is none), quicker for the
// plain decimals that most fields hold.
double decimalValue(const QString& text);
double roundToStep(double value, double step);

// Whole-number report groups: rounds halves away from zero, pads with zeros to the width (a
// minus sign counts in it, as in printf) and never writes "-0"; empty when not finite.
QString formatReportNumber(double value, int width);

// Holds the current record text of the unit and answers questions about it.
// The device link owns exactly one and uses it from its own thread only.
class WeatherDataDecoder
{
public:
    WeatherDataDecoder();
    WeatherDataDecoder(const WeatherDataDecoder&) = delete;
    WeatherDataDecoder& operator=(const WeatherDataDecoder&) = delete;

    // Assigned by the device link before each record is read.
    void setRecordText(const QString& text);

    void setDeviceType(int type, bool legacy);
    void setLoggingType(int type);
    void setIcao(QString icao);
    void setPrecipAccum24Interval(int interval);

    QString getFieldValue(QString key, int index);
    QStringList getParseErrors() const;
    void clearParseErrors();
    QString getIcao() const;
    QJsonObject getPrecipTotals() const;

    // Field readers.
    QString getTimestamp();
    QString getVoltage();
    QString getReportingInterval();
    QString getDeviceModel();
    QString getRadioTransmitRate();
    QString getWindSpeed(bool instantaneous);
    QString getWindDirection();
    QString getWindDirection2MinAvg();
    QString getGustSpeed();
    QString getGustDirection();
    QString getTemperature();
    QString getHumidity();
    QString getHAPressure();
    QString getStationPressure();
    QString getAltimeter();
    QString getThreeHourPressure();
    QString getElevation();
    QString getVisibility();
    QString getVisibility1();
    QString getPrecipitation();
    QString getContamination();
    QString getLightningDistance();
    QString getLightningFrequency();
    QStringList getLightningStrikes();
    QString getLatitude();
    QString getLongitude();
    QString getGpsText();
    QString getOrientation();
    QString getTilt();
    QString getCompassHeading();
    QString getSigWaveHeight();
    QString getSigWavePeriod();
    QString getSigWaveDirection();
    QString getSeaSurfaceTemp();
    QString getRflosTransmitFrequency();
    QString getRflosReceiveFrequency();
    QString getRflosBand();
    QString getStationId(bool fromHeader);
    int getPrecipAccumIndex(int hours);

    // Derived quantities.
    QString calcDewPoint();
    QString calcHeatIndex();
    QString calcWindChill();
    QString calcSeaLevelPressure();
    QString calcPressureAltitude();
    QString calcDensityAltitude();
    QString compassPoint(int degrees) const;

    // Sky condition and present weather.
    QString getCloudLayers(QList<int>& heights, QStringList& covers);
    QString cloudCoverFromOktas(int oktas) const;
    QString getLowestBrokenLayer();
    QString getPresentWeatherCode(bool useCached);
    QString getPresentWeather(bool useCached);
    QString getRainIntensity();
    QString getObscuration();
    QString getFreezingFog();
    QString describePresentWeather(QString group) const;

    // Lightning compass packets and the unit's five-minute event letters.
    void parseLightningCompassData(QByteArray packet);
    QString getPrecipBeginEnd(int which);
    QString getLightningBeginEnd(int which);

    // METAR/SPECI report text.
    QString createMetar();
    // Forgets what the records of the unit before left for the reports: the temperature
    // extremes, the rain and thunder in progress and the compass entries those records saw.
    void startNewUnit();
    // As startNewUnit, then takes what `other`, a decoder that read only the new unit's records,
    // remembers of them.
    void startNewUnitFrom(WeatherDataDecoder& other);
    // The link to the unit closed: the compass entries so far came from the unit it reached.
    void connectionClosed();
    bool isSpeci();
    QString metarVisibilityGroup(double visibility) const;
    int minutesBetween(int hour1, int minute1, int hour2, int minute2) const;

private:
    friend class TestFieldAccess;
    friend class TestDerived;
    friend class TestSkyWeather;
    friend class TestHistories;
    friend class TestMetarBody;
    friend class TestMetarRemarks;
    friend class TestMetarReports;
    friend class TestRecordReads;

    // What the report body hands on to its remarks within one createMetar call.
    struct MetarBodyValues {
        bool speedPresent = false;
        double speed = -1.0; // capped at 99
        bool peakPresent = false;
        double peak = -1.0; // not capped
        bool gustDirectionPresent = false;
        double gustDirection = -1.0; // rounded to tens
        bool lowCloud = false;       // a written layer lies below 400 ft
        QString weather;             // before any thunderstorm merge
        QString dayTime;             // ddhhmm
        QString temperature;         // measured temperature, empty when missing
        QString dewPoint;            // empty when missing or not derivable
    };
    void setMetarTimeFromDayTime(const QString& dayTime);

    // The report body, one group family each, in the order they are written.
    QString metarHeading(MetarBodyValues& body);
    void appendMetarWind(QString& report, MetarBodyValues& body);
    QString appendMetarVisibility(QString& report);
    void appendMetarSquallAndLightning(QString& report);
    QString orvaThunderGroup(const QString& dayTime);
    void appendMetarWeather(QString& report, MetarBodyValues& body, const QString& thunder);
    void appendMetarSky(QString& report, MetarBodyValues& body, const QString& freezingFog,
                        const QString& visibilityText);
    void appendMetarTemperature(QString& report, MetarBodyValues& body);

    // The remarks, one remark family each, in the order they are written.
    void appendMetarRemarks(QString& report, const MetarBodyValues& body);
    void appendPeakWindRemark(QString& report, const MetarBodyValues& body);
    void appendDistantStrikeRemark(QString& report);
    void appendPrecipitationEvents(QString& report, const MetarBodyValues& body);
    void appendThunderEvents(QString& report, const MetarBodyValues& body);
    void appendLightningAndRainTimes(QString& report, double lightningFrequency,
                                     double lightningDistance);
    void appendPressureChangeRemark(QString& report);
    std::array<qint64, 4> readPrecipitationTotals();
    void appendAdditiveData(QString& report, const MetarBodyValues& body,
                            const std::array<qint64, 4>& amounts);
    void appendTemperatureGroups(QString& report, const MetarBodyValues& body, bool sixHour,
                                 bool dayEnd);
    void appendTendencyGroup(QString& report);

    void updateTemperatureHistory(double temperature);
    void pruneTemperatureHistory();

    // Values that several readers of one record ask for. Each is worked out on its first read;
    // later reads of the same record get the same text and report the field errors of the first
    // again, as a fresh reading would.
    enum RecordValue {
        TemperatureValue,
        DewPointValue,
        HeatIndexValue,
        WindChillValue,
        SeaLevelPressureValue,
        PressureAltitudeValue,
        DensityAltitudeValue,
        RecordValueCount
    };
    struct CachedValue {
        bool filled = false;
        QString value;
        QStringList errors;
    };
    struct CachedLayers {
        bool filled = false;
        QString sky;
        QList<int> heights;
        QStringList covers;
        QStringList errors;
    };
    struct RecordValues {
        bool filled = false;
        QString text; // the record text they were read from, sharing its data
        qint32 deviceType = 0;
        bool legacy = false;
        CachedValue values[RecordValueCount];
        CachedLayers layers;
    };
    RecordValues& currentRecordValues();
    QString readCloudLayers(QList<int>& heights, QStringList& covers);
    CachedValue& cachedValue(RecordValue which);
    template <typename Compute> QString readOnce(RecordValue which, Compute compute);

    // Every temperature read updates the histories, so the record time is asked for many times
    // per record: it is read once per record text, and each later read repeats the field errors
    // and the message of the first.
    struct RecordTimeCache {
        bool filled = false;
        QString text; // the record text it was read from, sharing its data
        QString stamp;
        QDateTime utc;
        QStringList errors;
        bool patternMissing = false;
    };
    // About 130 field reads per record: the lines are found once per record text, and each
    // field once; later reads of it share the text of the first. Each line start is keyed by the
    // text between its "\r\n" and the first colon after it.
    static constexpr int kKeptFields = 16; // fields -1 (the whole line) to 14
    struct LineKey {
        quint32 code; // of the key text, to pass over other lines quickly
        int keyStart;
        int keyLength;
        int valueStart;
        quint32 readMask; // bit i: field i - 1 is kept in reads
    };
    // Where a key was last found (its line, or -1 for none), by its code.
    struct KeyHint {
        QString key;
        int line = -1;
    };
    static constexpr int kKeyHints = 64;
    struct LineIndex {
        bool filled = false;
        QString text; // the record text it was built from, sharing its data
        QVector<LineKey> lines;
        QVector<QString> reads; // kKeptFields per line
        KeyHint hints[kKeyHints];
    };
    // The field as the unit sent it, its no-value included.
    QString unitFieldValue(const QString& key, int index);
    // The text, read as a number, is the unit's no-value, however the unit wrote it.
    bool isUnitNoValue(const QString& text) const;
    void indexLines();
    int fieldStart(const QString& key, int* line);
    QString readField(const QString& key, int start, int index, bool* found);

    QString readTimestamp(bool* patternMissing);
    QDateTime recordTimeUtc();
    void reportFieldError(const QString& error);

    bool isOrva() const { return deviceType == static_cast<int>(DeviceTypes::ORVA); }

    QString recordText;
    QStringList parseErrors;
    QList<TimedValue> maxTemp24h;
    QList<TimedValue> minTemp24h;
    QList<TimedValue> maxTemp6h;
    QList<TimedValue> minTemp6h;
    QList<LightningCompassEntry> lightningCompass;
    // The newest entries, come since the last report over the connection still open: only these
    // can be those of a unit whose first record has not come yet.
    int newCompassEntries = 0;
    qint32 metarHour = 0;
    qint32 metarMinute = 0;
    QList<QPair<qint32, qint32>> thunderTimes;
    bool thunderBeginReported = false;
    QMap<QString, QList<QPair<qint32, qint32>>> weatherBeginTimes;
    QJsonObject precipTotals;
    QString icao;
    QString cachedWeatherGroup;
    bool vicinityThunder = false;
    qint32 accum24hPrevious = 1;
    double stdPressure = 1013.25;
    // The single-precision constant widened (0.19028399884700775): pressure altitudes are
    // checked against figures computed with it.
    double pressureAltitudeExponent = static_cast<double>(0.190284f);
    double noValue = -1000.0;
    qint32 deviceType = static_cast<qint32>(DeviceTypes::BRQ);
    qint32 loggingType = static_cast<qint32>(LoggingType::Default);
    bool legacy = false;
    RecordTimeCache timeCache;
    LineIndex lineIndex;
    RecordValues recordValues;
};
