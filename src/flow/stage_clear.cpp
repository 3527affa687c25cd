// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The stage clear: the hero skates up to 烈 at the meeting place, the stage's dialogue plays,
// the clear time goes into the ranking and the pair skate off to the left. After stage 1 the
// screen is made ready for stage 2; after stage 2 the happy end stays on screen.
#include <QAction>
#include <QPushButton>
#include <QStringList>

#include "audio/sound.h"
#include "race/race_state.h"
#include "runtime/game_constants.h"
#include "runtime/program_folder.h"
#include "screens/form_main.h"

namespace {

// One message of a scene: its lines, and whether the scene waits for the player after it.
struct Message {
    QStringList lines;
    bool wait;
};

QList<Message> dialogueOf(int16_t mode)
{
    if (mode == 0) {
        return {
            {{QStringLiteral("ゼンタ「待ったか、烈？」"),
              QStringLiteral("烈「ううん、今来たところだよ！」")},
             true},
            {{QStringLiteral("ゼンタ「じゃあ、行こうか！」"), QStringLiteral("烈「うん！」")}, true},
            {{QStringLiteral("STAGE1 Clear!")}, false},
        };
    }
    return {
        {{QStringLiteral("ゼンタ「(何とか間に合ったぜ・・・)ま、待ったか、烈？」"),
          QStringLiteral("烈「ううん、今来たところだよ！」")},
         true},
        {{QStringLiteral("烈「ゼンタは、いつも時間をちゃんと守ってくれるね！僕、時間を守る人、好きだよ」")},
         true},
        {{QStringLiteral("ゼンタ「！！"),
          QStringLiteral("や、やっぱ時間は守んなきゃ駄目だよな、うんっ！」")},
         true},
        {{QStringLiteral("烈「？"), QStringLiteral("そろそろ行こう、ゼンタ！」"),
          QStringLiteral("ゼンタ「お、おう！」")},
         true},
        {{QStringLiteral("STAGE2 Clear!"), QString(), QStringLiteral("Happy End"),
          QStringLiteral("Thank you for your Playing")},
         false},
    };
}

} // namespace

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
    BgmControl(1);

    timer_Clear->setEnabled(true);
}

void form_Main::timer_Clear_Timer()
{
    const int16_t s = ClearStep;
    Picture* hero = img_JetR[0];

    if (s >= 0 && s <= 8) {
        // The approach: up and to the left, towards the friend.
        if (s == 0 && mon1->isChecked()) {
            BgmFile = ProgramFolder() + QStringLiteral("/sound/BGM5.mid");
            timer_BGM->setEnabled(true);
            BgmControl(0);
        }
        hero->move(hero->Left() - 28, hero->Top() - 12);
        if (s == 8) img_Retsu[0]->takePictureOf(*img_Retsu[2]);
    } else if (s == 9) {
        // The dialogue. No tick arrives while it waits for the player.
        timer_Clear->setEnabled(false);
        img_Clear->setVisible(true);
        img_Zenta[0]->takePictureOf(*img_Zenta[3]);

        for (const Message& message : dialogueOf(GameMode)) {
            lbl_Msg->setCaption(message.lines.join(CRLF));
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
        img_Clear->setVisible(false);
        timer_Clear->setEnabled(true);
    } else if (s >= 10 && s <= 18) {
        // Leaving: the pair skate off to the left.
        hero->setLeft(hero->Left() - 40);
    } else if (s == 19) {
        timer_Clear->setEnabled(false);
        timer_BGM->setEnabled(false);
        BgmControl(1);

        if (GameMode == 0) {
            // Stage 1 is behind him: the screen waits for the start of stage 2.
            GameMode = 1;
            lbl_Mode->setCaption(QStringLiteral("ストーリー STAGE2"));
            lbl_Msg->setCaption(QString());
            img_Zenta[0]->takePictureOf(*img_Zenta[1]);
            for (Shape* bar : bar_Speed) bar->setFillColor(GaugeDark);
            lbl_Time->setCaption(QString());
            lbl_Dist->setCaption(QString());
            cmd_Start->setEnabled(true);
        }
        cmd_Title->setEnabled(true);
        setTopMenusEnabled(true);
    }

    ClearStep += 1;
    if (ClearStep > 19) ClearStep = 0;
}
