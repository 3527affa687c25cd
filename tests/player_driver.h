// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The player's steps, written once for every test of whole windows, and the fixtures built on
// them:
//   player::...   one step each: START and the opening message, the next message, a name in the
//                 ranking window, the close box, the effects heard
//   WindowFixture a settings folder of its own for every test (never the player's), the race
//                 globals and rankings as the program starts them, a recorder in place of the
//                 sound card, and every window of a test closed and discarded after it; the
//                 program's main points the settings away before the application object exists
//                 (WINDOW_TEST_MAIN)
//   RaceFixture   a fresh race screen with a repeatable random sequence and a recorder, started
//                 as the player starts it, and a few ways to place the traffic
//   SteppedTimer  the race timers stepped in virtual time
//   SceneDriver   the player's part in the race screen's scenes, answering every wait
#pragma once

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QtTest>
#include <array>
#include <functional>
#include <memory>

#include "audio/media_recorder.h"
#include "flow/race_screen_wiring.h"
#include "prefs/key_bindings.h"
#include "race/race_state.h"
#include "runtime/message_box.h"
#include "runtime/random.h"
#include "runtime/scene_wait.h"
#include "scores/high_scores.h"
#include "scores_test_support.h"
#include "screens/form_main.h"
#include "screens/form_rank.h"

namespace player {

// Whether the race screen waits for the player to go on to the next message.
inline bool MessageWaits(const form_Main* race)
{
    return SceneWait::depth() > 0 && !race->Nextbox->isHidden();
}

// Goes on to the next message with Space, as a real key event.
inline void PressSpace(form_Main* race) { QTest::keyClick(race->Text1, Qt::Key_Space); }

// The ranking window that waits for the player, if one does.
inline form_Rank* WaitingRankWindow() { return qobject_cast<form_Rank*>(QApplication::activeModalWidget()); }

// Puts a name into every name box the ranking window shows, at once or typed key by key, then
// clicks とじる.
inline void EnterRankName(form_Rank* rank, const QString& name, bool typed = false)
{
    for (QLineEdit* box : rank->txt_Nm) {
        if (box->isHidden()) continue;
        if (typed) QTest::keyClicks(box, name);
        else box->setText(name);
    }
    rank->cmd_Close->click();
}

// Moves the pointer to a point of a window's client area, as the window system reports it: the
// window finds the control under the pointer and hands the move to it.
inline void PointerTo(QWidget* window, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(window->mapToGlobal(at)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(window->windowHandle(), &move);
}

// Closes a window as its title-bar close box does.
inline void CloseBox(QWidget* window)
{
    if (QWindow* handle = window->windowHandle())
        handle->close();
    else
        window->close();
}

// Clicks START and, once the opening message waits, runs whileWaiting and presses Space, both as
// real input events, then the accelerator unless the countdown is wanted. Returns when START has
// come back: the race runs (or the window was closed meanwhile).
inline void PressStart(form_Main* race, const std::function<void()>& whileWaiting = {}, bool countdown = false)
{
    QPointer<form_Main> guarded(race);
    QTimer answer;
    answer.setInterval(1);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (!guarded || !MessageWaits(guarded)) return;
        answer.stop();
        if (whileWaiting) whileWaiting();
        if (guarded) PressSpace(guarded);
    });
    answer.start();
    QTest::mouseClick(race->cmd_Start, Qt::LeftButton);
    if (!countdown && guarded && guarded->CountingDown()) QTest::keyClick(race, Qt::Key(KeyOf(GameAction::Accelerate)));
}

// The names of the effects played so far ("Click", "Claps"), in order.
inline QStringList EffectNames(const MediaRecorder& recorder) { return scores_test::effectNames(recorder); }

}  // namespace player

// What the tests of whole windows share; a test class holds one and calls its init() and
// cleanup() from its own.
struct WindowFixture {
    std::unique_ptr<MediaRecorder> sound;

    void init()
    {
        scores_test::freshConfig();
        ResetRaceState();
        ResetHighScores();
        sound = std::make_unique<MediaRecorder>();
    }

    void cleanup()
    {
        discardWindows();
        SetMsgBoxHook({});
        ClearFixedSeed();
        sound.reset();
    }

    // The names of the effects played so far ("Click", "Claps"), in order.
    QStringList effectNames() const { return player::EffectNames(*sound); }

    static void discardWindows()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible()) w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static QList<QWidget*> shownWindows()
    {
        QList<QWidget*> list;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible()) list << w;
        return list;
    }

    // Clicks START and answers the opening message (player::PressStart).
    static void pressStart(form_Main* race, const std::function<void()>& whileWaiting = {})
    {
        player::PressStart(race, whileWaiting);
    }
};

#define WINDOW_TEST_MAIN(TestClass)                                                       \
    int main(int argc, char** argv)                                                       \
    {                                                                                     \
        scores_test::pointConfigAt(scores_test::configRoot().path());                     \
        QApplication app(argc, argv);                                                     \
        TestClass test;                                                                   \
        return QTest::qExec(&test, argc, argv);                                           \
    }

