// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Plays the player's part in the race screen's scenes: answers every wait for the next message
// (by a click on "Click or SpaceKey to Next" and by Space, in turn), types a name into a
// ranking window that asks for one and closes it, and keeps a record of what it saw.
#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <functional>

#include "runtime/scene_wait.h"
#include "screens/form_main.h"
#include "screens/form_rank.h"

class SceneDriver : public QObject
{
public:
    explicit SceneDriver(form_Main* main, int periodMs = 2) : main_(main)
    {
        timer_.setInterval(periodMs);
        connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
        timer_.start();
    }

    // What the message box said at each wait the driver answered, in order.
    QStringList waitCaptions;
    // Whether the music poll ran at each of those waits.
    QList<bool> musicPollAtWait;
    // What the message box said each time a ranking window asked for a name.
    QStringList rankCaptions;
    // The name typed into a ranking window's name box.
    QString rankName = QStringLiteral("れつ");
    // When it holds, the race screen is closed by its close box instead of going on.
    std::function<bool()> closeWhen;
    bool closedByDriver = false;

    void stop() { timer_.stop(); }

    // Closes a window as its title-bar close box does.
    static void closeBox(QWidget* window)
    {
        if (QWindow* handle = window->windowHandle())
            handle->close();
        else
            window->close();
    }

private:
    void poll()
    {
        if (!main_ || closedByDriver) return;
        if (closeWhen && closeWhen()) {
            closedByDriver = true;
            closeBox(main_);
            return;
        }
        if (auto* rank = qobject_cast<form_Rank*>(QApplication::activeModalWidget())) {
            rankCaptions << main_->lbl_Msg->Caption();
            for (QLineEdit* box : rank->txt_Nm)
                if (!box->isHidden()) box->setText(rankName);
            rank->cmd_Close->click();
            return;
        }
        if (SceneWait::depth() > 0 && main_->Nextbox->isVisible()) {
            waitCaptions << main_->lbl_Msg->Caption();
            musicPollAtWait << main_->timer_BGM->Enabled();
            if (waitCaptions.size() % 2)
                QTest::mouseClick(main_->Nextbox, Qt::LeftButton);
            else
                QTest::keyClick(main_->Text1, Qt::Key_Space);
        }
    }

    QPointer<form_Main> main_;
    QTimer timer_;
};
