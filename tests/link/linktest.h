#pragma once

// Helpers shared by the link suites: a worker on its own thread, a unit on a real port,
// signal-argument lists, and a trace of every answer-parser signal.

#include "link/data_incoming.h"
#include "tools/unitsim/ptypair.h"

#include <QJsonObject>
#include <QLoggingCategory>
#include <QMetaMethod>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <iterator>
#include <memory>
#include <vector>

// An age limit for partial ORVA frames that no run of a suite reaches: a frame cut into reads is
// joined however long a loaded machine pauses between them, and a partial frame ages only by the
// silences a test passes over it (data_incoming::ageFrame).
constexpr int kFrameAgeLimitMs = 10 * 60 * 1000;
// An image time-out as far out: a picture whose packets come one by one is not abandoned for a
// pause of a loaded machine between two of them.
constexpr int kNoImageTimeoutMs = 10 * 60 * 1000;

// Runs a worker on a thread of its own, as the application does; stops it on every way out.
class WorkerThread
{
public:
    explicit WorkerThread(data_incoming* worker)
    {
        worker->moveToThread(&thread);
        QObject::connect(&thread, &QThread::finished, worker, &QObject::deleteLater);
        thread.start();
    }
    ~WorkerThread()
    {
        thread.quit();
        thread.wait();
    }

private:
    QThread thread;
};

// The line stays silent for `ticks` pacing ticks, driven by hand on a worker whose pacing timer
// is stopped; by default until the idle limit, where what waited for more bytes is judged.
inline void lineFallsSilent(data_incoming* worker, int ticks = data_incoming::brqSilenceTicks)
{
    while (idleTicks < ticks)
        worker->dataTimer();
}

// A BRQ unit on a real port to a worker on the test's thread whose pacing timer is stopped, so
// that the idle ticks are the test's to drive. Each write is read whole before send returns; the
// line is silent for `silentTicks` pacing ticks before it, six of them making a pause past the
// idle limit.
class UnitLine
{
public:
    explicit UnitLine(data_incoming* worker) : worker(worker)
    {
        worker->openSerialPort(unit.portPath());
    }
    bool send(const QByteArray& bytes, int silentTicks = data_incoming::brqSilenceTicks)
    {
        lineFallsSilent(worker, silentTicks);
        sent += bytes.size();
        return unit.write(bytes) &&
               QTest::qWaitFor([this] { return worker->pendingCalls().brqBytes == sent; }, 10000);
    }

    // A silence past the idle limit: what waited for more bytes is judged, the rest dropped.
    void pause() { lineFallsSilent(worker, data_incoming::brqSilenceTicks); }

    unitsim::PtyPair unit;

private:
    data_incoming* worker;
    qint64 sent = 0;
};

// Bytes that begin no message and hold no line end, as a disturbed line delivers them.
inline QByteArray lineNoise(int size)
{
    QByteArray noise;
    for (int i = 0; noise.size() < size; ++i) {
        const char c = char(i * 37 + 11);
        if (c != '@' && c != '\r')
            noise += c;
    }
    return noise;
}

// One BRQ image packet as the unit sends it: "@1", capture time, camera and kind, sequence, 330
// bytes of scan data (short chunks filled with 0xFF), empty line.
inline QByteArray imagePacket(int camera, int kind, int sequence, const QByteArray& chunk,
                              const QByteArray& time = QByteArray::fromHex("240307140509"))
{
    QByteArray packet("@1");
    packet += time;
    packet += char((camera << 4) | kind);
    packet += char(sequence);
    packet += chunk.leftJustified(330, char(0xff), true);
    packet += "\r\n\r\n";
    return packet;
}

// Argument `index` of every emission a spy saw.
template <typename T = QByteArray> QList<T> spyArgs(const QSignalSpy& spy, int index = 0)
{
    QList<T> out;
    for (const QList<QVariant>& call : spy)
        out << call.at(index).value<T>();
    return out;
}
inline QByteArrayList byteArgs(const QSignalSpy& spy, int index = 0)
{
    return spyArgs<QByteArray>(spy, index);
}

// How many of `list` hold `part`.
inline int countHolding(const QByteArrayList& list, const QByteArray& part)
{
    return int(std::count_if(list.begin(), list.end(),
                             [&part](const QByteArray& item) { return item.contains(part); }));
}

inline QStringList textArgs(const QSignalSpy& spy)
{
    return spyArgs<QString>(spy);
}

// The suites run with debug output switched off; this lets one test see the default category.
class DebugOutput
{
public:
    DebugOutput() { previous = QLoggingCategory::installFilter(&enable); }
    ~DebugOutput() { QLoggingCategory::installFilter(previous); }