// What the race tests share: a fresh race screen, a repeatable random sequence and a recorder.
struct RaceFixture {
    std::unique_ptr<MediaRecorder> sound;
    form_Main* form = nullptr;
    uint64_t seed_ = 0;

    void setUp(uint64_t seed = 12345)
    {
        ResetRaceState();
        seed_ = seed;
        SetFixedSeed(seed);
        sound = std::make_unique<MediaRecorder>();
        form = NewRaceScreen();
    }

    void tearDown()
    {
        delete form;
        form = nullptr;
        sound.reset();
        ClearFixedSeed();
    }

    // A race started by a real click on START and Space at its opening message, in the given
    // mode; then the clock and the distance are set to what the test asks for, the random draws
    // start again from the fixture's seed and the sound record starts with the race.
    void startRace(int16_t mode, int32_t time, int32_t distance)
    {
        GameMode = mode;
        player::PressStart(form);
        QVERIFY(form->timer_Zenta->Enabled());
        TimeCount = time;
        Distance = distance;
        SetFixedSeed(seed_);
        sound->calls.clear();
    }

    // Puts the hero where nothing on or off the road can reach him.
    void heroAway() { form->img_JetR[0]->move(-2000, -2000); }

    Picture* car(int n) const { return form->car(n); }

    // Names of the effects played so far, in order ("Up", "Crush1", ...).
    QStringList effectNames() const { return player::EffectNames(*sound); }
};

// A race timer stepped in virtual time, for a race played without waiting: while enabled, its
// handler is due once an interval, counted from the moment it was first seen enabled.
struct SteppedTimer {
    Timer* timer;
    int interval;
    void (form_Main::*handler)();
    long due = -1;

    // Whether the handler is due at this moment; when it is, the next time is counted from now.
    bool dueAt(long now)
    {
        if (!timer->Enabled()) {
            due = -1;
            return false;
        }
        if (due < 0) due = now + interval;
        if (now < due) return false;
        due = now + interval;
        return true;
    }
};

// The clock, the race tick and the crash of a race screen, stepped as above.
inline std::array<SteppedTimer, 3> SteppedRaceTimers(form_Main* m)
{
    return {{{m->timer_Main, 1000, &form_Main::timer_Main_Timer},
             {m->timer_Zenta, 500, &form_Main::timer_Zenta_Timer},
             {m->timer_Crush, 200, &form_Main::timer_Crush_Timer}}};
}

// The first seed from `from` on whose first draws satisfy `wanted` (given the draws in order).
inline uint64_t SeedWhere(const std::function<bool(const QList<double>&)>& wanted, int draws,
                          uint64_t from = 1)
{
    for (uint64_t seed = from;; ++seed) {
        SetFixedSeed(seed);
        QList<double> d;
        for (int i = 0; i < draws; ++i) d << Rnd();
        if (wanted(d)) return seed;
    }
}

// A seed whose first draw is below p, so the first open entry step of SetCar lets its object in.
inline uint64_t SeedWithFirstDrawBelow(double p)
{
    return SeedWhere([p](const QList<double>& d) { return d[0] < p; }, 1);
}

// Plays the player's part in the race screen's scenes: answers every wait for the next message
// (by a click on "Click or SpaceKey to Next" and by Space, in turn), types a name into a
// ranking window that asks for one and closes it, and keeps a record of what it saw.
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
    // The portrait's picture at each of those waits, and whether the hero's sprite or the
    // friend's stood on the road.
    QList<qint64> portraitAtWait;
    QList<bool> pairShownAtWait;
    // What the message box said each time a ranking window asked for a name.
    QStringList rankCaptions;
    // The name typed into a ranking window's name box.
    QString rankName = QStringLiteral("れつ");
    // When it holds, the race screen is closed by its close box instead of going on.
    std::function<bool()> closeWhen;
    bool closedByDriver = false;

    void stop() { timer_.stop(); }

    // Closes a window as its title-bar close box does (player::CloseBox).
    static void closeBox(QWidget* window) { player::CloseBox(window); }

private:
    void poll()
    {
        if (!main_ || closedByDriver) return;
        if (closeWhen && closeWhen()) {
            closedByDriver = true;
            player::CloseBox(main_);
            return;
        }
        if (form_Rank* rank = player::WaitingRankWindow()) {
            rankCaptions << main_->lbl_Msg->Caption();
            player::EnterRankName(rank, rankName);
            return;
        }
        if (player::MessageWaits(main_)) {
            waitCaptions << main_->lbl_Msg->Caption();
            musicPollAtWait << main_->timer_BGM->Enabled();
            portraitAtWait << main_->img_Zenta[0]->imageKey();
            pairShownAtWait << (main_->img_JetR[0]->Visible() || main_->img_Retsu[0]->Visible());
            if (waitCaptions.size() % 2)
                QTest::mouseClick(main_->Nextbox, Qt::LeftButton);
            else
                player::PressSpace(main_);
        }
    }

    QPointer<form_Main> main_;
    QTimer timer_;
};
