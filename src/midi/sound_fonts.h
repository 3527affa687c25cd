// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The General MIDI sound fonts Debian installs, and which of them plays a tune: one list, tried in
// one order when the game synthesises a tune live and in another when soundgen records it.
#pragma once

enum class SoundFontUse {
    Live,       // the game synthesises the tune as it plays: the quickest to load first
    Recording,  // soundgen records the tune ahead: the richest first
};

// The first installed sound font in the order for that use; null when none is installed.
const char* FindSoundFont(SoundFontUse use);
