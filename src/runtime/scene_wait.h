// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The scene wait: a nested event loop that sleeps until the player asks for the next message.
// Timers, clicks and key presses are served while it waits; it uses no CPU of its own.
#pragma once

#include <QEventLoop>
#include <functional>

class SceneWait
{
public:
    // Runs the window's events until done() holds or the wait is cut off. Returns true when
    // done() holds, false when the wait was cut off (the window is closing or the program
    // is ending).
    static bool run(const std::function<bool()>& done);
    // Wakes every running wait so it tests done() again; called whenever the player asks for
    // the next message.
    static void wake();
    // Cuts off every running wait: used when the window that waits is closed.
    static void cutOff();
    // Number of waits running now (nested waits count each).
    static int depth();
};
