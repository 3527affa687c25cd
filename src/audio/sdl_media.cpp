// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The real media backend: music devices and effects over SDL2_mixer, whose MIDI decoder is
// FluidSynth with a General MIDI sound font. A tune that comes with its own rendering (see
// RenderingOf) plays from the rendering, which spares the mixer's thread the synthesis.
//
// A music device is a loaded Mix_Music under an alias. The mixer has one music slot, so the
// device played last owns it; "stop" and "pause" hold it where it is ("resume" or "play" go on
// from there), "seek ... to start" halts it so the next "play" begins from the top, and a piece
// that has run out reports "stopped". Effects all
// use one mixer channel, so a new effect cuts off the one before, as the effect call promises.
//
// The game loops its music by polling: once "status" says a piece has ended it sends "seek ... to
// start" and "play", up to a poll later. Waiting for that would leave a gap of silence at every
// loop, so a tune played from its rendering is played by the mixer as an endless loop, and its
// end is told by the music's own clock (the frames the mixer produced while it played) against
// the length the MIDI file gives. Then "stopped" means the mixer has already gone round to the
// top; the "seek ... to start" that follows only turns the clock back by the laps it has run, and
// the "play" goes on. The tune never stops sounding at its loop. A MIDI file synthesised live is
// told to end by the same clock but is started again by the poll, its last notes ringing across
// the restart: FluidSynth asked to loop a file it reads as empty spins forever in the mixer's
// thread, holding the lock every sound call waits for, and would freeze the game.
#include "audio/media.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>
#include <QtEndian>

#include "audio/beep.h"
#include "audio/media_command.h"
#include "audio/rendered_tune.h"
#include "midi/midi_file.h"
#include "midi/sound_fonts.h"
#include "runtime/sdl_library.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <utility>

namespace {

constexpr int kEffectChannel = 0;
// The mixer adds the music and an effect at half their levels, so that their sum never reaches
// full scale; the post-mix raises it back by kMakeUp through a soft limiter. As heard, the music
// plays 6 dB under its recording (about -23 dBFS RMS) and an effect at its own level, 6 to 10 dB
// above the music.
constexpr int kMakeUp = 2;
constexpr int kMusicVolume = MIX_MAX_VOLUME / 2 / kMakeUp;
constexpr int kEffectVolume = MIX_MAX_VOLUME / kMakeUp;
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
bool mixerIsS16 = true;

// Raises a mixed sample by kMakeUp. Below -2 dBFS it passes unchanged; above, it bends smoothly
// towards full scale and never reaches it, so a crash over loud music does not clip.
int16_t limit(int16_t sample)
{
    constexpr float knee = 0.8f * 32767;
    constexpr float room = 32766 - knee;
    const float v = float(sample) * kMakeUp;
    const float size = std::fabs(v);
    if (size <= knee) return int16_t(v);
    const float bent = knee + room * std::tanh((size - knee) / room);
    return int16_t(std::lround(std::copysign(bent, v)));
}

void SDLCALL postMix(void*, Uint8* stream, int len)
{
    if (mixerIsS16) {
        auto* samples = reinterpret_cast<int16_t*>(stream);
        for (int i = 0; i < len / 2; ++i) samples[i] = limit(samples[i]);
    }
    if (musicClockRunning.load(std::memory_order_relaxed))
        musicFrames.fetch_add(len / frameBytes, std::memory_order_relaxed);
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
        mix->Mix_VolumeMusic((mixerIsS16 ? kMusicVolume : kMusicVolume * kMakeUp) * musicPercent_ / 100);
        mix->Mix_Volume(-1, (mixerIsS16 ? kEffectVolume : MIX_MAX_VOLUME) * effectsPercent_ / 100);
    }

    bool playSound(const QString& path, uint32_t flags) override
    {
        if (!startAudio()) return false;
        if ((flags & SND_NOSTOP) && mix->Mix_Playing(kEffectChannel)) return false;
        Mix_Chunk* chunk = loadChunk(path);
        if (!chunk) {
            if (flags & SND_NODEFAULT) return false;
            chunk = defaultBeep();
            if (!chunk) return false;
        }
        // Playing on a fixed channel replaces whatever that channel was playing.
        if (mix->Mix_PlayChannel(kEffectChannel, chunk, 0) < 0) return false;
        if (!(flags & SND_ASYNC)) {
            const Uint64 deadline = sdl->SDL_GetTicks64() + kEffectWaitCapMs;
            while (mix->Mix_Playing(kEffectChannel) && sdl->SDL_GetTicks64() < deadline) sdl->SDL_Delay(5);
        }
        return true;
    }

