// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Closing the race window at every phase of a game: during the opening message, mid-race, in a
// crash, in the clear scene (its approach and its dialogue) and while the ranking window asks
// for a name. Every time the game must wind down cleanly: no crash, no hang, every timer
// stopped, no scene wait left running, the music closed and the window gone.
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include "audio/media_recorder.h"
#include "audio/sound.h"
#include "race/race_state.h"
#include "runtime/message_box.h"
#include "runtime/random.h"
#include "runtime/scene_wait.h"
#include "scores/high_scores.h"
#include "flow/race_screen_wiring.h"
#include "screens/form_main.h"
#include "screens/form_rank.h"
#include "player_driver.h"

namespace {

// The state of the race window at the moment it was closed, and just after.
struct Snapshot {
    bool taken = false;
    bool anyTimer = false;
    bool input = false;
};

enum Phase { OpeningWait, Race, CarCrash, Fall, ClearApproach, ClearDialogue, RankingDrive, RankingStory };

} // namespace

Q_DECLARE_METATYPE(Phase)

class ChaosTest : public QObject
{
    Q_OBJECT
    QTemporaryDir config;

    static bool anyRaceTimer(form_Main* m)
    {
        for (Timer* t : {m->timer_Main, m->timer_Zenta, m->timer_Crush, m->timer_Clear, m->timer_BGM})
            if (t->Enabled()) return true;
        return false;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        SetMsgBoxHook([](const QString&, const QString&) {});
    }
    void cleanupTestCase() { SetMsgBoxHook({}); }

    void closingTheRaceWindowEndsCleanly_data()
    {
        QTest::addColumn<Phase>("phase");
        QTest::addColumn<int>("mode");
        QTest::newRow("opening message") << OpeningWait << 0;
        QTest::newRow("race") << Race << 2;
        QTest::newRow("crash on a car") << CarCrash << 2;
        QTest::newRow("fall over an obstacle") << Fall << 0;
        QTest::newRow("clear scene, approach") << ClearApproach << 0;
        QTest::newRow("clear scene, dialogue") << ClearDialogue << 1;
        QTest::newRow("ranking window of a drive") << RankingDrive << 2;
        QTest::newRow("ranking window of a cleared stage") << RankingStory << 0;
    }

    void closingTheRaceWindowEndsCleanly()
    {
        QFETCH(Phase, phase);
        QFETCH(int, mode);

        ResetRaceState();
        ResetHighScores();
        LoadScore();
        SetFixedSeed(99);
        MediaRecorder sound;

        QPointer<form_Main> m = NewRaceScreen();
        GameMode = int16_t(mode);
        m->Init_Car();
        m->show();
        QVERIFY(QTest::qWaitForWindowExposed(m));

        Snapshot atClose;
        bool closed = false, hung = false;
        QElapsedTimer sinceStart;
        sinceStart.start();
        auto closeNow = [&] {
            closed = true;
            player::CloseBox(m);
            if (m) {
                atClose.taken = true;
                atClose.anyTimer = anyRaceTimer(m);
                atClose.input = InputEnabled == VbTrue;
            }
        };

        // The player, and the hand that closes the window once the phase is reached. It acts
        // from a timer, so it goes on inside every wait and modal window of the game.
        bool crashed = false, goalSet = false;
        QTimer hand;
        hand.setInterval(5);
        connect(&hand, &QTimer::timeout, [&] {
            if (closed || !m) return;
            form_Rank* rank = player::WaitingRankWindow();
            const bool waiting = player::MessageWaits(m);
            const bool racing = m->timer_Zenta->Enabled();
            switch (phase) {
            case OpeningWait:
                if (waiting) closeNow();
                return;
            case Race:
                if (racing && sinceStart.elapsed() > 1500) closeNow();
                break;
            case CarCrash:
            case Fall:
                if (racing && !crashed) {
                    crashed = true;
                    m->Crushfun(phase == CarCrash ? 0 : 1);
                }
                if (m->timer_Crush->Enabled() && m->CrushStep >= 3) closeNow();
                break;
            case ClearApproach:
            case ClearDialogue:
            case RankingStory:
                if (racing && !goalSet) {
                    goalSet = true;
                    Distance = 5;
                    Speed = 1;
                }
                if (phase == ClearApproach && m->timer_Clear->Enabled() && m->ClearStep >= 3) closeNow();
                if (phase == ClearDialogue && waiting && m->img_Clear->Visible()) closeNow();
                if (phase == RankingStory && rank) closeNow();
                break;
            case RankingDrive:
                if (racing && !crashed) {
                    crashed = true;
                    Distance = 5000;
                    m->Crushfun(CrushCar);
                }
                if (rank) closeNow();
                break;
            }
            if (closed) return;
            // Everything else the player meets is answered: messages with Space, a stray
            // ranking window with a name.
            if (rank) {
                player::EnterRankName(rank, QStringLiteral("かおす"));
            } else if (waiting) {
                m->Form_KeyDown(32, 0);
            }
        });
        hand.start();

        // A hang shows as a wait or a modal window that never ends: they are cut off after a
        // while, so the test can fail instead of hanging.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [&] {
            hung = true;
            SceneWait::cutOff();
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
            if (m) m->close();
        });
        watchdog.start(20000);

        QTimer::singleShot(0, m, [m] { m->cmd_Start->click(); });
        QTRY_VERIFY_WITH_TIMEOUT(closed || hung, 25000);
        // Whatever handler was running unwinds, and the window goes.
        QTRY_VERIFY_WITH_TIMEOUT(m.isNull() || hung, 25000);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        hand.stop();
        watchdog.stop();

        QVERIFY2(!hung, "the game hung after the window was closed");
        QVERIFY(m.isNull());
        QVERIFY(atClose.taken);
        QVERIFY2(!atClose.anyTimer, "a timer of the race window ran on after it closed");
        QVERIFY2(!atClose.input, "the keys stayed on after the window closed");
        QCOMPARE(SceneWait::depth(), 0);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(BgmOpen, VbFalse);
        // Nothing of the closed window is left behind.
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!qobject_cast<form_Rank*>(w) && !qobject_cast<form_Main*>(w),
                     qPrintable(w->metaObject()->className()));
        QCOMPARE(form_Main::current(), nullptr);
        if (phase == RankingDrive) {
            // The ranking window was closed with the race window, and saved the new result.
            ResetHighScores();
            LoadScore();
            QCOMPARE(HScoreVal[2][1][0], 5000);
        }
        ClearFixedSeed();
    }
};

QTEST_MAIN(ChaosTest)
#include "test_chaos.moc"
