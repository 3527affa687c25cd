// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The ヘルプ menu's controls window and language. A language chosen there (flow/choice_menu.cpp)
// is kept in the settings file and shown at once in this screen's menus and MODE box; the
// message on the screen stays as it is, and every message and window after it comes in the new
// language.
#include "prefs/language.h"
#include "race/race_state.h"
#include "race/stages.h"
#include "screens/form_controls.h"
#include "screens/form_main.h"

void form_Main::mcontrols_Click() { form_Controls::Open(this); }

void form_Main::ShowChosenLanguage()
{
    // The MODE box is told again in the new language when it shows a mode's name.
    int16_t shownMode = -1;
    for (const RaceMode& row : RaceModes())
        if (lbl_Mode->Caption() == StageText(row.caption)) shownMode = row.mode;

    ShowLanguage(ChosenLanguage());
    translateMenu();
    if (shownMode >= 0) lbl_Mode->setCaption(StageText(RaceModeOf(shownMode).caption));
    if (form_Controls::current()) form_Controls::Open(this);
}
