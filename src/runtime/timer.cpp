// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "runtime/timer.h"

#include <QPointer>
#include <algorithm>

Timer::Timer(QObject* parent, int interval, bool enabled, std::function<void()> handler)
    : QObject(parent), handler_(std::move(handler)), interval_(interval)
{
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(interval);
    connect(&timer_, &QTimer::timeout, this, &Timer::tick);
    setEnabled(enabled);
}

void Timer::restart()
{
    resting_ = false;
    if (enabled_ && !paused_ && interval_ > 0)
        timer_.start(interval_);
    else
        timer_.stop();
    noteRunning();
}

void Timer::noteRunning()
{
    if (timer_.isActive() == running_) return;
    running_ = timer_.isActive();
    emit runningChanged(running_);
}

void Timer::setEnabled(bool enabled)
{
    if (enabled == enabled_ && !(enabled && resting_)) return;
    enabled_ = enabled;
    left_ = -1;
    restart();
}

void Timer::setInterval(int ms)
{
    interval_ = ms;
    left_ = -1;
    timer_.setInterval(ms);
    restart();
}

void Timer::rest()
{
    if (!enabled_ || paused_) return;
    resting_ = true;
    timer_.stop();
    noteRunning();
}

void Timer::pause()
{
    if (paused_) return;
    paused_ = true;
    left_ = timer_.isActive() ? std::max(0, timer_.remainingTime()) : -1;
    timer_.stop();
    noteRunning();
}

void Timer::resume()
{
    if (!paused_) return;
    paused_ = false;
    if (enabled_ && interval_ > 0 && left_ >= 0)
        timer_.start(left_);  // the rest of the interval; tick() goes back to the full one
    else
        restart();
    left_ = -1;
    noteRunning();
}

int Timer::remainingTime() const
{
    if (!enabled_) return -1;
    if (paused_) return left_ >= 0 ? left_ : interval_;
    return timer_.remainingTime();
}

void Timer::fire() { tick(); }

void Timer::tick()
{
    // A handler that runs an inner event loop (a scene wait, a modal window) must not be
    // entered a second time by its own timer.
    // The first tick after a pause came after the rest of an interval: the next ones come
    // after whole ones.
    if (timer_.interval() != interval_ && enabled_ && !paused_) timer_.start(interval_);
    if (inHandler_ || !handler_) return;
    QPointer<Timer> self(this);
    inHandler_ = true;
    handler_();
    if (!self) return;
    inHandler_ = false;
    emit ticked();
}
