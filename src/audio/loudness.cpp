// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/loudness.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double Silence = -70;

ebur128_state* makeState(int channels, int rate, int mode)
{
    ebur128_state* state = ebur128_init(unsigned(std::max(1, channels)), unsigned(std::max(1, rate)), mode);
    // A single channel is heard from both sides.
    if (state && channels == 1) ebur128_set_channel(state, 0, EBUR128_DUAL_MONO);
    return state;
}

double globalOf(ebur128_state* state)
{
    double value = -HUGE_VAL;
    if (ebur128_loudness_global(state, &value) != EBUR128_SUCCESS || !std::isfinite(value)) return Silence;
    return std::max(Silence, value);
}

// Feeds the meter in steps of 100 ms, reading the momentary loudness after each.
void feed(ebur128_state* state, const float* samples, size_t frames, int channels, int rate, double* loudest)
{
    const size_t step = std::max<size_t>(1, size_t(rate) / 10);
    for (size_t done = 0; done < frames; done += step) {
        const size_t n = std::min(step, frames - done);
        ebur128_add_frames_float(state, samples + done * size_t(channels), n);
        double momentary = -HUGE_VAL;
        if (ebur128_loudness_momentary(state, &momentary) == EBUR128_SUCCESS && std::isfinite(momentary))
            *loudest = std::max(*loudest, momentary);
    }
}

} // namespace

Loudness MeasureLoudness(const float* samples, size_t frames, int channels, int rate)
{
    Loudness l;
    ebur128_state* state = makeState(channels, rate, EBUR128_MODE_I | EBUR128_MODE_M | EBUR128_MODE_TRUE_PEAK);
    if (!state) return l;
    double loudest = Silence;
    feed(state, samples, frames, channels, rate, &loudest);
    // The last moment of a short sound is heard against the silence after it.
    const size_t tail = size_t(rate) * 4 / 10;
    const std::vector<float> silence(tail * size_t(channels), 0.0f);
    feed(state, silence.data(), tail, channels, rate, &loudest);
    l.integrated = globalOf(state);
    l.loudestMoment = loudest;
    for (int c = 0; c < channels; ++c) {
        double peak = 0;
        if (ebur128_true_peak(state, unsigned(c), &peak) == EBUR128_SUCCESS && peak > 0)
            l.truePeak = std::max(l.truePeak, 20 * std::log10(peak));
    }
    ebur128_destroy(&state);
    return l;
}

double IntegratedLoudness(const float* samples, size_t frames, int channels, int rate)
{
    LoudnessMeter meter(channels, rate);
    meter.add(samples, frames);
    return meter.integrated();
}

LoudnessMeter::LoudnessMeter(int channels, int rate) : state_(makeState(channels, rate, EBUR128_MODE_I)) {}

LoudnessMeter::~LoudnessMeter()
{
    auto* state = static_cast<ebur128_state*>(state_);
    if (state) ebur128_destroy(&state);
}

void LoudnessMeter::add(const float* samples, size_t frames)
{
    if (state_ && frames > 0) ebur128_add_frames_float(static_cast<ebur128_state*>(state_), samples, frames);
}

double LoudnessMeter::integrated() const
{
    return state_ ? globalOf(static_cast<ebur128_state*>(state_)) : Silence;
}
