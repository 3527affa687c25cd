// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/first_paint_probe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace {
// Watches every event of the application until the first paint of a window has been served.
class FirstPaintWatch : public QObject
{
public:
    explicit FirstPaintWatch(std::function<void()> then) : QObject(qApp), then_(std::move(then)) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!seen_ && event->type() == QEvent::Paint && watched->isWidgetType()) {
            seen_ = true;
            // The paint of every widget of the window and the flush to the screen happen in the
            // same pass; a zero timer fires once that pass is over.
            QTimer::singleShot(0, qApp, [this] {
                qApp->removeEventFilter(this);
                if (then_) then_();
                deleteLater();
            });
        }
        return false;
    }

private:
    std::function<void()> then_;
    bool seen_ = false;
};

long statusField(const char* name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    const QByteArray prefix = QByteArray(name) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith(prefix)) continue;
        const QByteArray digits = line.mid(prefix.size()).trimmed().split(' ').value(0);
        bool ok = false;
        const long kb = digits.toLong(&ok);
        return ok ? kb : -1;
    }
    return -1;
}
} // namespace

void WatchFirstPaint(std::function<void()> then)
{
    qApp->installEventFilter(new FirstPaintWatch(std::move(then)));
}

void ExitAfterFirstPaintIfAsked()
{
    if (qEnvironmentVariableIsEmpty("TAVOLNIK_EXIT_AFTER_FIRST_PAINT")) return;
    WatchFirstPaint([] {
        std::printf("first-paint vmhwm_kb=%ld\n", PeakMemoryKb());
        std::fflush(stdout);
        // Nothing after the first paint is being measured: no tear-down.
        std::_Exit(0);
    });
}

long PeakMemoryKb() { return statusField("VmHWM"); }

long ResidentMemoryKb() { return statusField("VmRSS"); }
