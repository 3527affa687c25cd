// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "race/modern_marks.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "race/collision.h"
#include "race/countdown.h"
#include "race/race_state.h"
#include "view/picture.h"
#include "screens/form_main.h"

QRect EntryMarkOf(const QRect& car, const QRect& road)
{
    if (car.intersects(road)) return {};
    if (car.right() < road.left()) return {road.left(), car.top(), EntryMarkDepth, car.height()};
    if (car.left() > road.right()) return {road.right() + 1 - EntryMarkDepth, car.top(), EntryMarkDepth, car.height()};
    if (car.bottom() < road.top()) return {car.left(), road.top(), car.width(), EntryMarkDepth};
    return {car.left(), road.bottom() + 1 - EntryMarkDepth, car.width(), EntryMarkDepth};
}

QRect RoadOnScreen(const form_Main& race) { return {0, 0, RaceClientWidth, race.img_Road->Height()}; }

QRectF HeroStripDrawn(const Picture& hero)
{
    const QRect drawn = hero.drawnRect();
    const HitBox strip = HeroStrip(BoxAt(drawn.left(), drawn.top(), drawn.width(), drawn.height()));
    return QRectF(strip.left, strip.top, strip.right - strip.left, strip.bottom - strip.top);
}

void PaintHeroShadow(const form_Main& race, QPainter& painter)
{
    const Picture* hero = race.img_JetR[0];
    if (!hero->Visible()) return;
    const QRectF strip = HeroStripDrawn(*hero);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    // A soft dark pool a little wider than the strip, fading out all round: a circle squashed flat.
    const double radius = strip.width() / 2 + 4, flat = 6 / radius;
    painter.save();
    painter.translate(strip.center());
    painter.scale(1, flat);
    QRadialGradient soft(QPointF(), radius);
    soft.setColorAt(0, QColor(0, 0, 0, 130));
    soft.setColorAt(0.75, QColor(0, 0, 0, 80));
    soft.setColorAt(1, QColor(0, 0, 0, 0));
    painter.setBrush(soft);
    painter.drawEllipse(QPointF(), radius, radius);
    painter.restore();
    // The strip itself, a little darker in it.
    painter.setBrush(QColor(0, 0, 0, 90));
    painter.drawRoundedRect(strip, 1, 1);
    painter.restore();
}

QTransform RoadShake(qint64 ms, const QRectF& road)
{
    const double fade = ms >= 0 && ms < HitShow::ShakeMs ? 1.0 - double(ms) / HitShow::ShakeMs : 0.0;
    if (fade == 0) return {};
    constexpr double reachX = 5, reachY = 3;
    const QPointF shake(reachX * fade * std::sin(ms * 0.09), reachY * fade * std::cos(ms * 0.13));
    const double grow = 1 + fade * 2 * std::max(reachX / road.width(), reachY / road.height());
    const QPointF centre = road.center();
    return QTransform(grow, 0, 0, grow, centre.x() * (1 - grow) + shake.x(), centre.y() * (1 - grow) + shake.y());
}

