// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The ranking tables: the five best clear times of each story stage (shortest first) and the
// five longest drives (longest first), each entry a name and a value, kept in the per-user
// settings store under application "Tavolnik", section "Setting", keys "HScore_Nm_<kind>_<slot>_<rank>"
// and "HScore_Val_<kind>_<slot>_<rank>". The stage table says which tables there are (RankKinds,
// RankSlots); the file holds every one of them.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "race/stages.h"
#include "storage/settings_store.h"

// The entries of one table, rank 0 the best to RanksKept - 1 the last.
template <typename T>
using RankEntries = std::array<T, RanksKept>;
// Every table, indexed [kind][stage slot][rank]: a RankKind from 1 to RankKinds(), a RankSlot
// from 1 to RankSlots(), and a rank. Index 0 of kind and slot is unused, as the file counts
// them from 1.
template <typename T>
using RankTables = std::vector<std::vector<RankEntries<T>>>;

// Every table the stage table calls for, each entry empty (names) or zero (values).
template <typename T>
RankTables<T> EmptyRankTables()
{
    return RankTables<T>(RankKinds() + 1, std::vector<RankEntries<T>>(RankSlots() + 1));
}

extern RankTables<QString> HScoreName;
extern RankTables<int32_t> HScoreVal;

// Which table the ranking window shows, or the one a result has just entered: the kind
// (1 story, 2 drive) and the stage slot (the story stage's, 1 for the drive).
extern int16_t RankMode;
extern int16_t RankStage;

// What the rankings call a stage slot: "STAGE1".
QString RankSlotName(int slot);

// The entry shown for every key the store does not hold: "ぜんた" with 60 seconds in a story
// table, 3000 M in a drive table.
QString DefaultScoreName();
int32_t DefaultScoreVal(int kind);

// The store's key of an entry's name and of its value, e.g. "HScore_Nm_1_1_0".
QString ScoreNameKey(int kind, int slot, int rank);
QString ScoreValKey(int kind, int slot, int rank);

// The rank at which a result enters a table of the given kind (1 story, 2 drive): the first
// entry it beats, a shorter time or a longer drive. An equal result goes below the entries it
// equals; -1 when it beats none, the last included.
int RankOfResult(int kind, const RankEntries<int32_t>& values, int32_t result);

// Enters a result at a rank of a table: the entries below move down one place and the last
// drops out.
void EnterAtRank(RankEntries<QString>& names, RankEntries<int32_t>& values, int rank, const QString& name,
                 int32_t result);

// The longest name a ranking keeps, in UTF-16 units. The row shows about ten characters and no
// one's name comes near a hundred, while forty names of a hundred, each character written as
// its longest escape, still make a file of some 25 KB: far inside what the game reads back
// (SettingsStore::MaxFileSize), whatever is pasted into the name box.
constexpr int MaxNameLength = 100;

// A typed name as the rankings keep it: as it will come back from the file, and cut to
// MaxNameLength at the end of a whole character (an accent stays with its letter, an emoji is
// never split).
QString RankingName(const QString& typed);

// Keeps a result of this session, with the name typed for it, for the next save of the tables.
void KeepUnsavedResult(int kind, int slot, int32_t result, const QString& name);

// Whether a result of this session, or one recovered from an earlier one, waits for a save.
bool HasUnsavedResults();

// Replaces every entry of every table (twenty today) by what the store holds. A value that is
// not a whole decimal number in the 32-bit range reads as its key's default; a damaged or
// unreadable file gives
// what can be read and the defaults for the rest. Results an earlier session could not save
// (see KeepResultsAtQuit) are shown in their tables already.
void LoadScore();

// Saves the results kept since the last save. Under the store's lock, so that no other copy of
// the game saves in between, it reads the tables from the file again, enters every kept result
// there by the rule above, writes every entry of every table (40 keys today) and makes the
// tables in memory what was written. Another copy's entries saved meanwhile are kept that way.
//
// The results an earlier session kept in recovery files enter with them: every recovery file
// found is read first, and only one read whole goes, once the save is done. One that cannot be
// read whole (a newer version's, a damaged one) stays where it is, what could be read of it
// entered, and the player is told once a run. A file enters once: the save that enters it notes
// its content in the settings file ([Recovered]), so a file that cannot be removed, or is found
// twice through a link, never enters again.
//
// A failed save leaves the file as it was and the tables in memory as they are, says so on
// standard error and returns false with the reason in the player's words in *failure; the kept
// results go into the next save. The store's lock is waited for up to waitMs (see SettingsLock).
bool SaveScore(QString* failure = nullptr, int waitMs = SettingsLock::WaitLimitMs);

// Where results that could not be saved are kept for the next start: first the settings
// file's folder, else the user's state folder ($XDG_STATE_HOME/Tavolnik, ~/.local/state/Tavolnik).
QStringList RecoveryFolders();
// The recovery files in those folders now: "Tavolnik-<time>-<process>-<count>.unsaved", and
// "Tavolnik.unsaved" as earlier versions named them.
QStringList RecoveryFiles();

// The game is ending: a result still unsaved gets one more try (without waiting for the lock
// when a signal ends the game), then goes into a new recovery file that the next start enters at
// its first save. The file is written under a name no file has had, as a regular file made in
// its folder and never through a link, so it never takes the place of a file another copy's
// save has read and will remove. The player is told where, over a message box when he closed
// the game, on standard error when a signal or a lost display ends it; when no file can be
// written either, the results themselves are told.
void KeepResultsAtQuit(bool bySignal);

// Puts the tables and the two selectors back to their program-start values (empty names,
// zero values, RankMode and RankStage 0) and forgets unsaved results. Tests use it.
void ResetHighScores();
