// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the measured programs report about themselves: when the first window has been painted,
// and how much memory the process holds. The measured game, the floor and the soak link it;
// nothing of it is in the game that players run.
#pragma once

// When TAVOLNIK_EXIT_AFTER_FIRST_PAINT is set: prints "first-paint vmhwm_kb=<peak memory>" and
// ends the process as soon as the first window has been painted. Needs the application object.
void ExitAfterFirstPaintIfAsked();

// The process's peak resident memory (VmHWM) and current resident memory (VmRSS) in kB, from
// /proc/self/status; -1 where it cannot be read.
long PeakMemoryKb();
long ResidentMemoryKb();
