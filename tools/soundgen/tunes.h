// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's five pieces of music.
#pragma once

#include "music.h"

#include <vector>

namespace soundgen {

// BGM1 (story stage 1), BGM2 (stage 2), BGM3 and BGM4 (drive), BGM5 (the meeting scene).
std::vector<Tune> makeTunes();

}  // namespace soundgen
