// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Each tune played through FluidSynth with the richest General MIDI sound font installed, as the
// game would play it live, and kept as Ogg Vorbis beside its MIDI file: the game plays the recording instead
// of synthesising the tune during a race, which costs it a fraction of the processor time.
#pragma once

#include "audio/loudness.h"

#include <cstdint>
#include <string>
#include <vector>

namespace soundgen {

struct Rendering {
    int64_t frames = 0;      // stereo frames at 44.1 kHz
    float synthPeak = 0;     // the loudest sample FluidSynth made, at its default gain
    float gain = 0;          // applied to bring the tune to kLoudness
    float limitedDb = 0;     // the deepest the limiter cut a peak, in dB (0 or less)
    float limitedShare = 0;  // the share of the tune during which it cuts more than 0.5 dB
    size_t bytes = 0;        // the size of the Ogg file
    double loudness = 0;     // its integrated loudness as decoded, LUFS
    double truePeak = 0;     // its true peak as decoded, dBTP
};

// Every rendering's integrated loudness (EBU R128), in LUFS: the tunes are heard equally loud
// whatever their instruments. The game plays music 6 dB under its recording.
constexpr double kLoudness = TuneLoudness;
// The loudest a rendering may come between its samples as the game decodes it, in dBTP.
constexpr double kTruePeak = -1.2;

// Renders `midi` with `soundFont` into the Ogg Vorbis file `path`, exactly as long as the MIDI file
// (the game starts it again right there): the tune's second time round, so that at the loop
// point its end runs into its start with the reverb and the last notes carried over. Without
// rumble or offset (high-passed at 20 Hz), at kLoudness, its true peak at most kTruePeak.
// Its comment "tavolnik-midi-sha1:<sha1 of midi>" names the MIDI bytes it belongs to. The file
// is written under a temporary name and renamed, so it is never left half written. Throws
// std::runtime_error on failure.
Rendering renderOgg(const std::vector<uint8_t>& midi, const std::string& soundFont,
                    const std::string& path);

}  // namespace soundgen
