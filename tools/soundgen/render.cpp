// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render.h"

#include "loudness.h"

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
#include <deque>
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
// The last 10 ms of the recording blend into the first pass's last 10 ms: they hold the same
// notes, so the loop point runs from the end into the start as the tune does.
constexpr int kSeamFrames = kRate / 100;
// Below this the recording holds nothing musical: the rumble and the offset of a warm pad go.
constexpr double kHighPassHz = 20;
// The limiter looks 2 ms ahead and lets go over 80 ms.
constexpr int kLookAheadFrames = kRate / 500;
constexpr double kReleaseFrames = 0.080 * kRate;
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
// Played twice in a row without a reset between, as the game loops it: the second time round
// starts with the first's reverb and last notes still sounding. Interleaved stereo, 2 x frames.
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
        fluid_settings_setint(f.settings.get(), "player.reset-synth", 0);
        f.synth.reset(new_fluid_synth(f.settings.get()));
        if (!f.synth) fail("FluidSynth: no synthesiser");
        if (fluid_synth_sfload(f.synth.get(), soundFont.c_str(), 1) == FLUID_FAILED)
            fail("FluidSynth cannot load " + soundFont);
        f.player.reset(new_fluid_player(f.synth.get()));
        if (!f.player) fail("FluidSynth: no player");
        if (fluid_player_add_mem(f.player.get(), midi.data(), midi.size()) != FLUID_OK ||
            fluid_player_add_mem(f.player.get(), midi.data(), midi.size()) != FLUID_OK ||
            fluid_player_play(f.player.get()) != FLUID_OK)
            fail("FluidSynth refuses the tune");
    }

    std::vector<float> out(size_t(frames) * 4);
    constexpr int64_t kBlock = 4096;
    for (int64_t done = 0; done < 2 * frames; done += kBlock) {
        const int n = int(std::min(kBlock, 2 * frames - done));
        float* at = out.data() + done * 2;
        if (fluid_synth_write_float(f.synth.get(), n, at, 0, 2, at, 1, 2) != FLUID_OK)
            fail("FluidSynth failed while playing the tune");
    }
    fluid_player_stop(f.player.get());
    return out;
}

// ---- the level ----

// A second-order Butterworth high-pass at kHighPassHz over each channel of interleaved stereo.
void highPass(std::vector<float>& samples)
{
    const double w = std::tan(M_PI * kHighPassHz / kRate);
    const double norm = 1 / (1 + std::sqrt(2.0) * w + w * w);
    const double b0 = norm, b1 = -2 * norm, b2 = norm;
    const double a1 = 2 * (w * w - 1) * norm, a2 = (1 - std::sqrt(2.0) * w + w * w) * norm;
    for (size_t c = 0; c < 2; ++c) {
        double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
        for (size_t i = c; i < samples.size(); i += 2) {
            const double x = samples[i];
            const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
            x2 = x1; x1 = x; y2 = y1; y1 = y;
            samples[i] = float(y);
        }
    }
}

// The loop's integrated loudness: the gated mean of the whole tune, as EBU R128 hears it.
double loopLoudness(const std::vector<float>& loop)
{
    return IntegratedLoudness(loop.data(), loop.size() / 2, 2, kRate);
}

