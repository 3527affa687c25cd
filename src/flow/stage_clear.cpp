// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The stage clear: the hero skates up to 烈 at the meeting place, the stage's dialogue plays,
// the clear time goes into the ranking and the pair skate off to the left. Then the screen is
// made ready for the stage that follows in the stage table; after the last story stage, whose
// row names none, the happy end its scene has told stays on screen.
#include <QAction>
#include <QPushButton>
#include <QStringList>

#include "audio/sound.h"
#include "prefs/choices.h"
#include "race/race_state.h"
#include "race/stages.h"
#include "view/controls.h"
#include "runtime/program_folder.h"
#include "screens/form_main.h"

void form_Main::WinGame()
{
    timer_Main->setEnabled(false);
    timer_Zenta->setEnabled(false);
    InputEnabled = VbFalse;

    Init_Car();

    img_JetR[0]->move(520, 112);

    // The friend waits in his first pose, also when an earlier scene of this screen left him
    // in his second one.
    img_Retsu[0]->takePictureOf(*img_Retsu[1]);
    img_Retsu[0]->setVisible(true);

    timer_BGM->setEnabled(false);
    BgmControl(BgmStop);

    timer_Clear->setEnabled(true);
}

void form_Main::timer_Clear_Timer()
{
    const int16_t s = ClearStep;
    Picture* hero = img_JetR[0];

    if (s >= 0 && s <= 8) {
        // The approach: up and to the left, towards the friend.
        if (s == 0 && mon1->isChecked()) {
            BgmFile = ProgramFolder() + RaceModeOf(GameMode).clearTune;
            timer_BGM->setEnabled(true);
            BgmControl(BgmStart);
        }
        hero->move(hero->Left() - 28, hero->Top() - 12);
        if (s == 8) img_Retsu[0]->takePictureOf(*img_Retsu[2]);
    } else if (s == 9) {
        // The dialogue. No tick arrives while it waits for the player.
        timer_Clear->setEnabled(false);
        img_Clear->setVisible(true);
        img_Zenta[0]->takePictureOf(*img_Zenta[3]);
        // The pair stand where their heads reach above the clear picture, which shows them
        // together: the modern way takes them off the road while it is up.
        const bool modern = ChosenStyle() == Style::Modern;
        const bool heroShown = hero->Visible();
        if (modern) {
            hero->setVisible(false);
            img_Retsu[0]->setVisible(false);
        }

        for (const SceneMessage& message : RaceModeOf(GameMode).clearScene) {
            lbl_Msg->setCaption(StageLines(message.lines).join(CRLF));
            // The modern way's portrait follows what is said.
            if (modern) img_Zenta[0]->takePictureOf(*PortraitOf(message.face));
            if (message.wait) {
                Waitfun();
                if (closing_) return;
            }
        }

        // The clear time goes into the ranking while the last message is on screen.
        CheckRank();
        if (closing_) return;

        img_Retsu[0]->setVisible(false);
        hero->takePictureOf(*img_JetR[6]);
        hero->setVisible(heroShown);
        img_Clear->setVisible(false);
        timer_Clear->setEnabled(true);
    } else if (s >= 10 && s <= 18) {
        // Leaving: the pair skate off to the left.
        hero->setLeft(hero->Left() - 40);
    } else if (s == 19) {
        timer_Clear->setEnabled(false);
        timer_BGM->setEnabled(false);
        BgmControl(BgmStop);

        if (const int16_t next = RaceModeOf(GameMode).next; next >= 0) {
            // This stage is behind him: the screen waits for the start of the next.
            GameMode = next;
            lbl_Mode->setCaption(StageText(RaceModeOf(next).caption));
            lbl_Msg->setCaption(QString());
            img_Zenta[0]->takePictureOf(*img_Zenta[1]);
            for (Shape* bar : bar_Speed) bar->setFillColor(GaugeDark);
            lbl_Time->setCaption(QString());
            lbl_Dist->setCaption(QString());
            cmd_Start->setEnabled(true);
        } else if (ChosenStyle() == Style::Modern) {
            // The happy end: the two friends' own picture over the empty road, and the gauge
            // goes dark with the race long over.
            img_HappyEnd->setVisible(true);
            for (Shape* bar : bar_Speed) bar->setFillColor(GaugeDark);
        }
        cmd_Title->setEnabled(true);
        setTopMenusEnabled(true);
        // START for the next stage, or TITLE after the happy end.
        FocusReturnButton();
    }

    ClearStep += 1;
    if (ClearStep > 19) ClearStep = 0;
}
