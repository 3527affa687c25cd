// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// How loud a sound is heard, measured as broadcasters and game platforms measure it (EBU R128,
// with libebur128): the integrated loudness over the whole sound, the loudest moment (momentary
// loudness, a 400 ms window) and the true peak between the samples. The build levels the tunes'
// recordings by it, and the sound tests and the bench read it.
#pragma once

#include <cstddef>
#include <string>

namespace soundgen {

struct Loudness {
    double integrated = -70;  // LUFS
    double loudestMoment = -70;  // the highest momentary loudness, LUFS
    double truePeak = -120;  // dBTP, the higher of the channels
};

// Interleaved samples of `channels` channels at `rate`. A sound shorter than the 400 ms window
// is measured as if silence followed it.
Loudness measureLoudness(const float* samples, size_t frames, int channels, int rate);

// The integrated loudness alone (LUFS), quicker than the whole measure.
double integratedLoudness(const float* samples, size_t frames, int channels, int rate);

// A sound file as a decoder plays it (WAV, Ogg Vorbis...). Throws std::runtime_error when it
// cannot be read.
Loudness measureLoudness(const std::string& path);

}  // namespace soundgen
