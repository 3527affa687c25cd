// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Tells when the first window of a program has been painted: start-up leaves what the title
// screen does not need (the window icon, the game controllers) until then.
#pragma once

#include <functional>

// Calls `then` once, from the event loop, right after the first window's first paint is done.
// Needs the application object.
void WatchFirstPaint(std::function<void()> then);
