// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// soundgen: writes the game's sound folder. Usage: soundgen [--verbose] <folder>
// The folder receives the six WAV effects (Click, Up, Down, Crush1, Crush2, Claps), the five
// MIDI tunes BGM1.mid .. BGM5.mid, and each tune played through FluidSynth with the game's sound
// font as BGM1.ogg .. BGM5.ogg (Ogg Vorbis, 44.1 kHz stereo): the game plays the recording
// rather than synthesising the tune live, as long as the recording's comment
// "tavolnik-midi-sha1:<40 hex digits>" names the SHA-1 of the very MIDI file beside it. A
// recording is as long as its tune, up to where the game starts it again, and its end runs into
// its start; all are equally loud. Without a General MIDI sound font soundgen warns, writes no recordings and removes old
// ones, and the game synthesises the tunes. The output is the same on every run.
// --verbose prints each recording's length, size and level.
// soundgen --measure <file>... prints each sound file's loudness (integrated, loudest moment, true
// peak), as the build levels the recordings.
#include "effects.h"
#include "loudness.h"
#include "music.h"
#include "render.h"
#include "tunes.h"

#include "midi/sound_fonts.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Recording {
    std::vector<uint8_t> midi;
    std::filesystem::path path;
    soundgen::Rendering done;
    std::string error;
};

// Every tune at once, as far as there are processors: each takes a few seconds.
void record(std::vector<Recording>& recordings, const std::string& soundFont)
{
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t i = next++; i < recordings.size(); i = next++) {
            Recording& r = recordings[i];
            try {
                r.done = soundgen::renderOgg(r.midi, soundFont, r.path.string());
            } catch (const std::exception& e) {
                r.error = e.what();
            }
        }
    };
    const size_t workers = std::min<size_t>(recordings.size(), std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::thread> threads;
    for (size_t k = 1; k < workers; ++k) threads.emplace_back(work);
    work();
    for (std::thread& t : threads) t.join();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--measure") == 0) {
        std::printf("%-40s %10s %10s %10s\n", "file", "LUFS", "loudest", "dBTP");
        for (int i = 2; i < argc; ++i) {
            try {
                const Loudness l = soundgen::measureLoudness(argv[i]);
                std::printf("%-40s %10.2f %10.2f %10.2f\n", std::filesystem::path(argv[i]).filename().c_str(),
                            l.integrated, l.loudestMoment, l.truePeak);
            } catch (const std::exception& e) {
                std::fprintf(stderr, "soundgen: %s\n", e.what());
                return 1;
            }
        }
        return 0;
    }
    const bool verbose = argc == 3 && std::strcmp(argv[1], "--verbose") == 0;
    if (argc != 2 && !verbose) {
        std::fprintf(stderr, "usage: %s [--verbose] <folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[argc - 1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "soundgen: cannot create %s: %s\n", folder.c_str(), error.message().c_str());
        return 1;
    }
    try {
        for (const soundgen::Effect& effect : soundgen::makeEffects()) {
            const auto path = folder / (effect.name + ".wav");
            if (!soundgen::writeWav(path.string(), effect.samples, soundgen::kSampleRate)) {
                std::fprintf(stderr, "soundgen: cannot write %s\n", path.c_str());
                return 1;
            }
        }
        const char* richest = FindSoundFont(SoundFontUse::Recording);
        const std::string soundFont = richest ? richest : "";
        if (soundFont.empty())
            std::fprintf(stderr, "soundgen: warning: no General MIDI sound font (fluid-soundfont-gm or "
                                 "timgm6mb-soundfont), "
                                 "so no recordings of the tunes: the game will synthesise them\n");
        std::vector<Recording> recordings;
        for (const soundgen::Tune& tune : soundgen::makeTunes()) {
            const auto bytes = soundgen::renderMidi(tune);
            const auto path = folder / tune.file;
            {
                std::ofstream out(path, std::ios::binary);
                out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
                if (!out) {
                    std::fprintf(stderr, "soundgen: cannot write %s\n", path.c_str());
                    return 1;
                }
            }
            auto recording = path;
            recording.replace_extension(".ogg");
            if (soundFont.empty())
                std::filesystem::remove(recording, error);  // a recording of an older tune
            else
                recordings.push_back({bytes, recording, {}, {}});
        }
        record(recordings, soundFont);
        for (const Recording& r : recordings) {
            if (!r.error.empty()) {
                std::fprintf(stderr, "soundgen: %s\n", r.error.c_str());
                return 1;
            }
            if (verbose)
                std::printf("%s: %.3f s, %zu bytes, synthesised peak %.3f, raised by %.1f dB, peaks held down by "
                            "up to %.1f dB (more than 0.5 dB for %.2f %% of it), %.2f LUFS, %.2f dBTP\n",
                            r.path.filename().c_str(), double(r.done.frames) / soundgen::kSampleRate,
                            r.done.bytes, double(r.done.synthPeak), 20 * std::log10(double(r.done.gain)),
                            -double(r.done.limitedDb), 100 * double(r.done.limitedShare), r.done.loudness,
                            r.done.truePeak);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "soundgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
