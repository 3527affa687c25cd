// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The frames between a timer's ticks: while the watched timer ticks, a frame handler runs at the
// display's rate (the refresh rate of the screen the window is on, 60 a second when the screen
// does not tell), each frame due a whole number of periods after the first, so a late frame
// never pushes the later ones back. The first is due half a period after the watched timer
// starts or ticks, so that frames and ticks never come at once. The handler hears how long it
// is since the frame before (or since the tick, for the first frame after one) and how long
// until the timer's next tick. When the timer stops ticking (disabled or held), the frames stop
// and the stop handler runs once; no frame timer runs while the watched timer does not.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

class QWidget;
class Timer;

class FrameClock : public QObject
{
    Q_OBJECT
public:
    using Frame = std::function<void(double sinceLastMs, double untilTickMs)>;

    FrameClock(QWidget* window, Timer* watched, Frame frame, std::function<void()> stopped);

    bool running() const { return running_; }
    // The time between two frames, in milliseconds.
    double period() const { return periodMs_; }
    // Frames drawn since the clock was made, and when the last one was due and ran, in
    // nanoseconds of the clock's own time (since it was made).
    qint64 frames() const { return frames_; }
    qint64 lastDueNs() const { return lastDueNs_; }
    qint64 lastRanNs() const { return lastRanNs_; }
    qint64 nowNs() const { return clock_.nsecsElapsed(); }

private:
    void watchedRunning(bool running);
    void frame();
    void scheduleNext();
    qint64 dueNs(qint64 frame) const;

    QWidget* window_;
    Timer* watched_;
    Frame frame_;
    std::function<void()> stopped_;
    QTimer timer_;
    QElapsedTimer clock_;
    bool running_ = false;
    double periodMs_ = 1000.0 / 60;
    qint64 firstNs_ = 0;    // when the watched timer last started or ticked
    qint64 next_ = 0;       // the number of the next frame
    qint64 lastNs_ = 0;     // when the last frame or tick was
    qint64 frames_ = 0;
    qint64 lastDueNs_ = 0;
    qint64 lastRanNs_ = 0;
};
