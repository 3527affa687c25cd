// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/live_loudness.h"

#include "audio/loudness.h"
#include "runtime/fluidsynth_library.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <vector>

namespace {
// Half the mixer's rate, and at most the first 40 s: the measure costs a quarter of a second of one
// core, and what lies above 11 kHz, or after the tune's first sections, hardly moves it.
constexpr int Rate = 22050;
constexpr double LongestSeconds = 40;
constexpr int Block = 4096;
// The gain the measure is made at: FluidSynth's own default, which keeps its sums well in range.
constexpr double MeasureGain = 0.2;
} // namespace

struct LiveLoudness::Synth {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_player_t* player = nullptr;
};

LiveLoudness::LiveLoudness(const QByteArray& midi, const QByteArrayList& soundFonts, double seconds)
    : loudness_(std::numeric_limits<double>::quiet_NaN())
{
    const FluidSynthLibrary* fs = FluidSynth();
    if (fs && seconds > 0 && !soundFonts.isEmpty()) {
        synth_ = new Synth;
        fluid_settings_t*& settings = synth_->settings;
        fluid_synth_t*& synth = synth_->synth;
        fluid_player_t*& player = synth_->player;
        settings = fs->new_fluid_settings();
        if (settings) {
            fs->fluid_settings_setnum(settings, "synth.sample-rate", Rate);
            // Paced by the samples made, not by the clock: as fast as the processor goes.
            fs->fluid_settings_setstr(settings, "player.timing-source", "sample");
            synth = fs->new_fluid_synth(settings);
        }
        bool fonts = synth != nullptr;
        for (const QByteArray& font : soundFonts)
            fonts = fonts && fs->fluid_synth_sfload(synth, font.constData(), 1) != FLUID_FAILED;
        if (fonts) {
            fs->fluid_synth_set_gain(synth, float(MeasureGain));
            player = fs->new_fluid_player(synth);
        }
        if (player && fs->fluid_player_add_mem(player, midi.constData(), size_t(midi.size())) == FLUID_OK &&
            fs->fluid_player_play(player) == FLUID_OK) {
            thread_ = std::thread(&LiveLoudness::measure, this, std::llround(std::min(seconds, LongestSeconds) * Rate));
            return;
        }
    }
    done_ = true;
}

LiveLoudness::~LiveLoudness()
{
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    const FluidSynthLibrary* fs = FluidSynth();
    if (fs && synth_) {
        if (synth_->player) {
            fs->fluid_player_stop(synth_->player);
            fs->delete_fluid_player(synth_->player);
        }
        if (synth_->synth) fs->delete_fluid_synth(synth_->synth);
        if (synth_->settings) fs->delete_fluid_settings(synth_->settings);
    }
    delete synth_;
}

bool LiveLoudness::waitFor(int ms) const
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done() && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return done();
}

void LiveLoudness::measure(long long frames)
{
    const FluidSynthLibrary* fs = FluidSynth();
    LoudnessMeter meter(2, Rate);
    std::vector<float> block(size_t(Block) * 2);
    long long made = 0;
    bool ok = true;
    while (ok && made < frames && !stop_.load(std::memory_order_relaxed) &&
           fs->fluid_player_get_status(synth_->player) == FLUID_PLAYER_PLAYING) {
        ok = fs->fluid_synth_write_float(synth_->synth, Block, block.data(), 0, 2, block.data(), 1, 2) == FLUID_OK;
        meter.add(block.data(), Block);
        made += Block;
    }
    if (ok && made > 0 && !stop_) loudness_ = meter.integrated() - 20 * std::log10(MeasureGain);
    playedThrough_ = ok && !stop_ && made >= frames - Block;
    done_.store(true, std::memory_order_release);
}
