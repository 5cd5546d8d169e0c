#include "tests/support/testsupport.h"

#include "link/data_incoming.h"
#include "link/unittracker.h"
#include "tests/link/linktest.h"
#include "tests/support/recordtext.h"
#include "tests/support/scopedclock.h"

#include <QSignalSpy>
#include <QtTest>

namespace
{

class WorkerProbe : public data_incoming
{
public:
    using data_incoming::checkTampering;
    using data_incoming::crosswind;
    using data_incoming::positionReset;
    using data_incoming::runTemperatureWindow;
    using data_incoming::tamperActive;
    using data_incoming::tamperReferences;
    using data_incoming::tamperText;
    using data_incoming::temperatureMaxHistory;
    using data_incoming::temperatureMinHistory;
};

const QDateTime kStart(QDate(2026, 3, 5), QTime(12, 0, 0), Qt::UTC);

RecordLine timeLine(const QDateTime& t)
{
    return {QStringLiteral("T"),
            {t.toString(QStringLiteral("yy/MM/dd,hh")), t.toString(QStringLiteral("mm")),
             t.toString(QStringLiteral("ss"))}};
}

// A BRQ weather packet at time t with the given extra lines.
QByteArray brqPacket(const QDateTime& t, QList<RecordLine> lines)
{
    lines.prepend(timeLine(t));
    return (QStringLiteral("@I:UNIT7\r\n") + buildRecord(lines).mid(2)).toUtf8();
}

PositionSample sample(double lat, double lon, double elev, double tilt, double orient,
                      const QDateTime& time = kStart)
{
    PositionSample s;
    s.time = time;
    s.latitude = lat;
    s.longitude = lon;
    s.elevation = elev;
    s.tilt = tilt;
    s.orientation = orient;
    return s;
}

const QString kDeg = QStringLiteral("\u00B0");

} // namespace

Q_DECLARE_METATYPE(PositionSample)

class TestRollingWindows : public QObject
{
    Q_OBJECT

private:
    QJsonObject lastRecord;
    QJsonObject feed(WorkerProbe& worker, const QByteArray& packet)
    {
        worker.handleWeatherData(packet, '0', QByteArray());
        return lastRecord;
    }
    void attach(WorkerProbe& worker)
    {
        worker.setDeviceTypeState(DeviceTypes::BRQ);
        connect(&worker, &data_incoming::weather_data_received, this,
                [this](const QJsonObject& r) { lastRecord = r; });
    }

private slots:
    void crosswind_data()
    {
        QTest::addColumn<double>("runway");
        QTest::addColumn<QString>("speed");
        QTest::addColumn<QString>("direction");
        QTest::addColumn<QString>("expected");

        QTest::newRow("90 against 45") << 90.0 << "10"
                                       << "45"
                                       << " 7.1";
        QTest::newRow("tail wind") << 270.0 << "10"
                                   << "90"
                                   << " 0.0";
        QTest::newRow("square across") << 0.0 << "15"
                                       << "90"
                                       << "15.0";
        QTest::newRow("across north") << 350.0 << "20"
                                      << "10"
                                      << " 6.8";
        QTest::newRow("no speed") << 90.0 << ""
                                  << "45"
                                  << "";
        QTest::newRow("no direction") << 90.0 << "10"
                                      << ""
                                      << "";
    }

    void crosswind()
    {
        QFETCH(double, runway);
        QFETCH(QString, speed);
        QFETCH(QString, direction);
        QFETCH(QString, expected);

        WorkerProbe worker;
        worker.updateRunwayDirection(runway);
        QCOMPARE(worker.crosswind(speed, direction, true), expected);
        QCOMPARE(worker.crosswind(speed, direction, false), expected);
    }

