// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Steering: the arrows move the hero's sprite within the road, "A" and "B" change the speed
// step and light the gauge, Space asks for the next message of a scene, "P", Pause and Escape
// pause the race, and T leaves a paused race; Return presses the focused button (START or
// TITLE). These are the actions' codes: the keys behind them are the player's, and the keyboard,
// the gamepad and the steady repeat of a held arrow hand them in alike (input/action_sink.h).
#include <QPushButton>

#include "audio/sound.h"
#include "race/race_state.h"
#include "prefs/key_bindings.h"
#include "runtime/scene_wait.h"
#include "screens/form_main.h"

void form_Main::Form_KeyDown(int16_t KeyCode, int16_t /*Shift*/)
{
    if (KeyCode == KeyP || KeyCode == KeyPause || KeyCode == KeyEscape) {
        // The pause keys hold a running race and let it go on; elsewhere they do nothing.
        if (paused_)
            ResumeRace();
        else
            PauseRace();
        return;
    }
    if (KeyCode == KeyT) {
        // A paused race can be left: nothing is ranked, the music stops, the title comes back.
        if (paused_ && LeaveRaceHook) LeaveRaceHook();
        return;
    }
    if (KeyCode == KeyReturn) {
        // Return presses the button that has the focus, so one race follows another without
        // the mouse, and the happy end leads back to the title.
        if (QPushButton* button = ReturnButton(); button && !paused_) button->click();
        return;
    }
    if (KeyCode == KeySpace) {
        // Space advances a message even while the race is stopped.
        NextFlag = VbTrue;
        SceneWait::wake();
    }
    // A paused race steers nothing; the accelerator cuts a countdown short.
    if (paused_) return;
    if (KeyCode == KeyA && CountingDown()) {
        SkipCountdown();
        return;
    }
    if (InputEnabled != VbTrue) return;

    Picture* hero = img_JetR[0];
    switch (KeyCode) {
    case KeyUp: {
        double top = hero->Top() - 5;
        if (top < 0) top = 0;
        hero->setTop(top);
        break;
    }
    case KeyDown: {
        double top = hero->Top() + 5;
        if (top > 176) top = 176;
        hero->setTop(top);
        break;
    }
    case KeyLeft: {
        double left = hero->Left() - 5;
        if (left < 0) left = 0;
        hero->setLeft(left);
        break;
    }
    case KeyRight: {
        double left = hero->Left() + 5;
        if (left > 520) left = 520;
        hero->setLeft(left);
        break;
    }
    case KeyA: // the accelerator
        PlayEffect(QStringLiteral("Up"));
        bar_Speed[Speed]->setFillColor(GaugeLit);
        Speed += 1;
        if (Speed > 9) Speed = 9;
        bar_Speed[Speed]->setFillColor(GaugeLit);
        break;
    case KeyB: // the brake
        PlayEffect(QStringLiteral("Down"));
        bar_Speed[Speed]->setFillColor(GaugeDark);
        Speed -= 1;
        if (Speed < 0) Speed = 0;
        bar_Speed[Speed]->setFillColor(GaugeDark);
        break;
    default:
        break;
    }
}
