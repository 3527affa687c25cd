// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// How the race moves on screen. Smooth (the default): the race screen is drawn at the display's
// rate and every picture the race tick moves slides towards where the next tick puts it; a held
// arrow steers at a steady rate from the moment it is pressed. Classic: the race is drawn at the
// race tick, twice a second, and a held arrow repeats at the keyboard's own rate. The rules are
// the same in both.
//
// The choice is remembered in the settings file, [Options] Motion=smooth or classic; any other
// value is smooth. `--motion` chooses for a run and remembers the choice.
#pragma once

#include <QString>

enum class Motion { Smooth, Classic };

// A held arrow's steps a second with smooth motion, each one key press of 5 px.
constexpr double SteadyStepsPerSecond = 30;

// The motion of this run: --motion's when given, else the remembered one.
Motion ChosenMotion();
// The motion a run was started with (--motion); remembered in the settings file. Returns false,
// with the reason in *failure, when it could not be written; it still holds for this run.
bool ChooseMotion(Motion motion, QString* failure = nullptr);
// Forgets the choice of this run, so that the remembered one holds again. Tests use it.
void ClearMotionForRun();

// "smooth" / "classic"; false for any other text.
bool ParseMotion(const QString& text, Motion* motion);
QString MotionName(Motion motion);
