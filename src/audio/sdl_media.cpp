// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The real media backend: music devices and effects over SDL2_mixer, whose MIDI decoder is
// FluidSynth with a General MIDI sound font. A tune that comes with its own rendering (see
// RenderingOf) plays from the rendering, which spares the mixer's thread the synthesis.
//
// A music device is a loaded Mix_Music under an alias. The mixer has one music slot, so the
// device played last owns it; "stop" and "pause" hold it where it is ("resume" or "play" go on
// from there), "seek ... to start" halts it so the next "play" begins from the top, and a piece
// that has run out reports "stopped". One effect sounds at a time: a new effect cuts off the one
// before, as the effect call promises.
//
// Nothing starts or stops with a click. The game's own mix, after the mixer's, turns the music
// up and down and adds the effects, a sample at a time: "stop" and "close" fade the music out
// over 300 ms (a game over, a stage's end), "pause" and "resume" over 15 ms, and an effect cut
// off fades out over 5 ms under the new one. The commands answer at once, as before: a piece
// fading out is paused, or freed, once it is silent (a timer looks after it, and so does the
// next command), so closing never holds the game up for the fade. A new piece wanting the
// mixer's one music slot while an old one still fades out there hurries the old one out over
// 10 ms; the program's end lets a fade finish, as long as the sound card takes it.
//
// The game loops its music by polling: once "status" says a piece has ended it sends "seek ... to
// start" and "play", up to a poll later. Waiting for that would leave a gap of silence at every
// loop, so a tune played from its rendering is played by the mixer as an endless loop, and its
// end is told by the music's own clock (the frames the mixer produced while it played) against
// the length the MIDI file gives. Then "stopped" means the mixer has already gone round to the
// top; the "seek ... to start" that follows only turns the clock back by the laps it has run, and
// the "play" goes on. The tune never stops sounding at its loop. A MIDI file synthesised live
// loops the same way, on the synthesiser's own clock, when it is a plain MIDI file read whole to
// its end, at least a second long, and FluidSynth has been heard to play it through while its
// loudness was measured; any other is told to end by the same clock but started
// again by the poll: FluidSynth asked to loop a file it reads as empty spins forever in the
// mixer's thread, holding the lock every sound call waits for, and would freeze the game.
//
// Every tune is heard equally loud: the recordings are made so, and a tune synthesised live is
// measured ahead (LiveLoudness) and turned to the recordings' loudness by the game's mix,
// whatever sound font plays it. A tune starts once it is measured (about a quarter of a second of
// one core), and never later than kLevelWaitMs after its "play", then turned to its level once
// measured.
//
// Music starts with a fade-in of kStartFadeMs, never with a click. A tune started while the one
// before it still fades out at a stage's end waits for that fade to finish, so it is heard whole.
#include "audio/media.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>
#include <QTimer>
#include <QtEndian>

#include "audio/beep.h"
#include "audio/live_loudness.h"
#include "audio/loudness.h"
#include "audio/media_command.h"
#include "audio/rendered_tune.h"
#include "midi/midi_file.h"
#include "midi/sound_fonts.h"
#include "runtime/sdl_library.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <memory>
#include <mutex>
#include <utility>

namespace {

// The music and an effect are added at half their levels, so that their sum never reaches full
// scale; the post-mix raises it back by kMakeUp through a soft limiter. As heard, the music plays
// 6 dB under its recording (about -23 dBFS RMS) and an effect at its own level, 6 to 10 dB above
// the music.
constexpr int kMakeUp = 2;
constexpr int kMusicVolume = MIX_MAX_VOLUME / 2 / kMakeUp;
constexpr float kEffectLevel = 1.0f / kMakeUp;

constexpr int kStopFadeMs = 300;   // the music's end at a game over or a stage's end
constexpr int kPauseFadeMs = 15;   // the race's pause and its end
constexpr int kCutFadeMs = 5;      // an effect cut off by the next
constexpr int kHurryFadeMs = 10;   // a piece fading out when a new one wants the slot
constexpr int kStartFadeMs = 8;    // a piece starting from its top
constexpr int kTrimMs = 200;       // a live tune measured only once it sounds, turned to its level
// How long a tune synthesised live waits at most to be measured before it starts anyway.
constexpr int kLevelWaitMs = 5000;
constexpr int kLevelQuickWaitMs = 50;
// SDL_mixer gives FluidSynth a gain of 1.2 at the mixer's full music volume, where a recording
// plays at its own level.
constexpr double kLiveGainAtFullVolume = 1.2;
// How long the game waits at most for the mixer to carry out a short fade, and how long past its
// end a long one may take before the piece is stopped anyway (a sound card that has stalled).
constexpr int kSilenceWaitCapMs = 100;
constexpr int kSettleGraceMs = 200;
constexpr qint64 kMaxMidiBytes = 16 * 1024 * 1024;
// An effect is a short RIFF WAVE file; the game's own are at most 200 KB.
constexpr qint64 kMaxEffectBytes = 2 * 1024 * 1024;

// Whether a file's bytes are a wave the mixer may load as an effect. The mixer decodes a whole
// effect into memory at its own rate, so a damaged file could cost it gigabytes: it would decode
// anything it can play as music (a MIDI file whose tune lasts three hours), reserve room for as
// much sound as a data chunk claims, and resample a rate of a few hertz up to 44.1 kHz. So only
// a RIFF wave whose chunks lie within the file, with a sample rate from 4 to 192 kHz, is taken.
bool isEffectWave(const QByteArray& bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") return false;
    bool haveFormat = false;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 length = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        const qsizetype body = at + 8;
        if (length > quint64(bytes.size() - body)) return false;
        if (id == "fmt ") {
            if (length < 16) return false;
            const quint32 rate = qFromLittleEndian<quint32>(bytes.constData() + body + 4);
            if (rate < 4000 || rate > 192000) return false;
            haveFormat = true;
        } else if (id == "data") {
            return haveFormat;
        }
        at = body + qsizetype(length) + qsizetype(length & 1);
    }
    return false;
}

