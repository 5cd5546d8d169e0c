#pragma once

class QMediaPlayer;

// The alert sound: the embedded bell "qrc:/resources/alert_bells.wav" at volume 50, without a
// parent. Each play() plays it once to its end.
QMediaPlayer* makeAlertSoundPlayer();
