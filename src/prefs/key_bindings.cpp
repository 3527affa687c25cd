// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "prefs/key_bindings.h"

#include <QCoreApplication>

#include "prefs/choices.h"
#include "storage/player_settings.h"

QString ControlsKeyOf(GameAction action) { return ControlRowOf(action).key; }

int16_t KeyCodeOf(GameAction action) { return ControlRowOf(action).code; }

int DesignKeyOf(GameAction action) { return ControlRowOf(action).designKey; }

namespace {
// The key the file gives the action, or 0 when it gives none the game can use.
int StoredKeyOf(GameAction action)
{
    const QString stored = PlayerSetting(ControlsGroup, ControlsKeyOf(action), QString());
    if (stored.isEmpty()) return 0;
    // One key without modifiers, as the key dialog stores it; anything else is the design's.
    const QKeySequence sequence = QKeySequence::fromString(stored, QKeySequence::PortableText);
    if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown || KeptKeyFor(action, sequence[0]) != KeptFor::None)
        return 0;
    return sequence[0].key();
}
} // namespace

KeyBindings DesignKeyBindings()
{
    KeyBindings keys;
    for (GameAction a : AllGameActions) keys.key[static_cast<int>(a)] = DesignKeyOf(a);
    return keys;
}

KeyBindings CurrentKeyBindings()
{
    KeyBindings keys;
    for (GameAction a : AllGameActions) {
        const int stored = StoredKeyOf(a);
        keys.key[static_cast<int>(a)] = stored ? stored : DesignKeyOf(a);
    }
    // A file edited by hand may give one key to two actions: both take the design's key, until
    // no key is shared. The design's keys are all different, so this ends.
    for (bool shared = true; shared;) {
        shared = false;
        for (int i = 0; i < GameActionCount; ++i)
            for (int j = i + 1; j < GameActionCount; ++j)
                if (keys.key[i] == keys.key[j]) {
                    for (int k : {i, j}) {
                        const int design = DesignKeyOf(AllGameActions[k]);
                        if (keys.key[k] != design) {
                            keys.key[k] = design;
                            shared = true;
                        }
                    }
                }
    }
    return keys;
}

int KeyOf(GameAction action) { return CurrentKeyBindings().of(action); }

bool ActionOfKey(int qtKey, GameAction* action)
{
    const KeyBindings keys = CurrentKeyBindings();
    for (GameAction a : AllGameActions) {
        if (keys.of(a) == qtKey) {
            if (action) *action = a;
            return true;
        }
    }
    return false;
}

bool ModifierKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock: return true;
    default: return false;
    }
}

KeptFor KeptKeyFor(GameAction action, QKeyCombination key)
{
    const int qtKey = key.key();
    if (ModifierKey(qtKey)) return KeptFor::Modifier;
    // The keypad's own keys carry a modifier of their own that no one holds.
    if (key.keyboardModifiers() & ~Qt::KeypadModifier) return KeptFor::Combination;
    if (qtKey == DesignKeyOf(action)) return KeptFor::None;
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: return KeptFor::Buttons;
    case Qt::Key_Escape:
    case Qt::Key_Pause: return KeptFor::Pause;
    case Qt::Key_T: return KeptFor::Leave;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return KeptFor::Focus;
    case Qt::Key_F1: return KeptFor::Controls;
    case Qt::Key_F11: return KeptFor::FullScreen;
    default: return KeptFor::None;
    }
}

QString KeyName(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Left: return QStringLiteral("←");
    case Qt::Key_Right: return QStringLiteral("→");
    case Qt::Key_Up: return QStringLiteral("↑");
    case Qt::Key_Down: return QStringLiteral("↓");
    case Qt::Key_Space: return QCoreApplication::translate("Choices", "スペース");
    default: return QKeySequence(qtKey).toString(QKeySequence::NativeText);
    }
}

QString PortableKeyText(int qtKey) { return QKeySequence(qtKey).toString(QKeySequence::PortableText); }

bool StoreKeyBindings(const KeyBindings& keys, QString* failure)
{
    // The keys that differ from those in effect, in one save.
    const KeyBindings now = CurrentKeyBindings();
    PlayerChoices changed;
    for (GameAction a : AllGameActions)
        if (keys.of(a) != now.of(a)) changed.append({ControlsGroup, ControlsKeyOf(a), PortableKeyText(keys.of(a))});
    return SetPlayerSettings(changed, failure);
}
