// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// WindowFixture and WINDOW_TEST_MAIN live with the player's other steps in player_driver.h.
#pragma once

#include "player_driver.h"
