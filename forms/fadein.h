#pragma once

#include <QEasingCurve>
#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>
#include <QWidget>

// Fades a widget in from transparent. The effect owns its animation, so a later effect that
// replaces this one also ends the fade and deletes both.
inline void fadeIn(QWidget* widget, int durationMs)
{
    auto* effect = new QGraphicsOpacityEffect(widget);
    auto* fade = new QPropertyAnimation(effect, "opacity", effect);
    fade->setDuration(durationMs);
    fade->setStartValue(0.0);
    fade->setEndValue(1.0);
    fade->setEasingCurve(QEasingCurve::InBack);
    fade->start(QAbstractAnimation::DeleteWhenStopped);
    widget->setGraphicsEffect(effect);
}
