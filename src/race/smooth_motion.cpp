// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Smooth motion: between two race ticks, every picture the race tick moves (the road, the cars
// and the obstacles on it) is drawn sliding along the motion the coming tick will give it, and
// stands exactly where the tick puts it when the tick comes. The coming motion is worked out from
// the race as it stands, the way the race tick will work it out; a change meanwhile (a new speed,
// a car entering) bends the slide so that it still arrives on time. Only the drawing moves: the
// race reads and writes Left and Top alone, and any change of them (a tick, a car parked or let
// in, the start position) draws the picture at its new place at once.
#include "race/race_state.h"
#include "screens/form_main.h"

namespace {
// The road strip is two identical tiles: drawn a tile further left it looks the same, as the
// race tick folds it.
constexpr double RoadTile = 601;
// Which way each car of the two long lanes drives: cars 1 and 3 right, 2 and 4 left.
constexpr int laneDirection[5] = {0, +1, -1, +1, -1};

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
    // The tick that ends a story stage moves nothing.
    const bool stageEnds = GameMode < 2 && Distance - 5 * Speed <= 0;
    const double scroll = stageEnds ? 0 : 10 * Speed;
    const auto slide = [&](Picture* p, double dx, double dy, bool folds = false) {
        SlideTowards(p, stageEnds ? QPointF() : QPointF(dx, dy), sinceLastMs, untilTickMs, folds);
    };
    // From the first frame on, whatever changes on the road (a tick, a step of the hero) is drawn
    // with the next frame, together with the slides.
    roadLayer->setUpdatesHeld(true);

    slide(img_Road, scroll, 0, true);

    // The long lanes' cars: their own step, and the hold-back step when, there, they would run
    // into a crossing car or an obstacle as they stand before the tick moves them.
    for (int n = 1; n <= 4; ++n) {
        Picture* c = car(n);
        if (CarFlag[n] != VbTrue) {
            c->setDrawnOffset(QPointF());
            continue;
        }
        const double step = laneDirection[n] * (CarSpeed[n] + 10 * Speed);
        // Where the own step takes it, tested by the game's one overlap test.
        Picture ghost(nullptr, QString(), 0, 0, c->Width(), c->Height(), true);
        ghost.move(c->Left() + step, c->Top());
        bool heldBack = false;
        for (int k = 5; k <= 6 && !heldBack; ++k)
            heldBack = CarFlag[k] == VbTrue && IsClossed(&ghost, car(k)) == VbTrue;
        for (int k = 0; k < 4 && !heldBack; ++k)
            heldBack = ShogaiFlag[k + 1] == VbTrue && IsClossed(&ghost, img_Shogai[k]) == VbTrue;
        slide(c, heldBack ? step - CarSpeed[n] + 10 * Speed : step, 0);
    }

    // The cross street's cars slide with the road and drive along the cross street.
    for (int n = 5; n <= 6; ++n) {
        if (CarFlag[n] != VbTrue) {
            car(n)->setDrawnOffset(QPointF());
            continue;
        }
        slide(car(n), scroll, (n == 5 ? 10 : -10) * CarSpeed[n]);
    }

    // Obstacles lie still on the road.
    for (int n = 1; n <= 4; ++n) {
        if (ShogaiFlag[n] != VbTrue) {
            img_Shogai[n - 1]->setDrawnOffset(QPointF());
            continue;
        }
        slide(img_Shogai[n - 1], scroll, 0);
    }
    roadLayer->flushHeldUpdates();
}

void form_Main::DrawWhereTheRaceStands()
{
    img_Road->setDrawnOffset(QPointF());
    for (int n = 1; n <= 6; ++n) car(n)->setDrawnOffset(QPointF());
    for (Picture* obstacle : img_Shogai) obstacle->setDrawnOffset(QPointF());
    roadLayer->setUpdatesHeld(false);
}
