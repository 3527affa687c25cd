// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// キー設定: the player gives each action of the race (accelerate, brake, the four directions,
// the next message, the pause) a key of their own. Each action has a key field (click it, or
// Tab to it, and press a key); the gamepad's buttons for it are shown beside. A key another
// action already has, or one the game keeps for itself, is refused with a message. 標準に戻す
// puts the design's keys back; OK writes the keys to the settings file's [Controls] group.
#pragma once

#include <QDialog>
#include <QLineEdit>

#include "prefs/key_bindings.h"

class QPushButton;

// One key: a press while the field has the focus offers it, with the modifiers held, and a
// modifier let go alone offers itself. Tab moves on, Escape and Return are the dialog's.
class KeyField : public QLineEdit
{
    Q_OBJECT
public:
    explicit KeyField(QWidget* parent = nullptr);
    int key() const { return key_; }
    void setKey(int qtKey);

signals:
    // The player pressed this key in the field (with its modifiers, a QKeyCombination's
    // combined value); the dialog decides whether it is taken.
    void keyPressed(int pressed);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    int key_ = 0;
    int lonelyModifier_ = 0;  // a modifier pressed, and no key after it yet
};

class KeySettingsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit KeySettingsDialog(QWidget* parent = nullptr);

    KeyField* field(GameAction action) const { return fields_[static_cast<int>(action)]; }
    QPushButton* restoreButton = nullptr;  // 標準に戻す
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

    // The keys the fields hold now.
    KeyBindings chosenKeys() const;

    void accept() override;

private:
    void offer(GameAction action, int pressed);
    void restoreDesign();

    KeyField* fields_[GameActionCount] = {};
};