// The music's clock, kept by the mixer's thread.
std::atomic<bool> musicClockRunning{false};
std::atomic<int64_t> musicFrames{0};
int mixerRate = 44100;
int frameBytes = 4;

// Raises a mixed sample by kMakeUp. Below -2 dBFS it passes unchanged; above, it bends smoothly
// towards full scale and never reaches it, so a crash over loud music does not clip.
int16_t limit(float sample)
{
    constexpr float knee = 0.8f * 32767;
    constexpr float room = 32766 - knee;
    const float v = sample * kMakeUp;
    const float size = std::fabs(v);
    if (size <= knee) return int16_t(v);
    const float bent = knee + room * std::tanh((size - knee) / room);
    return int16_t(std::lround(std::copysign(bent, v)));
}

// A gain on its way, in a straight line, to its target: one step a frame in the mixer's thread.
struct Ramp {
    float gain = 1;
    float target = 1;
    float step = 1;

    void to(float goal, int ms)
    {
        target = goal;
        step = std::max(std::fabs(goal - gain), 1e-6f) / std::max(1.0f, float(ms) * float(mixerRate) / 1000);
    }
    float next()
    {
        gain = gain < target ? std::min(target, gain + step) : std::max(target, gain - step);
        return gain;
    }
};

// An effect as the game's mix plays it: the mixer's decoded samples, how far it has sounded and
// its gain (1, or fading out once cut off).
struct Voice {
    const Mix_Chunk* chunk = nullptr;
    Uint32 at = 0;  // samples, all channels counted
    Ramp ramp;
};

// What the game's mix does, shared by the game's thread and the mixer's under `lock`.
struct Mixing {
    std::mutex lock;
    Ramp music;                     // the music's gain
    Ramp trim;                      // the level of the tune playing: 1, or a live tune's
    Voice effect;                   // the one effect sounding
    std::array<Voice, 4> leaving;   // effects cut off, fading out
    float effectsShare = 1;         // the player's effects volume, 0 to 1
} mixing;

// After the mixer has mixed the music: the music's gain, then the effects, then the limiter.
void SDLCALL postMix(void*, Uint8* stream, int len)
{
    auto* samples = reinterpret_cast<int16_t*>(stream);
    const int channels = frameBytes / 2;
    const int frames = len / frameBytes;
    {
        const std::lock_guard<std::mutex> hold(mixing.lock);
        std::array<Voice*, 5> voices{&mixing.effect};
        for (size_t k = 0; k < mixing.leaving.size(); ++k) voices[k + 1] = &mixing.leaving[k];
        for (int f = 0; f < frames; ++f) {
            const float music = mixing.music.next() * mixing.trim.next();
            float gains[5];
            for (size_t v = 0; v < voices.size(); ++v) {
                Voice& voice = *voices[v];
                gains[v] = voice.chunk ? voice.ramp.next() * kEffectLevel * mixing.effectsShare : 0;
                if (voice.chunk && (voice.at + Uint32(channels) > voice.chunk->alen / 2 || voice.ramp.gain <= 0)) {
                    voice.chunk = nullptr;
                    gains[v] = 0;
                }
            }
            for (int c = 0; c < channels; ++c) {
                int16_t& out = samples[f * channels + c];
                float sum = float(out) * music;
                for (size_t v = 0; v < voices.size(); ++v)
                    if (gains[v] > 0) sum += gains[v] * reinterpret_cast<const int16_t*>(voices[v]->chunk->abuf)[voices[v]->at + Uint32(c)];
                out = limit(sum);
            }
            for (Voice* voice : voices)
                if (voice->chunk) voice->at += Uint32(channels);
        }
    }
    if (musicClockRunning.load(std::memory_order_relaxed))
        musicFrames.fetch_add(frames, std::memory_order_relaxed);
}

