// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Steering: the arrows move the hero's sprite within the road, "A" and "B" change the speed
// step and light the gauge, Space asks for the next message of a scene.
#include "audio/sound.h"
#include "race/race_state.h"
#include "runtime/scene_wait.h"
#include "screens/form_main.h"

namespace {
constexpr int LitBar = 0x0000FF;
constexpr int DarkBar = 0x404040;
}

void form_Main::Form_KeyDown(int16_t KeyCode, int16_t /*Shift*/)
{
    if (KeyCode == 32) {
        // Space advances a message even while the race is stopped.
        NextFlag = VbTrue;
        SceneWait::wake();
    }
    if (InputEnabled != VbTrue) return;

    Picture* hero = img_JetR[0];
    switch (KeyCode) {
    case 38: { // up
        double top = hero->Top() - 5;
        if (top < 0) top = 0;
        hero->setTop(top);
        break;
    }
    case 40: { // down
        double top = hero->Top() + 5;
        if (top > 176) top = 176;
        hero->setTop(top);
        break;
    }
    case 37: { // left
        double left = hero->Left() - 5;
        if (left < 0) left = 0;
        hero->setLeft(left);
        break;
    }
    case 39: { // right
        double left = hero->Left() + 5;
        if (left > 520) left = 520;
        hero->setLeft(left);
        break;
    }
    case 65: // "A", the accelerator
        PlayEffect(QStringLiteral("Up"));
        bar_Speed[Speed]->setFillColor(LitBar);
        Speed += 1;
        if (Speed > 9) Speed = 9;
        bar_Speed[Speed]->setFillColor(LitBar);
        break;
    case 66: // "B", the brake
        PlayEffect(QStringLiteral("Down"));
        bar_Speed[Speed]->setFillColor(DarkBar);
        Speed -= 1;
        if (Speed < 0) Speed = 0;
        bar_Speed[Speed]->setFillColor(DarkBar);
        break;
    default:
        break;
    }
}
