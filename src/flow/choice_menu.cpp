// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The race screen's items of the player's choices (サウンド > 音量, ヘルプ > 言語 and 遊び方), one handler
// for them all: the value is kept in the settings file and acts at once.
#include <QAction>

#include "audio/sound.h"
#include "flow/race_screen_wiring.h"
#include "prefs/choices.h"
#include "prefs/language.h"
#include "screens/form_main.h"

void form_Main::mchoice_Click(const OptionRow& row, int value)
{
    const PlayerChoices changed = HoldValue(row, value);
    // The mixer takes the volumes, and this screen shows a language newly chosen, before the
    // file is written.
    ApplyVolume();
    if (ChosenLanguage() != ShownLanguage()) ShowChosenLanguage();
    PlayChosenStyle(this);
    markChoices();
    if (QString failure; !WritePlayerSettings(changed, &failure)) TellChoiceNotKept(failure, this);
}