    void crosswindKeysOfRecord()
    {
        WorkerProbe worker;
        attach(worker);
        worker.updateRunwayDirection(90.0);
        const QJsonObject r =
            feed(worker, brqPacket(kStart, {{"WI", {"10", "45"}}, {"GU", {"15", "90"}}}));
        QCOMPARE(r.value("X Wind").toString(), QStringLiteral(" 7.1"));
        QCOMPARE(r.value("X Gust").toString(), QStringLiteral(" 0.0"));

        const QJsonObject calm = feed(worker, brqPacket(kStart.addSecs(60), {}));
        QCOMPARE(calm.value("X Wind").toString(), QString());
        QCOMPARE(calm.value("X Gust").toString(), QString());
    }

    void windWindows()
    {
        WorkerProbe worker;
        attach(worker);
        feed(worker, brqPacket(kStart, {{"WI", {"10", "100"}}}));
        feed(worker, brqPacket(kStart.addSecs(60), {{"WI", {"12", "200"}}}));
        QJsonObject r = feed(worker, brqPacket(kStart.addSecs(120), {{"WI", {"12", "210"}}}));
        QCOMPARE(r.value("Wind Speed Max 10 Minutes").toString(), QStringLiteral("12"));
        QCOMPARE(r.value("Wind Direction Max 10 Minutes").toString(), QStringLiteral("210"));
        QCOMPARE(r.value("Wind Speed Min 10 Minutes").toString(), QStringLiteral("10"));
        QCOMPARE(r.value("Wind Direction Min 10 Minutes").toString(), QStringLiteral("100"));
        QCOMPARE(r.value("Wind Speed Max 1 Hour").toString(), QStringLiteral("12"));
        QCOMPARE(r.value("Wind Direction Min 1 Hour").toString(), QStringLiteral("100"));

        // 661 s on: the samples at 0 s and 60 s are more than 600 s old, the one at 120 s is not.
        r = feed(worker, brqPacket(kStart.addSecs(661), {{"WI", {"11.5", "300"}}}));
        QCOMPARE(r.value("Wind Speed Max 10 Minutes").toString(), QStringLiteral("12"));
        QCOMPARE(r.value("Wind Direction Max 10 Minutes").toString(), QStringLiteral("210"));
        QCOMPARE(r.value("Wind Speed Min 10 Minutes").toString(), QStringLiteral("11.5"));
        QCOMPARE(r.value("Wind Direction Min 10 Minutes").toString(), QStringLiteral("300"));
        QCOMPARE(r.value("Wind Speed Min 1 Hour").toString(), QStringLiteral("10"));
        QCOMPARE(r.value("Wind Direction Min 1 Hour").toString(), QStringLiteral("100"));

        // Exactly 600 s after the 12 kt sample at 120 s it still counts.
        r = feed(worker, brqPacket(kStart.addSecs(720), {{"WI", {"3", "10"}}}));
        QCOMPARE(r.value("Wind Speed Max 10 Minutes").toString(), QStringLiteral("12"));
        r = feed(worker, brqPacket(kStart.addSecs(721), {{"WI", {"3", "10"}}}));
        QCOMPARE(r.value("Wind Speed Max 10 Minutes").toString(), QStringLiteral("11.5"));
    }

    void windWithoutSpeedOnlyAges()
    {
        WorkerProbe worker;
        attach(worker);
        QJsonObject r = feed(worker, brqPacket(kStart, {{"WI", {"", "100"}}}));
        for (const char* key : {"Wind Speed Max 10 Minutes", "Wind Direction Max 10 Minutes",
                                "Wind Speed Min 1 Hour", "Wind Direction Min 1 Hour"})
            QCOMPARE(r.value(key).toString(), QString());

        feed(worker, brqPacket(kStart.addSecs(10), {{"WI", {"8", "100"}}}));
        r = feed(worker, brqPacket(kStart.addSecs(400), {{"WI", {"9"}}}));
        QCOMPARE(r.value("Wind Speed Max 10 Minutes").toString(), QStringLiteral("8"));
        r = feed(worker, brqPacket(kStart.addSecs(611), {}));
        QCOMPARE(r.value("Wind Speed Max 10 Minutes").toString(), QString());
        QCOMPARE(r.value("Wind Speed Max 1 Hour").toString(), QStringLiteral("8"));
    }

