#pragma once

// The device link as the link targets drive it: a fresh worker per input, everything it tells the
// rest of the application written down as text lines, and the checks that hold for all of it.

#include "link/data_incoming.h"

#include <QByteArrayList>

// What the serial port may leave in the worker's buffers after a read.
constexpr int kOrvaFrameCap = 4096;
constexpr int kReceiveCap = 64 * 1024;

// The link key and IV of the seeds (Base64 texts of 32 and 8 bytes).
extern const QByteArray kFuzzKey;
extern const QByteArray kFuzzIv;

// Text that the packet code carries and gives back as it was, with no "~": the bytes as they are
// when they are such a text, else mapped onto the code's characters.
QByteArray packetCodeText(const QByteArray& bytes);

class LinkProbe : public data_incoming
{
public:
    // Data logging on, so that every frame type reaches a signal; the partial-frame age limit out
    // of reach, so that the outcome never depends on the speed of the machine.
    explicit LinkProbe(DeviceTypes type, bool legacy = false);
    ~LinkProbe() override;

    using data_incoming::receiveBuffer;

    // Every signal but the raw-data echo, one line per emission, in order.
    QByteArrayList heard;
    // The frames handed on: checked frames of every wrap, the decoded text of wrapped frames.
    QByteArrayList frames;

private:
    void hear(const char* signal, const QByteArray& text);
};
