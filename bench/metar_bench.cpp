// How many complete reports per second createMetar writes for a typical ORVA record.
// Usage: metar_bench [seconds]   (default 2)

#include "decoder/weatherdatadecoder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>

#include <cstdio>

namespace
{

// A routine ORVA observation at the top of a three-hour point: gusts, rain, two cloud
// layers, temperature, pressure, position and accumulations, so that every group is built.
const char* const kRecord = "@1\r\n"
                            "N:0:0:0:0:KXYZ:1:1\r\n"
                            "B:12.8:10:0:E1:0:1\r\n"
                            "T:24/03/05,14:52:00\r\n"
                            "WI:14:184:12:186\r\n"
                            "GU:0:0:18:200:0:0:150:220\r\n"
                            "TA:12.5\r\n"
                            "RH:80\r\n"
                            "BA:1009.8:2982:-1.6:0:2\r\n"
                            "EL:120\r\n"
                            "CL:0:46:120:0:0:0:0:3:7:0:0:0:0:0\r\n"
                            "VI:10\r\n"
                            "PW:0:61:0:8:16.09:XX\r\n"
                            "LT:0:0:0:0:0:0\r\n"
                            "LA:45.5\r\n"
                            "LO:-73.6\r\n"
                            "PA:0:0:0:0:0:0:0.12:0.35:0.5:1.01:0.8\r\n";

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));

    double seconds = 2.0;
    if (argc > 1)
        seconds = QString::fromLocal8Bit(argv[1]).toDouble();
    if (!(seconds > 0.0))
        seconds = 2.0;

    WeatherDataDecoder decoder;
    decoder.setRecordText(QString::fromLatin1(kRecord));
    decoder.setDeviceType(static_cast<int>(DeviceTypes::ORVA), false);
    decoder.setPrecipAccum24Interval(static_cast<int>(PrecipAccum24hInterval::Previous24Hours));
    const QString report = decoder.createMetar();

    const qint64 budget = static_cast<qint64>(seconds * 1000.0);
    qint64 reports = 0;
    qsizetype characters = 0;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < budget) {
        for (int i = 0; i < 100; ++i)
            characters += decoder.createMetar().size();
        reports += 100;
    }
    const qint64 elapsed = timer.nsecsElapsed();

    std::printf("report: %s\n", qPrintable(report));
    std::printf("createMetar: %lld reports in %.3f s: %.0f reports/s, %.1f us each (%lld chars)\n",
                static_cast<long long>(reports), elapsed / 1e9, reports * 1e9 / elapsed,
                elapsed / 1e3 / reports, static_cast<long long>(characters));
    return 0;
}
