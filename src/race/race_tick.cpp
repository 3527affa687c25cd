// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The race tick, twice a second: the distance, the road scroll, the traffic and the hero's
// hit tests.
#include "race/race_state.h"
#include "race/stages.h"
#include "view/screen_fit.h"
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
    {0, 0, 0},        // (no car 0)
    {+1, RaceClientWidth, -117},  // car 1, upper lane
    {-1, -117, RaceClientWidth},  // car 2, lower lane
    {+1, RaceClientWidth, -164},  // car 3, upper lane
    {-1, -164, RaceClientWidth},  // car 4, lower lane
};

// Distance: drive counts it up, a story stage counts it down and ends at its goal. False when
// the stage is cleared: nothing else moves or is tested on that tick.
bool AdvanceDistance(form_Main& race)
{
    if (!RaceModeOf(GameMode).story) {
        Distance += 5 * Speed;
        return true;
    }
    Distance -= 5 * Speed;
    if (Distance <= 0) {
        race.raceCleared();
        return false;
    }
    return true;
}

// The road slides to the right under the hero; two identical tiles make the fold seamless.
void ScrollRoad(form_Main& race)
{
    double road = race.img_Road->Left() + 10 * Speed;
    if (road >= 0) road -= RaceClientWidth;  // one tile is as wide as the road
    race.img_Road->setLeft(road);
}

// Cars of the long lanes: their own step, the hold-back step when they have run into a
// crossing car or an obstacle, and parking once they have left the screen.
void MoveLaneCars(form_Main& race)
{
    for (int n = 1; n <= 4; ++n) {
        if (CarFlag[n] != VbTrue) continue;
        Picture* car = race.car(n);
        const LaneCar& lane = laneCars[n];
        double left = car->Left() + lane.direction * (CarSpeed[n] + 10 * Speed);
        car->setLeft(left);

        bool heldBack = false;
        for (int k = 5; k <= 6 && !heldBack; ++k)
            heldBack = CarFlag[k] == VbTrue && race.IsClossed(car, race.car(k)) == VbTrue;
        for (int k = 0; k < 4 && !heldBack; ++k)
            heldBack = ShogaiFlag[k + 1] == VbTrue && race.IsClossed(car, race.img_Shogai[k]) == VbTrue;
        if (heldBack) {
            left = left - CarSpeed[n] + 10 * Speed;
            car->setLeft(left);
        }

        const bool gone = lane.direction > 0 ? left > lane.leftLimit : left < lane.leftLimit;
        if (gone) {
            car->setLeft(lane.parkedLeft);
            CarFlag[n] = VbFalse;
        }
    }
}

// The cross street's cars slide with the road and drive along the cross street: car 5 down,
// car 6 up.
void MoveCrossStreetCars(form_Main& race)
{
    if (CarFlag[5] == VbTrue) {
        Picture* car = race.img_Car5;
        car->setLeft(car->Left() + 10 * Speed);
        const double top = car->Top() + 10 * CarSpeed[5];
        if (top > 304) {
            car->setTop(-114);
            CarFlag[5] = VbFalse;
        } else {
            car->setTop(top);
        }
    }
    if (CarFlag[6] == VbTrue) {
        Picture* car = race.img_Car6;
        car->setLeft(car->Left() + 10 * Speed);
        const double top = car->Top() - 10 * CarSpeed[6];
        if (top < -114) {
            car->setTop(304);
            CarFlag[6] = VbFalse;
        } else {
            car->setTop(top);
        }
    }
}

// Obstacles lie still on the road and slide with it.
void MoveObstacles(form_Main& race)
{
    for (int n = 1; n <= 4; ++n) {
        if (ShogaiFlag[n] != VbTrue) continue;
        Picture* obstacle = race.img_Shogai[n - 1];
        const double left = obstacle->Left() + 10 * Speed;
        if (left > RaceClientWidth) {
            obstacle->setLeft(-80);
            ShogaiFlag[n] = VbFalse;
        } else {
            obstacle->setLeft(left);
        }
    }
}

// The hero against everything, on the road or parked; the first hit crashes him.
void HitTestHero(form_Main& race)
{
    Picture* hero = race.img_JetR[0];
    for (int n = 1; n <= 6; ++n) {
        if (race.IsClossed(hero, race.car(n)) == VbTrue) {
            race.Crushfun(CrushCar);
            return;
        }
    }
    for (int i = 0; i < 4; ++i) {
        if (race.IsClossed(hero, race.img_Shogai[i]) == VbTrue) {
            race.Crushfun(CrushObstacle);
            // The obstacle he fell over is taken off the road.
            race.img_Shogai[i]->setLeft(-79);
            ShogaiFlag[i + 1] = VbFalse;
            return;
        }
    }
}
} // namespace

void form_Main::timer_Zenta_Timer()
{
    if (!AdvanceDistance(*this)) return;
    ScrollRoad(*this);
    MoveLaneCars(*this);
    MoveCrossStreetCars(*this);
    MoveObstacles(*this);
    HitTestHero(*this);
}

void form_Main::Init_Zenta()
{
    img_JetR[0]->takePictureOf(*img_JetR[1]);
    img_JetR[0]->move(448, 112);
    img_JetR[0]->setVisible(true);
    img_Zenta[0]->takePictureOf(*img_Zenta[1]);
    lbl_Msg->setCaption(QString());
    lbl_Time->setCaption(QString());
    lbl_Dist->setCaption(QString());
}
