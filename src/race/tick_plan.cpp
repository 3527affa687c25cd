// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The race tick's rules: the distance, the road's scroll and fold, the cars' steps, hold-backs
// and parking, and the obstacles sliding with the road.
#include "race/tick_plan.h"

#include "race/collision.h"
#include "race/race_state.h"
#include "race/stages.h"
#include "screens/form_main.h"

namespace {
// A car of the two long lanes: which way it drives, where it has left the screen and where it
// is parked again.
struct LaneCar {
    int direction;     // +1 drives right, -1 drives left
    double leftLimit;  // drives right: gone once Left > this; drives left: once Left < this
    double parkedLeft;
};

constexpr LaneCar laneCars[5] = {
    {0, 0, 0},                    // (no car 0)
    {+1, RaceClientWidth, -117},  // car 1, upper lane
    {-1, -117, RaceClientWidth},  // car 2, lower lane
    {+1, RaceClientWidth, -164},  // car 3, upper lane
    {-1, -164, RaceClientWidth},  // car 4, lower lane
};

// A car of the cross street: which way it drives, where it has left the screen and where it
// is parked again.
struct CrossCar {
    int direction;    // +1 drives down, -1 drives up
    double topLimit;  // drives down: gone once Top > this; drives up: once Top < this
    double parkedTop;
};

constexpr CrossCar crossCars[7] = {
    {}, {}, {}, {}, {},
    {+1, 304, -114},  // car 5 comes down
    {-1, -114, 304},  // car 6 comes up
};

// An obstacle that has slid past the right edge is parked here.
constexpr double ObstacleParkedLeft = -80;

HitBox BoxOf(const TickBody& body) { return BoxAt(body.left, body.top, body.width, body.height); }

// The picture stays where it is.
TickMove Stands(const TickBody& body)
{
    return {body.onRoad, body.left, body.top, false, body.left, body.top};
}

// Its motion takes it to left, top; once it has left the road there, it is put at its parking
// place instead.
TickMove Goes(double left, double top, bool leaves, double parkedLeft, double parkedTop)
{
    return {true, left, top, leaves, leaves ? parkedLeft : left, leaves ? parkedTop : top};
}

// A car of the long lanes: its own step, the hold-back step when there it would run into a
// crossing car or an obstacle as they stand before this tick moves them, and parking once it
// has left the screen.
TickMove LaneCarMove(const TickSnapshot& race, int n)
{
    const TickBody& car = race.car[n];
    const LaneCar& lane = laneCars[n];
    double left = car.left + lane.direction * (race.carSpeed[n] + 10 * race.speed);

    const HitBox ahead = BoxAt(left, car.top, car.width, car.height);
    bool heldBack = false;
    for (int k = 5; k <= 6 && !heldBack; ++k)
        heldBack = race.car[k].onRoad && Touching(ahead, BoxOf(race.car[k]));
    for (int k = 1; k <= 4 && !heldBack; ++k)
        heldBack = race.obstacle[k].onRoad && Touching(ahead, BoxOf(race.obstacle[k]));
    // The hold-back step takes back the car's own step and lets it slide with the road.
    if (heldBack) left = left - race.carSpeed[n] + 10 * race.speed;

    const bool gone = lane.direction > 0 ? left > lane.leftLimit : left < lane.leftLimit;
    return Goes(left, car.top, gone, lane.parkedLeft, car.top);
}

// A car of the cross street slides with the road and drives along the cross street; it is
// never held back.
TickMove CrossCarMove(const TickSnapshot& race, int n)
{
    const TickBody& car = race.car[n];
    const CrossCar& cross = crossCars[n];
    const double left = car.left + 10 * race.speed;
    const double top = car.top + cross.direction * 10 * race.carSpeed[n];
    const bool gone = cross.direction > 0 ? top > cross.topLimit : top < cross.topLimit;
    return Goes(left, top, gone, left, cross.parkedTop);
}

// Obstacles lie still on the road and slide with it.
TickMove ObstacleMove(const TickSnapshot& race, int n)
{
    const TickBody& obstacle = race.obstacle[n];
    const double left = obstacle.left + 10 * race.speed;
    return Goes(left, obstacle.top, left > RaceClientWidth, ObstacleParkedLeft, obstacle.top);
}

// The road slides to the right under the hero; a tile back it looks the same.
TickMove RoadMove(const TickSnapshot& race)
{
    const double left = race.road.left + 10 * race.speed;
    return {true, left, race.road.top, false, left >= 0 ? left - RoadTile : left, race.road.top};
}

TickBody BodyOf(const Picture* picture, bool onRoad)
{
    return {onRoad, picture->Left(), picture->Top(), picture->Width(), picture->Height()};
}
} // namespace

TickPlan PlanTick(const TickSnapshot& race)
{
    TickPlan plan;
    // Distance: drive counts it up, a story stage counts it down and ends at its goal.
    if (race.story) {
        plan.distance = race.distance - 5 * race.speed;
        plan.endsStage = plan.distance <= 0;
    } else {
        plan.distance = race.distance + 5 * race.speed;
    }

    // The tick that ends a story stage moves nothing.
    if (plan.endsStage) {
        plan.road = Stands(race.road);
        for (int n = 1; n <= 6; ++n) plan.car[n] = Stands(race.car[n]);
        for (int n = 1; n <= 4; ++n) plan.obstacle[n] = Stands(race.obstacle[n]);
        return plan;
    }

    plan.road = RoadMove(race);
    for (int n = 1; n <= 6; ++n) {
        const TickBody& car = race.car[n];
        if (!car.onRoad || (car.entering && n <= 4)) plan.car[n] = Stands(car);
        else if (car.entering) plan.car[n] = Goes(car.left + 10 * race.speed, car.top, false, 0, 0);
        else plan.car[n] = n <= 4 ? LaneCarMove(race, n) : CrossCarMove(race, n);
    }
    for (int n = 1; n <= 4; ++n)
        plan.obstacle[n] = race.obstacle[n].onRoad ? ObstacleMove(race, n) : Stands(race.obstacle[n]);
    return plan;
}

TickSnapshot RaceAsItStands(const form_Main& race)
{
    TickSnapshot snapshot;
    snapshot.story = RaceModeOf(GameMode).story;
    snapshot.distance = Distance;
    snapshot.speed = Speed;
    snapshot.road = BodyOf(race.img_Road, true);
    for (int n = 1; n <= 6; ++n) {
        snapshot.car[n] = BodyOf(race.car(n), CarFlag[n] == VbTrue);
        snapshot.car[n].entering = CarEntering[n] == VbTrue;
        snapshot.carSpeed[n] = CarSpeed[n];
    }
    for (int n = 1; n <= 4; ++n)
        snapshot.obstacle[n] = BodyOf(race.img_Shogai[n - 1], ShogaiFlag[n] == VbTrue);
    return snapshot;
}