void PaintModernMarks(const form_Main& race, QPainter& painter)
{
    if (const HitShow* show = race.findChild<HitShow*>()) show->paint(painter);
    PaintCountdown(race, painter);
    if (FairEntries != VbTrue) return;
    const QRect road = RoadOnScreen(race);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // The board's trail: streaks behind it that grow with the speed, none standing still. They
    // flicker with the road's place, so they seem to stream past.
    const Picture* hero = race.img_JetR[0];
    if (Speed > 0 && race.timer_Zenta->Enabled() && hero->Visible()) {
        const QRect board = hero->drawnRect();
        const int flicker = int(race.img_Road->drawnRect().left()) & 7;
        for (int k = 0; k < 3; ++k) {
            const double y = board.top() + 62 + 5 * k;
            const double from = board.right() - 6 + ((flicker + 3 * k) & 7);
            const double length = 7.0 * Speed * (k == 1 ? 1.0 : 0.7);
            QLinearGradient trail(from, y, from + length, y);
            trail.setColorAt(0, QColor(255, 255, 255, 40 + 18 * Speed));
            trail.setColorAt(1, QColor(255, 255, 255, 0));
            painter.setPen(QPen(QBrush(trail), k == 1 ? 2.5 : 1.5, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(QPointF(from, y), QPointF(from + length, y));
        }
    }
    // A car still waiting to come in when the stage is won or the game is over never comes: its
    // mark goes with the race.
    const bool raceOn = race.RaceRunning() || race.Paused();
    for (int n = 1; n <= 6 && raceOn; ++n) {
        if (CarFlag[n] != VbTrue) continue;
        const QRect mark = EntryMarkOf(race.car(n)->drawnRect(), road);
        if (mark.isEmpty()) continue;
        // Amber at the edge, fading into the road, with an arrow pointing the way it comes.
        const bool across = mark.height() == EntryMarkDepth;
        const bool fromStart = across ? mark.top() == road.top() : mark.left() == road.left();
        const QPointF edge = fromStart ? mark.topLeft() : across ? QPointF(mark.left(), mark.bottom() + 1) : QPointF(mark.right() + 1, mark.top());
        const QPointF inward = across ? QPointF(0, fromStart ? EntryMarkDepth : -EntryMarkDepth)
                                      : QPointF(fromStart ? EntryMarkDepth : -EntryMarkDepth, 0);
        QLinearGradient fade(edge, edge + inward);
        fade.setColorAt(0, QColor(255, 176, 0, 230));
        fade.setColorAt(1, QColor(255, 176, 0, 0));
        painter.fillRect(mark, fade);
        const QPointF centre = QRectF(mark).center();
        const QPointF along = across ? QPointF(6, 0) : QPointF(0, 6);
        const QPointF tip = centre + inward * 0.45, back = centre - inward * 0.35;
        QPainterPath arrow;
        arrow.moveTo(back + along);
        arrow.lineTo(tip);
        arrow.lineTo(back - along);
        painter.setPen(QPen(QColor(120, 60, 0), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(arrow);
    }
    painter.restore();
}

HitShow::HitShow(form_Main* race) : QObject(race), race_(race)
{
    timer_.setInterval(16);
    connect(&timer_, &QTimer::timeout, this, [this] { frame(); });
}

void HitShow::hit(const QRect& hero, const QRect& other, const QPixmap& kept)
{
    // The contact: the middle of the strip the cars hit (the board's) where it meets the other.
    const HitBox box = HeroStrip(BoxAt(hero.left(), hero.top(), hero.width(), hero.height()));
    const QRect strip(box.left, box.top, box.right - box.left, box.bottom - box.top);
    const QRect contact = strip.intersected(other.adjusted(-2, -20, 2, 20));
    at_ = contact.isEmpty() ? strip.center() : contact.center();
    keptAt_ = other;
    kept_ = kept;
    since_.start();
    timer_.start();
    race_->roadLayer->pictureChanged(RoadOnScreen(*race_));
}

void HitShow::frame()
{
    const qint64 ms = since_.elapsed();
    race_->roadLayer->setShift(RoadShake(ms, RoadOnScreen(*race_)));
    const bool tumbling = race_->timer_Crush->Enabled();
    if (ms >= BurstMs && ms >= ShakeMs && !tumbling) {
        timer_.stop();
        kept_ = QPixmap();
        race_->roadLayer->setShift(QTransform());
    }
    race_->roadLayer->pictureChanged(RoadOnScreen(*race_));
}

void HitShow::paint(QPainter& painter) const
{
    if (!timer_.isActive()) return;
    const qint64 ms = since_.elapsed();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (!kept_.isNull()) DrawPicturePixels(painter, keptAt_, kept_);
    if (ms < BurstMs) {
        // A white flash with a ring of orange spikes, growing and fading.
        const double t = double(ms) / BurstMs;
        const double r = 10 + 38 * t;
        const int alpha = qRound(255 * (1 - t));
        QRadialGradient flash(at_, r);
        flash.setColorAt(0, QColor(255, 255, 255, alpha));
        flash.setColorAt(0.5, QColor(255, 230, 120, alpha * 3 / 4));
        flash.setColorAt(1, QColor(255, 140, 0, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(flash);
        painter.drawEllipse(QPointF(at_), r, r);
        painter.setPen(QPen(QColor(255, 120, 0, alpha), 3, Qt::SolidLine, Qt::RoundCap));
        for (int k = 0; k < 10; ++k) {
            const double a = k * 3.14159265 / 5 + 0.3;
            const QPointF d(std::cos(a), std::sin(a));
            painter.drawLine(QPointF(at_) + d * (r * 0.7), QPointF(at_) + d * (r * 1.15));
        }
    }
    painter.restore();
}
