// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "loudness.h"

#include <ebur128.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <vector>

namespace soundgen {

namespace {

struct StateDeleter {
    void operator()(ebur128_state* s) const { ebur128_destroy(&s); }
};
using State = std::unique_ptr<ebur128_state, StateDeleter>;

// Feeds the meter in steps of 100 ms, reading the momentary loudness after each.
void feed(ebur128_state* state, const float* samples, size_t frames, int channels, int rate,
          double* loudest)
{
    const size_t step = size_t(rate) / 10;
    for (size_t done = 0; done < frames; done += step) {
        const size_t n = std::min(step, frames - done);
        if (ebur128_add_frames_float(state, samples + done * size_t(channels), n) != EBUR128_SUCCESS)
            throw std::runtime_error("loudness: the meter refused the samples");
        double momentary = -HUGE_VAL;
        if (ebur128_loudness_momentary(state, &momentary) == EBUR128_SUCCESS && std::isfinite(momentary))
            *loudest = std::max(*loudest, momentary);
    }
}

Loudness finish(ebur128_state* state, int channels, double loudest)
{
    Loudness l;
    double integrated = -HUGE_VAL;
    if (ebur128_loudness_global(state, &integrated) == EBUR128_SUCCESS && std::isfinite(integrated))
        l.integrated = integrated;
    l.loudestMoment = std::max(l.loudestMoment, loudest);
    for (int c = 0; c < channels; ++c) {
        double peak = 0;
        if (ebur128_true_peak(state, unsigned(c), &peak) == EBUR128_SUCCESS && peak > 0)
            l.truePeak = std::max(l.truePeak, 20 * std::log10(peak));
    }
    return l;
}

State makeState(int channels, int rate, int mode = EBUR128_MODE_I | EBUR128_MODE_M | EBUR128_MODE_TRUE_PEAK)
{
    State state(ebur128_init(unsigned(channels), unsigned(rate), mode));
    if (!state) throw std::runtime_error("loudness: no meter");
    // A single channel is heard from both sides.
    if (channels == 1) ebur128_set_channel(state.get(), 0, EBUR128_DUAL_MONO);
    return state;
}

}  // namespace

Loudness measureLoudness(const float* samples, size_t frames, int channels, int rate)
{
    State state = makeState(channels, rate);
    double loudest = -70;
    feed(state.get(), samples, frames, channels, rate, &loudest);
    // The last moment of a short sound is heard against the silence after it.
    const std::vector<float> silence(size_t(rate) * size_t(channels) * 4 / 10, 0.0f);
    feed(state.get(), silence.data(), size_t(rate) * 4 / 10, channels, rate, &loudest);
    return finish(state.get(), channels, loudest);
}

double integratedLoudness(const float* samples, size_t frames, int channels, int rate)
{
    State state = makeState(channels, rate, EBUR128_MODE_I);
    if (ebur128_add_frames_float(state.get(), samples, frames) != EBUR128_SUCCESS)
        throw std::runtime_error("loudness: the meter refused the samples");
    double integrated = -HUGE_VAL;
    if (ebur128_loudness_global(state.get(), &integrated) != EBUR128_SUCCESS || !std::isfinite(integrated))
        return -70;
    return integrated;
}

Loudness measureLoudness(const std::string& path)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) throw std::runtime_error("cannot read " + path + ": " + sf_strerror(nullptr));
    // Samples as they are, not scaled to the loudest one.
    sf_command(file, SFC_SET_NORM_FLOAT, nullptr, SF_TRUE);
    std::vector<float> all;
    std::vector<float> block(size_t(4096) * size_t(std::max(1, info.channels)));
    for (sf_count_t n; (n = sf_readf_float(file, block.data(), 4096)) > 0;)
        all.insert(all.end(), block.begin(), block.begin() + n * info.channels);
    sf_close(file);
    if (info.channels < 1 || info.samplerate < 1) throw std::runtime_error(path + ": no sound in it");
    return measureLoudness(all.data(), all.size() / size_t(info.channels), info.channels, info.samplerate);
}

}  // namespace soundgen
