// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up: reads the command line, opens the first window and runs the game.
#pragma once

#include <functional>

int RunTavolnik(int argc, char* argv[]);

// Called once, from the game's event loop, when the title screen has first been painted: a
// test plays the game from there with the player's own input events. The game sets none.
void SetGameStartedHook(std::function<void()> started);