class SdlBackend final : public MediaBackend {
public:
    ~SdlBackend() override { shutdown(); }

    int32_t sendCommand(const QString& command, QString* reply, bool /*viaExecute*/) override
    {
        QStringList words;
        if (!SplitCommand(command, words)) return MCIERR_MISSING_STRING_ARGUMENT;
        if (words.isEmpty()) return MCIERR_MISSING_COMMAND_STRING;
        const QString verb = words.takeFirst();
        if (IsKeyword(verb, "open")) return open(words);
        const bool known = IsKeyword(verb, "play") || IsKeyword(verb, "stop") ||
                           IsKeyword(verb, "close") || IsKeyword(verb, "status") ||
                           IsKeyword(verb, "seek") || IsKeyword(verb, "pause") || IsKeyword(verb, "resume");
        if (!known) return MCIERR_UNRECOGNIZED_COMMAND;
        if (words.isEmpty()) return MCIERR_MISSING_DEVICE_NAME;
        const QString alias = words.takeFirst();
        // "notify" asks for a completion message, which nobody here listens for.
        words.removeIf([](const QString& w) { return IsKeyword(w, "notify"); });
        if (IsKeyword(verb, "close") && IsKeyword(alias, "all")) {
            if (!words.isEmpty()) return MCIERR_UNRECOGNIZED_KEYWORD;
            closeAll();
            return MCIERR_NONE;
        }
        const auto found = devices.find(alias.toLower());
        if (found == devices.end()) return MCIERR_INVALID_DEVICE_NAME;
        Device& device = found.value();
        if (IsKeyword(verb, "play")) return play(device, words);
        if (IsKeyword(verb, "stop")) return stop(device, words);
        if (IsKeyword(verb, "pause")) return pause(device, words);
        if (IsKeyword(verb, "resume")) return resume(device, words);
        if (IsKeyword(verb, "close")) return close(found, words);
        if (IsKeyword(verb, "status")) return status(device, words, reply);
        return seek(device, words);
    }

    QString sourceOf(const QString& alias) const
    {
        const auto found = devices.constFind(alias.toLower());
        return found == devices.constEnd() ? QString() : found->source;
    }

    // The player's volume, a share of the levels above; it holds from the next sound on.
    void setVolume(int musicPercent, int effectsPercent) override
    {
        musicPercent_ = std::clamp(musicPercent, 0, 100);
        effectsPercent_ = std::clamp(effectsPercent, 0, 100);
        if (ready) applyVolume();
    }

    void applyVolume()
    {
        mix->Mix_VolumeMusic(kMusicVolume * musicPercent_ / 100);
        // The effects are mixed by the game itself, after the mixer.
        const std::lock_guard<std::mutex> hold(mixing.lock);
        mixing.effectsShare = float(effectsPercent_) / 100;
    }

    bool playSound(const QString& path, uint32_t flags) override
    {
        if (!startAudio()) return false;
        if ((flags & SND_NOSTOP) && effectSounding()) return false;
        Mix_Chunk* chunk = loadChunk(path);
        if (!chunk) {
            if (flags & SND_NODEFAULT) return false;
            chunk = defaultBeep();
            if (!chunk) return false;
        }
        {
            const std::lock_guard<std::mutex> hold(mixing.lock);
            // The effect sounding makes way: heard already, it fades out under the new one; not
            // yet heard, it is simply dropped.
            Voice& old = mixing.effect;
            if (old.chunk && old.at > 0) {
                Voice* slot = &mixing.leaving[0];
                for (Voice& v : mixing.leaving)
                    if (!v.chunk || (slot->chunk && v.ramp.gain < slot->ramp.gain)) slot = &v;
                *slot = old;
                slot->ramp.to(0, kCutFadeMs);
            }
            mixing.effect = Voice{chunk, 0, Ramp{}};
        }
        if (!(flags & SND_ASYNC)) {
            const Uint64 deadline = sdl->SDL_GetTicks64() + kEffectWaitCapMs;
            while (effectSounding() && sdl->SDL_GetTicks64() < deadline) sdl->SDL_Delay(5);
        }
        return true;
    }

