// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up measurement: tells when the first window of a program has been painted, and can end
// the program right there with its peak memory on standard output. The benchmark run uses it on
// the game and on an empty Qt window side by side; it does nothing unless it is asked to.
#pragma once

#include <functional>

// Calls `then` once, from the event loop, right after the first window's first paint is done.
// Needs the application object.
void WatchFirstPaint(std::function<void()> then);

// When TAVOLNIK_EXIT_AFTER_FIRST_PAINT is set: prints "first-paint vmhwm_kb=<peak memory>" and
// ends the process as soon as the first window has been painted.
void ExitAfterFirstPaintIfAsked();

// The process's peak resident memory (VmHWM) and current resident memory (VmRSS) in kB, from
// /proc/self/status; -1 where it cannot be read.
long PeakMemoryKb();
long ResidentMemoryKb();
