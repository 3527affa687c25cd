// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The player's own choices (language, motion, keys, volume), kept in the same settings file as
// the rankings but in groups of their own: [Options] for the choices of the game, [Controls]
// for the key of each action. The rankings' group [Setting] is never read or written here, and
// a save of the rankings keeps every choice, since a save writes back every key the file held.
//
// A choice the file does not hold, or holds in a form the game does not know, is the design's
// value: the game reads its default. Every choice is read once at start (LoadPlayerSettings)
// and is written at once when the player makes it, under the store's lock, so two copies of
// the game never undo each other's choices or results.
#pragma once

#include <QString>

// The settings file's groups of the player's choices.
inline const QString OptionsGroup = QStringLiteral("Options");
inline const QString ControlsGroup = QStringLiteral("Controls");

// Reads the player's choices from the settings file; until then (and for a key the file does
// not hold) every choice answers its default.
void LoadPlayerSettings();

// The text stored under group/key, or defaultValue when the file holds none.
QString PlayerSetting(const QString& group, const QString& key, const QString& defaultValue);

// Keeps a choice in memory and writes it to the settings file at once. Returns false, with the
// reason in the player's words in *failure, when the file could not be written; the choice then
// still holds for this run.
bool SetPlayerSetting(const QString& group, const QString& key, const QString& value,
                      QString* failure = nullptr);

// Forgets every choice read or made, so that each answers its default. Tests use it.
void ResetPlayerSettings();
