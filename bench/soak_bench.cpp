// CPU of the whole station (all threads) over a long run: the real main window, connected to
// the scripted unit over a pseudo-terminal, as an operator would leave it. Needs a display that
// paints (run under xvfb-run -a -s "-screen 0 1920x1080x24").
// Usage: soak_bench [minutes] [seconds between records] [dashboard|trends]
//        (default 30 minutes, 0.2 s, dashboard)
//
// Starts unit-sim (beside this program's folder, in tools/) as an ORVA unit, opens it the way the
// device dialog would, shows the named page and prints, once a minute, the records received, the
// points in each trend chart and the CPU used in that minute as a share of one core. At a record
// every 0.2 s the charts reach their cap of 5760 points after 19.2 minutes; the goal is below 5 %
// of one core from then on.

#include "app/maingui.h"
#include "dashboard/trendcharts.h"
#include "forms/formresources.h"
#include "link/data_incoming.h"
#include "link/packetcode.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>

namespace
{

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
           usage.ru_stime.tv_usec / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fprintf(stderr, "soak_bench: needs a display; run it under xvfb-run\n");
        return 2;
    }
    // Keeps settings, logs and data files out of the operator's application data folder.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantora Direct"));
    registerFormFonts();
    const double minutes = argc > 1 ? QByteArray(argv[1]).toDouble() : 30.0;
    const QString period = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("0.2");
    const bool trends = argc > 3 && QByteArray(argv[3]) == "trends";
    if (!(minutes > 0)) {
        std::fprintf(stderr, "soak_bench: the run must last some minutes\n");
        return 2;
    }

    QProcess unit;
    unit.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    unit.start(
        QDir(QCoreApplication::applicationDirPath())
            .absoluteFilePath(QStringLiteral("../tools/unit-sim")),
        {QStringLiteral("--family"), QStringLiteral("orva"), QStringLiteral("--period"), period});
    if (!unit.waitForReadyRead(10000)) {
        std::fprintf(stderr, "soak_bench: unit-sim did not start\n");
        return 1;
    }
    const QString port = QString::fromLocal8Bit(unit.readLine()).trimmed();
    // unit-sim writes a line for everything it does; only the device name is wanted.
    QObject::connect(&unit, &QProcess::readyReadStandardOutput, &unit, [&unit] { unit.readAll(); });

    MainGUI window;
    initPacketCodeTables();
    qint64 records = 0;
    QObject::connect(window.dataIncoming, &data_incoming::weather_data_received, &window,
                     [&records](const QJsonObject&) { ++records; });
    window.startupDevice(DeviceTypes::ORVA, port);
    if (trends)
        window.on_pushButtonTrends_clicked();

    std::printf("soak on %s: a record every %s s for %.1f minutes, %s page shown (%s platform)\n",
                qPrintable(port), qPrintable(period), minutes, trends ? "trend" : "dashboard",
                qPrintable(QGuiApplication::platformName()));
    std::printf("%7s %9s %9s %14s\n", "minute", "records", "points", "CPU % of core");
    std::fflush(stdout);

    QElapsedTimer wall;
    wall.start();
    double lastCpu = processCpuSeconds();
    qint64 lastWall = 0;
    int minute = 0;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, &app, [&] {
        const double cpu = processCpuSeconds();
        const qint64 now = wall.elapsed();
        ++minute;
        std::printf("%7d %9lld %9lld %14.2f\n", minute, static_cast<long long>(records),
                    qMin<qint64>(records, kTrendPointCap),
                    100.0 * (cpu - lastCpu) / ((now - lastWall) / 1000.0));
        std::fflush(stdout);
        lastCpu = cpu;
        lastWall = now;
        if (minute >= minutes)
            app.quit();
    });
    sampler.start(60000);
    const int code = app.exec();
    unit.terminate();
    unit.waitForFinished(5000);
    return code;
}
