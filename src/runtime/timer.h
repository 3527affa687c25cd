// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A window timer: while Enabled it calls its handler every Interval milliseconds on the
// user-interface thread. Enabling starts the interval afresh; enabling an enabled timer changes
// nothing. A handler is never re-entered by its own timer, and ticks are never queued up.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class Timer : public QObject
{
    Q_OBJECT
public:
    Timer(QObject* parent, int interval, bool enabled, std::function<void()> handler);

    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    int Interval() const { return interval_; }
    void setInterval(int ms);
    // The handler each tick runs; a timer without one ticks doing nothing.
    void setHandler(std::function<void()> handler) { handler_ = std::move(handler); }
    // Runs the handler once, as a tick would; tests step time this way.
    void fire();
    // For a handler that knows its ticks will do nothing until the timer is enabled again: the
    // ticks stop and the game sleeps meanwhile, while the timer stays Enabled. Enabling it
    // (or holding it and letting it go) starts the ticks afresh.
    void rest();

    // Holds the timer where it stands: once resumed, the next tick comes after the rest of the
    // interval that was left, then the ticks go on at the full interval. Enabling or disabling
    // a held timer takes effect on its resumption (enabled, it then starts afresh).
    void pause();
    void resume();
    bool Paused() const { return paused_; }
    // Milliseconds until the next tick, also while held; -1 when the timer is not enabled.
    int remainingTime() const;
    // Whether the timer ticks now: enabled and not held.
    bool Running() const { return timer_.isActive(); }

signals:
    // The timer began or stopped ticking: enabled or disabled, held or let go.
    void runningChanged(bool running);
    // A tick's handler has run.
    void ticked();

private:
    void tick();

    void restart();
    // Tells a change of Running() to whoever watches.
    void noteRunning();

    QTimer timer_;
    std::function<void()> handler_;
    int interval_ = 0;
    bool enabled_ = false;
    bool inHandler_ = false;
    bool paused_ = false;
    int left_ = -1;  // while held: what was left of the interval; -1 for all of it
    bool running_ = false;  // Running() as last told
    bool resting_ = false;
};
