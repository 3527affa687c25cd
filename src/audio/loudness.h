// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// How loud a sound is heard, measured as broadcasters and game platforms measure it (EBU R128,
// with libebur128): the integrated loudness over the whole sound, the loudest moment (momentary
// loudness, a 400 ms window) and the true peak between the samples. The build levels the tunes'
// recordings by it, the game levels a tune it synthesises live by it, and the sound tests read it.
#pragma once

#include <cstddef>

// How loud every tune is heard from its recording (integrated, LUFS): the build levels the
// recordings to it and the game a tune it synthesises live.
constexpr double TuneLoudness = -14.0;

struct Loudness {
    double integrated = -70;     // LUFS
    double loudestMoment = -70;  // the highest momentary loudness, LUFS
    double truePeak = -120;      // dBTP, the higher of the channels
};

// Interleaved float samples of `channels` channels at `rate`. A sound shorter than the 400 ms
// window is measured as if silence followed it. Silence measures -70 LUFS.
Loudness MeasureLoudness(const float* samples, size_t frames, int channels, int rate);

// The integrated loudness alone, in LUFS, quicker than the whole measure.
double IntegratedLoudness(const float* samples, size_t frames, int channels, int rate);

// The integrated loudness of a sound fed to it a block at a time.
class LoudnessMeter
{
public:
    LoudnessMeter(int channels, int rate);
    ~LoudnessMeter();
    LoudnessMeter(const LoudnessMeter&) = delete;
    LoudnessMeter& operator=(const LoudnessMeter&) = delete;

    void add(const float* samples, size_t frames);
    // LUFS so far; -70 while nothing was heard.
    double integrated() const;

private:
    void* state_ = nullptr;  // the library's meter
};
