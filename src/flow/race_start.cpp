// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// START: the race start with its opening message, and the press-to-continue wait that every
// scene uses.
#include <QLineEdit>
#include <QPushButton>

#include "audio/sound.h"
#include "race/race_state.h"
#include "race/stages.h"
#include "view/controls.h"
#include "prefs/choices.h"
#include "prefs/key_bindings.h"
#include "runtime/program_folder.h"
#include "runtime/random.h"
#include "runtime/scene_wait.h"
#include "screens/form_main.h"

// The controls help names the player's keys: "A", "B" and the arrows unless they chose others.
QString ControlsHelpText()
{
    const KeyBindings keys = CurrentKeyBindings();
    const KeyBindings design = DesignKeyBindings();
    auto name = [&keys](GameAction action) { return KeyName(keys.of(action)); };
    bool arrows = true;
    for (GameAction a : {GameAction::Up, GameAction::Down, GameAction::Left, GameAction::Right})
        if (keys.of(a) != design.of(a)) arrows = false;
    const QString moves = arrows ? form_Main::tr("矢印キー")
                                 : form_Main::tr("%1・%2・%3・%4")
                                       .arg(name(GameAction::Up), name(GameAction::Down),
                                            name(GameAction::Left), name(GameAction::Right));
    return QStringList{form_Main::tr("アクセルは「%1」").arg(name(GameAction::Accelerate)),
                       form_Main::tr("ブレーキは「%1」").arg(name(GameAction::Brake)),
                       form_Main::tr("上下左右への移動は「%1」だぜ").arg(moves)}
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

    // The modern way counts down over the road first, with the controls help already shown.
    if (ChosenStyle() == Style::Modern)
        StartCountdown();
    else
        StartRaceClock();
}

void form_Main::Waitfun()
{
    NextFlag = VbFalse;
    // "Click or SpaceKey to Next", with the player's key for the next message. The line is the
    // design's own English in every language, so the design's Space keeps its English name here.
    const int next = KeyOf(GameAction::Next);
    Nextbox->setCaption(QStringLiteral("Click or %1Key to Next")
                            .arg(next == Qt::Key_Space ? QStringLiteral("Space") : KeyName(next)));
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
