// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "race/modern_marks.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "race/race_state.h"
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

void PaintModernMarks(const form_Main& race, QPainter& painter)
{
    if (FairEntries != VbTrue) return;
    const QRect road = RoadOnScreen(race);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (int n = 1; n <= 6; ++n) {
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
