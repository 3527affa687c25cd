// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Each tune played through FluidSynth with the richest General MIDI sound font installed, as the
// game would play it live, and kept as Ogg Vorbis beside its MIDI file: the game plays the recording instead
// of synthesising the tune during a race, which costs it a fraction of the processor time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace soundgen {

struct Rendering {
    int64_t frames = 0;      // stereo frames at 44.1 kHz
    float synthPeak = 0;     // the loudest sample FluidSynth made, at its default gain
    float gain = 0;          // applied to bring the tune to kLevel
    float limitedDb = 0;     // the deepest the limiter cut a peak, in dB (0 or less)
    float limitedShare = 0;  // the share of the tune during which it cuts more than 0.5 dB
    size_t bytes = 0;        // the size of the Ogg file
};

// Every rendering's RMS level: -17 dBFS. The game plays music 6 dB under its recording, so the
// race's effects (-16.1 to -13.7 dBFS RMS) stand 7 to 9.3 dB over every tune.
constexpr double kLevel = 0.1413;
// The loudest sample of a rendering as the game decodes it: -1.1 dBFS.
constexpr float kPeak = 0.88f;

// Renders `midi` with `soundFont` into the Ogg Vorbis file `path`, exactly as long as the MIDI file
// (the game starts it again right there): the tune's second time round, so that at the loop
// point its end runs into its start with the reverb and the last notes carried over. Without
// rumble or offset (high-passed at 20 Hz), at kLevel, its peaks at most kPeak.
// Its comment "tavolnik-midi-sha1:<sha1 of midi>" names the MIDI bytes it belongs to. The file
// is written under a temporary name and renamed, so it is never left half written. Throws
// std::runtime_error on failure.
Rendering renderOgg(const std::vector<uint8_t>& midi, const std::string& soundFont,
                    const std::string& path);

}  // namespace soundgen
