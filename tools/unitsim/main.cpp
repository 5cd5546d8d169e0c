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

template <typename T> struct Choice {
    const char* name;
    T value;
};

const Choice<unitsim::Family> kFamilies[] = {
    {"orva", unitsim::Family::Orva},
    {"legacy", unitsim::Family::LegacyOrva},
    {"brq", unitsim::Family::Brq},
};

const Choice<unitsim::FrameWrap> kFrameWraps[] = {
    {"plain", unitsim::FrameWrap::Plain},
    {"encrypted", unitsim::FrameWrap::Encrypted},
    {"compressed", unitsim::FrameWrap::Compressed},
    {"compressed-encrypted", unitsim::FrameWrap::CompressedEncrypted},
};

template <typename T, size_t N>
bool choose(const QString& text, const Choice<T> (&choices)[N], T* out)
{
    for (const Choice<T>& choice : choices) {
        if (text == QLatin1String(choice.name)) {
            *out = choice.value;
            return true;
        }
    }
    return false;
}

void describeOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "A scripted sensor unit on a pseudo-terminal. Prints the device name for the station to "
        "open, then answers it as the chosen unit until stopped with Ctrl+C."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("family"), QStringLiteral("orva, legacy (legacy ORVA) or brq."),
         QStringLiteral("name"), QStringLiteral("orva")},
        {QStringLiteral("frames"),
         QStringLiteral("ORVA frames: plain, encrypted, compressed or compressed-encrypted."),
         QStringLiteral("wrap"), QStringLiteral("plain")},
        {QStringLiteral("period"), QStringLiteral("Seconds between weather records."),
         QStringLiteral("seconds"), QStringLiteral("5")},
        {QStringLiteral("station"), QStringLiteral("The unit's station identifier."),
         QStringLiteral("id"), QStringLiteral("KVDS")},
        {QStringLiteral("key"), QStringLiteral("Link key: Base64 text of 32 bytes."),
         QStringLiteral("base64")},
        {QStringLiteral("iv"), QStringLiteral("Link IV: Base64 text of 8 bytes."),
         QStringLiteral("base64")},
        {QStringLiteral("pace"),
         QStringLiteral("Send no faster than a serial line at this many baud (ten bits a byte), "
                        "for example 9600. Without it, bytes go out as fast as the station "
                        "reads."),
         QStringLiteral("baud")},
        {QStringLiteral("refuse-keys"),
         QStringLiteral("Answer every \"key\" command with \"key=INVALID\" and keep the key in "
                        "use, as a unit that refuses a new key.")},
        {QStringLiteral("key-answer-delay"),
         QStringLiteral("Answer \"key\" commands this many milliseconds late, as over a slow "
                        "radio link."),
         QStringLiteral("ms")},
        {QStringLiteral("iv-answer-delay"),
         QStringLiteral("Answer \"iv\" commands this many milliseconds late. Without "
                        "--key-at-command or --key-at-answer the new key is taken once this late "
                        "answer has gone out."),
         QStringLiteral("ms")},
        {QStringLiteral("key-at-command"),
         QStringLiteral("Take a new key when its \"key\" command arrives and answer under it. "
                        "Without it or --key-at-answer the new key waits for its \"iv\" command "
                        "and is taken after the IV's answer.")},
        {QStringLiteral("key-at-answer"),
         QStringLiteral("Take a new key once the answer to its \"key\" command has gone out "
                        "under the key before.")},
        {QStringLiteral("key-answer-outlives-line"),
         QStringLiteral("With --key-answer-delay or --iv-answer-delay: an answer that falls due "
                        "while the station's line is down goes out on the next connection instead "
                        "of being lost.")},
        {QStringLiteral("old-bit-line"),
         QStringLiteral("ORVA records as old firmware sends them, without built-in-test "
                        "statuses (the station's Bit Status page stays empty).")},
    });
}

// Empty when the command line describes a unit that can run, otherwise the reason.
QString readOptions(const QCommandLineParser& parser, unitsim::UnitOptions* options)
{
    const QString family = parser.value(QStringLiteral("family"));
    if (!choose(family, kFamilies, &options->family))
        return QStringLiteral("unknown family \"%1\"").arg(family);
    const QString wrap = parser.value(QStringLiteral("frames"));
    if (!choose(wrap, kFrameWraps, &options->frames))
        return QStringLiteral("unknown frame wrapping \"%1\"").arg(wrap);

    bool ok = false;
    const double seconds = parser.value(QStringLiteral("period")).toDouble(&ok);
    if (!ok || seconds <= 0 || seconds > 86400)
        return QStringLiteral("the period must be a number of seconds above 0");
    options->periodMs = qMax(1, int(seconds * 1000));
    if (parser.isSet(QStringLiteral("pace"))) {
        options->paceBaud = parser.value(QStringLiteral("pace")).toInt(&ok);
        if (!ok || options->paceBaud <= 0)
            return QStringLiteral("the line rate must be a whole number of baud above 0");
    }
    for (const auto& [name, delay] : {std::pair{"key-answer-delay", &options->keyAnswerDelayMs},
                                      std::pair{"iv-answer-delay", &options->ivAnswerDelayMs}}) {
        if (!parser.isSet(QLatin1String(name)))
            continue;
        *delay = parser.value(QLatin1String(name)).toInt(&ok);
        if (!ok || *delay < 0)
            return QStringLiteral("--%1 must be a whole number of milliseconds").arg(name);
    }
    options->refuseKeys = parser.isSet(QStringLiteral("refuse-keys"));
    if (parser.isSet(QStringLiteral("key-at-command")) &&
        parser.isSet(QStringLiteral("key-at-answer")))
        return QStringLiteral("a unit takes a new key at its command or with its answer, not both");
    if (parser.isSet(QStringLiteral("key-at-command")))
        options->keyTaking = unitsim::KeyTaking::AtCommand;
    if (parser.isSet(QStringLiteral("key-at-answer")))
        options->keyTaking = unitsim::KeyTaking::WithAnswer;
    options->keyAnswerOutlivesLine = parser.isSet(QStringLiteral("key-answer-outlives-line"));
    options->oldBitLine = parser.isSet(QStringLiteral("old-bit-line"));
    options->stationId = parser.value(QStringLiteral("station"));
    options->key = parser.value(QStringLiteral("key")).toLatin1();
    options->iv = parser.value(QStringLiteral("iv")).toLatin1();
    return unitsim::checkOptions(*options);
}

// Prints the device to open and runs the unit until SIGINT or SIGTERM.
int runUnit(QCoreApplication& app, const unitsim::UnitOptions& options)
{
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

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("unit-sim"));

    QCommandLineParser parser;
    describeOptions(parser);
    parser.process(app);

    unitsim::UnitOptions options;
    const QString problem = readOptions(parser, &options);
    if (!problem.isEmpty())
        return refuse(problem);
    return runUnit(app, options);
}