// The recording `loop` (interleaved stereo, played round and round) raised by `gain`, its peaks
// held at `ceiling` by a limiter that looks ahead and lets go slowly; the loop is treated as a
// circle, so the gain runs on across the loop point. Returns the deepest cut in dB (0 or less)
// and, in *share, the share of the loop during which it cuts more than 0.5 dB.
double raiseAndLimit(std::vector<float>& loop, double gain, double ceiling, float* share)
{
    const size_t n = loop.size() / 2;
    std::vector<double> need(n);
    bool limits = false;
    for (size_t i = 0; i < n; ++i) {
        const double top = gain * std::max(std::fabs(loop[2 * i]), std::fabs(loop[2 * i + 1]));
        need[i] = top > ceiling ? ceiling / top : 1.0;
        limits = limits || need[i] < 1;
    }
    double deepest = 1;
    if (limits) {
        const size_t look = kLookAheadFrames;
        // The least gain needed over the coming 2 ms...
        // (a running minimum: the frames still in the window, each lower than those before it)
        std::vector<double> held(n);
        std::deque<size_t> lows;
        for (size_t j = 0; j < n + look; ++j) {
            while (!lows.empty() && need[lows.back() % n] >= need[j % n]) lows.pop_back();
            lows.push_back(j);
            if (j + 1 < look) continue;
            const size_t i = j + 1 - look;
            while (lows.front() < i) lows.pop_front();
            if (i < n) held[i] = need[lows.front() % n];
        }
        // ...coming back up slowly (twice round, so the loop point is settled too)...
        double g = 1;
        for (size_t lap = 0; lap < 2; ++lap)
            for (size_t i = 0; i < n; ++i) {
                g = std::min(held[i], g + (1 - g) / kReleaseFrames);
                held[i] = g;
            }
        // ...and smoothed over 2 ms, never above what the peaks need.
        double sum = 0;
        for (size_t k = 0; k < look; ++k) sum += held[n - 1 - k];
        for (size_t i = 0; i < n; ++i) {
            sum += held[i] - held[(i + n - look) % n];
            need[i] = std::min(1.0, sum / double(look));
        }
    }
    size_t cut = 0;
    for (size_t i = 0; i < n; ++i) {
        deepest = std::min(deepest, need[i]);
        cut += need[i] < 0.944;
        loop[2 * i] = float(loop[2 * i] * gain * need[i]);
        loop[2 * i + 1] = float(loop[2 * i + 1] * gain * need[i]);
    }
    *share = n ? float(cut) / float(n) : 0;
    return 20 * std::log10(deepest);
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
    if (r.frames <= kSeamFrames) fail(path + ": the tune is too short to render");
    std::vector<float> twice = synthesise(midi, soundFont, r.frames);
    for (float v : twice) r.synthPeak = std::max(r.synthPeak, std::fabs(v));
    if (!(r.synthPeak > 0)) fail(path + ": FluidSynth made no sound");
    highPass(twice);

    // The second time round, its last 10 ms blending into the first time round's, which lead
    // into the second's first sample as the tune does.
    const size_t length = size_t(r.frames) * 2;
    std::vector<float> loop(twice.begin() + std::ptrdiff_t(length), twice.end());
    for (size_t k = 0; k < size_t(kSeamFrames); ++k) {
        const float w = float(k + 1) / kSeamFrames;
        for (size_t c = 0; c < 2; ++c) {
            const size_t at = length - size_t(kSeamFrames - k) * 2 + c;
            loop[at] = (1 - w) * loop[at] + w * twice[at];
        }
    }

    const std::string digest =
        QCryptographicHash::hash(QByteArray(reinterpret_cast<const char*>(midi.data()), qsizetype(midi.size())),
                                 QCryptographicHash::Sha1)
            .toHex()
            .toStdString();
    const std::string part = path + ".part";
    try {
        // Every tune as loud as the next; the few peaks a quiet one's raise would push past the
        // ceiling are held down. The limiter takes a little off the loudness, so the raise is
        // found again. The Vorbis coding and the samples' in-between let a peak overshoot a
        // little: where the decoded true peak passes kTruePeak, the ceiling comes down by as
        // much and the tune is made again.
        const double peakCeiling = std::pow(10.0, kTruePeak / 20);
        double ceiling = peakCeiling * 0.95;
        for (int attempt = 0;; ++attempt) {
            r.gain = 1;
            std::vector<float> samples;
            for (int round = 0; round < 4; ++round) {
                samples = loop;
                r.limitedDb = float(raiseAndLimit(samples, r.gain, ceiling, &r.limitedShare));
                const double level = loopLoudness(samples);
                if (!(level > -70)) fail(path + ": FluidSynth made no sound");
                if (round < 3) r.gain = float(r.gain * std::pow(10.0, (kLoudness - level) / 20));
            }
            writeOgg(part, samples, r.frames, "tavolnik-midi-sha1:" + digest);
            const Loudness decoded = measureLoudness(part);
            r.loudness = decoded.integrated;
            r.truePeak = decoded.truePeak;
            if (decoded.truePeak <= kTruePeak) break;
            if (attempt == 5) fail(path + ": its true peak stays over the ceiling");
            ceiling *= std::pow(10.0, (kTruePeak - decoded.truePeak) / 20) * 0.99;
        }
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
