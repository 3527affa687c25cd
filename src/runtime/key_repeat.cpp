// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "runtime/key_repeat.h"

#include <algorithm>
#include <cmath>

KeyRepeat::KeyRepeat(Step step, QObject* parent) : QObject(parent), step_(std::move(step))
{
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &KeyRepeat::repeat);
}

void KeyRepeat::setTiming(double delayMs, double intervalMs)
{
    delayMs_ = std::max(1.0, delayMs);
    intervalMs_ = std::max(1.0, intervalMs);
}

void KeyRepeat::start(int16_t keyCode)
{
    key_ = keyCode;
    repeats_ = 0;
    sincePress_.start();
    scheduleNext();
}

void KeyRepeat::stop()
{
    key_ = 0;
    timer_.stop();
}

void KeyRepeat::resume(int16_t keyCode)
{
    key_ = keyCode;
    scheduleNext();
}

void KeyRepeat::scheduleNext()
{
    const double due = delayMs_ + repeats_ * intervalMs_;
    const double now = sincePress_.nsecsElapsed() / 1e6;
    if (now > due + intervalMs_) {
        // Served far too late (the loop was busy): the lost repeats are not made up.
        repeats_ += static_cast<qint64>(std::floor((now - due) / intervalMs_));
        return scheduleNext();
    }
    timer_.start(std::max(0, static_cast<int>(std::lround(due - now))));
}

void KeyRepeat::repeat()
{
    if (!key_) return;
    const int16_t keyCode = key_;
    ++repeats_;
    scheduleNext();
    // The step may stop the repeat, or start another.
    if (step_) step_(keyCode);
}
