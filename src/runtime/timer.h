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
    int Interval() const { return timer_.interval(); }
    void setInterval(int ms);
    // Runs the handler once, as a tick would; tests step time this way.
    void fire();

private:
    void tick();

    QTimer timer_;
    std::function<void()> handler_;
    bool enabled_ = false;
    bool inHandler_ = false;
};
