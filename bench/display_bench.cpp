// Time of MainGUI::display_weather_data for one ORVA record on the offscreen platform: the whole
// update of dashboard, data table, status icons, wind picture and the four trend charts.
// Usage: display_bench [records]   (default 2000)
//
// Two runs: trend series that start empty and grow by one point per record, and series already
// at their cap of 5760 points, where every point also drops the oldest and the range is found
// over the whole series. The goal is a median under 5 ms, so that the window keeps up with any
// rate a serial line can deliver.

#include "app/maingui.h"
#include "link/data_incoming.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QtCharts/QLineSeries>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

// A full ORVA observation as the unit sends it.
const QByteArray kOrvaFrame = "@0\r\n"
                              "N:METAR:0:0:0:KXYZ:1:1\r\n"
                              "B:12.6:10:x:E1:y:0\r\n"
                              "T:26/03/05,14:07:09\r\n"
                              "IR:a:b:c:OV7731\r\n"
                              "WI:12.5:45:12:40\r\n"
                              "GU:0:0:18:50:0:0:30:60\r\n"
                              "TA:21.4\r\n"
                              "RH:45\r\n"
                              "BA:1013.25:2992:-1.6:0:2\r\n"
                              "EL:100\r\n"
                              "CL:1:30:9:0:0:0:0:2:6:0:0:0:0:120\r\n"
                              "PW:0.2:61:x:10.0:10.0:27\r\n"
                              "LT:3:5:9:12:12:12\r\n"
                              "LA:45.5\r\n"
                              "LO:-73.6\r\n"
                              "OR:10:1\r\n"
                              "SS:90:1.5:8:270:0:0:0:0:14.5\r\n"
                              "RA:433.5:434.25:1\r\n"
                              "PA:0:0:0:0:0:0.12:0.5:1.0:2.0\r\n"
                              "~0000\r\n\r\n";

QJsonObject orvaRecord()
{
    data_incoming worker;
    worker.setDeviceTypeState(DeviceTypes::ORVA);
    QJsonObject built;
    QObject::connect(&worker, &data_incoming::weather_data_received,
                     [&built](const QJsonObject& record) { built = record; });
    worker.handleWeatherData(kOrvaFrame, '0', kOrvaFrame);
    return built;
}

struct Stats {
    double median = 0;
    double p90 = 0;
    double max = 0;
};

Stats timeUpdates(MainGUI& window, const QJsonObject& record, int count)
{
    std::vector<double> ms;
    ms.reserve(count);
    QElapsedTimer timer;
    for (int i = 0; i < count; ++i) {
        timer.start();
        window.display_weather_data(record);
        ms.push_back(timer.nsecsElapsed() / 1e6);
        // What the event loop does between two records: the charts' deferred clean-up.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[ms.size() * 9 / 10], ms.back()};
}

void print(const char* what, const Stats& s)
{
    std::printf("%-34s median %.3f ms   p90 %.3f ms   max %.3f ms\n", what, s.median, s.p90, s.max);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Keeps the window's settings file out of the operator's application data folder.
    QStandardPaths::setTestModeEnabled(true);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    QApplication app(argc, argv);
    const int count = argc > 1 ? qMax(10, QByteArray(argv[1]).toInt()) : 2000;

    const QJsonObject record = orvaRecord();
    if (record.isEmpty()) {
        std::fprintf(stderr, "display_bench: the link built no record\n");
        return 1;
    }

    MainGUI window;
    window.deviceType = DeviceTypes::ORVA;
    window.drawInitialCharts();
    window.resize(1656, 877);

    for (int i = 0; i < 20; ++i)
        window.display_weather_data(record);
    for (QtCharts::QLineSeries* series : window.trendSeries)
        series->clear();

    std::printf("display_weather_data, one ORVA record, %d updates per run (%s platform)\n", count,
                qPrintable(QGuiApplication::platformName()));
    print("series growing from empty:", timeUpdates(window, record, count));

    for (QtCharts::QLineSeries* series : window.trendSeries) {
        QVector<QPointF> full;
        full.reserve(5760);
        const qint64 start = QDateTime::currentMSecsSinceEpoch() - 5760 * 15000LL;
        for (int i = 0; i < 5760; ++i)
            full << QPointF(start + i * 15000.0, 10 + (i % 50) * 0.1);
        series->replace(full);
    }
    print("series at the 5760-point cap:", timeUpdates(window, record, count));
    return 0;
}