    void temperatureWindow()
    {
        WorkerProbe worker;
        attach(worker);
        QJsonObject r = feed(worker, brqPacket(kStart, {}));
        QCOMPARE(r.value("Temperature 24 Hrs Max").toString(), QStringLiteral("-"));
        QCOMPARE(r.value("Temperature 24 Hrs Min").toString(), QStringLiteral("-"));
        QCOMPARE(r.value("Dew Point 24 Hrs Max").toString(), QStringLiteral("-"));

        feed(worker, brqPacket(kStart.addSecs(60), {{"TA", {"20"}}}));
        feed(worker, brqPacket(kStart.addSecs(3600), {{"TA", {"25"}}}));
        r = feed(worker, brqPacket(kStart.addSecs(7200), {{"TA", {"22"}}}));
        QCOMPARE(r.value("Temperature 24 Hrs Max").toString(), QStringLiteral("25"));
        QCOMPARE(r.value("Temperature 24 Hrs Min").toString(), QStringLiteral("20"));

        // A record without a temperature keeps the extremes of the day.
        r = feed(worker, brqPacket(kStart.addSecs(7300), {}));
        QCOMPARE(r.value("Temperature 24 Hrs Max").toString(), QStringLiteral("25"));

        // The 25 sample is now more than 86,400 s old.
        r = feed(worker, brqPacket(kStart.addSecs(3600 + 86401), {{"TA", {"21.25"}}}));
        QCOMPARE(r.value("Temperature 24 Hrs Max").toString(), QStringLiteral("22"));
        QCOMPARE(r.value("Temperature 24 Hrs Min").toString(), QStringLiteral("21.25"));
    }

    void pressureChange_data()
    {
        QTest::addColumn<QStringList>("pressures");
        QTest::addColumn<QList<int>>("offsets");
        QTest::addColumn<QString>("expected");

        QTest::newRow("fall") << QStringList{"1010.0", "1008.5"} << QList<int>{0, 3600} << "-1.50";
        QTest::newRow("rise") << QStringList{"1008.5", "1010.0"} << QList<int>{0, 3600} << "1.50";
        QTest::newRow("single") << QStringList{"1010.0"} << QList<int>{0} << "0.00";
        QTest::newRow("none") << QStringList{""} << QList<int>{0} << "-";
        QTest::newRow("fall then rise, the later extreme decides")
            << QStringList{"1010.0", "1007.0", "1008.0"} << QList<int>{0, 1800, 3600} << "-3.00";
        QTest::newRow("old sample aged out")
            << QStringList{"1010.0", "1008.5"} << QList<int>{0, 10801} << "0.00";
        QTest::newRow("exactly three hours still counts")
            << QStringList{"1010.0", "1008.5"} << QList<int>{0, 10800} << "-1.50";
    }

    void pressureChange()
    {
        QFETCH(QStringList, pressures);
        QFETCH(QList<int>, offsets);
        QFETCH(QString, expected);

        WorkerProbe worker;
        attach(worker);
        QJsonObject r;
        for (int i = 0; i < pressures.size(); ++i) {
            QList<RecordLine> lines;
            if (!pressures.at(i).isEmpty())
                lines << RecordLine{"BA", {pressures.at(i), "2992"}};
            r = feed(worker, brqPacket(kStart.addSecs(offsets.at(i)), lines));
        }
        QCOMPARE(r.value("3 Hr Pressure").toString(), expected);
    }

