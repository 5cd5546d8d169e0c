// GUI time of one weather record in the shown main window: MainGUI::display_weather_data plus
// the painting that it causes, as the operator's screen gets it. Needs a display that paints
// (run under xvfb-run -a -s "-screen 0 1920x1080x24"); the offscreen platform paints nothing.
// Usage: display_bench [records at the cap]   (default 1000)
//
// The PC clock advances 15 s per record and every record carries other values, so the charts
// scroll and rescale as they do at a station. Runs, in order:
//   1. trend page shown, series growing from empty to their cap of 5760 points;
//   2. trend page shown, series at the cap (every point also drops the oldest);
//   3. dashboard page shown (the charts are not on screen), series at the cap;
//   4. the switch back to the trend page, then records with the trend page shown again;
//   5. series emptied (as for a new connection), dashboard page shown, growing to the cap.
// Each run reports the median and the 90th percentile of the GUI thread's CPU time per record,
// and the median wall time. The goal is at most 3 ms per record at the cap.

#include "app/maingui.h"
#include "decoder/clock.h"
#include "link/data_incoming.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
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

// The record with the four charted values (and the labels beside them) drifting.
QJsonObject varied(QJsonObject record, int n)
{
    const double wave = std::sin(n / 37.0);
    const double slow = std::cos(n / 211.0);
    const auto put = [&record](const char* key, double value, int decimals) {
        record.insert(QLatin1String(key), QString::number(value, 'f', decimals));
    };
    put("Wind Speed", 12 + 7 * wave + (n % 7) * 0.3, 1);
    put("Wind Speed Inst", 13 + 6 * wave, 1);
    put("Wind Direction", 180 + 90 * slow, 0);
    put("Temperature", 14 + 6 * slow + 0.1 * (n % 5), 1);
    put("Pressure", 1008 + 4 * wave * slow, 2);
    put("Humidity", 60 + 25 * slow - (n % 3), 0);
    return record;
}

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Lets the window repaint what the record changed, as the event loop does between records.
void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

struct Run {
    std::vector<double> cpu;
    std::vector<double> wall;
};

int records = 0;
QDateTime clockTime;

Run feed(MainGUI& window, const QJsonObject& base, int count)
{
    Run run;
    run.cpu.reserve(count);
    run.wall.reserve(count);
    QElapsedTimer timer;
    for (int i = 0; i < count; ++i) {
        const QJsonObject record = varied(base, records++);
        clockTime = clockTime.addSecs(15);
        Clock::setFixed(clockTime);
        timer.start();
        const double cpu = threadCpuMs();
        window.display_weather_data(record);
        settle();
        run.cpu.push_back(threadCpuMs() - cpu);
        run.wall.push_back(timer.nsecsElapsed() / 1e6);
    }
    return run;
}

double percentile(std::vector<double> values, int percent)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, values.size() * percent / 100)];
}

void print(const char* what, const Run& run)
{
    std::printf("%-44s %6zu   cpu median %7.3f ms  p90 %7.3f ms   wall median %7.3f ms\n", what,
                run.cpu.size(), percentile(run.cpu, 50), percentile(run.cpu, 90),
                percentile(run.wall, 50));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fprintf(stderr, "display_bench: needs a display; run it under xvfb-run -a -s "
                             "\"-screen 0 1920x1080x24\"\n");
        return 2;
    }
    // Keeps the window's settings file out of the operator's application data folder.
    QStandardPaths::setTestModeEnabled(true);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    QApplication app(argc, argv);
    const int atCap = argc > 1 ? qMax(10, QByteArray(argv[1]).toInt()) : 1000;
    constexpr int kCap = 5760;

    const QJsonObject record = orvaRecord();
    if (record.isEmpty()) {
        std::fprintf(stderr, "display_bench: the link built no record\n");
        return 1;
    }

    clockTime = QDateTime(QDate(2026, 3, 5), QTime(0, 0), Qt::UTC);
    Clock::setFixed(clockTime);
    MainGUI window;
    window.deviceType = DeviceTypes::ORVA;
    window.drawInitialCharts();
    window.resize(1656, 877);
    window.show();
    window.on_pushButtonTrends_clicked();
    QElapsedTimer exposing;
    exposing.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) &&
           exposing.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    settle();

    std::printf("one ORVA record in the shown window (%s platform), %d records at the cap\n",
                qPrintable(QGuiApplication::platformName()), atCap);
    print("trend page, series growing from empty:", feed(window, record, kCap));
    print("trend page, series at the 5760-point cap:", feed(window, record, atCap));
    window.on_pushButtonDashboard_clicked();
    settle();
    print("dashboard page, series at the cap:", feed(window, record, atCap));

    QElapsedTimer timer;
    timer.start();
    const double cpu = threadCpuMs();
    window.on_pushButtonTrends_clicked();
    settle();
    std::printf("%-44s %6d   cpu %7.3f ms   wall %7.3f ms\n", "switch back to the trend page:", 1,
                threadCpuMs() - cpu, timer.nsecsElapsed() / 1e6);
    print("trend page again, series at the cap:", feed(window, record, atCap / 4));

    window.on_pushButtonDashboard_clicked();
    window.clearValues();
    settle();
    print("dashboard page, series growing from empty:", feed(window, record, kCap));
    Clock::reset();
    return 0;
}
