// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "view/save_wait_note.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QScreen>

#include "runtime/message_box.h"
#include "storage/settings_store.h"

namespace {

// The note of the save that waits, centred over the modal window in front, else the active one,
// else the screen (a save before any window is open); made again should the window it was over
// go meanwhile.
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
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        note->move(screen->geometry().center() - note->rect().center());
    note->show();
}

// The box that tells where a file the game could not read has gone.
void noteSetAside(const QString& asidePath)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    MsgBox(QCoreApplication::translate("SettingsStore", "設定のファイルが読めなかったので、次の名前でよけておき、新しいファイルに保存しました。\n%1")
               .arg(QDir::toNativeSeparators(asidePath)),
           QStringLiteral("Tavolnik"));
}

}  // namespace

void ShowSaveNotes()
{
    SetSaveWaitNote(noteSaveWait);
    SetSetAsideNote(noteSetAside);
}
