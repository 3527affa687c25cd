// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "runtime/message_box.h"

#include <QMessageBox>

namespace {
MsgBoxHook hook;
}

void MsgBox(const QString& text, const QString& title, QWidget* parent)
{
    if (hook) {
        hook(text, title);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

void SetMsgBoxHook(MsgBoxHook h) { hook = std::move(h); }
