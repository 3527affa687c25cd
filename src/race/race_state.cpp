// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "race/race_state.h"

#include "audio/sound.h"

int16_t GameMode = ModeStage1;
int32_t TimeCount = 0;
int32_t Distance = 0;
int16_t Speed = 0;
int16_t CarSpeed[7] = {};
VBool CarFlag[7] = {};
VBool CarEntering[7] = {};
VBool FairEntries = VbFalse;
VBool ShogaiFlag[5] = {};
int16_t CrushType = CrushCar;
VBool InputEnabled = VbFalse;
VBool NextFlag = VbFalse;

void ResetRaceState()
{
    GameMode = ModeStage1;
    TimeCount = 0;
    Distance = 0;
    Speed = 0;
    for (auto& v : CarSpeed) v = 0;
    for (auto& v : CarFlag) v = VbFalse;
    for (auto& v : CarEntering) v = VbFalse;
    FairEntries = VbFalse;
    for (auto& v : ShogaiFlag) v = VbFalse;
    CrushType = CrushCar;
    InputEnabled = VbFalse;
    NextFlag = VbFalse;
    BgmOpen = VbFalse;
    BgmFile.clear();
}
