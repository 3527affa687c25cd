// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The gamepad plays the race screen there is now, as its keyboard does.
#pragma once

#include <cstdint>

class Gamepad;

// Hands a key to the key handler of the race screen there is now, unless there is none, it is
// closing, or a modal window above it holds the input (as it holds the keyboard's).
void RaceScreenKeySink(int16_t keyCode);
// Whether the race screen there is now shows "Click or SpaceKey to Next".
bool RaceScreenWaits();

// Points the pad's presses and its scene question at the race screen.
void ConnectToRaceScreen(Gamepad& pad);
