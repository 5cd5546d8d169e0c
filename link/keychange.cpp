// A new link key at the link: its commands go whole and in order, and the unit's frames tell which
// key it uses.

#include "link/data_incoming.h"

#include "link/radiocommand.h"

void data_incoming::beginKeyChange(const QByteArray& key, const QByteArray& iv, bool radio)
{
    // The window begins no change while one is open, unless it ended that one itself; nothing
    // more of it goes.
    if (keyChange.step != KeyStep::None) {
        dropUnsentKeyCommands("Replaced by a Newer Command");
        closeKeyChange(false);
    }
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
    if (keyChange.step == KeyStep::None)
        return false;
    if (keyChange.step == KeyStep::Waiting && cmd == keyChangeKeyCommand()) {
        keyChange.step = KeyStep::Given;
        sendKeyChange();
        return true;
    }
    if (!keyChange.ivHanded && cmd == keyChangeIvCommand()) {
        keyChange.ivHanded = true;
        keyChange.ivGiven = true;
        sendKeyChange();
        return true;
    }
    return false;
}

// Writes what of the change may go now: the key, and the IV once the unit has taken the key on
// this connection or uses the new key. What cannot be written waits for the port.
void data_incoming::sendKeyChange()
{
    if (keyChange.step == KeyStep::Given && !writeKeyChangeKey()) {
        waitForPort();
        return;
    }
    if (keyChangeIvMayGo() && !writeKeyChangeIv())
        waitForPort();
}

// The IV waits here, and the unit has taken its key on this connection or uses the new key.
bool data_incoming::keyChangeIvMayGo() const
{
    return keyChange.ivGiven &&
           (keyChange.step == KeyStep::Confirmed || keyChange.step == KeyStep::InUse);
}

bool data_incoming::writeKeyChangeKey()
{
    const QByteArray cmd = keyChangeKeyCommand();
    bool written = false;
    if (!keyChange.radio) {
        written = putOrvaCommand(cmd);
    } else {
        // Through the station radio the unit reads only what comes under the key it holds. Once
        // the key has reached it, that may be either key: the key goes under both.
        written = writeUnderKey(cmd, encryptionKey, encryptionIV);
        if (written && keyChange.keyWentOut)
            written = writeUnderKey(cmd, keyChange.newKey, keyChange.newIv);
    }
    if (!written)
        return false;
    keyChange.step = KeyStep::OnLine;
    keyChange.keyWentOut = true;
    return true;
}

bool data_incoming::writeKeyChangeIv()
{
    const QByteArray cmd = keyChangeIvCommand();
    if (!(keyChange.radio ? writeUnderKey(cmd, encryptionKey, encryptionIV) : putOrvaCommand(cmd)))
        return false;
    keyChange.ivGiven = false;
    if (keyChange.step == KeyStep::InUse)
        closeKeyChange();
    else
        keyChange.step = KeyStep::IvOnLine;
    return true;
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
    if (keyChange.step != KeyStep::OnLine)
        return;
    if (!taken) {
        // A unit that refused the key would take the IV behind it as a new IV for its old key.
        dropUnsentKeyCommands("Key Refused");
        endKeyChange(KeyChangeState::Refused);
        return;
    }
    keyChange.step = KeyStep::Confirmed;
    sendKeyChange();
}

void data_incoming::ivAnswered(bool taken)
{
    if (keyChange.step != KeyStep::IvOnLine)
        return;
    if (taken)
        useNewKey(KeyChangeState::Confirmed);
    else
        endKeyChange(KeyChangeState::Refused);
}

// The unit may have lost the key with the line, or its answer may be lost, and an IV goes only on
// the connection where the unit took its key: the key goes again on the next connection, and its
// IV after the answer there.
void data_incoming::keyChangeLostWithPort()
{
    switch (keyChange.step) {
    case KeyStep::IvOnLine:
        keyChange.ivGiven = true;
        Q_FALLTHROUGH();
    case KeyStep::OnLine:
    case KeyStep::Confirmed:
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
    if (keyChange.ivGiven) {
        reportHeldCommandDropped(keyChangeIvCommand(), why);
        keyChange.ivGiven = false;
    }
}

// The link gives the change up ("Setup...", a newer command for a closed port) and tells the
// window; the frames still tell which key the unit uses.
void data_incoming::endKeyChangeAndTell(const QByteArray& why)
{
    switch (keyChange.step) {
    case KeyStep::None:
    case KeyStep::Ended:
        return;
    case KeyStep::InUse:
        dropUnsentKeyCommands(why);
        closeKeyChange();
        return;
    default:
        dropUnsentKeyCommands(why);
        endKeyChange(KeyChangeState::GivenUp);
    }
}

void data_incoming::stopSendingKeyChange(const QByteArray& why)
{
    if (keyChange.step == KeyStep::None || keyChange.step == KeyStep::Ended)
        return;
    dropUnsentKeyCommands(why);
    if (keyChange.step == KeyStep::InUse)
        closeKeyChange();
    else
        endKeyChange(std::nullopt);
}

void data_incoming::endKeyChange(std::optional<KeyChangeState> told)
{
    if (!keyChange.ivHanded)
        droppedIv = keyChangeIvCommand();
    keyChange.ivHanded = true;
    keyChange.ivGiven = false;
    if (told)
        emit encryption_parse_confirmed(*told);
    // A unit cannot hold a key that never reached it.
    if (!keyChange.keyWentOut)
        closeKeyChange();
    else
        keyChange.step = KeyStep::Ended;
}

bool data_incoming::readsBothKeys() const
{
    return keyChange.keyWentOut && keyChange.step != KeyStep::InUse;
}

// A frame read whole, under `key` (empty: in clear). One under the new key shows it in use. Once
// nothing more of the change goes, the first frame under any other key, or in clear, shows the
// unit on the key before it: a unit whose frames are in clear gives no other sign.
void data_incoming::keyChangeFrameRead(const QByteArray& key)
{
    if (!key.isEmpty() && key == encryptionKey)
        formerKey.clear();
    if (!readsBothKeys())
        return;
    if (key == keyChange.newKey) {
        formerKey.clear();
        useNewKey(KeyChangeState::SeenNewKey);
    } else if (keyChange.step == KeyStep::Ended) {
        emit encryption_parse_confirmed(KeyChangeState::SeenOldKey);
        closeKeyChange();
    }
}

void data_incoming::useNewKey(KeyChangeState told)
{
    const bool ended = keyChange.step == KeyStep::Ended;
    if (told == KeyChangeState::Confirmed)
        formerKey = encryptionKey;
    encryptionKey = keyChange.newKey;
    encryptionIV = keyChange.newIv;
    emit encryption_parse_confirmed(told);
    // The IV goes for a change still under way, under the new key: a unit that holds that key
    // takes the IV as its IV.
    keyChange.step = KeyStep::InUse;
    if (ended || (keyChange.ivHanded && !keyChange.ivGiven))
        closeKeyChange();
    else
        sendKeyChange();
}

void data_incoming::closeKeyChange(bool tell)
{
    if (!keyChange.ivHanded)
        droppedIv = keyChangeIvCommand();
    keyChange = {};
    if (tell)
        emit encryption_parse_confirmed(KeyChangeState::Closed);
}