    void shutdown()
    {
        if (!ready) {
            tried = false;
            return;
        }
        // A piece fading out at the program's end finishes its fade, if the sound card takes it.
        if (leaving || (current && mix->Mix_PlayingMusic() && !mix->Mix_PausedMusic())) {
            if (!leaving && !held) fadeMusic(0, kStopFadeMs);
            waitForSilence(kStopFadeMs + kSilenceWaitCapMs);
        }
        closeAll();
        if (leaving) {
            halt();
            mix->Mix_FreeMusic(leaving);
            leaving = nullptr;
        }
        {
            const std::lock_guard<std::mutex> hold(mixing.lock);
            mixing.effect = Voice{};
            mixing.leaving.fill(Voice{});
        }
        mix->Mix_SetPostMix(nullptr, nullptr);
        for (Mix_Chunk* chunk : std::as_const(chunks)) mix->Mix_FreeChunk(chunk);
        chunks.clear();
        if (beep) mix->Mix_FreeChunk(beep);
        beep = nullptr;
        mix->Mix_CloseAudio();
        mix->Mix_Quit();
        sdl->SDL_QuitSubSystem(SDL_INIT_AUDIO);
        ready = false;
        tried = false;
        held = false;
        current = nullptr;
    }

private:
    struct Device {
        Mix_Music* music = nullptr;
        bool fromStart = true;  // the next play begins at the top of the piece
        double seconds = 0;     // the piece's length, when the file tells it
        bool loops = false;     // the mixer plays it round and round (a rendering of known length)
        bool rewound = false;   // "seek ... to start" found it round its loop: "play" goes on
        QString source;         // the file played: the MIDI file or its rendering
        bool paused = false;    // held by "pause": its mode is "paused" until it goes on
        QString key;            // its alias, as the devices are keyed
        // A tune synthesised live: how loud it is, being found out; its gain into the mix.
        std::shared_ptr<LiveLoudness> level;
        float trim = 1;
        bool trimKnown = true;
        Uint64 levelDeadline = 0;
    };
    using Devices = QHash<QString, Device>;

