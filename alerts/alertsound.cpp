#include "alerts/alertsound.h"

#include <QMediaPlayer>
#include <QUrl>

QMediaPlayer* makeAlertSoundPlayer()
{
    auto* player = new QMediaPlayer(nullptr);
    player->setMedia(QUrl(QStringLiteral("qrc:/resources/alert_bells.wav")));
    player->setVolume(50);
    return player;
}
