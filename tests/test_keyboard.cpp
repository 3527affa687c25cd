// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Steering: the arrows move the hero within the road, "A" and "B" step the speed and the
// gauge, Space asks for the next message; real key presses reach the handler whatever has
// the focus.
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

#include "audio/sound.h"
#include "race/race_state.h"
#include "race_fixture.h"
#include "runtime/scene_wait.h"

namespace {
} // namespace

class KeyboardTest : public QObject
{
    Q_OBJECT
    RaceFixture f;

    QString litBars() const
    {
        QString s;
        for (Shape* bar : f.form->bar_Speed)
            s += bar->FillColor() == GaugeLit ? QLatin1Char('#')
                 : bar->FillColor() == GaugeDark ? QLatin1Char('.') : QLatin1Char('?');
        return s;
    }

private slots:
    void init()
    {
        f.setUp();
        f.startRace(ModeDrive, 0, 0);
    }
    void cleanup() { f.tearDown(); }

    // From a dark gauge at speed 0, "A" leaves bars 0..Speed lit and "B" bars 0..Speed-1,
    // whatever came before.
    void gaugeAfterKeys_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::newRow("AAA") << "AAA";
        QTest::newRow("AAAB") << "AAAB";
        QTest::newRow("AAABA") << "AAABA";
        QTest::newRow("ten A") << "AAAAAAAAAA";
        QTest::newRow("B at 0") << "B";
        QTest::newRow("A then B") << "AB";
        QTest::newRow("B from 9") << "AAAAAAAAAAAB";
        QTest::newRow("brakes first") << "BBBA";
        QRandomGenerator random(2024);
        for (int i = 0; i < 20; ++i) {
            QString keys;
            const int n = 1 + random.bounded(40);
            for (int k = 0; k < n; ++k) keys += random.bounded(3) ? QLatin1Char('A') : QLatin1Char('B');
            QTest::addRow("random %d", i) << keys;
        }
    }
    void gaugeAfterKeys()
    {
        QFETCH(QString, keys);
        int speed = 0;
        for (QChar key : keys) {
            f.form->Form_KeyDown(key == 'A' ? 65 : 66, 0);
            speed = qBound(0, speed + (key == 'A' ? 1 : -1), 9);
        }
        QCOMPARE(int(Speed), speed);
        const int lit = keys.endsWith('A') ? speed + 1 : speed;
        QCOMPARE(litBars(), QString(lit, '#') + QString(10 - lit, '.'));
        QStringList expected;
        for (QChar key : keys) expected << (key == 'A' ? "Up" : "Down");
        QCOMPARE(f.effectNames(), expected);
    }

    void arrows_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::newRow("right") << 39 << QPoint(100, 100) << QPoint(105, 100);
        QTest::newRow("right clamps at 520") << 39 << QPoint(518, 100) << QPoint(520, 100);
        QTest::newRow("right at 520 stays") << 39 << QPoint(520, 100) << QPoint(520, 100);
        QTest::newRow("left") << 37 << QPoint(100, 100) << QPoint(95, 100);
        QTest::newRow("left clamps at 0") << 37 << QPoint(2, 100) << QPoint(0, 100);
        QTest::newRow("up") << 38 << QPoint(100, 100) << QPoint(100, 95);
        QTest::newRow("up clamps at 0") << 38 << QPoint(100, 3) << QPoint(100, 0);
        QTest::newRow("down") << 40 << QPoint(100, 100) << QPoint(100, 105);
        QTest::newRow("down clamps at 176") << 40 << QPoint(100, 174) << QPoint(100, 176);
        QTest::newRow("down at 176 stays") << 40 << QPoint(100, 176) << QPoint(100, 176);
        QTest::newRow("other key") << 67 << QPoint(100, 100) << QPoint(100, 100);
    }
    void arrows()
    {
        QFETCH(int, key);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        Picture* hero = f.form->img_JetR[0];
        hero->move(from.x(), from.y());
        f.form->Form_KeyDown(static_cast<int16_t>(key), 0);
        QCOMPARE(hero->Left(), double(to.x()));
        QCOMPARE(hero->Top(), double(to.y()));
        QCOMPARE(Speed, int16_t(0)); // the hero moves while standing still
    }

    // Only exactly True lets the steering keys act; Space asks for the next message always.
    void keysWhileInputOff_data()
    {
        QTest::addColumn<int>("input");
        QTest::newRow("false") << 0;
        QTest::newRow("not exactly true") << 1;
    }
    void keysWhileInputOff()
    {
        QFETCH(int, input);
        InputEnabled = static_cast<VBool>(input);
        NextFlag = VbFalse;
        Picture* hero = f.form->img_JetR[0];
        for (int key : {37, 38, 39, 40, 65, 66}) f.form->Form_KeyDown(static_cast<int16_t>(key), 0);
        QCOMPARE(hero->Left(), 448.0);
        QCOMPARE(hero->Top(), 112.0);
        QCOMPARE(Speed, int16_t(0));
        QVERIFY(f.effectNames().isEmpty());
        QCOMPARE(NextFlag, VbFalse);
        f.form->Form_KeyDown(32, 0);
        QCOMPARE(NextFlag, VbTrue);
    }

    void spaceDuringRace()
    {
        NextFlag = VbFalse;
        f.form->Form_KeyDown(32, 0);
        QCOMPARE(NextFlag, VbTrue);
        QCOMPARE(Speed, int16_t(0));
    }

    // Real key presses: the window sees them before the focused control, by the key and not by
    // the character, with or without Shift or Caps Lock.
    void realKeyPresses()
    {
        f.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.form));
        f.form->Text1->setFocus();
        QTest::keyClick(f.form->Text1, 'a'); // lower case
        QCOMPARE(Speed, int16_t(1));
        QTest::keyClick(f.form->Text1, 'A'); // upper case without Shift, as with Caps Lock
        QCOMPARE(Speed, int16_t(2));
        QTest::keyClick(f.form->Text1, Qt::Key_A, Qt::ShiftModifier);
        QCOMPARE(Speed, int16_t(3));
        QTest::keyClick(f.form->Text1, 'b');
        QCOMPARE(Speed, int16_t(2));
        QTest::keyClick(f.form->Text1, Qt::Key_Left);
        QTest::keyClick(f.form->Text1, Qt::Key_Up);
        QCOMPARE(f.form->img_JetR[0]->Left(), 443.0);
        QCOMPARE(f.form->img_JetR[0]->Top(), 107.0);
        // The hidden text box never types the game's keys.
        QCOMPARE(f.form->Text1->text(), QString());
        QCOMPARE(f.effectNames(), (QStringList{"Up", "Up", "Up", "Down"}));

        NextFlag = VbFalse;
        QTest::keyClick(f.form, Qt::Key_Space);
        QCOMPARE(NextFlag, VbTrue);
        QTest::keyClick(f.form, Qt::Key_Right);
        QCOMPARE(f.form->img_JetR[0]->Left(), 448.0);
    }

    // P and Pause hold a running race, a crash in the middle included, and let it go on: the
    // road is dimmed under the sign, the steering keys do nothing, the music holds, nothing
    // moves, and every timer keeps what was left of its interval, neither more nor less.
    void pauseAndResume_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("crash");
        QTest::newRow("P") << int(Qt::Key_P) << false;
        QTest::newRow("Pause while he tumbles") << int(Qt::Key_Pause) << true;
    }
    void pauseAndResume()
    {
        QFETCH(int, key);
        QFETCH(bool, crash);
        form_Main* form = f.form;
        form->cmd_Start->setEnabled(false);
        BgmOpen = VbTrue;
        if (crash) form->Crushfun(CrushObstacle);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QTest::qWait(400);

        QTest::keyClick(form, Qt::Key(key));
        QVERIFY(form->Paused());
        QVERIFY(form->pauseSign && form->pauseSign->isVisible());
        QList<Timer*> racing{form->timer_Main, form->timer_BGM, crash ? form->timer_Crush : form->timer_Zenta};
        QList<int> left;
        for (Timer* t : racing) {
            left << t->remainingTime();
            QVERIFY2(left.last() >= 0 && left.last() < t->Interval(), qPrintable(QString::number(left.last())));
        }
        const int32_t time = TimeCount;
        const double road = form->img_Road->Left();
        const int16_t step = form->CrushStep;
        const QRect hero = form->img_JetR[0]->rect();

        QTest::qWait(crash ? 450 : 250);
        for (int key : {Qt::Key_Right, Qt::Key_A, Qt::Key_Up}) QTest::keyClick(form, Qt::Key(key));
        for (int i = 0; i < racing.size(); ++i) QCOMPARE(racing[i]->remainingTime(), left[i]);
        QCOMPARE(TimeCount, time);
        QCOMPARE(form->img_Road->Left(), road);
        QCOMPARE(form->CrushStep, step);
        QCOMPARE(form->img_JetR[0]->rect(), hero);
        QVERIFY(!f.effectNames().contains(QStringLiteral("Up")));

        QTest::keyClick(form, Qt::Key(key));
        QVERIFY(!form->Paused());
        QVERIFY(form->pauseSign->isHidden());
        for (int i = 0; i < racing.size(); ++i)
            QVERIFY2(qAbs(racing[i]->remainingTime() - left[i]) <= 15,
                     qPrintable(QStringLiteral("%1 left %2").arg(racing[i]->remainingTime()).arg(left[i])));
        QCOMPARE(f.sound->commands().filter(QRegularExpression(QStringLiteral("^(pause|resume) bgm$"))),
                 (QStringList{"pause bgm", "resume bgm"}));
        // The clock ticks when its interval is over, then goes on at whole seconds.
        QTRY_VERIFY_WITH_TIMEOUT(TimeCount != time, left[0] + 400);
        QVERIFY2(form->timer_Main->remainingTime() > 850,
                 qPrintable(QString::number(form->timer_Main->remainingTime())));
    }

    // Outside a running race the pause keys do nothing: before the first START, after a game
    // over, in the clear scene.
    void pauseKeysOutsideARace_data()
    {
        QTest::addColumn<QString>("state");
        QTest::newRow("before START") << "before";
        QTest::newRow("after a game over") << "over";
        QTest::newRow("clear scene") << "clear";
    }
    void pauseKeysOutsideARace()
    {
        QFETCH(QString, state);
        form_Main* form = f.form;
        if (state == "before") {
            form->timer_Main->setEnabled(false);
            form->timer_Zenta->setEnabled(false);
            InputEnabled = VbFalse;
        } else if (state == "over") {
            form->GameOver(GameOverTimeUp);
        } else {
            GameMode = ModeStage1;
            form->WinGame();
        }
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        for (int key : {Qt::Key_P, Qt::Key_Pause}) {
            QTest::keyClick(form, Qt::Key(key));
            QVERIFY(!form->Paused());
        }
        QVERIFY(!form->pauseSign || form->pauseSign->isHidden());
        QCOMPARE(form->timer_Clear->Paused(), false);
        QVERIFY(!f.sound->commands().contains(QStringLiteral("pause bgm")));
    }

    // A race whose window loses the focus pauses by itself, and stays paused when the window
    // comes back, until the player's key.
    void focusLossPauses_data()
    {
        QTest::addColumn<bool>("minimise");
        QTest::newRow("another window") << false;
        QTest::newRow("minimised") << true;
    }
    void focusLossPauses()
    {
        QFETCH(bool, minimise);
        form_Main* form = f.form;
        form->cmd_Start->setEnabled(false);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QWidget other;
        if (minimise) {
            form->showMinimized();
        } else {
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
        }
        QVERIFY(form->Paused());
        QVERIFY(form->timer_Main->Paused());
        form->showNormal();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QVERIFY(form->Paused());
        QTest::keyClick(form, Qt::Key_P);
        QVERIFY(!form->Paused());
    }

    // Return presses START whenever START can be pressed: after a game over it starts the next
    // race. While the opening message waits, or in a race, running or paused, it does nothing.
    void returnPressesStart()
    {
        form_Main* form = f.form;
        form->GameOver(GameOverTimeUp);
        QVERIFY(form->cmd_Start->isEnabled());
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form));
        bool waited = false;
        QTimer::singleShot(50, form, [&] {
            QTest::keyClick(form, Qt::Key_Return);
            waited = form->Nextbox->isVisible();
            QTest::keyClick(form, Qt::Key_Space);
        });
        QTimer safety;
        safety.setSingleShot(true);
        connect(&safety, &QTimer::timeout, this, [] { SceneWait::cutOff(); });
        safety.start(5000);
        QTest::keyClick(form, Qt::Key_Return);
        QVERIFY(safety.isActive());
        QVERIFY(waited);
        QVERIFY(form->RaceRunning());
        QVERIFY(form->CountingDown());  // the race itself starts after the countdown
        QVERIFY(!form->cmd_Start->isEnabled());
        QCOMPARE(f.effectNames(), QStringList{"Click"});

        QTest::keyClick(form, Qt::Key_P);
        QTest::keyClick(form, Qt::Key_Return);
        QTest::keyClick(form, Qt::Key_P);
        QTest::keyClick(form, Qt::Key_Enter);
        QCOMPARE(f.effectNames(), QStringList{"Click"});
        QVERIFY(form->RaceRunning());
    }
};

QTEST_MAIN(KeyboardTest)
#include "test_keyboard.moc"
