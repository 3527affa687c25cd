// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The modern way's start: once the opening message is answered, "3", "2", "1" and "GO" stand over
// the road, a step each, while the controls help is shown, and only then do the clock and the
// race tick start. The accelerator cuts it short; a pause holds it where it is.
#pragma once

#include <QString>

class QPainter;
class form_Main;

// How long each of its pictures stands, and how many there are: under two seconds in all.
constexpr int CountdownStepMs = 420;
constexpr int CountdownSteps = 4;

// What the countdown shows once `step` of its steps have gone: "3", "2", "1", "GO", then nothing.
QString CountdownText(int step);

// Paints the countdown over the road while it runs.
void PaintCountdown(const form_Main& race, QPainter& painter);
