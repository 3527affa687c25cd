// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The race tick, twice a second: it moves the road, the traffic and the distance as the tick
// plan has it, then tests the hero against everything.
#include "race/modern_marks.h"
#include "race/race_state.h"
#include "race/tick_plan.h"
#include "screens/form_main.h"

namespace {
// A picture goes where the plan puts it; one that leaves the road is parked and its flag goes off.
void Apply(Picture* picture, const TickMove& move, VBool& flag)
{
    if (!move.onRoad) return;
    picture->move(move.placeLeft, move.placeTop);
    if (move.leaves) flag = VbFalse;
}

// The hero against everything, on the road or parked; the first hit crashes him.
void HitTestHero(form_Main& race)
{
    Picture* hero = race.img_JetR[0];
    for (int n = 1; n <= 6; ++n) {
        if (race.IsClossed(hero, race.car(n)) == VbTrue) {
            if (HitShow* show = race.findChild<HitShow*>()) show->hit(hero->rect(), race.car(n)->rect(), QPixmap());
            race.Crushfun(CrushCar);
            return;
        }
    }
    for (int i = 0; i < 4; ++i) {
        if (race.IsClossed(hero, race.img_Shogai[i]) == VbTrue) {
            // The modern way still draws it where it lay while he tumbles.
            if (HitShow* show = race.findChild<HitShow*>())
                show->hit(hero->rect(), race.img_Shogai[i]->rect(), race.img_Shogai[i]->image());
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
    const TickPlan plan = PlanTick(RaceAsItStands(*this));
    Distance = plan.distance;
    if (plan.endsStage) {
        // Nothing else moves or is tested on the tick that clears the stage.
        raceCleared();
        return;
    }
    img_Road->move(plan.road.placeLeft, plan.road.placeTop);
    for (int n = 1; n <= 6; ++n) {
        Apply(car(n), plan.car[n], CarFlag[n]);
        CarEntering[n] = VbFalse;
    }
    for (int n = 1; n <= 4; ++n) Apply(img_Shogai[n - 1], plan.obstacle[n], ShogaiFlag[n]);
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
