// unit-sim: a scripted sensor unit on a pseudo-terminal, for trying the station without a unit.
// Prints the device to open and runs until SIGINT or SIGTERM.

#include "tools/unitsim/unitsim.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    const ssize_t ignored = ::write(signalPipe[1], &byte, 1);
    (void)ignored;
}

bool installSignalHandlers()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return false;
    struct sigaction action {
    };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
}

void note(const QString& text)
{
    std::fprintf(stderr, "unit-sim: %s\n", qPrintable(text));
}

int refuse(const QString& text, int code = 2)
{
    note(text);
    return code;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("unit-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A scripted sensor unit on a pseudo-terminal. Prints the device name for the station to "
        "open, then answers it as the chosen unit until stopped with Ctrl+C."));
    parser.addHelpOption();
    const QCommandLineOption family(QStringLiteral("family"),
                                    QStringLiteral("orva, legacy (legacy ORVA) or brq."),
                                    QStringLiteral("name"), QStringLiteral("orva"));
    const QCommandLineOption frames(
        QStringLiteral("frames"),
        QStringLiteral("ORVA frames: plain, encrypted, compressed or compressed-encrypted."),
        QStringLiteral("wrap"), QStringLiteral("plain"));
    const QCommandLineOption period(QStringLiteral("period"),
                                    QStringLiteral("Seconds between weather records."),
                                    QStringLiteral("seconds"), QStringLiteral("5"));
    const QCommandLineOption station(QStringLiteral("station"),
                                     QStringLiteral("The unit's station identifier."),
                                     QStringLiteral("id"), QStringLiteral("KVDS"));
    const QCommandLineOption key(QStringLiteral("key"),
                                 QStringLiteral("Link key: Base64 text of 32 bytes."),
                                 QStringLiteral("base64"));
    const QCommandLineOption iv(QStringLiteral("iv"),
                                QStringLiteral("Link IV: Base64 text of 8 bytes."),
                                QStringLiteral("base64"));
    const QCommandLineOption pace(
        QStringLiteral("pace"),
        QStringLiteral("Send no faster than a serial line at this many baud (ten bits a byte), "
                       "for example 9600. Without it, bytes go out as fast as the station reads."),
        QStringLiteral("baud"));
    parser.addOptions({family, frames, period, station, key, iv, pace});
    parser.process(app);

    unitsim::UnitOptions options;
    const QString familyName = parser.value(family);
    if (familyName == QLatin1String("orva"))
        options.family = unitsim::Family::Orva;
    else if (familyName == QLatin1String("legacy"))
        options.family = unitsim::Family::LegacyOrva;
    else if (familyName == QLatin1String("brq"))
        options.family = unitsim::Family::Brq;
    else
        return refuse(QStringLiteral("unknown family \"%1\"").arg(familyName));

    const QString wrap = parser.value(frames);
    if (wrap == QLatin1String("plain"))
        options.frames = unitsim::FrameWrap::Plain;
    else if (wrap == QLatin1String("encrypted"))
        options.frames = unitsim::FrameWrap::Encrypted;
    else if (wrap == QLatin1String("compressed"))
        options.frames = unitsim::FrameWrap::Compressed;
    else if (wrap == QLatin1String("compressed-encrypted"))
        options.frames = unitsim::FrameWrap::CompressedEncrypted;
    else
        return refuse(QStringLiteral("unknown frame wrapping \"%1\"").arg(wrap));

    bool ok = false;
    const double seconds = parser.value(period).toDouble(&ok);
    if (!ok || seconds <= 0 || seconds > 86400)
        return refuse(QStringLiteral("the period must be a number of seconds above 0"));
    options.periodMs = qMax(1, int(seconds * 1000));
    if (parser.isSet(pace)) {
        options.paceBaud = parser.value(pace).toInt(&ok);
        if (!ok || options.paceBaud <= 0)
            return refuse(QStringLiteral("the line rate must be a whole number of baud above 0"));
    }
    options.stationId = parser.value(station);
    options.key = parser.value(key).toLatin1();
    options.iv = parser.value(iv).toLatin1();

    const QString problem = unitsim::checkOptions(options);
    if (!problem.isEmpty())
        return refuse(problem);

    if (!installSignalHandlers())
        return refuse(QStringLiteral("cannot watch for SIGINT and SIGTERM"), 1);
    QSocketNotifier stop(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&stop, &QSocketNotifier::activated, &app, [&app] {
        char byte = 0;
        const ssize_t ignored = ::read(signalPipe[0], &byte, 1);
        (void)ignored;
        app.quit();
    });

    unitsim::UnitSim unit(options);
    if (!unit.open())
        return refuse(QStringLiteral("no pseudo-terminal: %1").arg(unit.errorString()), 1);
    QObject::connect(&unit, &unitsim::UnitSim::activity, &app,
                     [](const QString& line) { note(line); });

    std::printf("%s\n", qPrintable(unit.deviceName()));
    std::fflush(stdout);
    const int code = app.exec();
    note(QStringLiteral("stopped"));
    return code;
}
