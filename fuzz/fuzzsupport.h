#pragma once

// What every fuzz target shares: start-up, invariant checks and reading the input.

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>

// The entry points of a target. libFuzzer calls them, and so does the standalone driver that
// replays the corpora where there is no libFuzzer.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

class QCoreApplication;
using FuzzAppMaker = QCoreApplication* (*)(int& argc, char** argv);

// A quiet application in test mode: no message output, UTC, data folder under ~/.qttest, the
// clock pinned, the packet code tables built. A QCoreApplication unless `make` builds another
// kind; widgets run on the offscreen platform.
void fuzzStart(FuzzAppMaker make = nullptr);

// `end` runs once after the last input, while Qt is still whole: a worker thread that outlived
// it would run on while exit handlers tear Qt down. The driver runs it when the replay ends;
// under libFuzzer, which ends with exit(), the exit handler registered here does.
void fuzzAtEnd(void (*end)());
void fuzzEnd();

// Defines the target's LLVMFuzzerInitialize, which runs `start` (fuzzStart, or a set-up of the
// target's own that calls it) once before the first input.
#define FUZZ_START(start)                                                                          \
    extern "C" int LLVMFuzzerInitialize(int*, char***)                                             \
    {                                                                                              \
        start();                                                                                   \
        return 0;                                                                                  \
    }

// A broken invariant is a finding like a crash: abort, so that the fuzzer keeps the input.
[[noreturn]] void fuzzFail(const char* what, const char* file, int line);
#define FUZZ_CHECK(condition) ((condition) ? void(0) : fuzzFail(#condition, __FILE__, __LINE__))

// Takes the input from the front; past its end, bytes read as 0 and texts as empty.
class FuzzInput
{
public:
    FuzzInput(const uint8_t* data, size_t size) : p(data), left(size) {}
    bool atEnd() const { return left == 0; }
    quint8 byte();
    QByteArray take(int n);
    // A length byte, then that many bytes.
    QByteArray counted() { return take(byte()); }
    // Up to the next `separator` (dropped), or the rest.
    QByteArray upTo(char separator);
    QByteArray rest() { return take(int(left)); }

private:
    const uint8_t* p;
    size_t left;
};

// The whole file, or nothing when it cannot be read.
QByteArray fileBytes(const QString& path);

// `stream` cut into reads of 1 to `maxChunk` bytes, the same cut for the same seed.
QList<QByteArray> chunked(const QByteArray& stream, quint32 seed, int maxChunk = 512);
