// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A sound file's loudness as a decoder plays it (WAV, Ogg Vorbis...), measured by the game's own
// loudness meter (audio/loudness.h).
#pragma once

#include "audio/loudness.h"

#include <string>

namespace soundgen {

// Throws std::runtime_error when the file cannot be read.
Loudness measureLoudness(const std::string& path);

}  // namespace soundgen
