// A new link key at the link: its commands go whole and in order, and the unit's frames tell which
// key it uses until nothing the unit holds can bring the key before the change back.

#include "link/data_incoming.h"

#include "link/radiocommand.h"

#include <utility>

void data_incoming::beginKeyChange(const QByteArray& key, const QByteArray& iv, bool radio)
{
    // The window begins no change while one is under way, unless it ended that one itself:
    // nothing more of it goes, and its other key is no longer read.
    dropUnsentKeyCommands("Replaced by a Newer Command");
    keyChange = {};
    keyChange.oldKey = encryptionKey;
    keyChange.oldIv = encryptionIV;
    keyChange.newKey = key;
    keyChange.newIv = iv;
    keyChange.radio = radio;
    keyChange.step = KeyStep::Waiting;
    droppedIv.clear();
}

// The change's key or IV as the window hands it over; false for any other command.
bool data_incoming::takeKeyChangeCommand(const QByteArray& cmd)
{
    if (!droppedIv.isEmpty() && cmd == droppedIv) {
        emit sendLogMsg("WARNING: ORVA Command Dropped, Key Change Given Up [ " +
                        shownCommand(cmd) + " ]");
        droppedIv.clear();
        return true;
    }
    if (keyChange.step == KeyStep::Waiting && cmd == keyChangeKeyCommand()) {
        keyChange.step = KeyStep::Given;
        sendKeyChange();
        return true;
    }
    if (keyChange.step != KeyStep::None && !keyChange.ivHanded && cmd == keyChangeIvCommand()) {
        keyChange.ivHanded = true;
        keyChange.ivWaiting = true;
        sendKeyChange();
        return true;
    }
    return false;
}

// Writes what of the change may go now: the key, and the IV once the unit has taken the key on
// this connection. What cannot be written waits for the port.
void data_incoming::sendKeyChange()
{
    if (keyChange.step == KeyStep::Given && !writeKeyChangeKey()) {
        waitForPort();
        return;
    }
    if (keyChangeIvMayGo() && !writeKeyChangeIv())
        waitForPort();
}

// The IV waits here, and the unit has taken its key on this connection.
bool data_incoming::keyChangeIvMayGo() const
{
    return keyChange.ivWaiting && keyChange.step == KeyStep::KeyTaken;
}

bool data_incoming::writeKeyChangeKey()
{
    // Once the key has reached the unit, a unit started again may hold either key.
    if (!writeKeyChangeCommand(keyChangeKeyCommand(), keyChange.keyWentOut))
        return false;
    keyChange.step = KeyStep::OnLine;
    keyChange.keyWentOut = true;
    return true;
}

bool data_incoming::writeKeyChangeIv()
{
    // A unit that answered the key under the key before may have taken the new key with its
    // answer; one whose frames show the new key holds it.
    if (!writeKeyChangeCommand(keyChangeIvCommand(), encryptionKey != keyChange.newKey))
        return false;
    keyChange.ivWaiting = false;
    keyChange.step = KeyStep::IvOnLine;
    return true;
}

// Through the station radio the unit reads only what comes under the key it holds. Where it may
// hold either key, the command goes under the new key and then under the key before: a unit on
// either reads it once, the other copy being noise to it.
bool data_incoming::writeKeyChangeCommand(const QByteArray& cmd, bool eitherKey)
{
    if (!keyChange.radio)
        return putOrvaCommand(cmd);
    if (!eitherKey)
        return writeUnderKey(cmd, encryptionKey, encryptionIV);
    return writeUnderKey(cmd, keyChange.newKey, keyChange.newIv) &&
           writeUnderKey(cmd, keyChange.oldKey, keyChange.oldIv);
}

// The station-radio text of one of the change's commands under `key`.
bool data_incoming::writeUnderKey(const QByteArray& cmd, const QByteArray& key,
                                  const QByteArray& iv)
{
    QByteArray wire;
    if (RadioCommand::encrypt(cmd, key, QString::fromLatin1(iv), &wire) !=
        RadioCommand::Result::Encrypted) {
        emit sendLogMsg("ERROR: ORVA Command Not Encrypted for the Station Radio [ " +
                        shownCommand(cmd) + " ]");
        return false;
    }
    return putOrvaCommand(wire, shownCommand(cmd));
}

// An answer to a key sent on a connection since lost, or after the change ended, decides nothing:
// the frames tell which key the unit uses.
void data_incoming::keyAnswered(bool taken)
{
    if (keyChange.step == KeyStep::Ended && keyChange.keyWentOut && taken) {
        keyAnsweredAfterEnd();
        return;
    }
    if (keyChange.step != KeyStep::OnLine)
        return;
    if (!taken) {
        // A unit that refused the key would take the IV behind it as a new IV for its old key.
        endKeyChange("Key Refused", KeyChangeState::Refused);
        return;
    }
    keyChange.step = KeyStep::KeyTaken;
    if (!keyChange.settled)
        emit encryption_parse_confirmed(KeyChangeState::KeyAnswered);
    sendKeyChange();
}

// A unit may take the key with its answer, which goes under the key before: a late answer after
// the change ended shows nothing of the key the unit holds behind it. The window waits again for a
// frame after it, so that no command goes under a key the unit has just left.
void data_incoming::keyAnsweredAfterEnd()
{
    keyChange.answerInFrame = true;
    if (!keyChange.settled)
        return;
    keyChange.settled = false;
    emit encryption_parse_confirmed(KeyChangeState::KeyAnswered);
}

