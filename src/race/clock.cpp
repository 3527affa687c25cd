// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The race clock: once a second it moves the time, shows time and distance, ends a story
// stage whose time has run out, and lets new traffic in.
#include "race/race_state.h"
#include "race/stages.h"
#include "screens/form_main.h"

void form_Main::StartRaceClock()
{
    InputEnabled = VbTrue;
    timer_Main->setEnabled(true);
    timer_Zenta->setEnabled(true);
}

void form_Main::timer_Main_Timer()
{
    if (RaceModeOf(GameMode).story)
        TimeCount -= 1;
    else
        TimeCount += 1;
    lbl_Time->setCaption(QString::number(TimeCount));
    lbl_Dist->setCaption(QString::number(Distance));
    if (RaceModeOf(GameMode).story && TimeCount <= 0) raceOver(GameOverTimeUp);
    // Traffic keeps coming on every tick, the one that ran out of time included.
    SetCar();
}
