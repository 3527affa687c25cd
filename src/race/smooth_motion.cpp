// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Smooth motion: between two race ticks, every picture the race tick moves (the road, the cars
// and the obstacles on it) is drawn sliding along the motion the coming tick will give it, and
// stands exactly where the tick puts it when the tick comes. The coming motion is the tick plan
// of the race as it stands, the one the race tick will apply; a change meanwhile (a new speed,
// a car entering) bends the slide so that it still arrives on time. Only the drawing moves: the
// race reads and writes Left and Top alone, and any change of them (a tick, a car parked or let
// in, the start position) draws the picture at its new place at once. The hero glides between
// his steps, drawn only: his place for the rules is where the step put him.
#include <cmath>

#include "race/tick_plan.h"
#include "screens/form_main.h"

namespace {
// The drawing of one picture moves on towards `motion` (from its place), so as to arrive when
// the tick comes. It starts from where it was last drawn, or from its place when it has been
// placed since.
void SlideTowards(Picture* picture, QPointF motion, double sinceLastMs, double untilTickMs,
                  bool folds = false)
{
    QPointF drawn = picture->drawnOffset();
    if (folds && drawn.x() < 0) drawn.rx() += RoadTile;
    const double share = untilTickMs <= 0 ? 1.0 : sinceLastMs / (sinceLastMs + untilTickMs);
    drawn += (motion - drawn) * share;
    if (folds && picture->Left() + drawn.x() >= 0) drawn.rx() -= RoadTile;
    picture->setDrawnOffset(drawn);
}
} // namespace

void form_Main::DrawBetweenTicks(double sinceLastMs, double untilTickMs)
{
    const TickPlan plan = PlanTick(RaceAsItStands(*this));
    // A picture on the road slides along its motion (a car that leaves the road drives off the
    // screen; the tick then parks it); one that is not stands where it is.
    const auto slide = [&](Picture* p, const TickMove& move, bool folds = false) {
        if (!move.onRoad) {
            p->setDrawnOffset(QPointF());
            return;
        }
        SlideTowards(p, QPointF(move.left - p->Left(), move.top - p->Top()), sinceLastMs, untilTickMs, folds);
    };
    // From the first frame on, whatever changes on the road (a tick, a step of the hero) is drawn
    // with the next frame, together with the slides.
    roadLayer->setUpdatesHeld(true);
    slide(img_Road, plan.road, true);
    for (int n = 1; n <= 6; ++n) slide(car(n), plan.car[n]);
    for (int n = 1; n <= 4; ++n) slide(img_Shogai[n - 1], plan.obstacle[n]);
    GlideHero(sinceLastMs);
    roadLayer->flushHeldUpdates();
}

void form_Main::GlideHero(double sinceLastMs)
{
    // The hero glides between his 5 px steps at the pace of the steady repeat, a little faster so
    // that he keeps up; a leap (the start place, a tumble) is drawn at once.
    constexpr double pxPerMs = 1.25 * 5 * SteadyStepsPerSecond / 1000;
    Picture* hero = img_JetR[0];
    const QPointF place(hero->Left(), hero->Top());
    QPointF drawn = heroDrawnAt.value_or(place);
    const QPointF way = place - drawn;
    const double length = std::hypot(way.x(), way.y());
    const double reach = pxPerMs * sinceLastMs;
    drawn = length > 40 || length <= reach ? place : drawn + way * (reach / length);
    heroDrawnAt = drawn;
    hero->setDrawnOffset(drawn - place);
}

void form_Main::DrawWhereTheRaceStands()
{
    img_Road->setDrawnOffset(QPointF());
    for (int n = 1; n <= 6; ++n) car(n)->setDrawnOffset(QPointF());
    for (Picture* obstacle : img_Shogai) obstacle->setDrawnOffset(QPointF());
    img_JetR[0]->setDrawnOffset(QPointF());
    heroDrawnAt.reset();
    roadLayer->setUpdatesHeld(false);
}
