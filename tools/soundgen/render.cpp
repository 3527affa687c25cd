// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render.h"

#include "midi/midi_file.h"

#include <QByteArray>
#include <QCryptographicHash>

#include <fluidsynth.h>
#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <utility>

namespace soundgen {

namespace {

constexpr int kRate = 44100;
constexpr int kFadeFrames = kRate / 100;  // 10 ms, so the restart never clicks
// Vorbis quality 0..1: 0.4 comes to about 120 kbit/s, some 15 kB a second of music.
constexpr double kQuality = 0.4;

[[noreturn]] void fail(const std::string& what) { throw std::runtime_error(what); }

// A tune's length in seconds: up to its last end of track, following its tempo changes.
double midiSeconds(const std::vector<uint8_t>& midi)
{
    const MidiFile file = ReadMidiFile(
        QByteArray::fromRawData(reinterpret_cast<const char*>(midi.data()), qsizetype(midi.size())));
    if (file.error) fail(std::string("MIDI file: ") + file.error);
    return file.seconds;
}

// ---- synthesis ----

// Tunes are rendered side by side. FluidSynth fills its shared tables when its first
// synthesiser is made, so making and ending synthesisers takes turns; playing does not.
std::mutex synthSetUp;

struct SynthDeleter {
    void operator()(fluid_settings_t* s) const { delete_fluid_settings(s); }
    void operator()(fluid_synth_t* s) const { delete_fluid_synth(s); }
    void operator()(fluid_player_t* p) const { delete_fluid_player(p); }
};

struct Synth {
    std::unique_ptr<fluid_settings_t, SynthDeleter> settings;
    std::unique_ptr<fluid_synth_t, SynthDeleter> synth;
    std::unique_ptr<fluid_player_t, SynthDeleter> player;

    ~Synth()
    {
        const std::lock_guard<std::mutex> lock(synthSetUp);
        player.reset();
        synth.reset();
        settings.reset();
    }
};

// The tune as FluidSynth plays it for the game: 44.1 kHz, its default reverb, chorus, gain and
// polyphony; the player paced by the samples it makes, so every run gives the same samples.
// Interleaved stereo.
std::vector<float> synthesise(const std::vector<uint8_t>& midi, const std::string& soundFont,
                              int64_t frames)
{
    Synth f;
    {
        const std::lock_guard<std::mutex> lock(synthSetUp);
        f.settings.reset(new_fluid_settings());
        if (!f.settings) fail("FluidSynth: no settings");
        fluid_settings_setnum(f.settings.get(), "synth.sample-rate", kRate);
        fluid_settings_setstr(f.settings.get(), "player.timing-source", "sample");
        f.synth.reset(new_fluid_synth(f.settings.get()));
        if (!f.synth) fail("FluidSynth: no synthesiser");
        if (fluid_synth_sfload(f.synth.get(), soundFont.c_str(), 1) == FLUID_FAILED)
            fail("FluidSynth cannot load " + soundFont);
        f.player.reset(new_fluid_player(f.synth.get()));
        if (!f.player) fail("FluidSynth: no player");
        if (fluid_player_add_mem(f.player.get(), midi.data(), midi.size()) != FLUID_OK ||
            fluid_player_play(f.player.get()) != FLUID_OK)
            fail("FluidSynth refuses the tune");
    }

    std::vector<float> out(size_t(frames) * 2);
    constexpr int64_t kBlock = 4096;
    for (int64_t done = 0; done < frames; done += kBlock) {
        const int n = int(std::min(kBlock, frames - done));
        float* at = out.data() + done * 2;
        if (fluid_synth_write_float(f.synth.get(), n, at, 0, 2, at, 1, 2) != FLUID_OK)
            fail("FluidSynth failed while playing the tune");
    }
    fluid_player_stop(f.player.get());
    return out;
}

// ---- the Ogg file ----

// libsndfile numbers each Ogg stream at random. The pages are renumbered here (each page's
// checksum covers its stream number), so the same tune always gives the same file.
void fixStreamNumber(const std::string& path, uint32_t serial)
{
    std::vector<uint8_t> d;
    {
        std::ifstream in(path, std::ios::binary);
        d.assign(std::istreambuf_iterator<char>(in), {});
        if (!in && !in.eof()) fail("cannot read back " + path);
    }
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t r = i << 24;
            for (int k = 0; k < 8; ++k) r = (r & 0x80000000u) ? (r << 1) ^ 0x04c11db7u : r << 1;
            t[i] = r;
        }
        return t;
    }();
    size_t i = 0;
    while (i < d.size()) {
        if (i + 27 > d.size() || std::memcmp(d.data() + i, "OggS", 4) != 0)
            fail(path + ": not a row of Ogg pages");
        const size_t segments = d[i + 26];
        if (i + 27 + segments > d.size()) fail(path + ": an Ogg page is cut short");
        size_t size = 27 + segments;
        for (size_t s = 0; s < segments; ++s) size += d[i + 27 + s];
        if (i + size > d.size()) fail(path + ": an Ogg page is cut short");
        for (int k = 0; k < 4; ++k) d[i + 14 + size_t(k)] = uint8_t(serial >> (8 * k));
        for (int k = 0; k < 4; ++k) d[i + 22 + size_t(k)] = 0;
        uint32_t crc = 0;
        for (size_t k = 0; k < size; ++k) crc = (crc << 8) ^ table[((crc >> 24) ^ d[i + k]) & 0xff];
        for (int k = 0; k < 4; ++k) d[i + 22 + size_t(k)] = uint8_t(crc >> (8 * k));
        i += size;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(d.data()), std::streamsize(d.size()));
    if (!out) fail("cannot write " + path);
}

