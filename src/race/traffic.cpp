// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The traffic: six cars and four obstacles, each parked just outside the road or on it.
// Init_Car parks them all before a race; SetCar lets them onto the road once a second, each
// with the chance the stage table gives the race's mode at its distance.
#include <cmath>

#include "race/modern_marks.h"
#include "race/race_state.h"
#include "race/stages.h"
#include "view/screen_fit.h"
#include "runtime/random.h"
#include "screens/form_main.h"

namespace {
// One entry step of SetCar, in the order of the stage table's chances: what it lets in, and
// what keeps it out.
struct EntryRule {
    int car;                  // 1..6, or 0 for an obstacle
    int obstacle;             // 1..4, or 0 for a car
    VBool* guards[2];         // all must be clear; unused slots are null
};

const EntryRule entryRules[TrafficSteps] = {
    {1, 0, {&CarFlag[1], &CarFlag[3]}},
    {2, 0, {&CarFlag[2], &CarFlag[4]}},
    {3, 0, {&CarFlag[1], &CarFlag[3]}},
    {4, 0, {&CarFlag[2], &CarFlag[4]}},
    {5, 0, {&CarFlag[5], nullptr}},
    {6, 0, {&CarFlag[5], &CarFlag[6]}},
    {0, 1, {&ShogaiFlag[1], &ShogaiFlag[2]}},
    {0, 2, {&ShogaiFlag[1], &ShogaiFlag[2]}},
    {0, 3, {&ShogaiFlag[3], &ShogaiFlag[4]}},
    {0, 4, {&ShogaiFlag[4], nullptr}},
};

// Int(Rnd x m): a whole number from 0 to m - 1, each as likely.
int Draw(double m) { return static_cast<int>(std::floor(Rnd() * m)); }

// The obstacles' three lanes, from the top of the road.
constexpr double obstacleLanes[3] = {48, 136, 216};
} // namespace

void form_Main::SetCar()
{
    const std::array<int16_t, TrafficSteps>& chances = TrafficChances(GameMode, Distance);
    for (int step = 0; step < TrafficSteps; ++step) {
        const EntryRule& rule = entryRules[step];
        bool blocked = false;
        for (VBool* guard : rule.guards)
            if (guard && *guard == VbTrue) blocked = true;
        if (blocked) continue;

        const int r = Draw(chances[step]) + 1;
        if (r != 1) continue;

        // The modern way lets no car in unseen: it waits at the road's edge, marked there, for
        // the race tick that comes next, and makes its first move on the one after.
        if (rule.car >= 1) CarEntering[rule.car] = FairEntries;
        if (rule.car >= 1 && rule.car <= 4) {
            // It starts from its parked place on the next race tick.
            CarFlag[rule.car] = VbTrue;
            CarSpeed[rule.car] = static_cast<int16_t>(Draw(RaceModeOf(GameMode).trafficLevel * 5) + 10);
        } else if (rule.car >= 5) {
            // Onto the cross street where it lies on screen now: the crossing of the first
            // tile, or the second one's once the first has gone off at the left.
            CarFlag[rule.car] = VbTrue;
            const double road = img_Road->Left();
            const double left = (road >= -RaceClientWidth && road <= -352) ? road + RaceClientWidth + 270 : road + 270;
            car(rule.car)->setLeft(left);
            CarSpeed[rule.car] = static_cast<int16_t>(Draw(RaceModeOf(GameMode).trafficLevel * 2) + 5);
        } else {
            // It lies at the left edge and comes into view as the road scrolls.
            ShogaiFlag[rule.obstacle] = VbTrue;
            const int lane = Draw(3) + 1;
            img_Shogai[rule.obstacle - 1]->setTop(obstacleLanes[lane - 1]);
        }
    }
    // The marks of the cars let in show at once, even on a road standing still.
    if (FairEntries == VbTrue) roadLayer->pictureChanged(RoadOnScreen(*this));
}

void form_Main::Init_Car()
{
    img_Car1->setLeft(-117);
    img_Car2->setLeft(RaceClientWidth);
    img_Car3->setLeft(-164);
    img_Car4->setLeft(RaceClientWidth);
    img_Car5->setTop(-114);
    img_Car6->setTop(307);
    for (Picture* obstacle : img_Shogai) obstacle->setLeft(-79);
    for (int n = 1; n <= 6; ++n) CarFlag[n] = CarEntering[n] = VbFalse;
    for (int n = 1; n <= 4; ++n) ShogaiFlag[n] = VbFalse;
    // The entry marks of the cars that were waiting go with them.
    roadLayer->update();
}
