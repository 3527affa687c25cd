// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "view/save_wait_note.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>

#include "storage/settings_store.h"

namespace {

// The note of the save that waits, centred over the modal window in front, else the active one;
// made again should the window it was over go meanwhile.
void noteSaveWait(bool waiting)
{
    static QPointer<QLabel> note;
    if (!waiting) delete note;
    if (!waiting || note || !qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    QWidget* over = QApplication::activeModalWidget();
    if (!over) over = QApplication::activeWindow();
    note = new QLabel(QCoreApplication::translate("SettingsStore", "保存中…"), over, Qt::ToolTip | Qt::FramelessWindowHint);
    note->setObjectName(QStringLiteral("savingNote"));
    note->setAttribute(Qt::WA_ShowWithoutActivating);
    note->setMargin(8);
    note->adjustSize();
    if (over) note->move(over->mapToGlobal(over->rect().center()) - note->rect().center());
    note->show();
}

}  // namespace

void ShowSaveWaitNotes()
{
    SetSaveWaitNote(noteSaveWait);
}
