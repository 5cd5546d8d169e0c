#pragma once

// Runs f on the thread of `context` and returns once it has run there (a blocking queued call).
// What the caller wrote before the call is seen by f, and what f wrote is seen by the caller
// after it. Qt orders both through a lock of its own that ThreadSanitizer cannot see, so the
// same order also goes through an atomic here.

#include <QMetaObject>
#include <QObject>

#include <atomic>

template <typename F> void runOnThread(QObject* context, F f)
{
    std::atomic<int> step{0};
    step.store(1, std::memory_order_release);
    QMetaObject::invokeMethod(
        context,
        [&step, &f] {
            step.load(std::memory_order_acquire);
            f();
            step.store(2, std::memory_order_release);
        },
        Qt::BlockingQueuedConnection);
    step.load(std::memory_order_acquire);
}