    // Opens SDL audio on first use. A failure is remembered until shutdown, so a machine
    // without sound does not pay for a new attempt on every key press.
    bool startAudio()
    {
        if (tried) return ready;
        tried = true;
        sdl = Sdl();
        mix = Mixer();
        if (!sdl || !mix) return false;
        // The game's own window system handles Ctrl+C and the like, not SDL.
        sdl->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        sdl->SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Tavolnik");
        if (sdl->SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        if (mix->Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
            sdl->SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        // The game's mix works on 16-bit samples, the format asked for, which the mixer keeps.
        int rate = 0, channels = 0;
        Uint16 format = 0;
        if (!mix->Mix_QuerySpec(&rate, &format, &channels) || rate <= 0 || channels <= 0 ||
            format != AUDIO_S16SYS) {
            mix->Mix_CloseAudio();
            sdl->SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        mix->Mix_Init(MIX_INIT_MID);
        mixerRate = rate;
        frameBytes = 2 * channels;
        musicClockRunning = false;
        {
            const std::lock_guard<std::mutex> hold(mixing.lock);
            mixing.music = Ramp{};
            mixing.trim = Ramp{};
            mixing.effect = Voice{};
            mixing.leaving.fill(Voice{});
        }
        mix->Mix_SetPostMix(postMix, nullptr);
        ready = true;
        applyVolume();
        haveSoundFont = chooseSoundFont();
        ready = true;
        return true;
    }

    // The player's own sound font in SDL_SOUNDFONTS, else the installed one quickest to load.
    // Only regular files of his list are kept: the synthesiser would wait for ever on a FIFO.
    bool chooseSoundFont()
    {
        const QByteArray own = qgetenv("SDL_SOUNDFONTS");
        if (!own.isEmpty()) {
            // The mixer takes ':' and ';' alike between paths.
            QByteArrayList fonts;
            bool all = true;
            for (const QByteArray& path : QByteArray(own).replace(':', ';').split(';')) {
                if (path.isEmpty()) continue;
                if (QFileInfo(QFile::decodeName(path)).isFile()) fonts << path;
                else all = false;
            }
            if (!fonts.isEmpty()) {
                soundFonts = fonts;
                if (!all) mix->Mix_SetSoundFonts(fonts.join(';').constData());
                return true;
            }
            if (all) return true;
        }
        const char* font = FindSoundFont(SoundFontUse::Live);
        if (!font) return false;
        soundFonts = {QByteArray(font)};
        mix->Mix_SetSoundFonts(font);
        return true;
    }

    int32_t open(QStringList words)
    {
        if (words.isEmpty()) return MCIERR_MISSING_DEVICE_NAME;
        const QString element = words.takeFirst();
        QString alias = element;
        while (!words.isEmpty()) {
            const QString word = words.takeFirst();
            if (IsKeyword(word, "alias") || IsKeyword(word, "type")) {
                if (words.isEmpty()) return MCIERR_MISSING_STRING_ARGUMENT;
                const QString value = words.takeFirst();
                if (IsKeyword(word, "alias")) alias = value;
            } else if (!IsKeyword(word, "shareable") && !IsKeyword(word, "wait") &&
                       !IsKeyword(word, "notify")) {
                return MCIERR_UNRECOGNIZED_KEYWORD;
            }
        }
        const QString key = alias.toLower();
        if (devices.contains(key)) return MCIERR_DUPLICATE_ALIAS;
        const QFileInfo file(element);
        if (!file.isFile()) return MCIERR_FILE_NOT_FOUND;
        if (!file.isReadable()) return MCIERR_INVALID_FILE;
        if (!startAudio()) return MCIERR_HARDWARE;
        QByteArray bytes;
        {
            QFile file(element);
            if (!file.open(QIODevice::ReadOnly)) return MCIERR_INVALID_FILE;
            bytes = file.read(kMaxMidiBytes);
        }
        const MidiFile info = ReadMidiFile(bytes);
        QString source = info.midi ? RenderingOf(element, bytes) : QString();
        Mix_Music* music = nullptr;
        // A rendering that will not load leaves the MIDI file to the synthesiser.
        if (!source.isEmpty()) music = mix->Mix_LoadMUS(QFile::encodeName(source).constData());
        if (!music) {
            source = element;
            music = mix->Mix_LoadMUS(QFile::encodeName(element).constData());
        }
        if (!music) return haveSoundFont ? MCIERR_INVALID_FILE : MCIERR_SEQ_NOMIDIPRESENT;
        Device device;
        device.music = music;
        device.source = source;
        if (source != element) {
            device.seconds = info.seconds;
            device.loops = device.seconds > 0;
        } else if (mix->Mix_GetMusicType(music) == MUS_MID) {
            // FluidSynth takes any file named .mid and only finds out when it plays; a file that
            // does not begin like a MIDI file is refused here.
            if (!info.midi) {
                mix->Mix_FreeMusic(music);
                return MCIERR_INVALID_FILE;
            }
            device.seconds = info.seconds;
            device.loops = bytes.startsWith("MThd") && !info.error && info.seconds >= 1;
            if (info.seconds > 0) {
                device.level = std::make_shared<LiveLoudness>(bytes, soundFonts, info.seconds);
                device.trimKnown = false;
            }
        }
        device.key = key;
        devices.insert(key, device);
        return MCIERR_NONE;
    }

    bool owns(const Device& device) const { return ready && current == device.music; }

    int32_t play(Device& device, const QStringList& words)
    {
        // Waiting for the end of a piece would freeze the game.
        if (!words.isEmpty())
            return IsKeyword(words.first(), "wait") ? MCIERR_UNSUPPORTED_FUNCTION : MCIERR_UNRECOGNIZED_KEYWORD;
        device.paused = false;
        settle();
        const bool goOn = owns(device) && mix->Mix_PlayingMusic() &&
                          (device.rewound || (!device.fromStart && held));
        device.rewound = false;
        if (goOn) {
            goOnPlaying();
            return MCIERR_NONE;
        }
        if (mustWait(device)) {
            waiting = device.key;
            settleSoon();
            return MCIERR_NONE;
        }
        return startFromTop(device) ? MCIERR_NONE : MCIERR_HARDWARE;
    }

    // A piece to start waits while the one before it fades out at a stage's end, and while a tune
    // synthesised live is still being measured (up to kLevelWaitMs from its "play").
    bool mustWait(Device& device)
    {
        const Uint64 now = sdl->SDL_GetTicks64();
        if (leaving && !musicSilent() && now < leavingDeadline) return true;
        if (device.level && !device.trimKnown) {
            // A short tune is measured in a few milliseconds: the "play" waits for that much.
            if (waiting != device.key) {
                device.levelDeadline = now + kLevelWaitMs;
                device.level->waitFor(kLevelQuickWaitMs);
            }
            if (!device.level->done() && now < device.levelDeadline) return true;
        }
        return false;
    }

    bool startFromTop(Device& device)
    {
        waiting.clear();
        clearSlot();
        musicClockRunning = false;
        setMusicGain(0);
        learnLevel(device);
        setTrim(device.trim, 0);
        // A live tune loops in the mixer only once FluidSynth has been heard to play it through.
        if (device.level && !(device.level->done() && device.level->playedThrough())) device.loops = false;
        if (mix->Mix_PlayMusic(device.music, device.loops ? -1 : 0) != 0) return false;
        mix->Mix_ResumeMusic();
        current = device.music;
        held = false;
        device.fromStart = false;
        musicFrames = 0;
        musicClockRunning = true;
        fadeMusic(1, kStartFadeMs);
        if (!device.trimKnown) settleSoon();
        return true;
    }

    // A live tune's gain into the mix, once measured: the recordings' loudness against the tune's
    // at the gain the mixer gives FluidSynth.
    void learnLevel(Device& device)
    {
        if (device.trimKnown || !device.level || !device.level->done()) return;
        device.trimKnown = true;
        const double atUnitGain = device.level->loudnessAtUnitGain();
        if (!std::isfinite(atUnitGain) || atUnitGain <= -69) return;
        const double db = TuneLoudness - (atUnitGain + 20 * std::log10(kLiveGainAtFullVolume));
        device.trim = float(std::pow(10.0, std::clamp(db, -30.0, 12.0) / 20));
    }

    int32_t stop(Device& device, const QStringList& words)
    {
        if (!OnlyWait(words)) return MCIERR_UNRECOGNIZED_KEYWORD;
        device.paused = false;
        if (waiting == device.key) {
            waiting.clear();
            device.fromStart = true;
        }
        hold(device, kStopFadeMs);
        return MCIERR_NONE;
    }

    // Holds the piece where it is until "resume" (or "play") goes on from there. The short fade
    // is waited for, so the piece stands still at once.
    int32_t pause(Device& device, const QStringList& words)
    {
        if (!OnlyWait(words)) return MCIERR_UNRECOGNIZED_KEYWORD;
        // A piece still waiting to start waits on, paused.
        if (waiting == device.key) {
            device.paused = true;
            return MCIERR_NONE;
        }
        if (hold(device, kPauseFadeMs)) {
            device.paused = true;
            waitForSilence(kPauseFadeMs + kSilenceWaitCapMs);
            settle();
        }
        return MCIERR_NONE;
    }

    // Goes on from a pause; a piece that is not paused is left as it is.
    int32_t resume(Device& device, const QStringList& words)
    {
        if (!OnlyWait(words)) return MCIERR_UNRECOGNIZED_KEYWORD;
        if (!device.paused) return MCIERR_NONE;
        device.paused = false;
        settle();
        if (owns(device) && mix->Mix_PlayingMusic() && held) goOnPlaying();
        return MCIERR_NONE;
    }

    // Fades the music out over `ms` when this device is sounding, to be paused once silent;
    // true when it was sounding.
    bool hold(const Device& device, int ms)
    {
        settle();
        if (!owns(device) || !mix->Mix_PlayingMusic() || held) return false;
        held = true;
        fadeMusic(0, ms);
        holdDeadline = sdl->SDL_GetTicks64() + Uint64(ms + kSettleGraceMs);
        settleSoon();
        return true;
    }

    // The held piece goes on from where it stands, fading in from where its fade-out got to.
    void goOnPlaying()
    {
        if (mix->Mix_PausedMusic()) {
            setMusicGain(0);
            mix->Mix_ResumeMusic();
        }
        held = false;
        fadeMusic(1, kPauseFadeMs);
        musicClockRunning = true;
    }

    int32_t seek(Device& device, const QStringList& words)
    {
        QStringList rest = words;
        rest.removeIf([](const QString& w) { return IsKeyword(w, "wait"); });
        if (rest.isEmpty()) return MCIERR_MISSING_PARAMETER;
        if (!IsKeyword(rest.at(0), "to")) return MCIERR_UNRECOGNIZED_KEYWORD;
        if (rest.size() < 2) return MCIERR_MISSING_PARAMETER;
        if (rest.size() > 2) return MCIERR_UNRECOGNIZED_KEYWORD;
        if (IsKeyword(rest.at(1), "start") || IsKeyword(rest.at(1), "end")) {
            device.paused = false;
            if (waiting == device.key) waiting.clear();
            if (IsKeyword(rest.at(1), "start") && roundTheLoop(device)) {
                device.rewound = true;
                device.fromStart = false;
                return MCIERR_NONE;
            }
            // At once: a tune synthesised live is started again right here by the poll, and
            // waiting for a fade would leave a gap at its loop point.
            if (owns(device)) halt();
            device.rewound = false;
            device.fromStart = IsKeyword(rest.at(1), "start");
            return MCIERR_NONE;
        }
        bool number = false;
        rest.at(1).toLongLong(&number);
        return number ? MCIERR_UNSUPPORTED_FUNCTION : MCIERR_UNRECOGNIZED_KEYWORD;
    }

    int32_t status(Device& device, const QStringList& words, QString* reply)
    {
        QStringList rest = words;
        rest.removeIf([](const QString& w) { return IsKeyword(w, "wait"); });
        if (rest.isEmpty()) return MCIERR_MISSING_PARAMETER;
        if (rest.size() > 1) return MCIERR_UNRECOGNIZED_KEYWORD;
        QString answer;
        if (IsKeyword(rest.at(0), "mode")) {
            settle();
            bool playing = (owns(device) && mix->Mix_PlayingMusic() && !held) ||
                           (waiting == device.key && !device.paused);
            if (playing && lengthInFrames(device) > 0 && musicFrames.load() >= lengthInFrames(device))
                playing = false;
            answer = playing          ? QStringLiteral("playing")
                     : device.paused ? QStringLiteral("paused")
                                     : QStringLiteral("stopped");
        } else if (IsKeyword(rest.at(0), "ready")) {
            answer = QStringLiteral("true");
        } else {
            return MCIERR_UNRECOGNIZED_KEYWORD;
        }
        if (reply) *reply = answer;
        return MCIERR_NONE;
    }

    static int64_t lengthInFrames(const Device& device)
    {
        return std::llround(device.seconds * mixerRate);
    }

    // When the mixer has played this device's loop past its end, turns the music's clock back by
    // the laps it has run and returns true: the piece is at its start again without a break.
    bool roundTheLoop(const Device& device)
    {
        const int64_t length = lengthInFrames(device);
        if (!device.loops || !owns(device) || length <= 0 || !mix->Mix_PlayingMusic()) return false;
        const int64_t frames = musicFrames.load();
        if (frames < length) return false;
        musicFrames.fetch_sub(frames / length * length);
        return true;
    }

    int32_t close(Devices::iterator found, const QStringList& words)
    {
        if (!OnlyWait(words)) return MCIERR_UNRECOGNIZED_KEYWORD;
        free(found.value());
        devices.erase(found);
        return MCIERR_NONE;
    }

    // A piece still sounding leaves the slot fading out (going on with the fade a "stop" began)
    // and is freed once silent; any other is freed at once.
    void free(Device& device)
    {
        if (waiting == device.key) waiting.clear();
        device.level.reset();
        if (owns(device)) {
            current = nullptr;
            if (!leaving && sounding()) {
                if (!held) fadeMusic(0, kStopFadeMs);
                held = false;
                leaving = device.music;
                leavingDeadline = sdl->SDL_GetTicks64() + Uint64(kStopFadeMs + kSettleGraceMs);
                device.music = nullptr;
                settleSoon();
                return;
            }
            halt();
        }
        mix->Mix_FreeMusic(device.music);
        device.music = nullptr;
    }

    void halt()
    {
        mix->Mix_HaltMusic();
        musicClockRunning = false;
        held = false;
    }

    void closeAll()
    {
        for (Device& device : devices) free(device);
        devices.clear();
        waiting.clear();
    }

    // ---- fades ----

    void fadeMusic(float target, int ms)
    {
        const std::lock_guard<std::mutex> hold(mixing.lock);
        mixing.music.to(target, ms);
    }

    void setMusicGain(float gain)
    {
        const std::lock_guard<std::mutex> hold(mixing.lock);
        mixing.music = Ramp{gain, gain, 1};
    }

    void setTrim(float trim, int ms)
    {
        const std::lock_guard<std::mutex> hold(mixing.lock);
        if (ms <= 0) mixing.trim = Ramp{trim, trim, 1};
        else mixing.trim.to(trim, ms);
    }

    bool musicSilent()
    {
        const std::lock_guard<std::mutex> hold(mixing.lock);
        return mixing.music.gain <= 0;
    }

    bool effectSounding()
    {
        const std::lock_guard<std::mutex> hold(mixing.lock);
        return mixing.effect.chunk != nullptr;
    }

    // Music in the mixer's slot that can be heard.
    bool sounding() { return mix->Mix_PlayingMusic() && !mix->Mix_PausedMusic() && !musicSilent(); }

    // Waits, up to capMs, until the mixer has faded the music out.
    void waitForSilence(int capMs)
    {
        const Uint64 deadline = sdl->SDL_GetTicks64() + Uint64(capMs);
        while (!musicSilent() && sdl->SDL_GetTicks64() < deadline) sdl->SDL_Delay(1);
    }

    // Empties the mixer's music slot for a new start: a piece still sounding there (one closed
    // while it fades out, or one started again from the top) is hurried out first.
    void clearSlot()
    {
        if (sounding()) {
            fadeMusic(0, kHurryFadeMs);
            waitForSilence(kHurryFadeMs + kSilenceWaitCapMs);
        }
        if (mix->Mix_PlayingMusic()) halt();
        held = false;
        if (leaving) {
            mix->Mix_FreeMusic(leaving);
            leaving = nullptr;
        }
    }

    // Carries out what the fades left to do: a piece closed while sounding is freed, and one held
    // is paused, once silent (or once its fade is long overdue).
    void settle()
    {
        if (!ready) return;
        const bool silent = musicSilent();
        const Uint64 now = sdl->SDL_GetTicks64();
        if (leaving && (silent || now >= leavingDeadline)) {
            halt();
            mix->Mix_FreeMusic(leaving);
            leaving = nullptr;
        }
        const bool holding = held && current && mix->Mix_PlayingMusic() && !mix->Mix_PausedMusic();
        if (holding && (silent || now >= holdDeadline)) {
            mix->Mix_PauseMusic();
            musicClockRunning = false;
        }
        bool again = leaving || (held && current && mix->Mix_PlayingMusic() && !mix->Mix_PausedMusic());
        if (!waiting.isEmpty()) {
            const auto found = devices.find(waiting);
            if (found == devices.end()) waiting.clear();
            else if (!found->paused && !mustWait(*found)) startFromTop(*found);
            else again = true;
        }
        // A live tune that started before it was measured is turned to its level once it is.
        for (Device& device : devices) {
            if (device.trimKnown || !owns(device)) continue;
            learnLevel(device);
            if (device.trimKnown) setTrim(device.trim, kTrimMs);
            else again = true;
        }
        if (again) settleSoon();
    }

    // Settles again shortly, from the game's event loop.
    void settleSoon()
    {
        if (settleQueued || !QCoreApplication::instance()) return;
        settleQueued = true;
        QTimer::singleShot(20, Qt::PreciseTimer, QCoreApplication::instance(), [this] {
            settleQueued = false;
            settle();
        });
    }

    // Effects are small and played often (a key press each), so each file is read once.
    Mix_Chunk* loadChunk(const QString& path)
    {
        const QFileInfo info(path);
        if (!info.isFile()) return nullptr;
        const QString key = info.absoluteFilePath();
        if (Mix_Chunk* chunk = chunks.value(key)) return chunk;
        QFile file(key);
        if (file.size() > kMaxEffectBytes || !file.open(QIODevice::ReadOnly)) return nullptr;
        if (!isEffectWave(file.read(kMaxEffectBytes))) return nullptr;
        // The game opens and closes the file reader itself: SDL_mixer, left to close it, leaves
        // it behind when it refuses a damaged file.
        SDL_RWops* reader = sdl->SDL_RWFromFile(QFile::encodeName(key).constData(), "rb");
        if (!reader) return nullptr;
        Mix_Chunk* chunk = mix->Mix_LoadWAV_RW(reader, 0);
        sdl->SDL_RWclose(reader);
        if (chunk) chunks.insert(key, chunk);
        return chunk;
    }

    Mix_Chunk* defaultBeep()
    {
        if (!beep) {
            const QByteArray wav = BeepWav();
            beep = mix->Mix_LoadWAV_RW(sdl->SDL_RWFromConstMem(wav.constData(), int(wav.size())), 1);
        }
        return beep;
    }

    const SdlLibrary* sdl = nullptr;    // loaded on the first sound
    const MixerLibrary* mix = nullptr;
    bool tried = false;
    bool ready = false;
    int musicPercent_ = 100;
    int effectsPercent_ = 100;
    bool haveSoundFont = false;
    QByteArrayList soundFonts;  // the fonts the mixer synthesises with
    Devices devices;
    QString waiting;  // the alias of a piece whose "play" waits to start it
    Mix_Music* current = nullptr;  // the device that owns the mixer's music slot
    bool held = false;             // "stop" or "pause" holds it: fading out, paused once silent
    Uint64 holdDeadline = 0;
    Mix_Music* leaving = nullptr;  // closed while sounding: fading out in the slot
    Uint64 leavingDeadline = 0;
    bool settleQueued = false;
    QHash<QString, Mix_Chunk*> chunks;
    Mix_Chunk* beep = nullptr;
};

SdlBackend& sdl()
{
    static SdlBackend backend;
    return backend;
}

}  // namespace

MediaBackend& SdlMediaBackend() { return sdl(); }

void ShutdownMedia() { sdl().shutdown(); }

float EffectsShareInTheMix()
{
    const std::lock_guard<std::mutex> hold(mixing.lock);
    return mixing.effectsShare;
}

QString MusicSourceOf(const QString& alias) { return sdl().sourceOf(alias); }
