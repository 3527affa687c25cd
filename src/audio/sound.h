// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's music and effects. These procedures are the only way any part of the game makes
// a sound.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "prefs/choices.h"
#include "runtime/vbool.h"

extern VBool BgmOpen;        // the music device is open and playing
extern QString BgmFile;      // the music file to play next

// What BgmControl is told to do: start the music in BgmFile (sets BgmOpen when it plays), stop
// and close it, or poll it and start it again from the top once the piece has ended.
enum BgmCommand : int16_t { BgmStart = 0, BgmStop = 1, BgmPoll = 2 };
void BgmControl(int16_t mode);

// Holds the music where it is (paused true) or lets it go on from there (false), while a piece
// is open; a pause of the race holds the music with it.
void BgmPause(bool paused);

// Plays sound/<name>.wav and returns when it has finished; plays nothing if an effect is still
// sounding. Does nothing while effects are switched off.
void PlayEffectWait(const QString& name);

// Starts sound/<name>.wav at once, cutting off an effect still sounding. Does nothing while
// effects are switched off.
void PlayEffect(const QString& name);

// The race screen hands in how to read its effects switch (the check mark of 効果音 > オン) when
// it is created, and an empty function when it goes; with none, effects count as on.
void SetEffectsSwitch(std::function<bool()> effectsOn);
bool EffectsOn();

// The file an effect is played from: <program folder>/sound/<name>.wav.
QString EffectPath(const QString& name);

// The volume of the music and of the effects is the player's choice (MusicVolume(),
// EffectsVolume(), VolumeSteps: prefs/choices.h). These keep a step of it and hand it to the
// mixer at once. False, with the reason in *failure, when the settings file could not be
// written (the choice holds for this run).
bool SetMusicVolume(int percent, QString* failure = nullptr);
bool SetEffectsVolume(int percent, QString* failure = nullptr);
// Hands the chosen volumes to the mixer; the program calls it once the choices are read.
void ApplyVolume();

// Closes the music, stops the effects and shuts the sound down; the program calls it at exit.
void ShutdownSound();
