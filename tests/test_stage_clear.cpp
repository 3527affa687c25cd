// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The stage clear: the hero's path to his friend and off the screen, the dialogue of each stage
// with its waits, the ranking while the last message shows, stage 2 made ready after stage 1,
// the happy end after stage 2, the scene's music, and closing the window in the middle of it.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "audio/sound.h"
#include "race/race_state.h"
#include "runtime/program_folder.h"
#include "runtime/scene_wait.h"
#include "player_driver.h"
#include "scores/high_scores.h"
#include "flow/race_screen_wiring.h"
#include "view/controls.h"
#include "prefs/choices.h"
#include "screens/form_main.h"
#include "screens/form_rank.h"

namespace {
const QString CRLF = QStringLiteral("\r\n");

const QStringList stage1Waits = {
    QStringLiteral("ゼンタ「待ったか、烈？」\r\n烈「ううん、今来たところだよ！」"),
    QStringLiteral("ゼンタ「じゃあ、行こうか！」\r\n烈「うん！」"),
};
const QString stage1Last = QStringLiteral("STAGE1 Clear!");

const QStringList stage2Waits = {
    QStringLiteral("ゼンタ「(何とか間に合ったぜ・・・)ま、待ったか、烈？」\r\n"
                   "烈「ううん、今来たところだよ！」"),
    QStringLiteral("烈「ゼンタは、いつも時間をちゃんと守ってくれるね！僕、時間を守る人、好きだよ」"),
    QStringLiteral("ゼンタ「！！\r\nや、やっぱ時間は守んなきゃ駄目だよな、うんっ！」"),
    QStringLiteral("烈「？\r\nそろそろ行こう、ゼンタ！」\r\nゼンタ「お、おう！」"),
};
const QString stage2Last =
    QStringLiteral("STAGE2 Clear!\r\n\r\nHappy End\r\nThank you for your Playing");


void defaultTables()
{
    ResetHighScores();
    for (int kind = 1; kind <= 2; ++kind)
        for (int slot = 1; slot <= 2; ++slot)
            for (int rank = 0; rank < 5; ++rank) {
                HScoreName[kind][slot][rank] = DefaultScoreName();
                HScoreVal[kind][slot][rank] = DefaultScoreVal(kind);
            }
}

} // namespace

class StageClearTest : public QObject
{
    Q_OBJECT

private:
    WindowFixture f;

    // A race screen as the race tick leaves it on the tick that reaches the goal.
    form_Main* raceAtGoal(int16_t mode)
    {
        auto* main = NewRaceScreen();
        main->show();
        GameMode = mode;
        TimeCount = mode == 0 ? 31 : 17;
        Distance = -15;
        Speed = 9;
        main->cmd_Start->setEnabled(false);
        main->cmd_Title->setEnabled(false);
        main->setTopMenusEnabled(false);
        main->Init_Zenta();
        main->img_JetR[0]->move(300, 150);
        for (int k = 0; k <= 9; ++k) main->bar_Speed[k]->setFillColor(GaugeLit);
        main->lbl_Msg->setCaption(QStringLiteral("アクセルは「A」"));
        main->lbl_Time->setCaption(QString::number(TimeCount));
        main->lbl_Dist->setCaption(QString::number(Distance));
        InputEnabled = VbTrue;
        main->timer_Main->setEnabled(true);
        main->timer_Zenta->setEnabled(true);
        return main;
    }

    // WinGame, then the scene's ticks one by one.
    static void runSteps(form_Main* main, int ticks)
    {
        for (int i = 0; i < ticks; ++i) main->timer_Clear->fire();
    }

    QStringList musicCommands() const
    {
        QStringList list;
        for (const QString& c : f.sound->commands())
            if (!c.startsWith(QLatin1String("status "))) list << c;
        return list;
    }

private slots:
    void init()
    {
        f.init();
        defaultTables();
    }

    void cleanup() { f.cleanup(); }

