// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The race tick's rules, in one place: from the race as it stands, where the coming tick puts
// every picture it moves, the distance after it and whether it ends a story stage. The race
// tick applies the plan; smooth motion draws the pictures sliding towards it. The plan reads
// plain values, not the window, so that it can be worked out anywhere.
#pragma once

#include <cstdint>

#include "view/screen_fit.h"

class form_Main;

// The road strip is two identical tiles, each as wide as the road: drawn a tile further left it
// looks the same, so the tick folds it back by one once its left edge reaches the screen's.
constexpr double RoadTile = RaceClientWidth;

// A picture the tick moves, as it stands before the tick.
struct TickBody {
    bool onRoad = false;  // a car's CarFlag, an obstacle's ShogaiFlag; the road always is
    double left = 0;
    double top = 0;
    int width = 0;
    int height = 0;
    bool entering = false;  // a car let in since the last tick, waiting at the road's edge
};

// The race as the coming tick finds it.
struct TickSnapshot {
    bool story = false;     // a story stage: the distance counts down to its goal
    int32_t distance = 0;   // Distance
    int16_t speed = 0;      // Speed
    TickBody road;          // img_Road
    TickBody car[7];        // [1..6]: img_Car<n>
    int16_t carSpeed[7] = {};  // [1..6]: CarSpeed
    TickBody obstacle[5];   // [1..4]: img_Shogai(n - 1)
};

// What the tick does with one picture.
struct TickMove {
    bool onRoad = false;  // it is on the road as the tick comes; one that is not stands parked
    // Where its motion takes it: smooth motion draws it sliding there.
    double left = 0;
    double top = 0;
    bool leaves = false;  // there it is off the road: the tick parks it, and its flag goes off
    // Where the tick puts it: where its motion takes it, but a car or an obstacle that leaves
    // at its parking place, and the road a tile back once it has folded.
    double placeLeft = 0;
    double placeTop = 0;
};

struct TickPlan {
    int32_t distance = 0;    // Distance after the tick
    bool endsStage = false;  // the tick reaches a story stage's goal: nothing moves or is hit
    TickMove road;
    TickMove car[7];         // [1..6]
    TickMove obstacle[5];    // [1..4]
};

// Where the coming race tick puts everything it moves. A car entering makes no move of its own on
// this tick: one of the long lanes stands at its parked place, one of the cross street slides
// with the road along the street's crossing, and either moves on from the next tick.
TickPlan PlanTick(const TickSnapshot& race);

// The race screen's pictures and the race's state as they stand now.
TickSnapshot RaceAsItStands(const form_Main& race);
