// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The pause: a running race (from the end of its opening message to its win or game over, its
// countdown included)
// stands still where it is. Every timer of the race screen keeps the rest of its interval, the
// music holds its place, the keys steer nothing, and the road is dimmed under a pause sign. A
// race that loses its window's focus pauses by itself and waits for the player's key. From the
// pause the player may also leave the race for the title screen (T, or the gamepad's Back),
// and the menus open: the volume, the keys, the language, the motion and the controls window
// can be changed or read, and the race stays paused after them until the player's key.
#include <QCoreApplication>
#include <QEvent>
#include <QPainter>

#include "audio/sound.h"
#include "prefs/key_bindings.h"
#include "view/scaled_scene.h"
#include "screens/form_main.h"

namespace {
// The dimmed road with "一時停止", the key that lets the race go on (the player's pause key)
// and the one that leaves it.
class PauseSign : public QWidget
{
public:
    explicit PauseSign(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(0, 0, 0, 150));
        // Drawn in the designed pixels, at the size the scene is drawn at.
        const qreal factor = ScaledScene::factorOf(this);
        p.scale(factor, factor);
        const int width = qRound(this->width() / factor), height = qRound(this->height() / factor);
        const QRect band(0, height / 2 - 56, width, 112);
        p.fillRect(band, QColor(0, 0, 0, 110));
        p.setPen(Qt::white);
        QFont title = GameFont(32);
        title.setBold(true);
        p.setFont(title);
        p.drawText(band.adjusted(0, 8, 0, -44), Qt::AlignCenter, QCoreApplication::translate("form_Main", "一時停止"));
        p.setPen(QColor(255, 255, 0));
        p.setFont(GameFont(14));
        const QString goOn = QCoreApplication::translate("PauseSign", "%1 で再開")
                                 .arg(KeyName(KeyOf(GameAction::Pause)));
        const QString leave = QCoreApplication::translate("PauseSign", "T でタイトルへ");
        p.drawText(band.adjusted(0, 68, 0, -8), Qt::AlignCenter,
                   goOn + QStringLiteral("　　") + leave);
    }
};
} // namespace

bool form_Main::RaceRunning() const
{
    // The clock runs from the end of the opening message (or of the countdown that follows it)
    // to the win or the game over, through any crash; the countdown can be held as well.
    return !closing_ && ((timer_Main && timer_Main->Enabled()) || CountingDown());
}

void form_Main::PauseRace()
{
    if (paused_ || !RaceRunning()) return;
    paused_ = true;
    for (Timer* t : {timer_Main, timer_Zenta, timer_Crush, timer_Clear, timer_BGM, timer_Count}) t->pause();
    BgmPause(true);
    if (!pauseSign) {
        // Over the road strip; the panel below stays as it is.
        pauseSign = new PauseSign(roadLayer);
        ScaledScene::place(pauseSign, QRect(0, 0, ClientWidth, 304));
    }
    pauseSign->raise();
    pauseSign->show();
    setTopMenusEnabled(true);
}

void form_Main::ResumeRace()
{
    if (!paused_) return;
    paused_ = false;
    setTopMenusEnabled(false);
    if (pauseSign) pauseSign->hide();
    BgmPause(false);
    for (Timer* t : {timer_Main, timer_Zenta, timer_Crush, timer_Clear, timer_BGM, timer_Count}) t->resume();
}

void form_Main::changeEvent(QEvent* event)
{
    // Another window takes the focus, or this one is minimised: the race waits for the player.
    const bool away = (event->type() == QEvent::ActivationChange && !isActiveWindow()) ||
                      (event->type() == QEvent::WindowStateChange && isMinimized());
    if (away) PauseRace();
    QMainWindow::changeEvent(event);
}
