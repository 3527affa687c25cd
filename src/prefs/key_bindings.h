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
#include <cstdint>

// The key handler's key codes, the classic virtual-key codes: the keyboard and the gamepad
// both hand these to Form_KeyDown. Each of the first eight stands for an action (KeyA is the
// accelerator whichever key the player has given it).
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

// The code the key handler takes for the action, whichever key it has: KeyA for the accelerator,
// KeyB, the arrows' codes, KeySpace for the next message, KeyP for the pause.
int16_t KeyCodeOf(GameAction action);

// The key the player has given the action, or the design's (a Qt::Key value).
int KeyOf(GameAction action);

// The action a key is given to, if any: true and *action set.
bool ActionOfKey(int qtKey, GameAction* action);

// The key of every action at once, in the order of AllGameActions. An entry the file holds in a
// form the game does not know, a key the game keeps for itself (KeptKeyFor), or a key that two
// actions would share, gives way to the design's key, so every key drives one action only.
struct KeyBindings {
    int key[GameActionCount] = {};
    int of(GameAction action) const { return key[static_cast<int>(action)]; }
};
KeyBindings CurrentKeyBindings();
KeyBindings DesignKeyBindings();

// What the game keeps a key for, so that no action can be given it: pressing the focused button
// (Return, Enter, Space), the pause (Escape, Pause), leaving a paused race (T), moving the focus
// (Tab), the controls window (F1), the full screen (F11); a modifier (Shift, Ctrl, Alt and the
// like) is held with other keys, never alone. A key with modifiers (Alt+R) is refused whole: the
// actions answer a key whatever modifiers are held, so it could only ever be the key alone.
enum class KeptFor { None, Buttons, Pause, Leave, Focus, Controls, FullScreen, Modifier, Combination };

// Shift, Ctrl, Alt, the locks and their like.
bool ModifierKey(int qtKey);

// What the game keeps a key, with the modifiers held, for when it would go to the action:
// KeptFor::None when the action can have it. An action's design key is its own: Space, which
// presses the focused button elsewhere, is the next message's.
KeptFor KeptKeyFor(GameAction action, QKeyCombination key);

// The key as the player reads it, in the language shown: the arrows as arrows ("←"), Space in
// words ("スペース", "Space"), any other by its name ("A", "F1").
QString KeyName(int qtKey);

// The key as the settings file keeps it, Qt's portable text ("W", "Left", "Space").
QString PortableKeyText(int qtKey);

// Gives each action the key in keys and writes those that changed to the settings file's
// [Controls] group, in one save (none when none changed). False, with the reason in *failure,
// when the file could not be written.
bool StoreKeyBindings(const KeyBindings& keys, QString* failure = nullptr);
