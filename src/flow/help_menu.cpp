// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The ヘルプ menu's controls window and language. A language chosen here is kept in the settings
// file and shown at once in this screen's menus and MODE box; the message on the screen stays as
// it is, and every message and window after it comes in the new language.
#include <QAction>
#include <QMenu>

#include "race/race_state.h"
#include "race/stages.h"
#include "prefs/language.h"
#include "runtime/message_box.h"
#include "screens/form_controls.h"
#include "screens/form_main.h"

void form_Main::mcontrols_Click() { form_Controls::Open(this); }

namespace {
void switchLanguage(form_Main* race, const QString& language)
{
    // The MODE box is told again in the new language when it shows a mode's name.
    int16_t shownMode = -1;
    for (const RaceMode& row : RaceModes())
        if (race->lbl_Mode->Caption() == StageText(row.caption)) shownMode = row.mode;

    QString failure;
    const bool kept = ChooseLanguage(language, &failure);
    race->translateMenu();
    if (shownMode >= 0) race->lbl_Mode->setCaption(StageText(RaceModeOf(shownMode).caption));
    if (form_Controls::current()) form_Controls::Open(race);
    if (!kept)
        MsgBox(form_Main::tr("言語の設定を保存できませんでした。\n%1。\n"
                             "この言語は、ゲームを終えるまで使えます。")
                   .arg(failure),
               QStringLiteral("Tavolnik"), race);
}
} // namespace

void form_Main::mja_Click() { switchLanguage(this, QStringLiteral("ja")); }

void form_Main::men_Click() { switchLanguage(this, QStringLiteral("en")); }
