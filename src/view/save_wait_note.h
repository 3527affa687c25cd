// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the player sees of the settings store's own doings: while a save waits for another copy
// of the game to finish its own, the "保存中…" note over the window in front tells him why the
// game is busy; and when a save had to set aside a settings file the game could not read, a
// message box tells him where that file now is.
#pragma once

// Has the settings store tell the note when a save waits and when it stops (SetSaveWaitNote),
// and the box when a file was set aside (SetSetAsideNote). Called once at start-up.
void ShowSaveNotes();