    void heroFollowsHisPath_data()
    {
        QTest::addColumn<int>("ticks");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("top");
        QTest::newRow("WinGame") << 0 << 520.0 << 112.0;
        for (int k = 0; k <= 8; ++k)
            QTest::addRow("step %d", k) << k + 1 << 520.0 - 28 * (k + 1) << 112.0 - 12 * (k + 1);
        QTest::newRow("step 9, the dialogue") << 10 << 268.0 << 4.0;
        for (int k = 10; k <= 18; ++k)
            QTest::addRow("step %d", k) << k + 1 << 268.0 - 40 * (k - 9) << 4.0;
        QTest::newRow("step 19, the end") << 20 << -92.0 << 4.0;
    }

    void heroFollowsHisPath()
    {
        QFETCH(int, ticks);
        QFETCH(double, left);
        QFETCH(double, top);
        form_Main* main = raceAtGoal(0);
        SceneDriver driver(main);
        main->WinGame();
        runSteps(main, ticks);
        QCOMPARE(main->img_JetR[0]->Left(), left);
        QCOMPARE(main->img_JetR[0]->Top(), top);
        QVERIFY(main->img_JetR[0]->Visible());
        QCOMPARE(main->ClearStep, int16_t(ticks % 20));
    }

    void winGameStopsTheRaceAndShowsTheFriend()
    {
        form_Main* main = raceAtGoal(0);
        CarFlag[2] = VbTrue;
        ShogaiFlag[3] = VbTrue;
        main->img_Car2->setLeft(250);
        const qint64 sprite = main->img_JetR[0]->imageKey();
        main->WinGame();

        QVERIFY(!main->timer_Main->Enabled());
        QVERIFY(!main->timer_Zenta->Enabled());
        QCOMPARE(InputEnabled, VbFalse);
        QCOMPARE(CarFlag[2], VbFalse);
        QCOMPARE(ShogaiFlag[3], VbFalse);
        QCOMPARE(main->img_Car2->Left(), 601.0);
        QVERIFY(main->img_Retsu[0]->Visible());
        QCOMPARE(main->img_Retsu[0]->imageKey(), main->img_Retsu[1]->imageKey());
        QCOMPARE(main->img_JetR[0]->imageKey(), sprite);
        QVERIFY(!main->img_Clear->Visible());
        QVERIFY(main->timer_Clear->Enabled());
        QCOMPARE(main->ClearStep, int16_t(0));
        // The buttons and menus stay locked for the whole scene.
        QVERIFY(!main->cmd_Start->isEnabled());
        QVERIFY(!main->cmd_Title->isEnabled());
        QVERIFY(!main->mfile->menuAction()->isEnabled());
    }

