// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// START: the race start with its opening message, and the press-to-continue wait that every
// scene uses.
#include <QLineEdit>
#include <QPushButton>

#include "audio/sound.h"
#include "race/race_state.h"
#include "runtime/game_constants.h"
#include "runtime/program_folder.h"
#include "runtime/random.h"
#include "runtime/scene_wait.h"
#include "screens/form_main.h"

namespace {

struct Opening {
    int portrait;
    QStringList lines;
    int32_t time;
    int32_t distance;
};

Opening openingFor(int16_t mode)
{
    switch (mode) {
    case 0:
        return {3,
                {QStringLiteral("今日は烈とデートなんだ！"),
                 QStringLiteral("もうすぐ待ち合わせの時間だから、そろそろ出発しようぜ！")},
                70, 3000};
    case 1:
        return {4,
                {QStringLiteral("やべー！寝坊しちまった！！"),
                 QStringLiteral("せっかくのデートに何やってんだ俺はー"),
                 QStringLiteral("おっと、急がなきゃ")},
                50, 2000};
    default:
        return {3, {QStringLiteral("準備はばっちりだ"), QStringLiteral("早く出発しようぜ！")}, 0, 0};
    }
}
} // namespace

QString ControlsHelpText()
{
    return QStringList{QStringLiteral("アクセルは「A」"), QStringLiteral("ブレーキは「B」"),
                       QStringLiteral("上下左右への移動は「矢印キー」だぜ")}
        .join(CRLF);
}

void form_Main::cmd_Start_Click()
{
    PlayEffectWait(QStringLiteral("Click"));
    if (closing_) return;

    cmd_Start->setEnabled(false);
    cmd_Title->setEnabled(false);
    setTopMenusEnabled(false);

    img_Road->setLeft(-344);
    for (Shape* bar : bar_Speed) bar->setFillColor(GaugeDark);
    Init_Car();
    Init_Zenta();

    const Opening opening = openingFor(GameMode);
    img_Zenta[0]->takePictureOf(*img_Zenta[opening.portrait]);
    lbl_Msg->setCaption(opening.lines.join(CRLF));
    Waitfun();
    if (closing_) return;

    if (mon1->isChecked()) {
        QString music;
        if (GameMode == 0) {
            music = QStringLiteral("/sound/BGM1.mid");
        } else if (GameMode == 1) {
            music = QStringLiteral("/sound/BGM2.mid");
        } else {
            const int n = static_cast<int>(Rnd() * 4) + 1;
            music = QStringLiteral("/sound/BGM%1.mid").arg(n);
        }
        BgmFile = ProgramFolder() + music;
        timer_BGM->setEnabled(true);
        BgmControl(0);
    }

    img_Zenta[0]->takePictureOf(*img_Zenta[1]);
    lbl_Msg->setCaption(ControlsHelpText());
    TimeCount = opening.time;
    Distance = opening.distance;
    Speed = 0;

    InputEnabled = VbTrue;
    timer_Main->setEnabled(true);
    timer_Zenta->setEnabled(true);
}

void form_Main::Waitfun()
{
    NextFlag = VbFalse;
    Nextbox->setVisible(true);
    Text1->setFocus();
    // Sleeps in the event loop until Space or a click on Nextbox sets the flag, or the window
    // closes; timers and input are served meanwhile.
    {
        NestedLoop nested(this);
        SceneWait::run([] { return NextFlag == VbTrue; });
    }
    if (closing_) return;
    Nextbox->setVisible(false);
    NextFlag = VbFalse;
}

void form_Main::Nextbox_Click()
{
    NextFlag = VbTrue;
    SceneWait::wake();
}