    void samplesWithoutValidTimeAreNotKept()
    {
        WorkerProbe worker;
        attach(worker);
        // No time line: the record is still built, but its values cannot be placed in a window.
        const QByteArray noTime = "@I:UNIT7\r\nTA:18.5\r\nWI:10:100\r\nBA:1010.0\r\nLA:45.1\r\n";
        QJsonObject r = feed(worker, noTime);
        QCOMPARE(r.value("Temperature").toString(), QStringLiteral("18.5"));
        QCOMPARE(r.value("Temperature 24 Hrs Max").toString(), QStringLiteral("-"));
        QCOMPARE(r.value("Wind Speed Max 10 Minutes").toString(), QString());
        QCOMPARE(r.value("3 Hr Pressure").toString(), QStringLiteral("-"));
        QVERIFY(worker.temperatureMaxHistory.isEmpty());
        QVERIFY(worker.tamperReferences.isEmpty());

        // A set clock with an impossible date is no valid time either.
        r = feed(worker, brqPacket(kStart, {{"TA", {"19"}}}).replace("26/03/05", "26/13/05"));
        QCOMPARE(r.value("Timestamp UTC").toString(), QString());
        QCOMPARE(r.value("Temperature 24 Hrs Max").toString(), QStringLiteral("-"));
        QVERIFY(worker.temperatureMaxHistory.isEmpty());
    }

    void windowsStayBounded()
    {
        // Falling values with times that run backwards never age out of a maximum queue.
        WorkerProbe worker;
        for (int i = 0; i < 5000; ++i)
            worker.runTemperatureWindow(kStart.addSecs(-i), QString::number(40.0 - i * 0.01));
        QVERIFY(worker.temperatureMaxHistory.size() <= 4096);
        QVERIFY(worker.temperatureMaxHistory.size() >= 1000);
        QCOMPARE(worker.temperatureMinHistory.size(), 1);

        // References stamped far ahead of the PC clock never age out either.
        ScopedClock clock(kStart);
        for (int i = 0; i < 5000; ++i)
            worker.checkTampering(
                sample(45.0, 7.0, 100.0, 1.0, 10.0, kStart.addYears(50).addSecs(i)), '0');
        QVERIFY(worker.tamperReferences.size() <= 4096);
        QVERIFY(worker.tamperReferences.size() >= 1000);
    }

    void tamperLatitudeLoggedOnce()
    {
        ScopedClock clock(kStart);
        WorkerProbe worker;
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);

        QCOMPARE(worker.checkTampering(sample(45.000, 7.0, 100.0, 1.0, 10.0), '0'), QString());
        const QString expected =
            QStringLiteral("Tampering Detected:\nLatitude has changed by more than 0.005") + kDeg +
            "\n";
        QCOMPARE(worker.checkTampering(sample(45.006, 7.0, 100.0, 1.0, 10.0), '0'), expected);
        QCOMPARE(textArgs(log),
                 QStringList{QStringLiteral("WARNING: Tampering Detected: Latitude has "
                                            "changed by more than 0.005") +
                             kDeg});
        QVERIFY(worker.tamperActive);

        // Still displaced: the same text again, nothing more in the log.
        QCOMPARE(worker.checkTampering(sample(45.006, 7.0, 100.0, 1.0, 10.0), '0'), expected);
        QCOMPARE(log.count(), 1);
        QCOMPARE(worker.tamperReferences.size(), 3);

