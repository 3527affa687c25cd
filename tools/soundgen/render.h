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
    float gain = 0;          // applied to bring that peak to kPeak
    size_t bytes = 0;        // the size of the Ogg file
};

// The level of the loudest sample in a rendering: -1 dBFS.
constexpr float kPeak = 0.89f;

// Renders `midi` with `soundFont` into the Ogg Vorbis file `path`, exactly as long as the MIDI file
// (the game starts it again right there), the last 10 ms faded out, the loudest sample at kPeak.
// Its comment "tavolnik-midi-sha1:<sha1 of midi>" names the MIDI bytes it belongs to. The file
// is written under a temporary name and renamed, so it is never left half written. Throws
// std::runtime_error on failure.
Rendering renderOgg(const std::vector<uint8_t>& midi, const std::string& soundFont,
                    const std::string& path);

}  // namespace soundgen
