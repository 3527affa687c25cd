// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game over: the time ran out on a story stage, or the board was wrecked on a car. The
// race stops where it stands, the hero looks dismayed, and START, TITLE and the menus come back.
#include <QPushButton>

#include "audio/sound.h"
#include "race/race_state.h"
#include "view/controls.h"
#include "screens/form_main.h"

namespace {
QString GameOverText(int16_t kind)
{
    if (kind == GameOverTimeUp)
        return form_Main::tr("うわー、間に合わなかったー！") + CRLF +
               form_Main::tr("待ち合わせの時間過ぎちまったよぉー") + CRLF + CRLF +
               QStringLiteral("Game Over");
    return form_Main::tr("ジェットローラーが壊れちまったー！") + CRLF +
           form_Main::tr("もう走れねーよぉー") + CRLF + CRLF + QStringLiteral("Game Over");
}
} // namespace

void form_Main::GameOver(int16_t kind)
{
    timer_Main->setEnabled(false);
    timer_Zenta->setEnabled(false);
    InputEnabled = VbFalse;
    // A crash still tumbling when the time runs out is cut off here: its last step would
    // otherwise turn the race back on, or end it a second time.
    timer_Crush->setEnabled(false);
    CrushStep = 0;
    // The entry marks go with the race.
    roadLayer->update();

    timer_BGM->setEnabled(false);
    BgmControl(BgmStop);

    if (kind == GameOverTimeUp || kind == GameOverWrecked) {
        img_Zenta[0]->takePictureOf(*img_Zenta[4]);
        lbl_Msg->setCaption(GameOverText(kind));
        // Only a drive has a result to rank: the distance run.
        if (kind == GameOverWrecked && GameMode == ModeDrive) {
            CheckRank();
            if (closing_) return;
        }
    }

    cmd_Start->setEnabled(true);
    cmd_Title->setEnabled(true);
    setTopMenusEnabled(true);
    FocusReturnButton();
}