// A unit that took the IV holds the new key with it, also when its answer comes after the change
// ended or for an IV that went on a line since lost.
void data_incoming::ivAnswered(bool taken)
{
    if (!keyChange.keyWentOut)
        return;
    if (!taken) {
        if (keyChange.step == KeyStep::IvOnLine)
            endKeyChange("IV Refused", KeyChangeState::Refused);
        return;
    }
    keyChange.ivAnswered = true;
    if (encryptionKey != keyChange.newKey)
        useKeyOfChange(keyChange.newKey, KeyChangeState::Confirmed);
    if (keyChange.step == KeyStep::IvOnLine) {
        keyChange.step = KeyStep::Sent;
        settleKeyChange();
    }
}

// Until the change is complete or has ended, the unit may have lost the key with the line (it
// keeps a new key only with its IV), or its answer may be lost, and an IV goes only on the
// connection where the unit took its key: the key goes again on the next connection, and its IV
// after the answer there.
void data_incoming::keyChangeLostWithPort()
{
    switch (keyChange.step) {
    case KeyStep::IvOnLine:
    case KeyStep::Sent:
        keyChange.ivWaiting = true;
        Q_FALLTHROUGH();
    case KeyStep::OnLine:
    case KeyStep::KeyTaken:
        keyChange.step = KeyStep::Given;
        waitForPort();
        break;
    default:
        break;
    }
}

// What of the change waits here will not go; the operator learns which commands.
void data_incoming::dropUnsentKeyCommands(const QByteArray& why)
{
    if (keyChange.step == KeyStep::Given)
        reportHeldCommandDropped(keyChangeKeyCommand(), why);
    if (keyChange.ivWaiting) {
        reportHeldCommandDropped(keyChangeIvCommand(), why);
        keyChange.ivWaiting = false;
    }
}

// Nothing more of the change goes: a refusal, "Setup...", the window's time-out, a newer command
// for a closed port. `why` names what is dropped for it; `told` tells the window, which knows of a
// change that has not settled only. The frames still tell which key the unit uses.
void data_incoming::endKeyChange(const QByteArray& why, std::optional<KeyChangeState> told)
{
    if (keyChange.step == KeyStep::None || keyChange.step == KeyStep::Ended)
        return;
    dropUnsentKeyCommands(why);
    if (!keyChange.ivHanded)
        droppedIv = keyChangeIvCommand();
    keyChange.ivHanded = true;
    keyChange.step = KeyStep::Ended;
    if (told && !keyChange.settled)
        emit encryption_parse_confirmed(*told);
    // A unit cannot hold a key that never reached it.
    if (!keyChange.keyWentOut) {
        settleKeyChange();
        forgetKeyChange();
    }
}

void data_incoming::stopSendingKeyChange(const QByteArray& why)
{
    endKeyChange(why, std::nullopt);
}

// The window may send again and begin a new change: the unit answered the IV, or the change
// ended and a frame has shown the unit's key.
void data_incoming::settleKeyChange()
{
    if (keyChange.settled)
        return;
    keyChange.settled = true;
    emit encryption_parse_confirmed(KeyChangeState::Closed);
}

// Nothing of the change is read any more.
void data_incoming::forgetKeyChange()
{
    keyChange = {};
}

QByteArray data_incoming::otherKey() const
{
    return encryptionKey == keyChange.newKey ? keyChange.oldKey : keyChange.newKey;
}

void data_incoming::useKeyOfChange(const QByteArray& key, KeyChangeState told)
{
    encryptionKey = key;
    encryptionIV = key == keyChange.newKey ? keyChange.newIv : keyChange.oldIv;
    keyChange.toldInUse = key;
    emit encryption_parse_confirmed(told);
}

// A frame read whole under `key` (empty: in clear), before its content is taken. One under the
// change's other key puts that key in use. One under the new key shows that the unit took it on
// this connection: its IV may go.
void data_incoming::keyChangeFrameRead(const QByteArray& key)
{
    if (!readsOtherKey() || key.isEmpty())
        return;
    if (key != encryptionKey)
        useKeyOfChange(key, key == keyChange.newKey ? KeyChangeState::SeenNewKey
                                                    : KeyChangeState::SeenOldKey);
    if (key == keyChange.newKey && keyChange.step == KeyStep::OnLine) {
        keyChange.step = KeyStep::KeyTaken;
        sendKeyChange();
    }
}

// The same frame once its answers are taken, so that a late IV's answer counts first. After the
// change ended, the first whole frame that is not a late answer to the key shows the unit's key.
// One under the new key after the IV's answer completes the change on the unit's side; so does one
// in clear, since a unit whose frames are in clear shows no key.
void data_incoming::keyChangeFrameDone(const QByteArray& key)
{
    if (!readsOtherKey())
        return;
    if (std::exchange(keyChange.answerInFrame, false))
        return;
    if (keyChange.step == KeyStep::Ended && !keyChange.settled) {
        if (keyChange.toldInUse.isEmpty())
            useKeyOfChange(encryptionKey, KeyChangeState::SeenOldKey);
        settleKeyChange();
    }
    const bool sending = keyChange.step != KeyStep::Sent && keyChange.step != KeyStep::Ended;
    if (keyChange.ivAnswered && !sending && (key.isEmpty() || key == keyChange.newKey))
        forgetKeyChange();
}
