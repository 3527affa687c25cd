// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// START: the race start with its opening message, and the press-to-continue wait that every
// scene uses.
#include <QLineEdit>
#include <QPushButton>

#include "audio/sound.h"
#include "race/race_state.h"
#include "race/stages.h"
#include "runtime/game_constants.h"
#include "runtime/program_folder.h"
#include "runtime/random.h"
#include "runtime/scene_wait.h"
#include "screens/form_main.h"

QString ControlsHelpText()
{
    return QStringList{form_Main::tr("アクセルは「A」"), form_Main::tr("ブレーキは「B」"),
                       form_Main::tr("上下左右への移動は「矢印キー」だぜ")}
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

    const RaceMode& race = RaceModeOf(GameMode);
    img_Zenta[0]->takePictureOf(*img_Zenta[race.openingPortrait]);
    lbl_Msg->setCaption(StageLines(race.opening).join(CRLF));
    Waitfun();
    if (closing_) return;

    if (mon1->isChecked()) {
        // A drive draws one of its tunes; a story stage has one.
        const int tune = race.tunes.size() > 1 ? static_cast<int>(Rnd() * race.tunes.size()) : 0;
        BgmFile = ProgramFolder() + race.tunes[tune];
        timer_BGM->setEnabled(true);
        BgmControl(BgmStart);
    }

    img_Zenta[0]->takePictureOf(*img_Zenta[1]);
    lbl_Msg->setCaption(ControlsHelpText());
    TimeCount = race.timeLimit;
    Distance = race.distance;
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
