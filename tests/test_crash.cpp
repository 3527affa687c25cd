// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The crash and the game over: the ten steps of a crash and their timing, an obstacle's fall
// that resumes the race, a car's wreck that ends it, the time running out while the hero is
// still tumbling, and the game over's messages and states for both causes in every mode.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include "player_driver.h"
#include "audio/sound.h"
#include "prefs/choices.h"
#include "race/modern_marks.h"
#include "race/race_state.h"
#include "storage/player_settings.h"
#include "runtime/message_box.h"

namespace {
const QString Ouch = QStringLiteral("うわっ！");
const QString TimeUpText = QStringLiteral(
    "うわー、間に合わなかったー！\r\n待ち合わせの時間過ぎちまったよぉー\r\n\r\nGame Over");
const QString WreckText = QStringLiteral(
    "ジェットローラーが壊れちまったー！\r\nもう走れねーよぉー\r\n\r\nGame Over");
} // namespace

class CrashTest : public QObject
{
    Q_OBJECT
    RaceFixture f;
    QStringList boxes;
    QTimer modalCloser;

    bool shows(Picture* target, Picture* source) const
    {
        return target->imageKey() == source->imageKey();
    }
    int litBars() const
    {
        int n = 0;
        for (Shape* bar : f.form->bar_Speed) n += bar->FillColor() == GaugeLit;
        return n;
    }
    // What START leaves locked during a race.
    void lockScreen()
    {
        f.form->cmd_Start->setEnabled(false);
        f.form->cmd_Title->setEnabled(false);
        f.form->setTopMenusEnabled(false);
    }
    bool screenGivenBack() const
    {
        return f.form->cmd_Start->isEnabled() && f.form->cmd_Title->isEnabled() &&
               f.form->mfile->menuAction()->isEnabled() && f.form->msound->menuAction()->isEnabled() &&
               f.form->mhelp->menuAction()->isEnabled();
    }
    void crashSteps(int steps)
    {
        for (int i = 0; i < steps; ++i) f.form->timer_Crush->fire();
    }

private slots:
    void initTestCase()
    {
        SetMsgBoxHook([this](const QString& text, const QString&) { boxes << text; });
        // A ranking window opened by a drive's result is closed at once, so no test waits.
        connect(&modalCloser, &QTimer::timeout, [] {
            if (QWidget* w = QApplication::activeModalWidget()) w->close();
        });
        modalCloser.start(50);
    }
    void cleanupTestCase() { SetMsgBoxHook({}); }
    void init()
    {
        boxes.clear();
        f.setUp();
        f.startRace(ModeStage1, 70, 3000);
        lockScreen();
    }
    void cleanup()
    {
        QVERIFY(boxes.isEmpty());
        f.tearDown();
    }

    // Crushfun stops the race tick, darkens the gauge and drops the speed, but leaves the
    // keyboard live until the first step: "A" pressed at once still counts.
    void crashStopsTheRace()
    {
        for (int i = 0; i < 10; ++i) f.form->Form_KeyDown(65, 0);
        QCOMPARE(litBars(), 10);
        f.form->Crushfun(CrushObstacle);
        QVERIFY(!f.form->timer_Zenta->Enabled());
        QVERIFY(f.form->timer_Crush->Enabled());
        QVERIFY(f.form->timer_Main->Enabled());
        QCOMPARE(f.form->timer_Crush->Interval(), 200);
        QCOMPARE(int(CrushType), 1);
        QCOMPARE(Speed, int16_t(0));
        QCOMPARE(litBars(), 0);
        QCOMPARE(InputEnabled, VbTrue);

        f.form->Form_KeyDown(65, 0);
        QCOMPARE(Speed, int16_t(1));
        crashSteps(10);
        QVERIFY(f.form->timer_Zenta->Enabled());
        QCOMPARE(Speed, int16_t(1));
        QCOMPARE(f.form->bar_Speed[0]->FillColor(), GaugeLit);
        QCOMPARE(f.form->bar_Speed[1]->FillColor(), GaugeLit);
        QCOMPARE(f.form->bar_Speed[2]->FillColor(), GaugeDark);
    }

