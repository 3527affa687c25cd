// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The gamepad plays the race screen there is now, as its keyboard does.
#pragma once

#include <cstdint>

class Gamepad;

// Hands a key to the input of the race screen there is now, if there is one, which delivers it
// to the key handler unless the window is closing or a modal window above it holds the input
// (as it holds the keyboard's).
void RaceScreenKeySink(int16_t keyCode);
// Whether the race screen there is now shows "Click or SpaceKey to Next".
bool RaceScreenWaits();

// Points the pad's presses, its scene question and its question whether the race steers at
// the race screen.
void ConnectToRaceScreen(Gamepad& pad);