    // Collects the messages instead of printing them while it lives.
    class Captured
    {
    public:
        Captured()
        {
            lines().clear();
            handler = qInstallMessageHandler(&collect);
        }
        ~Captured() { qInstallMessageHandler(handler); }
        static QStringList& lines()
        {
            static QStringList all;
            return all;
        }

    private:
        static void collect(QtMsgType, const QMessageLogContext&, const QString& text)
        {
            lines() << text;
        }
        QtMessageHandler handler = nullptr;
    };

private:
    static void enable(QLoggingCategory* category)
    {
        // Qt applies a new filter before installFilter returns the one it replaces.
        if (previous)
            previous(category);
        if (qstrcmp(category->categoryName(), "default") == 0)
            category->setEnabled(QtDebugMsg, true);
    }
    static inline QLoggingCategory::CategoryFilter previous = nullptr;
};

// Spies on every signal of the worker, to prove that a slot emits nothing else.
class AllSignals
{
public:
    explicit AllSignals(QObject* target)
    {
        const QMetaObject* mo = target->metaObject();
        for (int i = mo->methodOffset(); i < mo->methodCount(); ++i) {
            const QMetaMethod m = mo->method(i);
            if (m.methodType() == QMetaMethod::Signal)
                spies.emplace_back(std::make_unique<QSignalSpy>(target, "2" + m.methodSignature()));
        }
    }
    int total() const
    {
        int n = 0;
        for (const auto& spy : spies)
            n += spy->count();
        return n;
    }

private:
    std::vector<std::unique_ptr<QSignalSpy>> spies;
};

// How a test names what the link tells the window of a key change.
inline QString keyChangeStateName(KeyChangeState state)
{
    static const char* const names[] = {"",        "Confirmed",  "SeenNewKey", "Refused",
                                        "GivenUp", "SeenOldKey", "Closed",     "KeyAnswered"};
    const int n = int(state);
    return n > 0 && n < int(std::size(names)) ? QString::fromLatin1(names[n]) : QString::number(n);
}

// Every signal the answer parsers may emit, in the order emitted, one text per emission.
class Trace : public QObject
{
public:
    explicit Trace(data_incoming* w) : all(w)
    {
        on(w, &data_incoming::sendLogData,
           [](const QByteArray& f, const QJsonObject& r, DeviceTypes d) {
               return "data|" + QString::fromUtf8(f) + (r.isEmpty() ? "|{}|" : "|record|") +
                      QString::number(int(d));
           });
        on(w, &data_incoming::sendLogMsg,
           [](const QByteArray& line) { return "log|" + QString::fromUtf8(line); });
        on(w, &data_incoming::sendORVACmdStatus, [](const QString& s) { return "pane|" + s; });
        on(w, &data_incoming::sendDisplayErrorMsg, [](const QString& s) { return "error|" + s; });
        on(w, &data_incoming::sendDisplaySysMsg, [](const QString& s) { return "system|" + s; });
        on(w, &data_incoming::command_status_changed,
           [](int i, int s) { return QStringLiteral("status|%1,%2").arg(i).arg(s); });
        on(w, &data_incoming::sendStackData,
           [](const QStringList& l) { return "stack|" + l.join(QLatin1Char('/')); });
        on(w, &data_incoming::sendSpeciData,
           [](const QString& v, int k) { return QStringLiteral("speci|%1,%2").arg(v).arg(k); });
        on(w, &data_incoming::prepSchedReceived,
           [](const QString& n, int v) { return QStringLiteral("sched|%1,%2").arg(n).arg(v); });
        on(w, &data_incoming::encryption_status_changed,
           [](int s) { return QStringLiteral("encryption|%1").arg(s); });
        on(w, &data_incoming::encryption_parse_confirmed,
           [](KeyChangeState s) { return "keychange|" + keyChangeStateName(s); });
        on(w, &data_incoming::send_metar_confirmed, [](const QString& s) { return "metar|" + s; });
        on(w, &data_incoming::sig_orva_enable_disable,
           [](const QString& s) { return "module|" + s; });
        on(w, &data_incoming::lightning_parameters_received, [](int a, int b, int c) {
            return QStringLiteral("lightning|%1,%2,%3").arg(a).arg(b).arg(c);
        });
        on(w, &data_incoming::lightning_autocal_confirmed,
           [] { return QStringLiteral("autocal"); });
        on(w, &data_incoming::on_error_station_radio, [] { return QStringLiteral("radioerror"); });
    }

    // Signals no answer parser emits show up here as stray emissions.
    int totalEmitted() const { return all.total(); }

    QStringList events;

private:
    template <typename Signal, typename Format> void on(data_incoming* w, Signal s, Format f)
    {
        connect(w, s, this, [this, f](auto&&... args) { events << f(args...); });
    }

    AllSignals all;
};
