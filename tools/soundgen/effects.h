// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's sound effects, synthesised: mono 16-bit PCM at 44.1 kHz.
#pragma once

#include <string>
#include <vector>

namespace soundgen {

constexpr int kSampleRate = 44100;

struct Effect {
    std::string name;            // file name without ".wav"
    std::vector<float> samples;  // -1..1
};

// Click, Up, Down, Crush1, Crush2, Claps, always the same samples.
std::vector<Effect> makeEffects();

// Writes a mono 16-bit PCM WAV file; false when the file cannot be written.
bool writeWav(const std::string& path, const std::vector<float>& samples, int sampleRate);

}  // namespace soundgen
