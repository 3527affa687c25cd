// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The player's own choices (language, motion, keys, volume), kept in the same settings file as
// the rankings but in groups of their own: [Options] for the choices of the game, [Controls]
// for the key of each action. The rankings' group [Setting] is never read or written here, and
// a save of the rankings keeps every choice, since a save writes back every key the file held.
//
// A choice the file does not hold, or holds in a form the game does not know, is the design's
// value: the game reads its default. Every choice is read once at start (LoadPlayerSettings)
// and is written when the player makes it, under the store's lock, so two copies of the game
// never undo each other's choices or results.
#pragma once

#include <QList>
#include <QString>

// The settings file's groups of the player's choices.
inline const QString OptionsGroup = QStringLiteral("Options");
inline const QString ControlsGroup = QStringLiteral("Controls");

// Reads the player's choices from the settings file; until then (and for a key the file does
// not hold) every choice answers its default.
void LoadPlayerSettings();

// The text stored under group/key, or defaultValue when the file holds none.
QString PlayerSetting(const QString& group, const QString& key, const QString& defaultValue);

// One choice: the group, the key and the value.
struct PlayerChoice {
    QString group, key, value;
};
using PlayerChoices = QList<PlayerChoice>;

// Keeps choices in memory and writes those that differ from the ones held to the settings file
// in one save under the store's lock: all the choices of one action (the key dialog's OK, the
// command line's options) go together, and nothing is written when nothing changed. Returns
// false, with the reason in the player's words in *failure, when the file could not be written;
// the choices then still hold for this run.
bool SetPlayerSettings(const PlayerChoices& choices, QString* failure = nullptr);
bool SetPlayerSetting(const QString& group, const QString& key, const QString& value,
                      QString* failure = nullptr);

// The two halves of SetPlayerSettings, for choices that must hold before the file may be
// written (the command line's, before the first window): HoldPlayerSettings keeps them in memory
// and returns those that differ from the ones held; WritePlayerSettings writes them in one save
// under the store's lock, none for an empty list.
PlayerChoices HoldPlayerSettings(const PlayerChoices& choices);
bool WritePlayerSettings(const PlayerChoices& changed, QString* failure = nullptr);

// Forgets every choice read or made, so that each answers its default. Tests use it.
void ResetPlayerSettings();
