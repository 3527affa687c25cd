// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Where a race screen is made and joined to the game: its buttons, menu, timers and keys to
// their handlers in race/, flow/ and scores/, and the race's ends to the stage clear and the
// game over.
#pragma once

class ActionSink;
class form_Main;

// A new race screen, laid out and wired, not yet shown. Every race screen is made here.
form_Main* NewRaceScreen();
// The input of a race screen made here (input/action_sink.h): where its keyboard and the
// gamepad deliver the game's actions. Null for no race screen.
ActionSink* InputOf(const form_Main* race);
// Plays the race screen in the way the player has chosen (prefs/choices.h), from now on: the
// modern way draws the frames between the race ticks and steers at a steady pace.
void PlayChosenStyle(form_Main* race);
