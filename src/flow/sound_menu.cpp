// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The race screen's music poll and its sound menu. The check marks of the menu are the only
// record of whether music and effects are on; they last as long as the race screen. The volume
// is the player's for good, a choice of its own (flow/choice_menu.cpp).
#include <QAction>

#include "audio/sound.h"
#include "screens/form_main.h"

void form_Main::timer_BGM_Timer()
{
    if (!BgmFile.isEmpty()) BgmControl(BgmPoll);
    // With no music open the poll has nothing to look at until a tune starts, and a tune starts
    // only with the timer enabled again: it rests meanwhile, instead of waking the game ten
    // times a second through the title's START, the messages and after the music has stopped.
    if (BgmOpen != VbTrue) timer_BGM->rest();
}

void form_Main::mon1_Click()
{
    mon1->setChecked(!mon1->isChecked());
    moff1->setChecked(!moff1->isChecked());
}

void form_Main::moff1_Click() { mon1_Click(); }

void form_Main::mon2_Click()
{
    mon2->setChecked(!mon2->isChecked());
    moff2->setChecked(!moff2->isChecked());
}

void form_Main::moff2_Click() { mon2_Click(); }
