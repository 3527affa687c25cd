// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/race_screen_input.h"

#include "flow/race_screen_wiring.h"
#include "input/action_sink.h"
#include "input/gamepad.h"
#include "prefs/choices.h"
#include "screens/form_main.h"

void RaceScreenKeySink(int16_t keyCode)
{
    if (ActionSink* input = InputOf(form_Main::current())) input->padAction(keyCode);
}

bool RaceScreenWaits()
{
    form_Main* main = form_Main::current();
    return main && !main->closing() && main->Nextbox && !main->Nextbox->isHidden();
}

void ConnectToRaceScreen(Gamepad& pad)
{
    pad.setKeySink(&RaceScreenKeySink);
    pad.setSceneWaiting(&RaceScreenWaits);
    pad.setRaceSteers([] {
        const ActionSink* input = InputOf(form_Main::current());
        return input && input->steers();
    });
    // The modern way steers at a steady rate, as the keyboard's arrows then do.
    pad.followSteadyRepeat([] { return ChosenStyle() == Style::Modern; });
}
