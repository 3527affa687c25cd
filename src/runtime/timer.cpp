// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "runtime/timer.h"

#include <QPointer>

Timer::Timer(QObject* parent, int interval, bool enabled, std::function<void()> handler)
    : QObject(parent), handler_(std::move(handler))
{
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(interval);
    connect(&timer_, &QTimer::timeout, this, &Timer::tick);
    setEnabled(enabled);
}

void Timer::setEnabled(bool enabled)
{
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled_ && timer_.interval() > 0)
        timer_.start();
    else
        timer_.stop();
}

void Timer::setInterval(int ms)
{
    timer_.setInterval(ms);
    if (enabled_) {
        if (ms > 0)
            timer_.start();
        else
            timer_.stop();
    }
}

void Timer::fire() { tick(); }

void Timer::tick()
{
    // A handler that runs an inner event loop (a scene wait, a modal window) must not be
    // entered a second time by its own timer.
    if (inHandler_ || !handler_) return;
    QPointer<Timer> self(this);
    inHandler_ = true;
    handler_();
    if (self) inHandler_ = false;
}
