// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "flow/race_screen_wiring.h"

#include <QAction>
#include <QPushButton>

#include "input/action_sink.h"
#include "race/modern_marks.h"
#include "race/race_state.h"
#include "runtime/frame_clock.h"
#include "prefs/choices.h"
#include "screens/form_main.h"
#include "screens/modern_look.h"

namespace {
// A check item of the sound menu: its marks are switched by the handlers alone. The menu's own
// toggling is undone first, so a click runs the handler exactly as a click on the old menus did.
void wireCheckItem(form_Main* race, QAction* item, void (form_Main::*handler)())
{
    QObject::connect(item, &QAction::triggered, race, [race, item, handler] {
        item->setChecked(!item->isChecked());
        (race->*handler)();
    });
}
} // namespace

form_Main* NewRaceScreen()
{
    auto* race = new form_Main;

    race->timer_Main->setHandler([race] { race->timer_Main_Timer(); });
    race->timer_Zenta->setHandler([race] { race->timer_Zenta_Timer(); });
    race->timer_Crush->setHandler([race] { race->timer_Crush_Timer(); });
    race->timer_Clear->setHandler([race] { race->timer_Clear_Timer(); });
    race->timer_BGM->setHandler([race] { race->timer_BGM_Timer(); });
    race->timer_Count->setHandler([race] { race->timer_Count_Timer(); });

    // The keyboard (seen before the control that has the focus), the gamepad and the steady
    // repeat hand their actions to the key handler through the race screen's input.
    auto* input = new ActionSink([race](int16_t code, int16_t shift) { race->Form_KeyDown(code, shift); }, race);
    input->setOpen([race] { return !race->closing(); });
    input->setFullScreenToggle([race] { race->toggleFullScreen(); });
    // The countdown before a modern race answers the accelerator at once, the pad's as well.
    input->setSteers([race] { return InputEnabled == VbTrue || race->CountingDown(); });
    input->watchKeyboardOf(race);
    race->KeysDownHook = [input] { return input->keysDown(); };
    PlayChosenStyle(race);
    race->StageClearedHook = [race] { race->WinGame(); };
    race->GameOverHook = [race](int16_t kind) { race->GameOver(kind); };
    race->LeaveRaceHook = [race] { race->LeaveRace(); };

    QObject::connect(race->cmd_Start, &QPushButton::clicked, race, [race] { race->cmd_Start_Click(); });
    QObject::connect(race->cmd_Title, &QPushButton::clicked, race, [race] { race->cmd_Title_Click(); });
    QObject::connect(race->Nextbox, &Label::clicked, race, [race] { race->Nextbox_Click(); });

    QObject::connect(race->mtitle, &QAction::triggered, race, [race] { race->mtitle_Click(); });
    QObject::connect(race->mkeys, &QAction::triggered, race, [race] { race->mkeys_Click(); });
    QObject::connect(race->mend, &QAction::triggered, race, [race] { race->mend_Click(); });
    QObject::connect(race->mabout, &QAction::triggered, race, [race] { race->mabout_Click(); });
    QObject::connect(race->mcontrols, &QAction::triggered, race, [race] { race->mcontrols_Click(); });
    wireCheckItem(race, race->mon1, &form_Main::mon1_Click);
    wireCheckItem(race, race->moff1, &form_Main::moff1_Click);
    wireCheckItem(race, race->mon2, &form_Main::mon2_Click);
    wireCheckItem(race, race->moff2, &form_Main::moff2_Click);
    // The marks of the player's choices are set by the handler alone, from the value kept.
    for (const form_Main::ChoiceItems& choice : race->choiceMenus)
        for (int value = 0; value < choice.items.size(); ++value)
            QObject::connect(choice.items[value], &QAction::triggered, race,
                             [race, row = choice.row, value] { race->mchoice_Click(*row, value); });
    return race;
}

void PlayChosenStyle(form_Main* race)
{
    // The modern way: frames between the race ticks, and a held arrow stepping at a steady pace.
    const bool modern = ChosenStyle() == Style::Modern;
    FairEntries = modern ? VbTrue : VbFalse;
    race->roadLayer->setOverlay([race](QPainter& painter) { PaintModernMarks(*race, painter); });
    race->roadLayer->setBeneath(race->img_JetR[0], modern ? [race](QPainter& painter) { PaintHeroShadow(*race, painter); }
                                                          : std::function<void(QPainter&)>());
    race->roadLayer->pictureChanged(RoadOnScreen(*race));
    DressPanel(*race, modern);
    // The happy end's picture is the modern way's: a player who goes classic there sees the road.
    if (!modern) race->img_HappyEnd->setVisible(false);
    if (modern == (race->frameClock != nullptr)) return;
    InputOf(race)->setSteadySteering(modern);
    delete race->findChild<HitShow*>();
    race->roadLayer->setShift(QTransform());
    if (modern) {
        new HitShow(race);
        race->frameClock = new FrameClock(
            race, race->timer_Zenta, [race](double since, double until) { race->DrawBetweenTicks(since, until); },
            [race] { race->DrawWhereTheRaceStands(); });
    } else {
        // The pictures stand where the race has them, as the classic race draws them.
        delete race->frameClock;
        race->frameClock = nullptr;
        race->DrawWhereTheRaceStands();
    }
}

ActionSink* InputOf(const form_Main* race)
{
    return race ? race->findChild<ActionSink*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}
