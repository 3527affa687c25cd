// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The modal message box: a title, a text and a single OK button.
#pragma once

#include <QString>
#include <functional>

class QWidget;

// Shows the box modally and returns when the player has pressed OK.
void MsgBox(const QString& text, const QString& title, QWidget* parent = nullptr);

// Tests put a recorder in place of the real box so nothing waits for a click;
// an empty function restores the real box.
using MsgBoxHook = std::function<void(const QString& text, const QString& title)>;
void SetMsgBoxHook(MsgBoxHook hook);
