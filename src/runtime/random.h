// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's one random generator. Every draw of a run comes from here, so a fixed seed
// (the --seed option, or a test) makes a whole run repeatable.
#pragma once

#include <cstdint>

// One draw, uniform in [0, 1).
double Rnd();
// Reseeds from the clock, unless a fixed seed was set: then it does nothing, so the run stays
// repeatable.
void Randomize();
// Fixes the seed for the rest of the run (and restarts the sequence from it).
void SetFixedSeed(uint64_t seed);
// Drops a fixed seed; the next Randomize() reseeds from the clock again.
void ClearFixedSeed();
bool HasFixedSeed();