void writeOgg(const std::string& path, const std::vector<float>& samples, int64_t frames,
              const std::string& comment)
{
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 2;
    info.format = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) fail("cannot write " + path + ": " + sf_strerror(nullptr));
    double quality = kQuality;
    bool ok = sf_command(file, SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof quality) == SF_TRUE;
    // Before any sound, so the comment sits in the file's first page or two.
    ok = ok && sf_set_string(file, SF_STR_COMMENT, comment.c_str()) == 0;
    // A block at a time: libvorbis falls over when handed the whole tune in one piece.
    constexpr int64_t kBlock = 4096;
    for (int64_t done = 0; ok && done < frames; done += kBlock) {
        const sf_count_t n = std::min(kBlock, frames - done);
        ok = sf_writef_float(file, samples.data() + done * 2, n) == n;
    }
    const std::string error = ok ? std::string() : sf_strerror(file);
    if (sf_close(file) != 0 && ok) fail("cannot finish " + path);
    if (!ok) fail("cannot write " + path + ": " + error);
}

}  // namespace

Rendering renderOgg(const std::vector<uint8_t>& midi, const std::string& soundFont,
                    const std::string& path)
{
    Rendering r;
    r.frames = std::llround(midiSeconds(midi) * kRate);
    if (r.frames <= kFadeFrames) fail(path + ": the tune is too short to render");
    std::vector<float> samples = synthesise(midi, soundFont, r.frames);

    for (float v : samples) r.synthPeak = std::max(r.synthPeak, std::fabs(v));
    if (!(r.synthPeak > 0)) fail(path + ": FluidSynth made no sound");
    r.gain = kPeak / r.synthPeak;
    for (float& v : samples) v *= r.gain;
    // Down to nothing over the last 10 ms; the first sample stays on the beat.
    for (int k = 0; k < kFadeFrames; ++k) {
        const float f = float(kFadeFrames - 1 - k) / kFadeFrames;
        const size_t at = size_t(r.frames - kFadeFrames + k) * 2;
        samples[at] *= f;
        samples[at + 1] *= f;
    }

    const std::string digest =
        QCryptographicHash::hash(QByteArray(reinterpret_cast<const char*>(midi.data()), qsizetype(midi.size())),
                                 QCryptographicHash::Sha1)
            .toHex()
            .toStdString();
    const std::string part = path + ".part";
    try {
        writeOgg(part, samples, r.frames, "tavolnik-midi-sha1:" + digest);
        fixStreamNumber(part, uint32_t(std::stoul(digest.substr(0, 8), nullptr, 16)));
        std::filesystem::rename(part, path);
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(part, ignored);
        throw;
    }
    std::error_code error;
    r.bytes = size_t(std::filesystem::file_size(path, error));
    return r;
}

}  // namespace soundgen
