// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "runtime/key_bindings.h"

#include "runtime/player_settings.h"

QString ControlsKeyOf(GameAction action)
{
    switch (action) {
    case GameAction::Accelerate: return QStringLiteral("Accelerate");
    case GameAction::Brake: return QStringLiteral("Brake");
    case GameAction::Left: return QStringLiteral("Left");
    case GameAction::Right: return QStringLiteral("Right");
    case GameAction::Up: return QStringLiteral("Up");
    case GameAction::Down: return QStringLiteral("Down");
    case GameAction::Next: return QStringLiteral("Next");
    case GameAction::Pause: return QStringLiteral("Pause");
    }
    return QString();
}

int DesignKeyOf(GameAction action)
{
    switch (action) {
    case GameAction::Accelerate: return Qt::Key_A;
    case GameAction::Brake: return Qt::Key_B;
    case GameAction::Left: return Qt::Key_Left;
    case GameAction::Right: return Qt::Key_Right;
    case GameAction::Up: return Qt::Key_Up;
    case GameAction::Down: return Qt::Key_Down;
    case GameAction::Next: return Qt::Key_Space;
    case GameAction::Pause: return Qt::Key_P;
    }
    return 0;
}

int KeyOf(GameAction action)
{
    const QString stored = PlayerSetting(ControlsGroup, ControlsKeyOf(action), QString());
    if (stored.isEmpty()) return DesignKeyOf(action);
    // One key without modifiers, as the key dialog stores it; anything else is the design's.
    const QKeySequence sequence = QKeySequence::fromString(stored, QKeySequence::PortableText);
    if (sequence.count() != 1 || sequence[0].keyboardModifiers() != Qt::NoModifier ||
        sequence[0].key() == Qt::Key_unknown)
        return DesignKeyOf(action);
    return sequence[0].key();
}

bool ActionOfKey(int qtKey, GameAction* action)
{
    for (GameAction a : AllGameActions) {
        if (KeyOf(a) == qtKey) {
            if (action) *action = a;
            return true;
        }
    }
    return false;
}
