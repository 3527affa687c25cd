// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "runtime/random.h"

#include <chrono>
#include <random>

namespace {
std::mt19937_64 generator{std::random_device{}()};
bool fixedSeed = false;
}

double Rnd()
{
    // 53 random bits give a double in [0, 1) that never rounds up to 1.
    return static_cast<double>(generator() >> 11) * (1.0 / 9007199254740992.0);
}

void Randomize()
{
    if (fixedSeed) return;
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    generator.seed(static_cast<uint64_t>(now) ^ std::random_device{}());
}

void SetFixedSeed(uint64_t seed)
{
    fixedSeed = true;
    generator.seed(seed);
}

void ClearFixedSeed() { fixedSeed = false; }

bool HasFixedSeed() { return fixedSeed; }
