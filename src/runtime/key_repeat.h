// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A held key repeated by the game itself: the first repeat comes a delay after the press, the
// next ones an interval apart, each counted from the press, so the rate holds exactly however
// late the event loop serves a repeat (a repeat whose time has long gone by is dropped, never
// made up in a burst).
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

class KeyRepeat : public QObject
{
    Q_OBJECT
public:
    using Step = std::function<void(int16_t keyCode)>;

    explicit KeyRepeat(Step step, QObject* parent = nullptr);

    void setTiming(double delayMs, double intervalMs);
    double delay() const { return delayMs_; }
    double interval() const { return intervalMs_; }

    // Repeats `keyCode` from now on: the press itself is the caller's; the first repeat comes
    // after the delay.
    void start(int16_t keyCode);
    void stop();
    // Repeats `keyCode` again as if it had never stopped: the repeats keep their times from the
    // last start, none of those gone by being made up.
    void resume(int16_t keyCode);
    // The key that repeats, 0 when none.
    int16_t key() const { return key_; }
    // Whether the key has repeated since it was started.
    bool repeated() const { return repeats_ > 0; }

private:
    void repeat();
    void scheduleNext();

    Step step_;
    QTimer timer_;
    QElapsedTimer sincePress_;
    double delayMs_ = 500;
    double intervalMs_ = 33;
    int16_t key_ = 0;
    qint64 repeats_ = 0;  // repeats made since the press
};
