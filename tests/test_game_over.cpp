// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A race's end as the player meets it, from START on: which endings offer the ranking, the name
// typed there with real key presses while the race window is still up, a ranking closed at
// once, and START after a game over giving a fresh race with its music looping again.
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

#include "player_driver.h"
#include "audio/sound.h"
#include "runtime/program_folder.h"
#include "screens/form_rank.h"

using namespace scores_test;

namespace {
const QString TimeUpText = QStringLiteral(
    "うわー、間に合わなかったー！\r\n待ち合わせの時間過ぎちまったよぉー\r\n\r\nGame Over");
const QString WreckText =
    QStringLiteral("ジェットローラーが壊れちまったー！\r\nもう走れねーよぉー\r\n\r\nGame Over");
const QStringList Openings = {
    QStringLiteral("今日は烈とデートなんだ！\r\nもうすぐ待ち合わせの時間だから、そろそろ出発しようぜ！"),
    QStringLiteral("やべー！寝坊しちまった！！\r\nせっかくのデートに何やってんだ俺はー\r\nおっと、急がなきゃ"),
    QStringLiteral("準備はばっちりだ\r\n早く出発しようぜ！"),
};
const QString HelpText =
    QStringLiteral("アクセルは「A」\r\nブレーキは「B」\r\n上下左右への移動は「矢印キー」だぜ");
constexpr int32_t DriveRun = 3500;  // beats the 3000 of a drive table's default entries


bool shows(const Picture* target, const Picture* source)
{
    return target->imageKey() == source->imageKey();
}

// Whether a picture lies anywhere on the road.
bool onRoad(const Picture* p) { return p->rect().intersects(QRect(0, 0, 601, 303)); }
}  // namespace

class GameOverTest : public QObject
{
    Q_OBJECT
    WindowFixture f;

    form_Main* openRace(int16_t mode)
    {
        GameMode = mode;
        auto* race = NewRaceScreen();
        race->Init_Car();
        race->show();
        return race;
    }

    // The race as far as the player takes it: he steers up and speeds up, a clock tick shows
    // time and distance; then it ends the way asked. A wreck leaves the car that did it where
    // it hit him, on the road.
    static void raceAndEnd(form_Main* race, bool wreck)
    {
        QTest::keyClick(race->Text1, Qt::Key_Up);
        QTest::keyClick(race->Text1, Qt::Key_Up);
        QTest::keyClick(race->Text1, Qt::Key_A);
        race->timer_Main->fire();
        if (GameMode == ModeDrive) Distance = DriveRun;
        if (!wreck) {
            TimeCount = 1;
            race->timer_Main->fire();
            return;
        }
        Speed = 0;
        CarFlag[5] = VbTrue;
        CarSpeed[5] = 0;
        race->img_Car5->move(race->img_JetR[0]->Left(), race->img_JetR[0]->Top());
        race->timer_Zenta->fire();
        for (int step = 0; step < 10 && race->timer_Crush->Enabled(); ++step)
            race->timer_Crush->fire();
    }

    // Every table takes any result: a story time below 999 s, a drive above 100 M. The tables
    // are the file's, as an earlier session left them.
    static void weakTables()
    {
        for (int slot = 1; slot <= 2; ++slot)
            for (int rank = 0; rank < 5; ++rank) {
                HScoreName[1][slot][rank] = DefaultScoreName();
                HScoreVal[1][slot][rank] = 999;
                HScoreName[2][slot][rank] = DefaultScoreName();
                HScoreVal[2][slot][rank] = 100;
            }
        saveTablesAsTheyAre();
    }

private slots:
    void init()
    {
        f.init();
        weakTables();
    }
    void cleanup() { f.cleanup(); }

