// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up: reads the command line, opens the first window and runs the game.
#pragma once

int RunTavolnik(int argc, char* argv[]);
