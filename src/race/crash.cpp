// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The crash: the race tick stops, the speed drops to 0 and for two seconds the hero tumbles.
// A fall over an obstacle goes on from where he stood; wrecking his board on a car ends the race.
#include "audio/sound.h"
#include "race/race_state.h"
#include "screens/form_main.h"


void form_Main::Crushfun(int16_t kind)
{
    timer_Zenta->setEnabled(false);
    CrushType = kind;
    for (Shape* bar : bar_Speed) bar->setFillColor(GaugeDark);
    Speed = 0;
    timer_Crush->setEnabled(true);
}

void form_Main::timer_Crush_Timer()
{
    // The counter moves on before the step acts, so a step that ends the race (and with it
    // the crash) leaves it at 0 for the next crash.
    const int16_t step = CrushStep;
    CrushStep = step + 1 > 9 ? 0 : step + 1;

    switch (step) {
    case 0:
    case 3:
        InputEnabled = VbFalse;
        PlayEffect(CrushType == CrushCar ? QStringLiteral("Crush2") : QStringLiteral("Crush1"));
        img_Zenta[0]->takePictureOf(*img_Zenta[2]);
        lbl_Msg->setCaption(tr("うわっ！"));
        img_JetR[0]->takePictureOf(*img_JetR[3]);
        break;
    case 1:
    case 4:
        img_JetR[0]->takePictureOf(*img_JetR[4]);
        break;
    case 2:
    case 5:
        img_JetR[0]->takePictureOf(*img_JetR[5]);
        break;
    case 9:
        timer_Crush->setEnabled(false);
        InputEnabled = VbTrue;
        if (CrushType == CrushCar) {
            raceOver(GameOverWrecked);
        } else {
            // Back on his board: the race goes on where it stood, from a standstill.
            lbl_Msg->setCaption(QString());
            img_Zenta[0]->takePictureOf(*img_Zenta[1]);
            img_JetR[0]->takePictureOf(*img_JetR[1]);
            timer_Zenta->setEnabled(true);
        }
        break;
    default:
        break;
    }
}
