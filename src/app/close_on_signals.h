// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Ending the game from outside: SIGTERM, SIGINT and SIGHUP (a session logging out, Ctrl+C in a
// terminal) close the game as its close box does.
#pragma once

// From now on each of the three signals ends every event loop with status 128 + the signal's
// number (143, 130, 129) and closes every window through its own close handler: a ranking
// window waiting for a name takes the typed name and saves it, the music stops. The signal
// itself only wakes the application; all of that runs on the user-interface thread. Needs the
// application object.
void CloseGameOnSignals();

// 128 + the number of the first signal heard, 0 before any: the start-up, whose saves may wait
// for another program's lock before any event loop runs, ends the game once it is set.
int EndedBySignal();
