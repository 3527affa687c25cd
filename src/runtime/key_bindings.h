// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The keys of the game's actions. The design's keys are A to accelerate, B to brake, the arrows
// to steer, Space for the next message and P to pause; the player may give any action another
// key, kept in the settings file's [Controls] group, one key an action, as Qt writes a key in
// portable text ("Accelerate=W", "Left=Left"). A missing or unreadable entry means the design's
// key.
#pragma once

#include <QKeySequence>
#include <QString>

enum class GameAction { Accelerate, Brake, Left, Right, Up, Down, Next, Pause };
constexpr int GameActionCount = 8;

// Every action, in the order the controls are listed.
inline constexpr GameAction AllGameActions[GameActionCount] = {
    GameAction::Accelerate, GameAction::Brake, GameAction::Left, GameAction::Right,
    GameAction::Up,         GameAction::Down,  GameAction::Next, GameAction::Pause};

// The action's key in the settings file's [Controls] group: "Accelerate", "Brake", "Left", ...
QString ControlsKeyOf(GameAction action);

// The design's key of an action (Qt::Key_A, Qt::Key_B, the arrows, Space, P).
int DesignKeyOf(GameAction action);

// The key the player has given the action, or the design's (a Qt::Key value).
int KeyOf(GameAction action);

// The action a key is given to, if any: true and *action set.
bool ActionOfKey(int qtKey, GameAction* action);