    // Only a wrecked drive has a result to rank; a story game over, either way, offers no
    // ranking window, no applause and saves nothing.
    void whichEndingsOfferARanking_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("wreck");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("ranked");
        QTest::newRow("stage 1, time up") << 0 << false << TimeUpText << false;
        QTest::newRow("stage 1, wrecked") << 0 << true << WreckText << false;
        QTest::newRow("stage 2, time up") << 1 << false << TimeUpText << false;
        QTest::newRow("stage 2, wrecked") << 1 << true << WreckText << false;
        QTest::newRow("drive, wrecked") << 2 << true << WreckText << true;
    }
    void whichEndingsOfferARanking()
    {
        QFETCH(int, mode);
        QFETCH(bool, wreck);
        QFETCH(QString, message);
        QFETCH(bool, ranked);
        const QByteArray before = readRaw(rankingFile());
        form_Main* race = openRace(int16_t(mode));
        WindowFixture::pressStart(race);
        QString shownWhileRanking;
        WhileRankOpen whileOpen([&](form_Rank* rank) {
            shownWhileRanking = race->lbl_Msg->Caption();
            QTest::mouseClick(rank->cmd_Close, Qt::LeftButton);
        });
        raceAndEnd(race, wreck);

        QCOMPARE(race->lbl_Msg->Caption(), message);
        QVERIFY(shows(race->img_Zenta[0], race->img_Zenta[4]));
        QVERIFY(race->cmd_Start->isEnabled());
        QCOMPARE(whileOpen.opened, ranked);
        QVERIFY(!whileOpen.timedOut);
        QCOMPARE(f.effectNames().contains(QStringLiteral("Claps")), ranked);
        QCOMPARE(readRaw(rankingFile()) != before, ranked);  // only a ranking saves
        if (ranked) {
            QCOMPARE(shownWhileRanking, message);
            QCOMPARE(keysOnDisk().value(QStringLiteral("HScore_Val_2_1_0")), QString::number(DriveRun));
        }
    }

    // The name box of a new drive result takes what the player types on the keyboard, the
    // race's own keys ("A", "B", Space) included: the race window, still up behind
    // the ranking, does not take them.
    void namesTypedOnTheKeyboard_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::newRow("A and B") << QByteArray("AB");
        QTest::newRow("a space between") << QByteArray("Zenta B");
        QTest::newRow("small a and b") << QByteArray("bab");
        QTest::newRow("a space alone") << QByteArray(" ");
    }
    void namesTypedOnTheKeyboard()
    {
        QFETCH(QByteArray, keys);
        form_Main* race = openRace(2);
        WindowFixture::pressStart(race);
        QString inTheBox;
        WhileRankOpen whileOpen([&](form_Rank* rank) {
            // The window system hands the keyboard over to the ranking window.
            QTRY_COMPARE(QGuiApplication::focusWindow(), rank->windowHandle());
            for (const char key : keys) QTest::keyClick(rank->windowHandle(), key);
            inTheBox = rank->txt_Nm[0]->text();
            QTest::mouseClick(rank->cmd_Close, Qt::LeftButton);
        });
        raceAndEnd(race, true);

        QVERIFY(whileOpen.opened);
        QVERIFY(whileOpen.activated);
        const QString name = QString::fromLatin1(keys);
        QCOMPARE(inTheBox, name);
        QCOMPARE(HScoreName[2][1][0], name);
        QCOMPARE(keysOnDisk().value(QStringLiteral("HScore_Nm_2_1_0")), name);
    }

    // Closed at once, by any way, the window stores the new result under an empty name and the
    // entries below it one place down.
    void closedAtOnceStoresAnEmptyName_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("とじる") << QStringLiteral("button");
        QTest::newRow("close box") << QStringLiteral("close box");
        QTest::newRow("Escape") << QStringLiteral("Escape");
    }
    void closedAtOnceStoresAnEmptyName()
    {
        QFETCH(QString, way);
        HScoreName[2][1][0] = QStringLiteral("烈");
        HScoreVal[2][1][0] = 5000;
        HScoreName[2][1][1] = QStringLiteral("ゼンタ");
        HScoreVal[2][1][1] = 3000;
        saveTablesAsTheyAre();
        form_Main* race = openRace(2);
        WindowFixture::pressStart(race);
        WhileRankOpen whileOpen([&](form_Rank* rank) {
            if (way == QLatin1String("button"))
                QTest::mouseClick(rank->cmd_Close, Qt::LeftButton);
            else if (way == QLatin1String("Escape"))
                QTest::keyClick(rank->windowHandle(), Qt::Key_Escape);
            else
                rank->windowHandle()->close();
        });
        raceAndEnd(race, true);

        QVERIFY(whileOpen.opened && !whileOpen.timedOut);
        const QMap<QString, QString> disk = keysOnDisk();
        QCOMPARE(disk.size(), 40);
        QCOMPARE(disk.value(QStringLiteral("HScore_Nm_2_1_0")), QStringLiteral("烈"));
        QVERIFY(disk.contains(QStringLiteral("HScore_Nm_2_1_1")));
        QCOMPARE(disk.value(QStringLiteral("HScore_Nm_2_1_1")), QString());
        QCOMPARE(disk.value(QStringLiteral("HScore_Val_2_1_1")), QString::number(DriveRun));
        QCOMPARE(disk.value(QStringLiteral("HScore_Nm_2_1_2")), QStringLiteral("ゼンタ"));
        QCOMPARE(disk.value(QStringLiteral("HScore_Val_2_1_2")), QStringLiteral("3000"));
        QCOMPARE(f.effectNames().constLast(), QStringLiteral("Click"));
    }

    // START after a game over puts everything back: the road, the gauge, the traffic off the
    // road (the car that wrecked him included), the hero at his place on his board, the panel
    // emptied; the same stage's opening, clock and distance; and the music started and polled
    // again, so that it loops.
    void startAfterAGameOverRacesAfresh_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("wreck");
        QTest::addColumn<int>("portrait");
        QTest::addColumn<int>("time");
        QTest::addColumn<int>("distance");
        QTest::newRow("stage 1, wrecked") << 0 << true << 3 << 70 << 3000;
        QTest::newRow("stage 1, time up") << 0 << false << 3 << 70 << 3000;
        QTest::newRow("stage 2, wrecked") << 1 << true << 4 << 50 << 2000;
        QTest::newRow("drive, wrecked") << 2 << true << 3 << 0 << 0;
    }
    void startAfterAGameOverRacesAfresh()
    {
        QFETCH(int, mode);
        QFETCH(bool, wreck);
        QFETCH(int, portrait);
        QFETCH(int, time);
        QFETCH(int, distance);
        form_Main* race = openRace(int16_t(mode));
        WindowFixture::pressStart(race);
        const QString firstTune = BgmFile;
        {
            WhileRankOpen closer([](form_Rank* rank) { rank->cmd_Close->click(); });
            raceAndEnd(race, wreck);
        }
        QVERIFY(race->cmd_Start->isEnabled());
        QVERIFY(!race->timer_BGM->Enabled());
        if (wreck) QVERIFY(onRoad(race->img_Car5));
        f.sound->calls.clear();

        QStringList wrong;
        auto expect = [&wrong](bool holds, const char* what) {
            if (!holds) wrong << QString::fromLatin1(what);
        };
        WindowFixture::pressStart(race, [&] {
            expect(race->img_Road->Left() == -344, "road");
            for (const Shape* bar : race->bar_Speed) expect(bar->FillColor() == GaugeDark, "gauge");
            for (const Picture* car : {race->img_Car1, race->img_Car2, race->img_Car3,
                                       race->img_Car4, race->img_Car5, race->img_Car6})
                expect(!onRoad(car), "a car on the road");
            for (const Picture* obstacle : race->img_Shogai)
                expect(!onRoad(obstacle), "an obstacle on the road");
            for (int n = 1; n <= 6; ++n) expect(CarFlag[n] == VbFalse, "a car's flag");
            expect(race->img_JetR[0]->rect().topLeft() == QPoint(448, 112), "hero's place");
            expect(shows(race->img_JetR[0], race->img_JetR[1]), "hero's picture");
            expect(race->img_JetR[0]->Visible(), "hero shown");
            expect(shows(race->img_Zenta[0], race->img_Zenta[portrait]), "opening portrait");
            expect(race->lbl_Msg->Caption() == Openings[mode], "opening");
            expect(race->lbl_Time->Caption().isEmpty(), "time label");
            expect(race->lbl_Dist->Caption().isEmpty(), "distance label");
            expect(!race->cmd_Start->isEnabled() && !race->cmd_Title->isEnabled(), "buttons");
        });
        QCOMPARE(wrong, QStringList());

        QCOMPARE(int(GameMode), mode);
        QCOMPARE(TimeCount, time);
        QCOMPARE(Distance, distance);
        QCOMPARE(race->lbl_Msg->Caption(), HelpText);
        QVERIFY(shows(race->img_Zenta[0], race->img_Zenta[1]));
        QCOMPARE(InputEnabled, VbTrue);
        if (mode < 2) QCOMPARE(BgmFile, firstTune);
        QCOMPARE(f.sound->commands().value(0),
                 QStringLiteral("open \"%1\" alias bgm").arg(BgmFile));
        // The next tick of the race meets nothing where the wreck was.
        race->timer_Zenta->fire();
        QVERIFY(!race->timer_Crush->Enabled());
        // The tune has ended: the music poll, on again, starts it over.
        QVERIFY(race->timer_BGM->Enabled());
        f.sound->statusMode = QStringLiteral("stopped");
        race->timer_BGM->fire();
        const QStringList commands = f.sound->commands();
        QCOMPARE(commands.mid(commands.size() - 2),
                 QStringList({QStringLiteral("seek bgm to start"), QStringLiteral("play bgm notify")}));
    }

    // A drive plays one of its four tunes, each from the sound folder beside the program.
    void driveTuneIsOneOfFour_data()
    {
        QTest::addColumn<int>("tune");
        for (int n = 1; n <= 4; ++n) QTest::addRow("BGM%d", n) << n;
    }
    void driveTuneIsOneOfFour()
    {
        QFETCH(int, tune);
        form_Main* race = openRace(2);
        // A seed whose first draw picks this tune; START draws nothing else before it.
        const uint64_t seed =
            SeedWhere([tune](const QList<double>& d) { return int(d[0] * 4) + 1 == tune; }, 1);
        SetFixedSeed(seed);
        WindowFixture::pressStart(race);
        const QString file = ProgramFolder() + QStringLiteral("/sound/BGM%1.mid").arg(tune);
        QCOMPARE(BgmFile, file);
        QCOMPARE(f.sound->commands().value(0), QStringLiteral("open \"%1\" alias bgm").arg(file));
    }
};

WINDOW_TEST_MAIN(GameOverTest)
#include "test_game_over.moc"
