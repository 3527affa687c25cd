// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The ranking tables: the five best clear times of each story stage (shortest first) and the
// five longest drives (longest first), each entry a name and a value, kept in the per-user
// settings store under application "Tavolnik", section "Setting", keys "HScore_Nm_<kind>_<slot>_<rank>"
// and "HScore_Val_<kind>_<slot>_<rank>".
#pragma once

#include <QString>
#include <cstdint>

#include "runtime/game_constants.h"

// Indexed [kind][stage slot][rank]: a RankKind, a RankSlot, and rank 0 the best to 4 the
// fifth. Index 0 of kind and slot is unused.
extern QString HScoreName[3][3][5];
extern int32_t HScoreVal[3][3][5];

// Which table the ranking window shows, or the one a result has just entered: the kind
// (1 story, 2 drive) and the stage slot (1 or 2).
extern int16_t RankMode;
extern int16_t RankStage;

// The entry shown for every key the store does not hold: "ぜんた" with 60 seconds in a story
// table, 3000 M in a drive table.
QString DefaultScoreName();
int32_t DefaultScoreVal(int kind);

// The store's key of an entry's name and of its value, e.g. "HScore_Nm_1_1_0".
QString ScoreNameKey(int kind, int slot, int rank);
QString ScoreValKey(int kind, int slot, int rank);

// The rank at which a result enters a table of the given kind (1 story, 2 drive): the first
// entry it beats, a shorter time or a longer drive. An equal result goes below the entries it
// equals; -1 when it beats none, the fifth included.
int RankOfResult(int kind, const int32_t (&values)[5], int32_t result);

// Enters a result at a rank of a table: the entries below move down one place and the fifth
// drops out.
void EnterAtRank(QString (&names)[5], int32_t (&values)[5], int rank, const QString& name, int32_t result);

// Keeps a result of this session, with the name typed for it, for the next save of the tables.
void KeepUnsavedResult(int kind, int slot, int32_t result, const QString& name);

// Replaces all twenty entries by what the store holds. A value that is not a whole decimal
// number in the 32-bit range reads as its key's default; a damaged or unreadable file gives
// what can be read and the defaults for the rest.
void LoadScore();

// Saves the results kept since the last save. Under the store's lock, so that no other copy of
// the game saves in between, it reads the tables from the file again, enters every kept result
// there by the rule above, writes all twenty entries (40 keys) and makes the tables in memory
// what was written. Another copy's entries saved meanwhile are kept that way.
//
// A failed save leaves the file as it was and the tables in memory as they are, says so on
// standard error and returns false with the reason in the player's words in *failure; the kept
// results go into the next save.
bool SaveScore(QString* failure = nullptr);

// Puts the tables and the two selectors back to their program-start values (empty names,
// zero values, RankMode and RankStage 0) and forgets unsaved results. Tests use it.
void ResetHighScores();
