// soundgen: writes the game's sound folder. Usage: soundgen <folder>
// The folder receives the six WAV effects (Click, Up, Down, Crush1, Crush2, Claps) and the five
// MIDI tunes BGM1.mid .. BGM5.mid. The output is the same on every run.
#include "effects.h"
#include "music.h"
#include "tunes.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
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
        for (const soundgen::Tune& tune : soundgen::makeTunes()) {
            const auto bytes = soundgen::renderMidi(tune);
            const auto path = folder / tune.file;
            std::ofstream out(path, std::ios::binary);
            out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
            if (!out) {
                std::fprintf(stderr, "soundgen: cannot write %s\n", path.c_str());
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "soundgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
