// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/first_paint_probe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

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
} // namespace

void WatchFirstPaint(std::function<void()> then)
{
    qApp->installEventFilter(new FirstPaintWatch(std::move(then)));
}
