// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A whole story run with real timers, as a player plays it: the title's ストーリー, START, the
// opening message, full speed to the meeting place, the clear scene with its dialogue and the
// name for the ranking, and on into stage 2, which opens with its own message, clock and
// distance. Keys and clicks are sent as the player's would be; nothing is called directly.
//
// To keep the run short, the distance left is cut to ShortDistance as soon as stage 1 is under
// way (instead of 3000, which takes about 35 seconds at full speed); everything else runs at
// its real pace.
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include "app/form_title.h"
#include "race/race_state.h"
#include "runtime/program_folder.h"
#include "runtime/random.h"
#include "runtime/scene_wait.h"
#include "scores/high_scores.h"
#include "screens/form_main.h"
#include "screens/form_rank.h"
#include "player_driver.h"

namespace {
constexpr int32_t ShortDistance = 600;
// The hero stays where START puts him; with this seed's traffic he falls over an obstacle on
// the way (and speeds up again) but meets no car. Most seeds wreck his board within seconds.
constexpr uint64_t Seed = 6;

const QStringList expectedWaits = {
    QStringLiteral("今日は烈とデートなんだ！\r\nもうすぐ待ち合わせの時間だから、そろそろ出発しようぜ！"),
    QStringLiteral("ゼンタ「待ったか、烈？」\r\n烈「ううん、今来たところだよ！」"),
    QStringLiteral("ゼンタ「じゃあ、行こうか！」\r\n烈「うん！」"),
    QStringLiteral("やべー！寝坊しちまった！！\r\nせっかくのデートに何やってんだ俺はー\r\nおっと、急がなきゃ"),
};

// Posts a click so that the driver's own tick returns before the click's handler waits.
void clickLater(QPushButton* button)
{
    QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
}
} // namespace

class EndToEndTest : public QObject
{
    Q_OBJECT

private:
    WindowFixture f;

private slots:
    void init()
    {
        f.init();
        SetFixedSeed(Seed);
    }

    void cleanup() { f.cleanup(); }

    void storyStage1IntoStage2()
    {
        enum Phase { OnTitle, ToStart1, Racing1, Clearing, ToStart2, Racing2, Leaving };
        Phase phase = OnTitle;
        QPointer<form_Main> race;
        QStringList waits;
        QString failure;
        QString rankCaption;
        int32_t stage2Time = -1;
        int32_t stage2Distance = -1;
        bool stage2Ready = false;
        bool shortened = false;

        new form_Title;
        form_Title::current()->show();

        QTimer driver;
        driver.setInterval(10);
        connect(&driver, &QTimer::timeout, this, [&] {
            // A name for the ranking, then とじる.
            if (form_Rank* rank = player::WaitingRankWindow()) {
                rankCaption = race ? race->lbl_Msg->Caption() : QString();
                player::EnterRankName(rank, QStringLiteral("Retsu"), true);
                return;
            }
            // Every message that waits is read and answered with Space.
            if (race && player::MessageWaits(race)) {
                waits << race->lbl_Msg->Caption();
                player::PressSpace(race);
                return;
            }
            switch (phase) {
            case OnTitle:
                if (form_Title* title = form_Title::current()) {
                    clickLater(title->Command1);
                    phase = ToStart1;
                }
                break;
            case ToStart1:
                race = form_Main::current();
                if (race && race->isVisible() && race->cmd_Start->isEnabled()) {
                    clickLater(race->cmd_Start);
                    phase = Racing1;
                }
                break;
            case Racing1:
                if (race->timer_Clear->Enabled()) {
                    phase = Clearing;
                } else if (race->cmd_Start->isEnabled()) {
                    failure = QStringLiteral("stage 1 ended without a clear: ") +
                              race->lbl_Msg->Caption();
                    QCoreApplication::exit(98);
                } else if (InputEnabled == VbTrue && race->timer_Zenta->Enabled()) {
                    if (!shortened) {
                        if (Distance != 3000)
                            failure = QStringLiteral("stage 1 began at %1").arg(Distance);
                        Distance = ShortDistance;
                        shortened = true;
                    }
                    // Full speed, and again after a fall.
                    if (Speed < 9) QTest::keyClick(race, Qt::Key_A);
                }
                break;
            case Clearing:
                if (GameMode == ModeStage2 && race->cmd_Start->isEnabled()) {
                    stage2Ready = race->lbl_Mode->Caption() == QStringLiteral("ストーリー STAGE2") &&
                                  race->lbl_Msg->Caption().isEmpty() &&
                                  race->img_JetR[0]->Left() == -92;
                    clickLater(race->cmd_Start);
                    phase = ToStart2;
                }
                break;
            case ToStart2:
                if (InputEnabled == VbTrue && race->timer_Zenta->Enabled()) {
                    stage2Time = TimeCount;
                    stage2Distance = Distance;
                    phase = Racing2;
                }
                break;
            case Racing2:
                // The player has seen enough and closes the window.
                phase = Leaving;
                player::CloseBox(race);
                break;
            case Leaving:
                break;
            }
        });
        driver.start();
        QTimer guard;
        guard.callOnTimeout([] { QCoreApplication::exit(99); });
        guard.start(120000);
        const int code = QApplication::exec();
        driver.stop();

        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(code, 0);
        QCOMPARE(phase, Leaving);
        QCOMPARE(waits, expectedWaits);
        QCOMPARE(rankCaption, QStringLiteral("STAGE1 Clear!"));
        QVERIFY(stage2Ready);
        QCOMPARE(GameMode, int16_t(1));
        // Stage 2's clock and distance, at most a tick or so after its start.
        QVERIFY2(stage2Time >= 49 && stage2Time <= 50, qPrintable(QString::number(stage2Time)));
        QVERIFY2(stage2Distance > 1900 && stage2Distance <= 2000,
                 qPrintable(QString::number(stage2Distance)));
        QVERIFY(race.isNull());
        QCOMPARE(SceneWait::depth(), 0);

        // The typed name went into the stage-1 table and was saved with it.
        ResetHighScores();
        LoadScore();
        QCOMPARE(HScoreName[1][1][0], QStringLiteral("Retsu"));

        // Stage 1's music, the clear scene's, then stage 2's, each opened in turn.
        QStringList opened;
        for (const QString& c : f.sound->commands())
            if (c.startsWith(QLatin1String("open ")))
                opened << QFileInfo(c.section(QLatin1Char('"'), 1, 1)).fileName();
        QCOMPARE(opened, (QStringList{QStringLiteral("BGM1.mid"), QStringLiteral("BGM5.mid"),
                                      QStringLiteral("BGM2.mid")}));
        // He fell over an obstacle and went on; no car wrecked his board.
        QStringList effects;
        for (const MediaCall& call : f.sound->effects())
            effects << QFileInfo(call.text).completeBaseName();
        QVERIFY(effects.contains(QStringLiteral("Crush1")));
        QVERIFY(!effects.contains(QStringLiteral("Crush2")));
        QCOMPARE(f.sound->commands().mid(f.sound->commands().size() - 2),
                 (QStringList{QStringLiteral("stop bgm"), QStringLiteral("close bgm")}));
    }
};

WINDOW_TEST_MAIN(EndToEndTest)
#include "test_end_to_end.moc"
