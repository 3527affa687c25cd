// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Traffic and the hit test: how often each car and obstacle enters by mode and distance, what
// keeps it out, how fast it drives and where it appears; and which rectangles touch.
#include <QtTest>
#include <cmath>

#include "race/race_state.h"
#include "race/stages.h"
#include "race_fixture.h"

namespace {
// The steps of SetCar in their order: cars 1..6, then obstacles 1..4.
constexpr int Steps = 10;

bool enteredFlag(int step)
{
    return step < 6 ? CarFlag[step + 1] == VbTrue : ShogaiFlag[step - 5] == VbTrue;
}

void clearTraffic()
{
    for (int n = 1; n <= 6; ++n) CarFlag[n] = VbFalse;
    for (int n = 1; n <= 4; ++n) ShogaiFlag[n] = VbFalse;
}

void setFlags(int carMask, int obstacleMask)
{
    for (int n = 1; n <= 6; ++n) CarFlag[n] = (carMask >> n) & 1 ? VbTrue : VbFalse;
    for (int n = 1; n <= 4; ++n) ShogaiFlag[n] = (obstacleMask >> n) & 1 ? VbTrue : VbFalse;
}
} // namespace

class TrafficTest : public QObject
{
    Q_OBJECT
    RaceFixture f;

private slots:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    // Chance of 1 in M per open step, from an empty road. Car 3 only gets its draw when car 1
    // stayed out on the same tick, and so do car 4 after car 2, car 6 after car 5 and
    // obstacle 2 after obstacle 1. 20000 ticks a case put a wrong table many standard
    // deviations away.
    void entryChances_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("distance");
        QTest::addColumn<QList<int>>("m");
        QTest::newRow("stage 1") << 0 << 0 << QList<int>{20, 20, 20, 20, 10, 10, 20, 20, 20, 20};
        QTest::newRow("stage 2") << 1 << 0 << QList<int>{10, 10, 10, 10, 8, 8, 10, 15, 15, 10};
        QTest::newRow("drive 0") << 2 << 0 << QList<int>{20, 20, 15, 15, 10, 10, 20, 20, 20, 20};
        QTest::newRow("drive 999") << 2 << 999 << QList<int>{20, 20, 15, 15, 10, 10, 20, 20, 20, 20};
        QTest::newRow("drive 1000") << 2 << 1000 << QList<int>{15, 15, 10, 10, 10, 10, 15, 15, 20, 20};
        QTest::newRow("drive 2999") << 2 << 2999 << QList<int>{15, 15, 10, 10, 10, 10, 15, 15, 20, 20};
        QTest::newRow("drive 3000") << 2 << 3000 << QList<int>{5, 10, 5, 5, 8, 8, 5, 10, 15, 15};
        QTest::newRow("drive 4999") << 2 << 4999 << QList<int>{5, 10, 5, 5, 8, 8, 5, 10, 15, 15};
        QTest::newRow("drive 5000") << 2 << 5000 << QList<int>{5, 10, 5, 5, 5, 5, 5, 10, 10, 5};
    }
    void entryChances()
    {
        QFETCH(int, mode);
        QFETCH(int, distance);
        QFETCH(QList<int>, m);
        GameMode = static_cast<int16_t>(mode);
        Distance = distance;
        constexpr int Ticks = 20000;
        int entries[Steps] = {};
        for (int t = 0; t < Ticks; ++t) {
            clearTraffic();
            f.form->SetCar();
            for (int s = 0; s < Steps; ++s) entries[s] += enteredFlag(s);
        }
        // Steps whose draw waits on an earlier step of the same tick: 3 on 1, 4 on 2, 6 on 5,
        // 8 on 7 (counted from 1).
        const int waitsOn[Steps] = {-1, -1, 0, 1, -1, 4, -1, 6, -1, -1};
        for (int s = 0; s < Steps; ++s) {
            double p = 1.0 / m[s];
            if (waitsOn[s] >= 0) p *= 1.0 - 1.0 / m[waitsOn[s]];
            const double seen = double(entries[s]) / Ticks;
            const double sd = std::sqrt(p * (1 - p) / Ticks);
            QVERIFY2(std::abs(seen - p) < 4.5 * sd,
                     qPrintable(QStringLiteral("step %1: %2 entries in %3, expected chance %4")
                                    .arg(s + 1).arg(entries[s]).arg(Ticks).arg(p)));
        }
    }

    // Every row of the stage table gives each entry step a chance from the start of a race on,
    // and phases that follow one another in the distance run.
    void everyModeHasAChanceForEveryStep_data()
    {
        QTest::addColumn<int>("mode");
        for (const RaceMode& row : RaceModes()) QTest::newRow(qPrintable(row.caption)) << int(row.mode);
    }
    void everyModeHasAChanceForEveryStep()
    {
        QFETCH(int, mode);
        const QList<TrafficPhase>& phases = RaceModeOf(int16_t(mode)).traffic;
        QVERIFY(!phases.isEmpty());
        QCOMPARE(phases[0].from, 0);
        for (int p = 0; p < phases.size(); ++p) {
            if (p > 0) QVERIFY(phases[p].from > phases[p - 1].from);
            for (int16_t m : phases[p].chances) QVERIFY2(m >= 1, qPrintable(QStringLiteral("phase %1").arg(p)));
        }
    }

    // What one thing on the road keeps out, and what it does not. Flags are masks with bit n
    // for car n or obstacle n.
    void guards_data()
    {
        QTest::addColumn<int>("cars");
        QTest::addColumn<int>("obstacles");
        QTest::addColumn<int>("watchedStep"); // 1..10
        QTest::addColumn<bool>("canEnter");
        QTest::newRow("car 1 keeps car 3 out") << (1 << 1) << 0 << 3 << false;
        QTest::newRow("car 3 keeps car 1 out") << (1 << 3) << 0 << 1 << false;
        QTest::newRow("car 2 keeps car 4 out") << (1 << 2) << 0 << 4 << false;
        QTest::newRow("car 4 keeps car 2 out") << (1 << 4) << 0 << 2 << false;
        QTest::newRow("car 1 lets car 2 in") << (1 << 1) << 0 << 2 << true;
        QTest::newRow("car 5 keeps car 6 out") << (1 << 5) << 0 << 6 << false;
        QTest::newRow("car 6 lets car 5 in") << (1 << 6) << 0 << 5 << true;
        QTest::newRow("obstacle 1 keeps 2 out") << 0 << (1 << 1) << 8 << false;
        QTest::newRow("obstacle 2 keeps 1 out") << 0 << (1 << 2) << 7 << false;
        QTest::newRow("obstacle 4 keeps 3 out") << 0 << (1 << 4) << 9 << false;
        QTest::newRow("obstacle 3 lets 4 in") << 0 << (1 << 3) << 10 << true;
        QTest::newRow("obstacle 1 lets 3 in") << 0 << (1 << 1) << 9 << true;
    }
    void guards()
    {
        QFETCH(int, cars);
        QFETCH(int, obstacles);
        QFETCH(int, watchedStep);
        QFETCH(bool, canEnter);
        GameMode = ModeDrive;
        Distance = 5000;
        int entries = 0;
        for (int t = 0; t < 2000; ++t) {
            setFlags(cars, obstacles);
            f.form->SetCar();
            entries += enteredFlag(watchedStep - 1);
        }
        if (canEnter)
            QVERIFY(entries > 0);
        else
            QCOMPARE(entries, 0);
    }

    // On one tick from an empty road: never both cars of a lane, never both cross-street cars,
    // never obstacles 1 and 2 together; obstacles 3 and 4 may both come.
    void entriesOnOneTick_data()
    {
        QTest::addColumn<int>("firstStep");
        QTest::addColumn<int>("secondStep");
        QTest::addColumn<bool>("together");
        QTest::newRow("cars 1 and 3") << 1 << 3 << false;
        QTest::newRow("cars 2 and 4") << 2 << 4 << false;
        QTest::newRow("cars 5 and 6") << 5 << 6 << false;
        QTest::newRow("obstacles 1 and 2") << 7 << 8 << false;
        QTest::newRow("obstacles 3 and 4") << 9 << 10 << true;
    }
    void entriesOnOneTick()
    {
        QFETCH(int, firstStep);
        QFETCH(int, secondStep);
        QFETCH(bool, together);
        GameMode = ModeDrive;
        Distance = 5000;
        int both = 0;
        for (int t = 0; t < 5000; ++t) {
            clearTraffic();
            f.form->SetCar();
            both += enteredFlag(firstStep - 1) && enteredFlag(secondStep - 1);
        }
        if (together)
            QVERIFY(both > 0);
        else
            QCOMPARE(both, 0);
    }

    // A closed step draws nothing: with everything on the road, SetCar leaves the sequence alone.
    void closedStepsDrawNothing()
    {
        setFlags(0b1111110, 0b11110);
        SetFixedSeed(99);
        f.form->SetCar();
        const double next = Rnd();
        SetFixedSeed(99);
        QCOMPARE(next, Rnd());
    }

    // An obstacle that enters takes its lane from the draw right after its own chance.
    // Obstacle 2's step comes only after obstacle 1's draw has kept obstacle 1 out.
    void obstacleLane_data()
    {
        QTest::addColumn<int>("n");
        for (int n = 1; n <= 4; ++n) QTest::addRow("obstacle %d", n) << n;
    }
    void obstacleLane()
    {
        QFETCH(int, n);
        const int lanes[3] = {48, 136, 216};
        const int before = n == 2 ? 1 : 0; // draws of earlier open steps, all missing
        QSet<int> seen;
        uint64_t seed = 0;
        for (int trial = 0; trial < 30; ++trial) {
            seed = SeedWhere(
                [before](const QList<double>& d) {
                    for (int i = 0; i < before; ++i)
                        if (d[i] < 1.0 / 20) return false;
                    return d[before] < 1.0 / 20;
                },
                before + 1, seed + 1);
            SetFixedSeed(seed);
            for (int i = 0; i <= before; ++i) Rnd();
            const double laneDraw = Rnd();

            // Everything on the road but obstacle n and whatever shares its guard.
            setFlags(0b1111110, 0b11110);
            if (n <= 2) ShogaiFlag[1] = ShogaiFlag[2] = VbFalse;
            if (n == 3) ShogaiFlag[3] = ShogaiFlag[4] = VbFalse;
            if (n == 4) ShogaiFlag[4] = VbFalse;
            GameMode = ModeStage1;
            f.form->img_Shogai[n - 1]->setLeft(-79);
            SetFixedSeed(seed);
            f.form->SetCar();
            QCOMPARE(ShogaiFlag[n], VbTrue);
            const int top = lanes[static_cast<int>(laneDraw * 3)];
            QCOMPARE(f.form->img_Shogai[n - 1]->Top(), double(top));
            QCOMPARE(f.form->img_Shogai[n - 1]->Left(), -79.0);
            seen.insert(top);
        }
        QCOMPARE(seen.size(), 3);
    }

    // Speeds drawn on entry: every value of the range comes up, and none outside it.
    void carSpeeds_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("laneLow");
        QTest::addColumn<int>("laneHigh");
        QTest::addColumn<int>("crossLow");
        QTest::addColumn<int>("crossHigh");
        QTest::newRow("stage 1") << 0 << 10 << 14 << 5 << 6;
        QTest::newRow("stage 2") << 1 << 10 << 19 << 5 << 8;
        QTest::newRow("drive") << 2 << 10 << 24 << 5 << 10;
    }
    void carSpeeds()
    {
        QFETCH(int, mode);
        QFETCH(int, laneLow);
        QFETCH(int, laneHigh);
        QFETCH(int, crossLow);
        QFETCH(int, crossHigh);
        GameMode = static_cast<int16_t>(mode);
        Distance = 5000;
        QSet<int> lane, cross;
        for (int t = 0; t < 20000; ++t) {
            clearTraffic();
            for (int n = 1; n <= 6; ++n) CarSpeed[n] = 0;
            f.form->SetCar();
            for (int n = 1; n <= 6; ++n) {
                if (CarFlag[n] != VbTrue) {
                    QCOMPARE(CarSpeed[n], int16_t(0));
                    continue;
                }
                (n <= 4 ? lane : cross).insert(CarSpeed[n]);
            }
        }
        QSet<int> laneRange, crossRange;
        for (int v = laneLow; v <= laneHigh; ++v) laneRange.insert(v);
        for (int v = crossLow; v <= crossHigh; ++v) crossRange.insert(v);
        QCOMPARE(lane, laneRange);
        QCOMPARE(cross, crossRange);
    }

    // A crossing car enters at the cross street that lies on screen.
    void crossStreetPlacement_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<double>("road");
        QTest::addColumn<double>("left");
        QTest::newRow("race start") << 5 << -344.0 << -74.0;
        QTest::newRow("-351 keeps the first crossing") << 5 << -351.0 << -81.0;
        QTest::newRow("-352 takes the second") << 6 << -352.0 << 519.0;
        QTest::newRow("-601") << 6 << -601.0 << 270.0;
        QTest::newRow("-1") << 5 << -1.0 << 269.0;
    }
    void crossStreetPlacement()
    {
        QFETCH(int, n);
        QFETCH(double, road);
        QFETCH(double, left);
        // Only the cross street is open: car 6 gets its draw when car 5's draw kept car 5 out.
        setFlags(n == 5 ? 0b1011110 : 0b11110, 0b11110);
        GameMode = ModeStage1;
        f.form->img_Road->setLeft(road);
        const double top = f.car(n)->Top();
        if (n == 5)
            SetFixedSeed(SeedWithFirstDrawBelow(1.0 / 10));
        else
            SetFixedSeed(SeedWhere([](const QList<double>& d) { return d[0] >= 0.1 && d[1] < 0.1; }, 2));
        f.form->SetCar();
        QCOMPARE(CarFlag[n], VbTrue);
        QCOMPARE(f.car(n)->Left(), left);
        QCOMPARE(f.car(n)->Top(), top);
    }

    void initCarParksEverything()
    {
        setFlags(0b1111110, 0b11110);
        for (int n = 1; n <= 6; ++n) {
            f.car(n)->move(200, 100);
            CarSpeed[n] = 12;
        }
        for (Picture* o : f.form->img_Shogai) o->move(300, 136);
        f.form->Init_Car();
        QCOMPARE(f.form->img_Car1->Left(), -117.0);
        QCOMPARE(f.form->img_Car2->Left(), 601.0);
        QCOMPARE(f.form->img_Car3->Left(), -164.0);
        QCOMPARE(f.form->img_Car4->Left(), 601.0);
        QCOMPARE(f.form->img_Car5->Top(), -114.0);
        QCOMPARE(f.form->img_Car6->Top(), 307.0);
        QCOMPARE(f.form->img_Car5->Left(), 200.0);
        for (Picture* o : f.form->img_Shogai) {
            QCOMPARE(o->Left(), -79.0);
            QCOMPARE(o->Top(), 136.0);
        }
        for (int n = 1; n <= 6; ++n) {
            QCOMPARE(CarFlag[n], VbFalse);
            QCOMPARE(CarSpeed[n], int16_t(12));
        }
        for (int n = 1; n <= 4; ++n) QCOMPARE(ShogaiFlag[n], VbFalse);
    }

    // --- the hit test ---

    void isClossed_data()
    {
        QTest::addColumn<bool>("heroFirst");
        QTest::addColumn<QRect>("first");  // left, top (size from the picture used)
        QTest::addColumn<QRect>("second");
        QTest::addColumn<bool>("touching");
        // The hero's box at (448, 112) is x 453..515, y 172..174.
        QTest::newRow("car 2 below the box") << true << QRect(448, 112, 77, 77) << QRect(400, 184, 117, 50) << false;
        QTest::newRow("car 2 reaches the box") << true << QRect(448, 124, 77, 77) << QRect(400, 184, 117, 50) << true;
        QTest::newRow("car 1, sprite top 10") << true << QRect(300, 10, 77, 77) << QRect(300, 72, 117, 50) << true;
        QTest::newRow("car 1, sprite top 9") << true << QRect(300, 9, 77, 77) << QRect(300, 72, 117, 50) << false;
        QTest::newRow("car 1, sprite top 62") << true << QRect(300, 62, 77, 77) << QRect(300, 72, 117, 50) << true;
        QTest::newRow("car 1, sprite top 63") << true << QRect(300, 63, 77, 77) << QRect(300, 72, 117, 50) << false;
        QTest::newRow("right edge on the box's left") << true << QRect(448, 112, 77, 77) << QRect(336, 150, 117, 50) << true;
        QTest::newRow("one short of the box's left") << true << QRect(448, 112, 77, 77) << QRect(335, 150, 117, 50) << false;
        QTest::newRow("left edge on the box's right") << true << QRect(448, 112, 77, 77) << QRect(515, 150, 117, 50) << true;
        QTest::newRow("one past the box's right") << true << QRect(448, 112, 77, 77) << QRect(516, 150, 117, 50) << false;
        QTest::newRow("adjoining, one above") << false << QRect(100, 50, 117, 50) << QRect(100, 100, 117, 50) << true;
        QTest::newRow("one pixel apart") << false << QRect(100, 49, 117, 50) << QRect(100, 100, 117, 50) << false;
        QTest::newRow("wholly above") << false << QRect(100, 100, 117, 50) << QRect(100, 0, 117, 50) << false;
        QTest::newRow("corner to corner") << false << QRect(100, 100, 117, 50) << QRect(217, 150, 117, 50) << true;
        QTest::newRow("overlapping") << false << QRect(100, 100, 117, 50) << QRect(150, 120, 117, 50) << true;
    }
    void isClossed()
    {
        QFETCH(bool, heroFirst);
        QFETCH(QRect, first);
        QFETCH(QRect, second);
        QFETCH(bool, touching);
        Picture* a = heroFirst ? f.form->img_JetR[0] : f.form->img_Car1;
        Picture* b = f.form->img_Car2;
        a->move(first.left(), first.top());
        b->move(second.left(), second.top());
        QCOMPARE(f.form->IsClossed(a, b), touching ? VbTrue : VbFalse);
        if (!heroFirst) QCOMPARE(f.form->IsClossed(b, a), touching ? VbTrue : VbFalse);
    }

    // Only the hero as the first picture is shrunk; as the second he counts whole, and his
    // crash pictures do not change his box.
    void heroOnlyShrunkAsFirst()
    {
        Picture* hero = f.form->img_JetR[0];
        hero->move(448, 112);
        f.form->img_Car1->move(400, 72); // touches the sprite's top, not the box
        QCOMPARE(f.form->IsClossed(hero, f.form->img_Car1), VbFalse);
        QCOMPARE(f.form->IsClossed(f.form->img_Car1, hero), VbTrue);
        hero->takePictureOf(*f.form->img_JetR[4]);
        f.form->img_Car1->move(400, 174 - 50);
        QCOMPARE(f.form->IsClossed(hero, f.form->img_Car1), VbTrue);
        // A hidden source showing the running picture is not the hero.
        f.form->img_JetR[1]->move(448, 112);
        f.form->img_Car1->move(400, 72);
        QCOMPARE(f.form->IsClossed(f.form->img_JetR[1], f.form->img_Car1), VbTrue);
    }
};

QTEST_MAIN(TrafficTest)
#include "test_traffic.moc"