    void shutdown()
    {
        if (!ready) {
            tried = false;
            return;
        }
        mix->Mix_HaltChannel(-1);
        closeAll();
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
        mix->Mix_Init(MIX_INIT_MID);
        int rate = 0, channels = 0;
        Uint16 format = 0;
        if (mix->Mix_QuerySpec(&rate, &format, &channels) && rate > 0) {
            mixerRate = rate;
            frameBytes = std::max(1, int(SDL_AUDIO_BITSIZE(format)) / 8 * channels);
            mixerIsS16 = format == AUDIO_S16SYS;
        }
        musicClockRunning = false;
        mix->Mix_SetPostMix(postMix, nullptr);
        ready = true;
        applyVolume();
        haveSoundFont = chooseSoundFont();
        ready = true;
        return true;
    }

    // The player's own sound font in SDL_SOUNDFONTS, else the installed one quickest to load.
    bool chooseSoundFont()
    {
        const QByteArray own = qgetenv("SDL_SOUNDFONTS");
        if (!own.isEmpty()) return true;
        const char* font = FindSoundFont(SoundFontUse::Live);
        if (!font) return false;
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
        }
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
        const bool goOn = owns(device) && mix->Mix_PlayingMusic() &&
                          (device.rewound || (!device.fromStart && mix->Mix_PausedMusic()));
        device.rewound = false;
        if (goOn) {
            mix->Mix_ResumeMusic();
            musicClockRunning = true;
            return MCIERR_NONE;
        }
        musicClockRunning = false;
        if (mix->Mix_PlayMusic(device.music, device.loops ? -1 : 0) != 0) return MCIERR_HARDWARE;
        mix->Mix_ResumeMusic();
        current = device.music;
        device.fromStart = false;
        musicFrames = 0;
        musicClockRunning = true;
        return MCIERR_NONE;
    }

    int32_t stop(Device& device, const QStringList& words)
    {
        if (!OnlyWait(words)) return MCIERR_UNRECOGNIZED_KEYWORD;
        device.paused = false;
        hold(device);
        return MCIERR_NONE;
    }

    // Holds the piece where it is until "resume" (or "play") goes on from there.
    int32_t pause(Device& device, const QStringList& words)
    {
        if (!OnlyWait(words)) return MCIERR_UNRECOGNIZED_KEYWORD;
        if (hold(device)) device.paused = true;
        return MCIERR_NONE;
    }

    // Goes on from a pause; a piece that is not paused is left as it is.
    int32_t resume(Device& device, const QStringList& words)
    {
        if (!OnlyWait(words)) return MCIERR_UNRECOGNIZED_KEYWORD;
        if (!device.paused) return MCIERR_NONE;
        device.paused = false;
        if (owns(device) && mix->Mix_PlayingMusic() && mix->Mix_PausedMusic()) {
            mix->Mix_ResumeMusic();
            musicClockRunning = true;
        }
        return MCIERR_NONE;
    }

    // Pauses the mixer's music when this device is sounding; true when it was.
    bool hold(const Device& device)
    {
        if (!owns(device) || !mix->Mix_PlayingMusic() || mix->Mix_PausedMusic()) return false;
        mix->Mix_PauseMusic();
        musicClockRunning = false;
        return true;
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
            if (IsKeyword(rest.at(1), "start") && roundTheLoop(device)) {
                device.rewound = true;
                device.fromStart = false;
                return MCIERR_NONE;
            }
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
            bool playing = owns(device) && mix->Mix_PlayingMusic() && !mix->Mix_PausedMusic();
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

    void free(Device& device)
    {
        if (owns(device)) {
            halt();
            current = nullptr;
        }
        mix->Mix_FreeMusic(device.music);
        device.music = nullptr;
    }

    void halt()
    {
        mix->Mix_HaltMusic();
        musicClockRunning = false;
    }

    void closeAll()
    {
        for (Device& device : devices) free(device);
        devices.clear();
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
    Devices devices;
    Mix_Music* current = nullptr;  // the device that owns the mixer's music slot
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

QString MusicSourceOf(const QString& alias) { return sdl().sourceOf(alias); }
