// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Entering the result of a finished race into its ranking table, and asking for the name.
#include <QLineEdit>

#include "audio/sound.h"
#include "race/race_state.h"
#include "race/stages.h"
#include "scores/high_scores.h"
#include "screens/form_main.h"
#include "screens/form_rank.h"

void form_Main::CheckRank()
{
    // The table and the result: a story stage records the seconds it took, a drive the
    // distance run.
    const RaceMode& race = RaceModeOf(GameMode);
    const int16_t kind = race.rankKind;
    const int16_t slot = race.rankSlot;
    const int32_t result = race.story ? race.timeLimit - TimeCount : Distance;

    // An equal result goes below the entries it equals, and one that beats none enters nothing.
    const int k = RankOfResult(kind, HScoreVal[kind][slot], result);
    if (k < 0) return;

    // The entries below move down one place; the new row keeps the old name until the window
    // takes the typed one.
    EnterAtRank(HScoreName[kind][slot], HScoreVal[kind][slot], k, HScoreName[kind][slot][k], result);
    form_Rank* rank = form_Rank::create(this);
    rank->txt_Nm[k]->show();
    // A key still held from the race, or pressed to skip the last message, types nothing.
    rank->IgnoreKeysDownAtOpen(KeysDown());
    RankMode = kind;
    RankStage = slot;
    rank->Set_Form();
    PlayEffect(QStringLiteral("Claps"));
    NestedLoop nested(this);
    rank->exec();
}
