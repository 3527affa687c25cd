// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "runtime/frame_clock.h"

#include <QCoreApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

#include "runtime/timer.h"

namespace {
// The display's rate: the screen's refresh when it gives a believable one, else 60 a second.
double FramePeriodMs(const QWidget* window)
{
    const QScreen* screen = window ? window->screen() : nullptr;
    const double rate = screen ? screen->refreshRate() : 0;
    return rate >= 20 && rate <= 500 ? 1000.0 / rate : 1000.0 / 60;
}
} // namespace

FrameClock::FrameClock(QWidget* window, Timer* watched, Frame frame, std::function<void()> stopped)
    : QObject(window), window_(window), watched_(watched), frame_(std::move(frame)),
      stopped_(std::move(stopped))
{
    clock_.start();
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &FrameClock::frame);
    connect(watched_, &Timer::runningChanged, this, &FrameClock::watchedRunning);
    // The first frame after a tick slides from where the tick put everything, and the frames
    // fall due from the tick on.
    connect(watched_, &Timer::ticked, this, [this] {
        firstNs_ = lastNs_ = clock_.nsecsElapsed();
        next_ = 1;
        if (running_) scheduleNext();
    });
    watchedRunning(watched_->Running());
}

void FrameClock::watchedRunning(bool running)
{
    if (running == running_) return;
    running_ = running;
    if (!running) {
        timer_.stop();
        if (stopped_) stopped_();
        return;
    }
    periodMs_ = FramePeriodMs(window_);
    firstNs_ = lastNs_ = clock_.nsecsElapsed();
    next_ = 1;
    scheduleNext();
}

qint64 FrameClock::dueNs(qint64 n) const
{
    // Half a period off the watched timer's ticks, whatever the display's rate: a tick and a
    // frame never fall due together, where the tick's work would make the frame late.
    return firstNs_ + static_cast<qint64>(std::llround((n - 0.5) * periodMs_ * 1e6));
}

void FrameClock::scheduleNext()
{
    const qint64 now = clock_.nsecsElapsed();
    // A frame whose time has gone by is skipped, not drawn late.
    while (dueNs(next_) <= now) ++next_;
    timer_.start(static_cast<int>(std::lround((dueNs(next_) - now) / 1e6)));
}

void FrameClock::frame()
{
    if (!running_) return;
    const qint64 now = clock_.nsecsElapsed();
    lastDueNs_ = dueNs(next_);
    lastRanNs_ = now;
    ++frames_;
    ++next_;
    const double since = (now - lastNs_) / 1e6;
    lastNs_ = now;
    frame_(since, watched_->remainingTime());
    // The frame goes on the screen now, not after whatever else waits in the event loop.
    if (window_) QCoreApplication::sendPostedEvents(window_, QEvent::UpdateRequest);
    if (running_) scheduleNext();
}
