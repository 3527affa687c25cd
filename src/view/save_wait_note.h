// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The "保存中…" note: while a save waits for another copy of the game to finish its own, a
// small note over the window in front tells the player why the game is busy.
#pragma once

// Has the settings store tell the note when a save waits and when it stops (SetSaveWaitNote).
// Called once at start-up.
void ShowSaveWaitNotes();
