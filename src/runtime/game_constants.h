// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Numbers and texts more than one part of the game agrees on.
#pragma once

#include <QString>
#include <cstdint>

// The race window's client area in pixels at scale 1: the road above, the panel below.
constexpr int RaceClientWidth = 601;
constexpr int RaceClientHeight = 425;

// The key handler's key codes, the classic virtual-key codes: the keyboard and the gamepad
// both hand these to Form_KeyDown. Each of the first eight stands for an action (KeyA is the
// accelerator whichever key the player has given it; runtime/key_bindings.h).
constexpr int16_t KeySpace = 32;
constexpr int16_t KeyLeft = 37;
constexpr int16_t KeyUp = 38;
constexpr int16_t KeyRight = 39;
constexpr int16_t KeyDown = 40;
constexpr int16_t KeyA = 65;
constexpr int16_t KeyB = 66;
constexpr int16_t KeyP = 80;        // pauses a running race and lets it go on
constexpr int16_t KeyPause = 19;    // the Pause key: as "P"
constexpr int16_t KeyReturn = 13;   // presses the focused button, START or TITLE
constexpr int16_t KeyEscape = 27;   // pauses as "P" does
constexpr int16_t KeyT = 84;        // leaves a paused race for the title screen

// The kinds of ranking table: story clear times and drive distances.
enum RankKind : int16_t { RankStory = 1, RankDrive = 2 };
// The stage slots of a kind: one for each story stage; the drive uses the first only.
enum RankSlot : int16_t { SlotStage1 = 1, SlotStage2 = 2, SlotDrive = 1 };
// The entries each table keeps.
constexpr int RanksKept = 5;

// The speed gauge's bars (0x00BBGGRR): lit up to the speed step, dark above it.
constexpr int GaugeLit = 0x0000FF;
constexpr int GaugeDark = 0x404040;

// The line break between the lines of a message.
inline const QString CRLF = QStringLiteral("\r\n");
