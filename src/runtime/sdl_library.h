// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// SDL and SDL_mixer are opened when the game first needs them (the first sound, the gamepad once
// the title is on the screen), not when the program starts: together they bring some forty
// libraries of their own (sound servers, decoders, FluidSynth), and loading them all before the
// first window would hold the title screen back. The functions the game calls are looked up once
// and kept here, each under its own SDL name.
//
// Without SDL, or without SDL_mixer, on the machine the game still runs: silently, or without a
// gamepad.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#define TAVOLNIK_SDL_FUNCTIONS(X)                                                                  \
    X(SDL_SetHint)                                                                                 \
    X(SDL_InitSubSystem)                                                                           \
    X(SDL_QuitSubSystem)                                                                           \
    X(SDL_GetTicks64)                                                                              \
    X(SDL_Delay)                                                                                   \
    X(SDL_RWFromConstMem)                                                                          \
    X(SDL_RWFromFile)                                                                              \
    X(SDL_RWclose)                                                                                 \
    X(SDL_PollEvent)                                                                               \
    X(SDL_GameControllerOpen)                                                                      \
    X(SDL_GameControllerClose)                                                                     \
    X(SDL_GameControllerGetJoystick)                                                               \
    X(SDL_JoystickInstanceID)

#define TAVOLNIK_MIXER_FUNCTIONS(X)                                                                \
    X(Mix_OpenAudio)                                                                               \
    X(Mix_CloseAudio)                                                                              \
    X(Mix_Init)                                                                                    \
    X(Mix_Quit)                                                                                    \
    X(Mix_QuerySpec)                                                                               \
    X(Mix_SetPostMix)                                                                              \
    X(Mix_SetSoundFonts)                                                                           \
    X(Mix_VolumeMusic)                                                                             \
    X(Mix_LoadMUS)                                                                                 \
    X(Mix_FreeMusic)                                                                               \
    X(Mix_GetMusicType)                                                                            \
    X(Mix_PlayMusic)                                                                               \
    X(Mix_PauseMusic)                                                                              \
    X(Mix_ResumeMusic)                                                                             \
    X(Mix_HaltMusic)                                                                               \
    X(Mix_PlayingMusic)                                                                            \
    X(Mix_PausedMusic)                                                                             \
    X(Mix_LoadWAV_RW)                                                                              \
    X(Mix_FreeChunk)

#define TAVOLNIK_DECLARE_FUNCTION(name) decltype(&::name) name = nullptr;

// SDL's own functions (events, timing, the game controllers, the audio subsystem).
struct SdlLibrary {
    TAVOLNIK_SDL_FUNCTIONS(TAVOLNIK_DECLARE_FUNCTION)
};

// SDL_mixer's, with SDL's beside them for the mixer's own use.
struct MixerLibrary {
    TAVOLNIK_MIXER_FUNCTIONS(TAVOLNIK_DECLARE_FUNCTION)
};

#undef TAVOLNIK_DECLARE_FUNCTION

// Loads SDL on the first call; nullptr when it is not installed or lacks a function the game
// uses. The answer is kept: a machine without SDL is not asked again.
const SdlLibrary* Sdl();
// Loads SDL_mixer (and SDL with it) on the first call; nullptr as above.
const MixerLibrary* Mixer();
