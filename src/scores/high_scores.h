// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The ranking tables: the five best clear times of each story stage (shortest first) and the
// five longest drives (longest first), each entry a name and a value, kept in the per-user
// settings store under application "Tavolnik", section "Setting", keys "HScore_Nm_<kind>_<slot>_<rank>"
// and "HScore_Val_<kind>_<slot>_<rank>".
#pragma once

#include <QString>
#include <cstdint>

// Indexed [kind][stage slot][rank]: kind 1 story, 2 drive; slot 1 or 2 (drive uses slot 1 only);
// rank 0 the best to 4 the fifth. Index 0 of kind and slot is unused.
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

// Replaces all twenty entries by what the store holds. A value that is not a whole decimal
// number in the 32-bit range reads as its key's default; a damaged or unreadable file gives
// what can be read and the defaults for the rest.
void LoadScore();

// Writes all twenty entries (40 keys) to the store. A failed write leaves the previous file as
// it was and says so on standard error.
void SaveScore();

// Puts the tables and the two selectors back to their program-start values (empty names,
// zero values, RankMode and RankStage 0). Tests use it.
void ResetHighScores();
