// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's flags.
#pragma once

#include <cstdint>

// Flags are 16-bit values: -1 is true, 0 is false, and a flag counts as set only when it holds -1.
using VBool = int16_t;
constexpr VBool VbTrue = -1;
constexpr VBool VbFalse = 0;