        // A further displacement changes the text, which is logged anew.
        const QString both =
            QStringLiteral("Tampering Detected:\nLatitude has changed by more than "
                           "0.005") +
            kDeg + "\nLongitude has changed by more than 0.005" + kDeg + "\n";
        QCOMPARE(worker.checkTampering(sample(45.006, 7.01, 100.0, 1.0, 10.0), '0'), both);
        QCOMPARE(log.count(), 2);
        QCOMPARE(worker.tamperText, both);
    }

    // Every distinct reference is compared, not only the first: a unit that drifted 0.003 and
    // comes back past where it started has moved 0.006 from its second place.
    void tamperEachDistinctReference()
    {
        ScopedClock clock(kStart);
        WorkerProbe worker;
        QCOMPARE(worker.checkTampering(sample(45.003, 7.0, 100.0, 1.0, 10.0), '0'), QString());
        QCOMPARE(worker.checkTampering(sample(45.000, 7.0, 100.0, 1.0, 10.0), '0'), QString());
        QCOMPARE(worker.checkTampering(sample(45.006, 7.0, 100.0, 1.0, 10.0), '0'),
                 "Tampering Detected:\nLatitude has changed by more than 0.005" + kDeg + "\n");
    }

    void tamperLines_data()
    {
        QTest::addColumn<PositionSample>("reference");
        QTest::addColumn<PositionSample>("next");
        QTest::addColumn<QString>("expected");

        const QString head = QStringLiteral("Tampering Detected:\n");
        QTest::newRow("tilt with both positions unset")
            << sample(0, 0, 0, 2.0, 10.0) << sample(0, 0, 0, 8.0, 10.0)
            << head + "Tilt position has changed by more than 5" + kDeg + "\n";
        QTest::newRow("tilt by exactly 5 is no change")
            << sample(45, 7, 100, 2.0, 10.0) << sample(45, 7, 100, 7.0, 10.0) << QString();
        QTest::newRow("orientation does not wrap at 360")
            << sample(45, 7, 100, 1.0, 1.0) << sample(45, 7, 100, 1.0, 359.0)
            << head + "Orientation has changed by more than 10" + kDeg;
        QTest::newRow("elevation and orientation, in table order")
            << sample(45, 7, 100, 1.0, 1.0) << sample(45, 7, 103.5, 1.0, 30.0)
            << head +
                   "Elevation has changed by more than 3 meters\n"
                   "Orientation has changed by more than 10" +
                   kDeg;
        QTest::newRow("tilt code not compared")
            << sample(45, 7, 100, 1.0, 10.0) << sample(45, 7, 100, 65534.0, 10.0) << QString();
        QTest::newRow("elevation code in the reference not compared")
            << sample(45, 7, -65534.0, 1.0, 10.0) << sample(45, 7, 100, 1.0, 10.0) << QString();
        QTest::newRow("elevation code in the new sample not compared")
            << sample(45, 7, 100, 1.0, 10.0) << sample(45, 7, 65534.0, 1.0, 10.0) << QString();
        QTest::newRow("latitude code not compared")
            << sample(65535.0, 7, 100, 1.0, 10.0) << sample(45, 7, 100, 1.0, 10.0) << QString();
    }

    void tamperLines()
    {
        QFETCH(PositionSample, reference);
        QFETCH(PositionSample, next);
        QFETCH(QString, expected);

        ScopedClock clock(kStart);
        WorkerProbe worker;
        QCOMPARE(worker.checkTampering(reference, '0'), QString());
        QCOMPARE(worker.checkTampering(next, '0'), expected);
    }

    void gpsFixLostRestartsReferences()
    {
        ScopedClock clock(kStart);
        WorkerProbe worker;
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        worker.checkTampering(sample(45.0, 7.0, 100.0, 1.0, 10.0), '0');
        worker.checkTampering(sample(45.0, 7.0, 100.0, 9.0, 10.0), '0');
        QVERIFY(worker.tamperActive);

        const PositionSample lost = sample(0, 0, 0, 1.0, 10.0, kStart.addSecs(60));
        QCOMPARE(worker.checkTampering(lost, '0'), QString());
        QCOMPARE(worker.tamperReferences.size(), 1);
        QCOMPARE(worker.tamperReferences.first().time, lost.time);
        QVERIFY(!worker.tamperActive);
        QCOMPARE(worker.tamperText, QString());
        QCOMPARE(textArgs(log).last(), QStringLiteral("INFO: Tampering Warning Now Expired."));
        // The next record is compared with the new reference.
        QCOMPARE(worker.checkTampering(sample(0, 0, 0, 9.0, 10.0, kStart.addSecs(120)), '0'),
                 "Tampering Detected:\nTilt position has changed by more than 5" + kDeg + "\n");

        // The fix comes back: again a fresh start, no tampering.
        QCOMPARE(worker.checkTampering(sample(45.0, 7.0, 100.0, 1.0, 10.0), '0'), QString());
        QCOMPARE(worker.tamperReferences.size(), 1);
    }

    void highSpeedPacketExpiresWarning()
    {
        ScopedClock clock(kStart);
        WorkerProbe worker;
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        worker.checkTampering(sample(45.0, 7.0, 100.0, 1.0, 10.0), '0');
        worker.checkTampering(sample(45.0, 7.0, 110.0, 1.0, 10.0), '0');
        QCOMPARE(log.count(), 1);

        // Nothing of a high-speed packet is compared or stored, and a pending reset waits.
        worker.positionReset = true;
        QCOMPARE(worker.checkTampering(sample(50.0, 7.0, 100.0, 1.0, 10.0), 'D'), QString());
        QCOMPARE(textArgs(log).last(), QStringLiteral("INFO: Tampering Warning Now Expired."));
        QCOMPARE(worker.tamperReferences.size(), 2);
        QVERIFY(worker.positionReset);
        QVERIFY(!worker.tamperActive);

        // The next full record finds the displacement again and logs it anew.
        worker.positionReset = false;
        QVERIFY(!worker.checkTampering(sample(45.0, 7.0, 110.0, 1.0, 10.0), '0').isEmpty());
        QCOMPARE(log.count(), 3);
        QVERIFY(textArgs(log).last().startsWith(QStringLiteral("WARNING: ")));

        // With no warning active, a high-speed packet logs nothing.
        worker.checkTampering(sample(45.0, 7.0, 110.0, 1.0, 10.0), 'D');
        QCOMPARE(log.count(), 4);
        worker.checkTampering(sample(45.0, 7.0, 110.0, 1.0, 10.0), 'D');
        QCOMPARE(log.count(), 4);
    }

    void positionResetAndClear()
    {
        ScopedClock clock(kStart);
        WorkerProbe worker;
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        worker.checkTampering(sample(45.0, 7.0, 100.0, 1.0, 10.0), '0');

        // A confirmed GPS or elevation command: the new place becomes the reference.
        worker.positionReset = true;
        QCOMPARE(worker.checkTampering(sample(45.0, 7.0, 150.0, 1.0, 10.0), '0'), QString());
        QVERIFY(!worker.positionReset);
        QCOMPARE(worker.tamperReferences.size(), 1);

        worker.checkTampering(sample(45.0, 7.0, 100.0, 1.0, 10.0), '0');
        QVERIFY(worker.tamperActive);

        // Clearing the references leaves the warning until the next full record expires it.
        worker.clearTampering();
        QVERIFY(worker.tamperReferences.isEmpty());
        QVERIFY(worker.tamperActive);
        QCOMPARE(worker.checkTampering(sample(45.0, 7.0, 100.0, 1.0, 10.0), '0'), QString());
        QVERIFY(!worker.tamperActive);
        QCOMPARE(textArgs(log).last(), QStringLiteral("INFO: Tampering Warning Now Expired."));
    }

    void referencesAgeOnThePcClock()
    {
        ScopedClock clock(kStart);
        WorkerProbe worker;
        worker.checkTampering(sample(45.0, 7.0, 100.0, 1.0, 10.0, kStart), '0');

        // One millisecond short of six hours the old place still counts.
        clock.advanceMSecs(21600000 - 1);
        QVERIFY(
            !worker.checkTampering(sample(46.0, 7.0, 100.0, 1.0, 10.0, kStart.addSecs(3600)), '0')
                 .isEmpty());

        // Six hours after it, the first reference is gone; the second (the new place) remains.
        clock.advanceMSecs(1);
        QCOMPARE(
            worker.checkTampering(sample(46.0, 7.0, 100.0, 1.0, 10.0, kStart.addSecs(7200)), '0'),
            QString());
        QCOMPARE(worker.tamperReferences.size(), 2);
    }

    void unsetDeviceClockReportsNoTampering()
    {
        ScopedClock clock(kStart);
        WorkerProbe worker;
        attach(worker);
        const QDateTime deviceTime(QDate(2000, 1, 1), QTime(0, 0, 5), Qt::UTC);
        feed(worker, brqPacket(deviceTime, {{"LA", {"45.0"}}, {"LO", {"7.0"}}, {"EL", {"100"}}}));
        QCOMPARE(worker.tamperReferences.size(), 1);
        const QJsonObject r =
            feed(worker, brqPacket(deviceTime.addSecs(60),
                                   {{"LA", {"46.0"}}, {"LO", {"7.0"}}, {"EL", {"100"}}}));
        QCOMPARE(r.value("Tampering").toString(), QString());
        QCOMPARE(worker.tamperReferences.size(), 1);
    }

    void tamperFromRecords()
    {
        ScopedClock clock(kStart.addSecs(120));
        WorkerProbe worker;
        attach(worker);
        QSignalSpy log(&worker, &data_incoming::sendLogMsg);
        const QList<RecordLine> home{
            {"LA", {"45.0"}}, {"LO", {"7.0"}}, {"EL", {"100"}}, {"OR", {"10", "1"}}};
        QJsonObject r = feed(worker, brqPacket(kStart, home));
        QCOMPARE(r.value("Tampering").toString(), QString());

        r = feed(
            worker,
            brqPacket(kStart.addSecs(60),
                      {{"LA", {"45.0"}}, {"LO", {"7.0"}}, {"EL", {"100"}}, {"OR", {"25", "1"}}}));
        QCOMPARE(r.value("Tampering").toString(),
                 QStringLiteral("Tampering Detected:\nOrientation has changed by more than 10") +
                     kDeg);
        QCOMPARE(textArgs(log).filter(QStringLiteral("WARNING: ")).size(), 1);
    }

    // Whose records start the windows afresh. A record is "B" (BRQ), "O" (legacy ORVA) or "O*"
    // (ORVA in a checksummed frame), then the identifier it names, if any; "|" ends the
    // connection. Per record: "A" another unit, "." the unit before.
    void unitChanges_data()
    {
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<QString>("expected");
        QTest::newRow("unchecked identifier at its second record")
            << QStringList{"B 42", "B 43", "B 43", "B 43"} << "..A.";
        QTest::newRow("legacy ORVA unchecked") << QStringList{"O OV1", "O OV2", "O OV2"} << "..A";
        QTest::newRow("two damaged in a row, differently")
            << QStringList{"B 42", "B 4x", "B 4y", "B 42"} << "....";
        QTest::newRow("a nameless record between")
            << QStringList{"B 42", "B 43", "B", "B 43"} << "....";
        QTest::newRow("first named over a new connection")
            << QStringList{"B 42", "|", "B", "B 43", "B 42"} << "..A.";
        QTest::newRow("the same unit over a new connection")
            << QStringList{"B 42", "|", "B 42", "B 43"} << "...";
        QTest::newRow("another family") << QStringList{"B 42", "O* OV1", "B 42"} << ".AA";
    }
    void unitChanges()
    {
        QFETCH(QStringList, records);
        QFETCH(QString, expected);
        UnitTracker tracker;
        QString seen;
        for (const QString& record : records) {
            if (record == QLatin1String("|")) {
                tracker.connectionEnded();
                continue;
            }
            const QString family = record.section(QLatin1Char(' '), 0, 0);
            const bool another = tracker.startsAnotherUnit(
                family == QLatin1String("B") ? DeviceTypes::BRQ : DeviceTypes::ORVA,
                record.section(QLatin1Char(' '), 1), family == QLatin1String("O*"));
            seen += another ? QLatin1Char('A') : QLatin1Char('.');
        }
        QCOMPARE(seen, expected);
    }
};

QTEST_GUILESS_MAIN(TestRollingWindows)
#include "tst_rollingwindows.moc"
