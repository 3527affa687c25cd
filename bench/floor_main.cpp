// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The floors of the measurements: the least a Qt Widgets program does for what the game does.
//
// Without arguments: a window of the title screen's size, reporting its first paint exactly as
// the game does (the floor of the start-up time and memory).
//
//   bench_floor --scroll <scale> <ms>
//
// The floor of smooth motion: a window of the race screen's size at the given scale, in which an
// opaque picture of the road strip's size slides as the road does at speed 9 (180 designed
// pixels a second), repainted at the screen's rate for the given time after a second's warm-up.
// It prints "scroll-start" and "scroll-end" lines with the CPU time used, as the measured game
// prints its phases. The game draws more than this (the cars, the obstacles, the hero, the
// panel), and plays music besides; this is what any program drawing that motion pays.
#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cmath>
#include <cstdio>
#include <sys/resource.h>

#include "process_probe.h"

namespace {

double cpuMs()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

class Scroller : public QWidget
{
public:
    explicit Scroller(qreal scale) : scale_(scale)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFixedSize(QSize(601, 425) * scale);
        // A striped strip, two tiles wide, as the road is.
        QImage strip(QSize(1202, 303) * scale, QImage::Format_RGB32);
        for (int y = 0; y < strip.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
            for (int x = 0; x < strip.width(); ++x)
                line[x] = qRgb((x % int(601 * scale)) / 4 % 256, y % 256, 96);
        }
        road_ = QPixmap::fromImage(strip);
    }

    // Slides the strip on to where it stands after `ms` milliseconds.
    void slideTo(double ms)
    {
        const double x = std::fmod(ms * 0.18, 601.0);
        const int drawn = static_cast<int>(std::lround((x - 601) * scale_));
        if (drawn == left_) return;
        left_ = drawn;
        update(QRect(QPoint(0, 0), QSize(601, 303) * scale_));
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect() & QRect(0, 303 * scale_, width(), height()), Qt::black);
        painter.drawPixmap(left_, 0, road_);
    }

private:
    qreal scale_;
    QPixmap road_;
    int left_ = 0;
};

int scroll(QApplication& app, qreal scale, int measureMs)
{
    Scroller window(scale);
    window.show();
    const double periodMs = [&] {
        const double rate = window.screen() ? window.screen()->refreshRate() : 0;
        return rate >= 20 && rate <= 500 ? 1000.0 / rate : 1000.0 / 60;
    }();
    QElapsedTimer clock;
    clock.start();
    QTimer frames;
    frames.setTimerType(Qt::PreciseTimer);
    frames.setSingleShot(true);
    qint64 next = 1;
    // Each frame due a whole number of periods after the first, as the game's frame clock does.
    const auto schedule = [&] {
        const double now = clock.nsecsElapsed() / 1e6;
        while (next * periodMs <= now) ++next;
        frames.start(static_cast<int>(std::lround(next * periodMs - now)));
    };
    QObject::connect(&frames, &QTimer::timeout, &window, [&] {
        window.slideTo(clock.nsecsElapsed() / 1e6);
        QCoreApplication::sendPostedEvents(&window, QEvent::UpdateRequest);
        schedule();
    });
    schedule();
    const auto report = [&](const char* phase) {
        std::printf("%s t_ms=%.3f cpu_ms=%.3f\n", phase, clock.nsecsElapsed() / 1e6, cpuMs());
        std::fflush(stdout);
    };
    QTimer::singleShot(1000, &window, [&] {
        report("scroll-start");
        QTimer::singleShot(measureMs, &window, [&] {
            report("scroll-end");
            app.quit();
        });
    });
    return app.exec();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == QLatin1String("--scroll"))
        return scroll(app, std::max(1.0, args.at(2).toDouble()), std::max(1000, args.at(3).toInt()));
    ExitAfterFirstPaintIfAsked();
    QWidget window;
    window.setFixedSize(305, 231);
    window.show();
    return app.exec();
}