    void dialogueWaitsAndRanksWhileTheLastMessageShows_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("waits");
        QTest::addColumn<QString>("last");
        QTest::newRow("stage 1") << 0 << stage1Waits << stage1Last;
        QTest::newRow("stage 2") << 1 << stage2Waits << stage2Last;
    }

    void dialogueWaitsAndRanksWhileTheLastMessageShows()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, waits);
        QFETCH(QString, last);
        form_Main* main = raceAtGoal(int16_t(mode));
        SceneDriver driver(main);
        main->WinGame();
        runSteps(main, 9);
        QVERIFY(driver.waitCaptions.isEmpty());

        runSteps(main, 1);  // the dialogue
        QCOMPARE(driver.waitCaptions, waits);
        // The clear time entered the ranking, which asked for a name while the last line showed.
        QCOMPARE(driver.rankCaptions, QStringList{last});
        QCOMPARE(HScoreName[1][mode + 1][0], driver.rankName);
        QCOMPARE(main->lbl_Msg->Caption(), last);
        QVERIFY(!main->Nextbox->isVisible());
        // The pair leave together: the friend goes, the sprite shows them both.
        QVERIFY(!main->img_Retsu[0]->Visible());
        QVERIFY(!main->img_Clear->Visible());
        QCOMPARE(main->img_JetR[0]->imageKey(), main->img_JetR[6]->imageKey());
        QVERIFY(main->timer_Clear->Enabled());
        QCOMPARE(main->ClearStep, int16_t(10));
    }

    // A double click on "Click or SpaceKey to Next" goes on by one message: its first press
    // answers the first message, and its second press, which comes once the next message waits,
    // arrives as a double-click event that is no click.
    void doubleClickGoesOnByOneMessage()
    {
        form_Main* main = raceAtGoal(0);
        main->show();
        main->WinGame();
        runSteps(main, 9);

        QStringList waited;
        bool secondStillWaits = false;
        int pollsAfterDoubleClick = -1;
        auto mouse = [main](QEvent::Type type) {
            const QPointF at = QRectF(main->Nextbox->rect()).center();
            const Qt::MouseButtons held =
                type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
            QMouseEvent event(type, at, main->Nextbox->mapToGlobal(at), Qt::LeftButton, held,
                              Qt::NoModifier);
            QApplication::sendEvent(main->Nextbox, &event);
        };
        QTimer player;
        player.setInterval(2);
        connect(&player, &QTimer::timeout, this, [&] {
            if (form_Rank* rank = player::WaitingRankWindow()) {
                rank->cmd_Close->click();
                return;
            }
            if (!player::MessageWaits(main)) return;
            const QString caption = main->lbl_Msg->Caption();
            if (waited.isEmpty() || waited.constLast() != caption) waited << caption;
            if (waited.size() == 1) {
                mouse(QEvent::MouseButtonPress);
                mouse(QEvent::MouseButtonRelease);
            } else if (pollsAfterDoubleClick < 0) {
                mouse(QEvent::MouseButtonDblClick);
                mouse(QEvent::MouseButtonRelease);
                pollsAfterDoubleClick = 0;
            } else if (++pollsAfterDoubleClick == 10) {
                secondStillWaits = caption == stage1Waits[1];
                player::PressSpace(main);
            }
        });
        player.start();
        runSteps(main, 1);  // the dialogue
        player.stop();

        QVERIFY(secondStillWaits);
        QCOMPARE(waited, stage1Waits);
        QCOMPARE(main->lbl_Msg->Caption(), stage1Last);
    }

    void firstStageMakesReadyForTheSecond()
    {
        form_Main* main = raceAtGoal(0);
        SceneDriver driver(main);
        main->WinGame();
        runSteps(main, 20);

        QCOMPARE(GameMode, int16_t(1));
        QCOMPARE(main->lbl_Mode->Caption(), QStringLiteral("ストーリー STAGE2"));
        QCOMPARE(main->lbl_Msg->Caption(), QString());
        QCOMPARE(main->img_Zenta[0]->imageKey(), main->img_Zenta[1]->imageKey());
        for (int k = 0; k <= 9; ++k) QCOMPARE(main->bar_Speed[k]->FillColor(), GaugeDark);
        QCOMPARE(main->lbl_Time->Caption(), QString());
        QCOMPARE(main->lbl_Dist->Caption(), QString());
        QVERIFY(main->cmd_Start->isEnabled());
        QVERIFY(main->cmd_Title->isEnabled());
        for (QMenu* menu : {main->mfile, main->msound, main->mhelp})
            QVERIFY(menu->menuAction()->isEnabled());
        QVERIFY(!main->timer_Clear->Enabled());
        QVERIFY(!main->timer_BGM->Enabled());
        QVERIFY(!main->timer_Main->Enabled());
        QVERIFY(!main->timer_Zenta->Enabled());
        QCOMPARE(InputEnabled, VbFalse);
        QCOMPARE(main->ClearStep, int16_t(0));
    }

    void secondStageEndsHappily()
    {
        form_Main* main = raceAtGoal(1);
        SceneDriver driver(main);
        main->WinGame();
        runSteps(main, 20);

        QCOMPARE(GameMode, int16_t(1));
        QCOMPARE(main->lbl_Msg->Caption(), stage2Last);
        QCOMPARE(main->img_Zenta[0]->imageKey(), main->img_Zenta[3]->imageKey());
        // The clock and distance stay as the last clock tick left them.
        QCOMPARE(main->lbl_Time->Caption(), QStringLiteral("17"));
        QCOMPARE(main->lbl_Dist->Caption(), QStringLiteral("-15"));
        QVERIFY(!main->cmd_Start->isEnabled());
        QVERIFY(main->cmd_Title->isEnabled());
        for (QMenu* menu : {main->mfile, main->msound, main->mhelp})
            QVERIFY(menu->menuAction()->isEnabled());
        QVERIFY(!main->timer_Clear->Enabled());
        QCOMPARE(main->ClearStep, int16_t(0));
    }

    // The modern way's portrait follows each message, and the pair leave the road while the
    // clear picture shows them; the happy end has its own picture and a dark gauge. The classic
    // way keeps the grinning portrait, the pair on the road and the lit gauge.
    void sceneLooksFollowTheWay_data()
    {
        QTest::addColumn<bool>("modern");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<int>>("faces");
        QTest::addColumn<bool>("happyEnd");
        QTest::newRow("modern stage 1") << true << 0 << QList<int>{FaceGrin, FaceGrin} << false;
        QTest::newRow("modern stage 2") << true << 1
                                        << QList<int>{FaceRelieved, FaceRetsu, FaceFlustered, FaceRetsu} << true;
        QTest::newRow("classic stage 1") << false << 0 << QList<int>{FaceGrin, FaceGrin} << false;
        QTest::newRow("classic stage 2") << false << 1 << QList<int>(4, FaceGrin) << false;
    }

    void sceneLooksFollowTheWay()
    {
        QFETCH(bool, modern);
        QFETCH(int, mode);
        QFETCH(QList<int>, faces);
        QFETCH(bool, happyEnd);
        QVERIFY(ChooseStyle(modern ? Style::Modern : Style::Classic));
        const auto modernAgain = qScopeGuard([] { ChooseStyle(Style::Modern); });
        form_Main* main = raceAtGoal(int16_t(mode));
        SceneDriver driver(main);
        main->WinGame();
        runSteps(main, 20);

        QList<qint64> expected;
        for (int face : faces) expected << main->PortraitOf(face)->imageKey();
        QCOMPARE(driver.portraitAtWait, expected);
        QCOMPARE(driver.pairShownAtWait, QList<bool>(faces.size(), !modern));
        QVERIFY(main->img_JetR[0]->Visible());
        QCOMPARE(main->img_HappyEnd->Visible(), happyEnd);
        const bool lit = mode == 1 && !happyEnd;
        QCOMPARE(main->bar_Speed[0]->FillColor(), lit ? GaugeLit : GaugeDark);
    }

    void secondClearStartsAfresh()
    {
        form_Main* main = raceAtGoal(0);
        SceneDriver driver(main);
        main->WinGame();
        runSteps(main, 20);
        QCOMPARE(driver.waitCaptions.size(), 2);

        // Stage 2 is raced in the same screen and reaches its goal.
        main->cmd_Start->setEnabled(false);
        main->Init_Zenta();
        main->img_JetR[0]->move(200, 60);
        main->timer_Zenta->setEnabled(true);
        main->WinGame();
        QCOMPARE(main->ClearStep, int16_t(0));
        QCOMPARE(main->img_JetR[0]->Left(), 520.0);
        QCOMPARE(main->img_JetR[0]->Top(), 112.0);
        // The friend waits in his first pose again, not in the pose the first scene ended with.
        QVERIFY(main->img_Retsu[0]->Visible());
        QCOMPARE(main->img_Retsu[0]->imageKey(), main->img_Retsu[1]->imageKey());

        runSteps(main, 1);
        QCOMPARE(main->img_JetR[0]->Left(), 492.0);
        QCOMPARE(main->img_JetR[0]->Top(), 100.0);
        runSteps(main, 8);
        QCOMPARE(main->img_Retsu[0]->imageKey(), main->img_Retsu[2]->imageKey());
        runSteps(main, 11);
        QCOMPARE(driver.waitCaptions.mid(2), stage2Waits);
        QCOMPARE(main->lbl_Msg->Caption(), stage2Last);
        QVERIFY(!main->cmd_Start->isEnabled());
    }

    void sceneMusic_data()
    {
        QTest::addColumn<bool>("musicOn");
        QTest::addColumn<QStringList>("commands");
        const QString scene = ProgramFolder() + QStringLiteral("/sound/BGM5.mid");
        QTest::newRow("music on") << true
                                  << QStringList{QStringLiteral("stop bgm"),
                                                 QStringLiteral("close bgm"),
                                                 QStringLiteral("open \"%1\" alias bgm").arg(scene),
                                                 QStringLiteral("play bgm notify"),
                                                 QStringLiteral("stop bgm"),
                                                 QStringLiteral("close bgm")};
        QTest::newRow("music off")
            << false << QStringList{QStringLiteral("stop bgm"), QStringLiteral("close bgm")};
    }

    void sceneMusic()
    {
        QFETCH(bool, musicOn);
        QFETCH(QStringList, commands);
        form_Main* main = raceAtGoal(0);
        if (!musicOn) main->moff1->trigger();
        QCOMPARE(main->mon1->isChecked(), musicOn);
        // The stage's music plays when the goal is reached.
        BgmFile = ProgramFolder() + QStringLiteral("/sound/BGM1.mid");
        BgmOpen = VbTrue;
        main->timer_BGM->setEnabled(musicOn);

        SceneDriver driver(main);
        main->WinGame();
        QVERIFY(!main->timer_BGM->Enabled());
        QCOMPARE(musicCommands(), commands.mid(0, 2));
        runSteps(main, 1);
        QCOMPARE(main->timer_BGM->Enabled(), musicOn);
        runSteps(main, 19);

        QCOMPARE(musicCommands(), commands);
        // The scene's music is polled, and so looped, all through the dialogue.
        QCOMPARE(driver.musicPollAtWait, (QList<bool>{musicOn, musicOn}));
        QVERIFY(!main->timer_BGM->Enabled());
        QCOMPARE(BgmOpen, VbFalse);
        if (!musicOn) QCOMPARE(BgmFile, ProgramFolder() + QStringLiteral("/sound/BGM1.mid"));
    }

    void closingTheWindowMidSceneEndsTheGame_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("closeAtWait");  // 0: during the approach
        QTest::newRow("approach") << 0 << 0;
        QTest::newRow("stage 1, first message") << 0 << 1;
        QTest::newRow("stage 2, last wait") << 1 << 4;
    }

    void closingTheWindowMidSceneEndsTheGame()
    {
        QFETCH(int, mode);
        QFETCH(int, closeAtWait);
        QPointer<form_Main> main = raceAtGoal(int16_t(mode));
        BgmFile = ProgramFolder() + QStringLiteral("/sound/BGM1.mid");
        BgmOpen = VbTrue;

        SceneDriver driver(main);
        driver.closeWhen = [&] {
            if (closeAtWait == 0) return main->ClearStep >= 4;
            return SceneWait::depth() > 0 && driver.waitCaptions.size() == closeAtWait - 1;
        };
        QTimer::singleShot(0, main, [&] { main->WinGame(); });
        QTimer guard;
        guard.callOnTimeout([] { QCoreApplication::exit(99); });
        guard.start(30000);
        const int code = QApplication::exec();

        QCOMPARE(code, 0);
        QVERIFY(driver.closedByDriver);
        QVERIFY(main.isNull());
        QCOMPARE(SceneWait::depth(), 0);
        QCOMPARE(BgmOpen, VbFalse);
        QCOMPARE(musicCommands().mid(musicCommands().size() - 2),
                 (QStringList{QStringLiteral("stop bgm"), QStringLiteral("close bgm")}));
        QVERIFY(driver.rankCaptions.isEmpty());
    }
};

WINDOW_TEST_MAIN(StageClearTest)
#include "test_stage_clear.moc"
