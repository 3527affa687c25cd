// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/race_screen_input.h"

#include <QApplication>

#include "input/gamepad.h"
#include "view/controls.h"
#include "prefs/choices.h"
#include "screens/form_main.h"

void RaceScreenKeySink(int16_t keyCode)
{
    form_Main* main = form_Main::current();
    if (!main || main->closing()) return;
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != main) return;
    main->Form_KeyDown(keyCode, 0);
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
    // Smooth motion steers at a steady rate from the press, as the keyboard's arrows then do.
    pad.setSteadyRepeat(ChosenMotion() == Motion::Smooth);
}
