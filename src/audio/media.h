// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The media-command layer: music is driven by text commands ("open ... alias bgm",
// "play bgm notify", "status bgm mode", ...) and effects by one call with two ways of playing.
// Everything goes through one backend; the real one plays through SDL2_mixer, tests put a
// recorder in its place (tests/support/audio/media_recorder.h) to see the commands in the order
// they were sent.
#pragma once

#include <QString>
#include <cstdint>

// Error codes returned by mciSendString; 0 is success.
enum MciError : int32_t {
    MCIERR_NONE = 0,
    MCIERR_INVALID_DEVICE_ID = 257,
    MCIERR_UNRECOGNIZED_KEYWORD = 259,
    MCIERR_UNRECOGNIZED_COMMAND = 261,
    MCIERR_HARDWARE = 262,
    MCIERR_INVALID_DEVICE_NAME = 263,
    MCIERR_CANNOT_LOAD_DRIVER = 266,
    MCIERR_MISSING_COMMAND_STRING = 267,
    MCIERR_MISSING_STRING_ARGUMENT = 269,
    MCIERR_MISSING_PARAMETER = 273,
    MCIERR_UNSUPPORTED_FUNCTION = 274,
    MCIERR_FILE_NOT_FOUND = 275,
    MCIERR_OUTOFRANGE = 282,
    MCIERR_DUPLICATE_ALIAS = 289,
    MCIERR_MISSING_DEVICE_NAME = 292,
    MCIERR_INVALID_FILE = 304,
    MCIERR_SEQ_NOMIDIPRESENT = 343,
};

// Effect flags, as the game passes them.
constexpr uint32_t SND_SYNC = 0x0000;       // play and return when finished
constexpr uint32_t SND_ASYNC = 0x0001;      // start and return at once, cutting off a playing sound
constexpr uint32_t SND_NODEFAULT = 0x0002;  // a missing file plays nothing instead of the beep
constexpr uint32_t SND_NOSTOP = 0x0010;     // if a sound is playing, play nothing

// A synchronous effect never keeps the game waiting longer than this, whatever the file holds.
constexpr int kEffectWaitCapMs = 3000;

// Sends one command; returns 0 or an error code and never shows anything. When the command has
// a reply ("status bgm mode" answers "playing" or "stopped"), it is written to *reply; on an
// error *reply is left as it was.
int32_t mciSendString(const QString& command, QString* reply = nullptr);

// Sends one command; when it fails, shows a modal message box naming the error and the command.
// Returns true on success.
bool mciExecute(const QString& command);

// Plays a WAV effect. flags 1: start now, cutting off a sound still playing. flags 16: play and
// return when it has finished (at most kEffectWaitCapMs), or play nothing if a sound is already
// playing. A missing or unreadable file plays a short built-in beep unless SND_NODEFAULT is set.
// Returns true when something was played.
bool sndPlaySound(const QString& path, uint32_t flags);

// The text the message box shows for an error code.
QString mciGetErrorString(int32_t error);

// What the layer sends commands and effects to.
class MediaBackend {
public:
    virtual ~MediaBackend() = default;
    // viaExecute tells the backend that the command came through mciExecute.
    virtual int32_t sendCommand(const QString& command, QString* reply, bool viaExecute) = 0;
    virtual bool playSound(const QString& path, uint32_t flags) = 0;
    // The player's volume of the music and of the effects, in percent of the game's levels.
    virtual void setVolume(int /*musicPercent*/, int /*effectsPercent*/) {}
};

// Sets the volume of the music and of the effects, in percent of the game's own levels (100 as
// designed); it holds for every sound from then on.
void SetMediaVolume(int musicPercent, int effectsPercent);

// Puts a backend in place of the real one (the layer does not own it); nullptr restores the
// real one.
void SetMediaBackend(MediaBackend* backend);

// The real backend over SDL2_mixer. Audio starts on its first use; with no audio device, no
// sound font or no file every command fails quietly with an error code.
MediaBackend& SdlMediaBackend();

// Closes every open music device, stops the effects and shuts SDL audio down, once music that
// is still fading out has faded (at most some 400 ms, while the sound card plays). The next
// command starts it again. The program calls it at exit.
void ShutdownMedia();

// The share (0 to 1) of its own level at which the real backend mixes the effects now: the
// player's effects volume, as the game's own mix applies it.
float EffectsShareInTheMix();

// The file the real backend plays for an open music device: a MIDI tune's rendering when it has
// an up-to-date one, else the file that was opened; empty when no such device is open.
QString MusicSourceOf(const QString& alias);
