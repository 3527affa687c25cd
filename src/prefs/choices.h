// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The player's choices, one table: every entry of the settings file's [Options] group (the
// language, the motion, the volumes) with its values, its default, its command-line option and
// the menu that offers it, and every entry of [Controls], one an action of the race. The command
// line's options and their help, the race screen's menu items and the reading of the file are
// all made from these rows: a new choice is a new row (and its English texts).
#pragma once

#include <QList>
#include <QString>

#include <iterator>
#include <cstdint>

#include "prefs/key_bindings.h"
#include "storage/player_settings.h"

class QWidget;

// Where the race screen offers a choice: a submenu of its own, in サウンド > 音量 or in ヘルプ
// (after 操作方法), in the order of the rows; or nowhere but on the command line.
enum class ChoiceMenu { None, Volume, Help };

struct ChoiceValue {
    QString stored;     // as the file and the command line write it: "en", "classic", "50"
    const char* shown;  // the menu item, translated in the "Choices" context; %1 is the stored text
    QString formerly = QString();  // the value under the row's former key and option: "smooth"
    QString alsoRead = QString();  // what an earlier version stored under the same key for it: "75"
};

struct OptionRow {
    QString key;                // the key in [Options]
    QList<ChoiceValue> values;  // in the menu's order
    int byDefault = 0;          // the design's value, an index of values
    QString flag;               // the command-line option without its "--"; empty for none
    QString valueName;          // the option's value in the usage: "L"
    const char* help = nullptr;   // the usage's lines for the option
    const char* needs = nullptr;  // how a wrong value is told ("smooth or classic"); null: "one of a, b"
    ChoiceMenu menu = ChoiceMenu::None;
    const char* title = nullptr;  // the submenu's title, translated in the "Choices" context
    // The key and the command-line option an earlier version of the game had for this choice,
    // with its values' former names: read when the file holds nothing under the key, and taken
    // on the command line as the option itself.
    QString formerKey = QString();
    QString formerFlag = QString();
};

// Every [Options] entry, in the order the usage and the menus list them.
const QList<OptionRow>& OptionRows();
// The row of an [Options] key, or of its former key; null for a key the game does not have.
const OptionRow* OptionRowOf(const QString& key);

// The value a text in the file stands for: the stored text it matches, blanks around it and
// case aside, a number by its value ("050" is 50); -1 for a text the row does not know. With
// `former`, the text is matched against the values' former names.
int ValueOf(const OptionRow& row, const QString& text, bool former = false);
// The player's value of the row: the file's, else the one under the row's former key, or the
// default when the file holds none the row knows.
int ChosenValue(const OptionRow& row);
// The stored text of the player's value of an [Options] key.
QString ChosenText(const QString& key);
// Keeps a value of the row (the default for an index the row does not have), in memory and in
// the file. False, with the reason in *failure, when
// the file could not be written: the value still holds for this run.
bool ChooseValue(const OptionRow& row, int value, QString* failure = nullptr);
// The first half of ChooseValue: keeps the value in memory and returns what is to be written
// (WritePlayerSettings), nothing when the row held that value already. A choice that acts on
// the windows (the language) acts before the file is written, so that a wait or a failure is
// told in the language chosen.
PlayerChoices HoldValue(const OptionRow& row, int value);

// The menu item of a value and the submenu's title, in the language shown.
QString ShownValue(const OptionRow& row, int value);
QString ChoiceTitle(const OptionRow& row);

// Tells the player, in a box over `over`, that a choice could not be written to the settings
// file and holds until the game ends; the same box for every choice.
void TellChoiceNotKept(const QString& failure, QWidget* over);

// --- the [Options] entries the game reads, by their meaning ---

// The way to play. Modern (the default): the race screen is drawn at the display's rate and
// every picture the race tick moves slides towards where the next tick puts it; a held arrow
// steers at a steady rate, a tap being one step; a car let in waits a race tick, marked at the
// road's edge, before it moves; and a crash is shown at its point of contact.
// Classic: the race as designed, to the pixel and the tick: drawn at the race tick, twice a
// second, a held arrow repeating at the keyboard's own rate. The rankings are the same table.
enum class Style { Modern, Classic };
// A held arrow's steps a second in the modern way, each one key press of 5 px.
constexpr double SteadyStepsPerSecond = 30;
Style ChosenStyle();
bool ChooseStyle(Style style, QString* failure = nullptr);

// The volume of the music and of the effects, as the player chose it under サウンド > 音量: a
// step of VolumeSteps, in percent of the game's own levels. The steps lie 6 dB apart, each heard
// as much quieter as the last: off, -18, -12, -6 dB and the game's own level. The old step of
// 75 % (-2.5 dB) is read as the nearest, 100 %.
inline constexpr int VolumeSteps[] = {0, 13, 25, 50, 100};
constexpr int VolumeStepCount = int(std::size(VolumeSteps));
int MusicVolume();
int EffectsVolume();

// The [Options] keys the game reads by name.
inline const QString LanguageKey = QStringLiteral("Language");
inline const QString StyleKey = QStringLiteral("Style");
inline const QString MusicVolumeKey = QStringLiteral("MusicVolume");
inline const QString EffectsVolumeKey = QStringLiteral("EffectsVolume");

// --- the [Controls] entries ---

struct ControlRow {
    GameAction action;
    QString key;               // the key in [Controls]: "Accelerate", "Left", ...
    int designKey;             // the design's key (a Qt::Key value)
    int16_t code;              // the key handler's code for the action, whichever key it has
    const char* caption;       // the action in the key dialog, translated in the "Choices" context
    const char* pad;           // what the gamepad does for it, likewise
};
// Every action's row, in the order of AllGameActions.
const ControlRow& ControlRowOf(GameAction action);
// The action, and what the gamepad does for it, in the language shown.
QString ActionCaption(GameAction action);
QString PadCaption(GameAction action);
