#pragma once

// A signal spy for a sender that lives on another thread. QSignalSpy appends on the thread that
// emits, while the test reads it on its own: a data race. This one records each emission through
// a queued connection, on the thread it was made on, so the calls show up as that thread's event
// loop runs (QTRY_* runs it). The calls read as QSignalSpy's do: one argument list per call.

#include <QList>
#include <QObject>
#include <QVariant>

#include <type_traits>

class QueuedSpy : public QObject, public QList<QList<QVariant>>
{
public:
    template <typename Sender, typename... Args>
    QueuedSpy(const Sender* sender, void (Sender::*signal)(Args...))
    {
        connect(
            sender, signal, this,
            [this](Args... args) {
                append(QList<QVariant>{QVariant::fromValue<std::decay_t<Args>>(args)...});
            },
            Qt::QueuedConnection);
    }
};