    // Step by step: the sprite's crash pictures, the hurt face, the message and the sound;
    // then the race goes on after an obstacle, or ends after a car.
    void tenSteps_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("effectsOn");
        QTest::newRow("obstacle") << 1 << true;
        QTest::newRow("car") << 0 << true;
        QTest::newRow("obstacle, effects off") << 1 << false;
        QTest::newRow("car, effects off") << 0 << false;
    }
    void tenSteps()
    {
        QFETCH(int, kind);
        QFETCH(bool, effectsOn);
        if (!effectsOn) f.form->moff2->trigger();
        QCOMPARE(f.form->mon2->isChecked(), effectsOn);
        Picture* const* jet = f.form->img_JetR;
        Picture* const* face = f.form->img_Zenta;
        const int sprite[9] = {3, 4, 5, 3, 4, 5, 5, 5, 5}; // after steps 0..8
        const int sounds[9] = {1, 1, 1, 2, 2, 2, 2, 2, 2};
        const QString sound = kind == 0 ? "Crush2" : "Crush1";
        const double left = jet[0]->Left();

        f.form->Crushfun(static_cast<int16_t>(kind));
        for (int step = 0; step < 9; ++step) {
            f.form->timer_Crush->fire();
            QVERIFY2(shows(jet[0], jet[sprite[step]]), qPrintable(QString("step %1").arg(step)));
            QVERIFY(shows(face[0], face[2]));
            QCOMPARE(f.form->lbl_Msg->Caption(), Ouch);
            QCOMPARE(InputEnabled, VbFalse);
            QCOMPARE(f.effectNames(), effectsOn ? QStringList(sounds[step], sound) : QStringList());
            QVERIFY(f.form->timer_Crush->Enabled());
            QVERIFY(!f.form->timer_Zenta->Enabled());
            QCOMPARE(int(f.form->CrushStep), step + 1);
        }
        f.form->timer_Crush->fire();
        QVERIFY(!f.form->timer_Crush->Enabled());
        QCOMPARE(int(f.form->CrushStep), 0);
        QCOMPARE(jet[0]->Left(), left);
        QCOMPARE(f.effectNames().size(), effectsOn ? 2 : 0);
        if (kind == 1) {
            QVERIFY(shows(jet[0], jet[1]));
            QVERIFY(shows(face[0], face[1]));
            QCOMPARE(f.form->lbl_Msg->Caption(), QString());
            QCOMPARE(InputEnabled, VbTrue);
            QVERIFY(f.form->timer_Zenta->Enabled());
            QVERIFY(f.form->timer_Main->Enabled());
            QVERIFY(!f.form->cmd_Start->isEnabled());
        } else {
            QVERIFY(shows(jet[0], jet[5]));
            QVERIFY(shows(face[0], face[4]));
            QCOMPARE(f.form->lbl_Msg->Caption(), WreckText);
            QCOMPARE(InputEnabled, VbFalse);
            QVERIFY(!f.form->timer_Zenta->Enabled());
            QVERIFY(!f.form->timer_Main->Enabled());
            QVERIFY(screenGivenBack());
        }
    }

    // With the real timers: the first step 200 ms after the hit, the race back 2 s after it.
    void timing()
    {
        f.form->timer_Main->setEnabled(false); // the clock plays no part here
        QElapsedTimer clock;
        f.form->Crushfun(CrushObstacle);
        clock.start();
        QTRY_VERIFY_WITH_TIMEOUT(InputEnabled == VbFalse, 2000);
        const qint64 firstStep = clock.elapsed();
        QTRY_VERIFY_WITH_TIMEOUT(f.form->timer_Zenta->Enabled(), 5000);
        const qint64 back = clock.elapsed();
        QVERIFY2(firstStep >= 190 && firstStep < 600, qPrintable(QString::number(firstStep)));
        QVERIFY2(back >= 1990 && back < 3000, qPrintable(QString::number(back)));
        QCOMPARE(f.effectNames(), (QStringList{"Crush1", "Crush1"}));
    }

    // Each crash of a race starts again from its first step.
    void secondCrashStartsOver()
    {
        f.form->Crushfun(CrushObstacle);
        crashSteps(10);
        f.form->Crushfun(CrushObstacle);
        f.form->timer_Crush->fire();
        QVERIFY(shows(f.form->img_JetR[0], f.form->img_JetR[3]));
        QCOMPARE(f.effectNames().size(), 3);
        QCOMPARE(InputEnabled, VbFalse);
        crashSteps(9);
        QVERIFY(f.form->timer_Zenta->Enabled());
        QCOMPARE(int(f.form->CrushStep), 0);
    }

    // The clock runs out while the hero is still tumbling: the time-up game over stands, the
    // crash stops where it was and neither resumes the race nor ends it a second time.
    void timeRunsOutDuringCrash_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("stepsPlayed");
        QTest::newRow("obstacle, before the first step") << 1 << 0;
        QTest::newRow("obstacle, after step 2") << 1 << 3;
        QTest::newRow("obstacle, before the last step") << 1 << 9;
        QTest::newRow("car, after step 0") << 0 << 1;
        QTest::newRow("car, before the last step") << 0 << 9;
    }
    void timeRunsOutDuringCrash()
    {
        QFETCH(int, kind);
        QFETCH(int, stepsPlayed);
        TimeCount = 1;
        f.form->Crushfun(static_cast<int16_t>(kind));
        crashSteps(stepsPlayed);
        const int soundsSoFar = f.effectNames().size();
        f.form->timer_Main_Timer();

        QCOMPARE(f.form->lbl_Msg->Caption(), TimeUpText);
        QVERIFY(!f.form->timer_Crush->Enabled());
        QCOMPARE(int(f.form->CrushStep), 0);
        // Real time for longer than the rest of the crash would have taken.
        QTest::qWait(2200);
        QCOMPARE(f.form->lbl_Msg->Caption(), TimeUpText);
        QVERIFY(shows(f.form->img_Zenta[0], f.form->img_Zenta[4]));
        QVERIFY(!f.form->timer_Zenta->Enabled());
        QVERIFY(!f.form->timer_Main->Enabled());
        QCOMPARE(InputEnabled, VbFalse);
        QCOMPARE(f.effectNames().size(), soundsSoFar);
        QVERIFY(screenGivenBack());

        // The next race's crash starts from its first step.
        f.startRace(ModeStage1, 70, 3000);
        f.form->Crushfun(CrushObstacle);
        f.form->timer_Crush->fire();
        QCOMPARE(f.effectNames(), QStringList{QStringLiteral("Crush1")});
        QVERIFY(shows(f.form->img_JetR[0], f.form->img_JetR[3]));
    }

    // Both causes in every mode: the message, the dismayed face, everything stopped, the music
    // closed and the screen given back. Kinds other than 1 and 2 only stop and give back.
    void gameOver_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("message");
        for (int mode = 0; mode <= 2; ++mode) {
            if (mode < 2) QTest::addRow("time up, mode %d", mode) << 1 << mode << TimeUpText;
            QTest::addRow("wrecked, mode %d", mode) << 2 << mode << WreckText;
        }
        QTest::newRow("kind 0") << 0 << 0 << "before";
        QTest::newRow("kind 3") << 3 << 2 << "before";
    }
    void gameOver()
    {
        QFETCH(int, kind);
        QFETCH(int, mode);
        QFETCH(QString, message);
        f.startRace(static_cast<int16_t>(mode), 30, 1500);
        lockScreen();
        f.form->timer_BGM->setEnabled(true);
        BgmOpen = VbTrue;
        f.form->lbl_Msg->setCaption("before");
        f.form->lbl_Time->setCaption("30");
        f.form->lbl_Dist->setCaption("1500");
        f.form->img_Car1->setLeft(250);
        f.form->img_JetR[0]->move(300, 50);
        const qint64 faceBefore = f.form->img_Zenta[0]->imageKey();

        f.form->GameOver(static_cast<int16_t>(kind));

        QCOMPARE(f.form->lbl_Msg->Caption(), message);
        if (kind == 1 || kind == 2)
            QVERIFY(shows(f.form->img_Zenta[0], f.form->img_Zenta[4]));
        else
            QCOMPARE(f.form->img_Zenta[0]->imageKey(), faceBefore);
        QVERIFY(!f.form->timer_Main->Enabled());
        QVERIFY(!f.form->timer_Zenta->Enabled());
        QVERIFY(!f.form->timer_BGM->Enabled());
        QCOMPARE(InputEnabled, VbFalse);
        QCOMPARE(BgmOpen, VbFalse);
        QCOMPARE(f.sound->commands(), (QStringList{"stop bgm", "close bgm"}));
        QVERIFY(screenGivenBack());
        QCOMPARE(int(GameMode), mode);
        // The race stays on screen as it stood.
        QCOMPARE(f.form->lbl_Time->Caption(), QStringLiteral("30"));
        QCOMPARE(f.form->lbl_Dist->Caption(), QStringLiteral("1500"));
        QCOMPARE(f.form->img_Car1->Left(), 250.0);
        QCOMPARE(f.form->img_JetR[0]->Left(), 300.0);
    }

    // The road shaken after a hit fills the screen to every edge, then stands still; the modern
    // way shades the strip the cars hit under the board where the hero is drawn, classic none.
    void shakeAndShadow_data()
    {
        QTest::addColumn<int>("ms");
        QTest::addColumn<bool>("modern");
        for (int ms : {0, 13, 60, 110, 170, 240, 299, 300}) QTest::newRow(qPrintable(QString::number(ms))) << ms << true;
        QTest::newRow("classic") << 0 << false;
    }
    void shakeAndShadow()
    {
        QFETCH(int, ms);
        QFETCH(bool, modern);
        const QRect road = RoadOnScreen(*f.form);
        QCOMPARE(RoadShake(ms, road).isIdentity(), ms >= HitShow::ShakeMs);
        QVERIFY(ChooseStyle(modern ? Style::Modern : Style::Classic));
        PlayChosenStyle(f.form);
        ResetPlayerSettings();
        f.form->img_Road->setLeft(-1);  // the strip's edge just inside the screen
        f.form->roadLayer->setShift(RoadShake(ms, road));
        Picture* hero = f.form->img_JetR[0];
        hero->setVisible(false);
        const QImage bare = f.form->roadLayer->grab(road).toImage();
        for (int x = 0; x < 601; ++x)
            for (int y = 0; y < 303; y += x % 600 ? 302 : 1) QVERIFY(bare.pixel(x, y) != qRgb(0, 0, 0));
        QPixmap clear(77, 77);  // a board that hides nothing, gliding 20 px above his place
        clear.fill(Qt::transparent);
        hero->setImage(clear);
        hero->setVisible(true);
        hero->setDrawnOffset(QPointF(0, -20));
        const QImage shaded = f.form->roadLayer->grab(road).toImage();
        const QPoint strip = RoadShake(ms, road).map(QPointF(hero->drawnRect().topLeft() + QPoint(36, 61))).toPoint();
        QCOMPARE(qGray(shaded.pixel(strip)) < qGray(bare.pixel(strip)) - 10, modern);
    }

    // A drive ends only by a wreck: from the race tick's hit to the game over.
    void driveEndsByWreck()
    {
        f.startRace(ModeDrive, 40, 2500);
        lockScreen();
        Speed = 5;
        f.form->img_JetR[0]->move(448, 124);
        f.form->img_Car2->setLeft(440); // parked off the road, but under his feet
        f.form->timer_Zenta_Timer();
        QCOMPARE(int(CrushType), 0);
        QCOMPARE(Distance, 2525);
        crashSteps(10);
        QCOMPARE(f.form->lbl_Msg->Caption(), WreckText);
        QVERIFY(screenGivenBack());
        QCOMPARE(Distance, 2525);
        QCOMPARE(f.effectNames().mid(0, 2), (QStringList{"Crush2", "Crush2"}));
    }
};

QTEST_MAIN(CrashTest)
#include "test_crash.moc"
