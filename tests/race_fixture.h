// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// RaceFixture, SteppedTimer and the seeds live with the player's other steps in player_driver.h.
#pragma once

#include "player_driver.h"
