// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The state every part of the race shares. It lives at module level, not in a window, so it
// survives the race screen being discarded and recreated.
#pragma once

#include <cstdint>

#include "runtime/vbool.h"

// What GameMode holds: the story's two stages and the drive.
enum GameModeValue : int16_t { ModeStage1 = 0, ModeStage2 = 1, ModeDrive = 2 };
// What the hero ran into, as Crushfun is told and CrushType keeps it.
enum CrushKind : int16_t { CrushCar = 0, CrushObstacle = 1 };
// Why a race ends in a game over, as GameOver is told.
enum GameOverKind : int16_t { GameOverTimeUp = 1, GameOverWrecked = 2 };

extern int16_t GameMode;     // a GameModeValue
extern int32_t TimeCount;    // seconds left (story) or run (drive)
extern int32_t Distance;     // units left (story) or run (drive)
extern int16_t Speed;        // the hero's speed step, 0..9
extern int16_t CarSpeed[7];  // [1..6]: a car's own step, drawn when it enters
extern VBool CarFlag[7];     // [1..6]: car n is on the road
extern VBool CarEntering[7];  // [1..6]: car n was let in since the last race tick (fair entries)
extern VBool FairEntries;     // the modern way: a car let in waits a race tick at the road's edge
extern VBool ShogaiFlag[5];  // [1..4]: obstacle n (img_Shogai(n-1)) is on the road
extern int16_t CrushType;    // a CrushKind
extern VBool InputEnabled;   // the steering and speed keys act
extern VBool NextFlag;       // the player asked for the next message of a scene

// Puts every race global back to its program-start value (zero, false, empty), and the
// music's BgmOpen and BgmFile too. Tests use it.
void ResetRaceState();
