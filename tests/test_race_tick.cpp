// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The race tick and the clock: distance, the road's scroll and fold, the traffic's steps,
// hold-backs and parking, the hero's hits in their order, and the clock's second.
#include <QtTest>

#include "race/race_state.h"
#include "race/tick_plan.h"
#include "race_fixture.h"

namespace {
// A race with the road at its start and every car and obstacle parked far off, at their sizes.
TickSnapshot ParkedRace(bool story, int distance, int speed)
{
    TickSnapshot race{story, distance, int16_t(speed), {true, -344, 0, 1202, 303}, {}, {}, {}};
    const int carSizes[7][2] = {{0, 0}, {117, 50}, {117, 50}, {164, 96}, {164, 96}, {63, 114}, {63, 114}};
    for (int n = 1; n <= 6; ++n) race.car[n] = {false, -2000, -2000, carSizes[n][0], carSizes[n][1]};
    for (int n = 1; n <= 4; ++n) race.obstacle[n] = {false, -2000, -2000, 79, 36};
    return race;
}

// "road", "car<n>" or "obstacle<n>" of a snapshot or a plan.
template <typename Race> auto& Named(Race& race, const QString& name)
{
    if (name == QLatin1String("road")) return race.road;
    const int n = name.right(1).toInt();
    return name.startsWith(QLatin1String("car")) ? race.car[n] : race.obstacle[n];
}
} // namespace

class RaceTickTest : public QObject
{
    Q_OBJECT
    RaceFixture f;

private slots:
    void init()
    {
        f.setUp();
        f.startRace(ModeDrive, 0, 0);
    }
    void cleanup() { f.tearDown(); }

    // The tick plan alone, without a window: one picture on the road (and another that may hold
    // it back), where its motion takes it and where the tick puts it.
    void plan_data()
    {
        QTest::addColumn<bool>("story");
        QTest::addColumn<int>("distance");
        QTest::addColumn<int>("speed");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<int>("carSpeed");
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<QPointF>("blockerAt");
        QTest::addColumn<QPointF>("reach");
        QTest::addColumn<QPointF>("place");
        QTest::addColumn<bool>("leaves");
        QTest::addColumn<int>("distanceAfter");
        QTest::addColumn<bool>("endsStage");
        const QString none;
        QTest::newRow("car 1 own step") << false << 100 << 2 << "car1" << QPointF(100, 72) << 10 << none << QPointF() << QPointF(130, 72) << QPointF(130, 72) << false << 110 << false;
        QTest::newRow("car 2 own step") << false << 100 << 2 << "car2" << QPointF(300, 184) << 10 << none << QPointF() << QPointF(270, 184) << QPointF(270, 184) << false << 110 << false;
        QTest::newRow("car 1 held back by car 5") << false << 100 << 2 << "car1" << QPointF(100, 72) << 10 << "car5" << QPointF(150, 80) << QPointF(140, 72) << QPointF(140, 72) << false << 110 << false;
        QTest::newRow("car 4 held back by obstacle 2") << false << 100 << 2 << "car4" << QPointF(300, 152) << 10 << "obstacle2" << QPointF(250, 200) << QPointF(280, 152) << QPointF(280, 152) << false << 110 << false;
        QTest::newRow("car 3 meets car 6 edge to edge") << false << 100 << 2 << "car3" << QPointF(100, 48) << 10 << "car6" << QPointF(294, 0) << QPointF(140, 48) << QPointF(140, 48) << false << 110 << false;
        QTest::newRow("car 3 a pixel short of car 6") << false << 100 << 2 << "car3" << QPointF(100, 48) << 10 << "car6" << QPointF(295, 0) << QPointF(130, 48) << QPointF(130, 48) << false << 110 << false;
        QTest::newRow("car 1 leaves at the right") << false << 0 << 0 << "car1" << QPointF(591, 72) << 11 << none << QPointF() << QPointF(602, 72) << QPointF(-117, 72) << true << 0 << false;
        QTest::newRow("car 2 leaves at the left") << false << 0 << 0 << "car2" << QPointF(-108, 184) << 10 << none << QPointF() << QPointF(-118, 184) << QPointF(601, 184) << true << 0 << false;
        QTest::newRow("car 5 leaves at the bottom") << false << 0 << 2 << "car5" << QPointF(100, 245) << 6 << none << QPointF() << QPointF(120, 305) << QPointF(120, -114) << true << 10 << false;
        QTest::newRow("car 6 leaves at the top") << false << 0 << 1 << "car6" << QPointF(300, -65) << 5 << none << QPointF() << QPointF(310, -115) << QPointF(310, 304) << true << 5 << false;
        QTest::newRow("obstacle 2 leaves at the right") << false << 0 << 1 << "obstacle2" << QPointF(592, 200) << 0 << none << QPointF() << QPointF(602, 200) << QPointF(-80, 200) << true << 5 << false;
        QTest::newRow("road folds a tile back") << false << 0 << 9 << "road" << QPointF(-74, 0) << 0 << none << QPointF() << QPointF(16, 0) << QPointF(-585, 0) << false << 45 << false;
        QTest::newRow("road reaching 0 folds") << false << 0 << 1 << "road" << QPointF(-10, 0) << 0 << none << QPointF() << QPointF(0, 0) << QPointF(-601, 0) << false << 5 << false;
        QTest::newRow("story runs on") << true << 46 << 9 << "car1" << QPointF(100, 72) << 10 << none << QPointF() << QPointF(200, 72) << QPointF(200, 72) << false << 1 << false;
        QTest::newRow("goal tick moves nothing") << true << 45 << 9 << "car1" << QPointF(100, 72) << 10 << "car5" << QPointF(150, 80) << QPointF(100, 72) << QPointF(100, 72) << false << 0 << true;
        // A car let in since the last tick ("+"), the modern way, waits at the road's edge.
        QTest::newRow("car 2 entering stands") << false << 0 << 9 << "car2+" << QPointF(601, 184) << 10 << none << QPointF() << QPointF(601, 184) << QPointF(601, 184) << false << 45 << false;
        QTest::newRow("car 3 entering stands") << false << 0 << 9 << "car3+" << QPointF(-164, 48) << 14 << none << QPointF() << QPointF(-164, 48) << QPointF(-164, 48) << false << 45 << false;
        QTest::newRow("car 5 entering slides with the road") << false << 0 << 9 << "car5+" << QPointF(270, -114) << 6 << none << QPointF() << QPointF(360, -114) << QPointF(360, -114) << false << 45 << false;
        QTest::newRow("drive never ends") << false << -100 << 0 << "road" << QPointF(-344, 0) << 0 << none << QPointF() << QPointF(-344, 0) << QPointF(-344, 0) << false << -100 << false;
    }
    void plan()
    {
        QFETCH(bool, story);
        QFETCH(int, distance);
        QFETCH(int, speed);
        QFETCH(QString, subject);
        const bool entering = subject.endsWith(QLatin1Char('+'));
        if (entering) subject.chop(1);
        QFETCH(QPointF, from);
        QFETCH(int, carSpeed);
        QFETCH(QString, blocker);
        QFETCH(QPointF, blockerAt);
        QFETCH(QPointF, reach);
        QFETCH(QPointF, place);
        QFETCH(bool, leaves);
        QFETCH(int, distanceAfter);
        QFETCH(bool, endsStage);
        TickSnapshot race = ParkedRace(story, distance, speed);
        const auto putOnRoad = [&race](const QString& name, QPointF at) {
            TickBody& body = Named(race, name);
            body.onRoad = true;
            body.left = at.x();
            body.top = at.y();
        };
        putOnRoad(subject, from);
        Named(race, subject).entering = entering;
        if (subject.startsWith(QLatin1String("car"))) race.carSpeed[subject.right(1).toInt()] = int16_t(carSpeed);
        if (!blocker.isEmpty()) putOnRoad(blocker, blockerAt);
        const TickPlan plan = PlanTick(race);
        const TickMove& move = Named(plan, subject);
        QVERIFY(move.onRoad);
        QCOMPARE(QPointF(move.left, move.top), reach);
        QCOMPARE(QPointF(move.placeLeft, move.placeTop), place);
        QCOMPARE(move.leaves, leaves);
        QCOMPARE(plan.distance, distanceAfter);
        QCOMPARE(plan.endsStage, endsStage);
        // The tick that ends a stage leaves everything where it stands.
        for (const QString& name : {"road", "car1", "car2", "car3", "car4", "car5", "car6", "obstacle1", "obstacle2", "obstacle3", "obstacle4"})
            if (endsStage) QCOMPARE(QPointF(Named(plan, name).placeLeft, Named(plan, name).placeTop), QPointF(Named(race, name).left, Named(race, name).top));
    }

    void roadScrollsAndFolds_data()
    {
        QTest::addColumn<double>("start");
        QTest::addColumn<int>("speed");
        QTest::addColumn<double>("expected");
        QTest::newRow("race start at 9") << -344.0 << 9 << -254.0;
        QTest::newRow("second tick") << -254.0 << 9 << -164.0;
        QTest::newRow("third tick") << -164.0 << 9 << -74.0;
        QTest::newRow("fourth tick folds 16") << -74.0 << 9 << -585.0;
        QTest::newRow("reaching 0 folds") << -10.0 << 1 << -601.0;
        QTest::newRow("from -601") << -601.0 << 5 << -551.0;
        QTest::newRow("standing still") << -344.0 << 0 << -344.0;
    }
    void roadScrollsAndFolds()
    {
        QFETCH(double, start);
        QFETCH(int, speed);
        QFETCH(double, expected);
        f.heroAway();
        f.form->img_Road->setLeft(start);
        Speed = static_cast<int16_t>(speed);
        f.form->timer_Zenta_Timer();
        QCOMPARE(f.form->img_Road->Left(), expected);
    }

    void roadSequenceFromRaceStart()
    {
        f.heroAway();
        Speed = 9;
        QList<double> seen;
        for (int i = 0; i < 5; ++i) {
            f.form->timer_Zenta_Timer();
            seen << f.form->img_Road->Left();
        }
        QCOMPARE(seen, (QList<double>{-254, -164, -74, -585, -495}));
    }

    void distance_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("distance");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("cleared");
        QTest::newRow("stage 1 runs") << 0 << 3000 << 9 << 2955 << false;
        QTest::newRow("stage 2 one unit short") << 1 << 46 << 9 << 1 << false;
        QTest::newRow("lands on 0") << 0 << 45 << 9 << 0 << true;
        QTest::newRow("overshoots to -40") << 0 << 5 << 9 << -40 << true;
        QTest::newRow("story standing still") << 1 << 2000 << 0 << 2000 << false;
        QTest::newRow("drive grows 45") << 2 << 1000 << 9 << 1045 << false;
        QTest::newRow("drive standing still") << 2 << 0 << 0 << 0 << false;
    }
    void distance()
    {
        QFETCH(int, mode);
        QFETCH(int, distance);
        QFETCH(int, speed);
        QFETCH(int, expected);
        QFETCH(bool, cleared);
        f.heroAway();
        GameMode = static_cast<int16_t>(mode);
        Distance = distance;
        Speed = static_cast<int16_t>(speed);
        f.form->timer_Zenta_Timer();
        QCOMPARE(Distance, expected);
        QCOMPARE(f.form->timer_Zenta->Enabled(), !cleared);
        QCOMPARE(f.form->timer_Main->Enabled(), !cleared);
    }

    // The tick that reaches the goal ends the stage and does nothing else: no scroll, no
    // traffic, no hit even with the hero sitting on a car.
    void goalTickTouchesNothingElse()
    {
        GameMode = ModeStage1;
        Distance = 5;
        Speed = 9;
        CarFlag[5] = VbTrue;
        CarSpeed[5] = 6;
        f.form->img_Car5->move(200, 0);
        f.form->img_Car2->setLeft(440); // under the hero's feet at (448, 124)
        f.form->img_JetR[0]->move(448, 124);
        f.form->timer_Zenta_Timer();
        QCOMPARE(Distance, -40);
        QCOMPARE(f.form->img_Road->Left(), -344.0);
        QCOMPARE(f.form->img_Car5->Left(), 200.0); // the clear scene's parking leaves Left
        QCOMPARE(Speed, int16_t(9));
        QVERIFY(!f.form->timer_Crush->Enabled());
        QVERIFY(!f.form->timer_Zenta->Enabled());
    }

    void laneCarSteps_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("onRoad");
        QTest::addColumn<double>("left");
        QTest::addColumn<int>("carSpeed");
        QTest::addColumn<int>("speed");
        QTest::addColumn<double>("expectedLeft");
        QTest::addColumn<bool>("stillOn");
        QTest::newRow("car 1 starts") << 1 << true << -117.0 << 12 << 0 << -105.0 << true;
        QTest::newRow("car 1 with the road") << 1 << true << -117.0 << 12 << 9 << -15.0 << true;
        QTest::newRow("car 1 at 601 stays") << 1 << true << 590.0 << 11 << 0 << 601.0 << true;
        QTest::newRow("car 1 past 601 parks") << 1 << true << 591.0 << 11 << 0 << -117.0 << false;
        QTest::newRow("car 2 starts") << 2 << true << 601.0 << 10 << 3 << 561.0 << true;
        QTest::newRow("car 2 at -117 stays") << 2 << true << -107.0 << 10 << 0 << -117.0 << true;
        QTest::newRow("car 2 past -117 parks") << 2 << true << -108.0 << 10 << 0 << 601.0 << false;
        QTest::newRow("car 3 starts") << 3 << true << -164.0 << 14 << 2 << -130.0 << true;
        QTest::newRow("car 3 past 601 parks") << 3 << true << 600.0 << 10 << 0 << -164.0 << false;
        QTest::newRow("car 4 against the road") << 4 << true << 601.0 << 19 << 9 << 492.0 << true;
        QTest::newRow("car 4 past -164 parks") << 4 << true << -150.0 << 15 << 0 << 601.0 << false;
        QTest::newRow("parked car 1 stands") << 1 << false << 100.0 << 12 << 9 << 100.0 << false;
        QTest::newRow("parked car 4 stands") << 4 << false << 300.0 << 12 << 9 << 300.0 << false;
    }
    void laneCarSteps()
    {
        QFETCH(int, n);
        QFETCH(bool, onRoad);
        QFETCH(double, left);
        QFETCH(int, carSpeed);
        QFETCH(int, speed);
        QFETCH(double, expectedLeft);
        QFETCH(bool, stillOn);
        f.heroAway();
        Picture* car = f.car(n);
        const double top = car->Top();
        car->setLeft(left);
        CarFlag[n] = onRoad ? VbTrue : VbFalse;
        CarSpeed[n] = static_cast<int16_t>(carSpeed);
        Speed = static_cast<int16_t>(speed);
        f.form->timer_Zenta_Timer();
        QCOMPARE(car->Left(), expectedLeft);
        QCOMPARE(car->Top(), top);
        QCOMPARE(CarFlag[n], stillOn ? VbTrue : VbFalse);
    }

    void crossCarSteps_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("onRoad");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("top");
        QTest::addColumn<int>("carSpeed");
        QTest::addColumn<int>("speed");
        QTest::addColumn<double>("expectedLeft");
        QTest::addColumn<double>("expectedTop");
        QTest::addColumn<bool>("stillOn");
        QTest::newRow("car 5 comes down") << 5 << true << 270.0 << -114.0 << 6 << 3 << 300.0 << -54.0 << true;
        QTest::newRow("car 5 at 304 stays") << 5 << true << 100.0 << 244.0 << 6 << 0 << 100.0 << 304.0 << true;
        QTest::newRow("car 5 past 304 parks") << 5 << true << 100.0 << 245.0 << 6 << 2 << 120.0 << -114.0 << false;
        QTest::newRow("car 6 comes up") << 6 << true << 300.0 << 307.0 << 5 << 0 << 300.0 << 257.0 << true;
        QTest::newRow("car 6 at -114 stays") << 6 << true << 300.0 << -64.0 << 5 << 0 << 300.0 << -114.0 << true;
        QTest::newRow("car 6 past -114 parks") << 6 << true << 300.0 << -65.0 << 5 << 1 << 310.0 << 304.0 << false;
        QTest::newRow("parked car 5 stands") << 5 << false << 300.0 << -114.0 << 5 << 9 << 300.0 << -114.0 << false;
        QTest::newRow("parked car 6 stands") << 6 << false << 300.0 << 307.0 << 5 << 9 << 300.0 << 307.0 << false;
    }
    void crossCarSteps()
    {
        QFETCH(int, n);
        QFETCH(bool, onRoad);
        QFETCH(double, left);
        QFETCH(double, top);
        QFETCH(int, carSpeed);
        QFETCH(int, speed);
        QFETCH(double, expectedLeft);
        QFETCH(double, expectedTop);
        QFETCH(bool, stillOn);
        f.heroAway();
        f.car(n)->move(left, top);
        CarFlag[n] = onRoad ? VbTrue : VbFalse;
        CarSpeed[n] = static_cast<int16_t>(carSpeed);
        Speed = static_cast<int16_t>(speed);
        f.form->timer_Zenta_Timer();
        QCOMPARE(f.car(n)->Left(), expectedLeft);
        QCOMPARE(f.car(n)->Top(), expectedTop);
        QCOMPARE(CarFlag[n], stillOn ? VbTrue : VbFalse);
    }

    // A crossing car is never held back, even by an obstacle in its way.
    void crossCarsNeverHoldBack()
    {
        f.heroAway();
        Speed = 2;
        CarFlag[5] = VbTrue;
        CarSpeed[5] = 5;
        f.form->img_Car5->move(200, 0);
        ShogaiFlag[1] = VbTrue;
        f.form->img_Shogai[0]->move(200, 50);
        f.form->timer_Zenta_Timer();
        QCOMPARE(f.form->img_Car5->Left(), 220.0);
        QCOMPARE(f.form->img_Car5->Top(), 50.0);
    }

    void obstacleSteps_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("onRoad");
        QTest::addColumn<double>("left");
        QTest::addColumn<int>("speed");
        QTest::addColumn<double>("expectedLeft");
        QTest::addColumn<bool>("stillOn");
        QTest::newRow("obstacle 1 slides") << 1 << true << -79.0 << 9 << 11.0 << true;
        QTest::newRow("obstacle 4 lies still") << 4 << true << 600.0 << 0 << 600.0 << true;
        QTest::newRow("obstacle 3 at 601 stays") << 3 << true << 591.0 << 1 << 601.0 << true;
        QTest::newRow("obstacle 2 past 601 parks") << 2 << true << 592.0 << 1 << -80.0 << false;
        QTest::newRow("parked obstacle stands") << 1 << false << -79.0 << 9 << -79.0 << false;
    }
    void obstacleSteps()
    {
        QFETCH(int, n);
        QFETCH(bool, onRoad);
        QFETCH(double, left);
        QFETCH(int, speed);
        QFETCH(double, expectedLeft);
        QFETCH(bool, stillOn);
        f.heroAway();
        f.form->img_Shogai[n - 1]->setLeft(left);
        ShogaiFlag[n] = onRoad ? VbTrue : VbFalse;
        Speed = static_cast<int16_t>(speed);
        f.form->timer_Zenta_Timer();
        QCOMPARE(f.form->img_Shogai[n - 1]->Left(), expectedLeft);
        QCOMPARE(ShogaiFlag[n], stillOn ? VbTrue : VbFalse);
    }

    // Each lane car against each thing that may hold it back, on the road or not. The
    // blocker is put just ahead of where the car's own step takes it.
    void holdBack_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<bool>("blockerOnRoad");
        QTest::addColumn<bool>("heldBack");
        const QStringList blockers{"car5", "car6", "obstacle1", "obstacle2", "obstacle3", "obstacle4"};
        for (int n = 1; n <= 4; ++n) {
            for (const QString& b : blockers) {
                QTest::addRow("car %d, %s on the road", n, qPrintable(b)) << n << b << true << true;
                QTest::addRow("car %d, %s parked", n, qPrintable(b)) << n << b << false << false;
            }
            // The other car of the same lane is not a blocker.
            const QString partner = QStringLiteral("car%1").arg(n <= 2 ? n + 2 : n - 2);
            QTest::addRow("car %d, %s", n, qPrintable(partner)) << n << partner << true << false;
            // Two blockers at once still hold it back once.
            QTest::addRow("car %d, car5 and obstacle1", n) << n << QString("car5+obstacle1") << true << true;
        }
    }
    void holdBack()
    {
        QFETCH(int, n);
        QFETCH(QString, blocker);
        QFETCH(bool, blockerOnRoad);
        QFETCH(bool, heldBack);
        f.heroAway();
        Speed = 2;
        const bool right = n == 1 || n == 3;
        const double start = right ? 100 : 300;
        const double afterOwnStep = right ? start + 10 + 20 : start - 10 - 20;
        Picture* car = f.car(n);
        car->setLeft(start);
        CarFlag[n] = VbTrue;
        CarSpeed[n] = 10;
        for (const QString& b : blocker.split('+')) {
            Picture* picture;
            VBool* flag;
            if (b.startsWith("car")) {
                const int k = b.mid(3).toInt();
                picture = f.car(k);
                flag = &CarFlag[k];
                CarSpeed[k] = k >= 5 ? 1 : 10;
            } else {
                const int k = b.mid(8).toInt();
                picture = f.form->img_Shogai[k - 1];
                flag = &ShogaiFlag[k];
            }
            picture->move(afterOwnStep + 20, car->Top() + 8);
            *flag = blockerOnRoad ? VbTrue : VbFalse;
        }
        f.form->timer_Zenta_Timer();
        // The hold-back step takes back the car's own step and lets it slide with the road.
        QCOMPARE(car->Left(), heldBack ? afterOwnStep - 10 + 20 : afterOwnStep);
    }

    void holdBackCanTakeCarOffRoad()
    {
        f.heroAway();
        Speed = 9;
        CarFlag[1] = VbTrue;
        CarSpeed[1] = 10;
        f.form->img_Car1->setLeft(500);
        ShogaiFlag[3] = VbTrue;
        f.form->img_Shogai[2]->move(590, 80);
        f.form->timer_Zenta_Timer(); // 600 after its own step, 680 after the hold-back
        QCOMPARE(f.form->img_Car1->Left(), -117.0);
        QCOMPARE(CarFlag[1], VbFalse);
    }

    // The hero against everything at once: cars before obstacles, the lower number first,
    // parked or not. Everything listed is put under his feet at (448, 112).
    void hitOrder_data()
    {
        QTest::addColumn<QList<int>>("cars");
        QTest::addColumn<QList<int>>("obstacles");
        QTest::addColumn<int>("crushType");  // -1: no crash
        QTest::addColumn<int>("parkedObstacle"); // 1..4, or 0
        QTest::newRow("nothing") << QList<int>{} << QList<int>{} << -1 << 0;
        QTest::newRow("car before obstacle") << QList<int>{2} << QList<int>{1} << 0 << 0;
        QTest::newRow("cross car before obstacle") << QList<int>{6} << QList<int>{4} << 0 << 0;
        QTest::newRow("two cars") << QList<int>{3, 5} << QList<int>{} << 0 << 0;
        QTest::newRow("obstacle 2 before 4") << QList<int>{} << QList<int>{2, 4} << 1 << 2;
        QTest::newRow("obstacle 3 alone") << QList<int>{} << QList<int>{3} << 1 << 3;
        QTest::newRow("all") << QList<int>{1, 2, 3, 4, 5, 6} << QList<int>{1, 2, 3, 4} << 0 << 0;
    }
    void hitOrder()
    {
        QFETCH(QList<int>, cars);
        QFETCH(QList<int>, obstacles);
        QFETCH(int, crushType);
        QFETCH(int, parkedObstacle);
        Speed = 4;
        CrushType = 7;
        for (int n : cars) f.car(n)->move(460, 150); // parked: the tick leaves them there
        for (int k : obstacles) {
            f.form->img_Shogai[k - 1]->move(420, 150);
            ShogaiFlag[k] = VbTrue; // on the road: 460 after this tick's slide
        }
        f.form->timer_Zenta_Timer();
        QCOMPARE(f.form->timer_Zenta->Enabled(), crushType < 0);
        QCOMPARE(f.form->timer_Crush->Enabled(), crushType >= 0);
        QCOMPARE(int(CrushType), crushType < 0 ? 7 : crushType);
        QCOMPARE(Speed, int16_t(crushType < 0 ? 4 : 0));
        for (int k : obstacles) {
            QCOMPARE(f.form->img_Shogai[k - 1]->Left(), k == parkedObstacle ? -79.0 : 460.0);
            QCOMPARE(ShogaiFlag[k], k == parkedObstacle ? VbFalse : VbTrue);
        }
    }

    // Standing still, the hero can still be run into by a car on its own step.
    void carRunsIntoStandingHero()
    {
        f.form->img_JetR[0]->move(448, 124); // hit box x 453..515, y 184..186
        CarFlag[2] = VbTrue;
        CarSpeed[2] = 10;
        f.form->img_Car2->setLeft(526);
        f.form->timer_Zenta_Timer(); // 516: one pixel short of the box
        QVERIFY(f.form->timer_Zenta->Enabled());
        f.form->timer_Zenta_Timer(); // 506: inside
        QVERIFY(!f.form->timer_Zenta->Enabled());
        QCOMPARE(int(CrushType), 0);
        QCOMPARE(f.form->img_Car2->Left(), 506.0);
        QCOMPARE(CarFlag[2], VbTrue);
    }

    // --- the clock ---

    void firstClockTick_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("time");
        QTest::addColumn<int>("distance");
        QTest::addColumn<QString>("shownTime");
        QTest::addColumn<QString>("shownDistance");
        QTest::newRow("stage 1") << 0 << 70 << 3000 << "69" << "3000";
        QTest::newRow("stage 2") << 1 << 50 << 2000 << "49" << "2000";
        QTest::newRow("drive") << 2 << 0 << 0 << "1" << "0";
    }
    void firstClockTick()
    {
        QFETCH(int, mode);
        QFETCH(int, time);
        QFETCH(int, distance);
        QFETCH(QString, shownTime);
        QFETCH(QString, shownDistance);
        f.startRace(static_cast<int16_t>(mode), time, distance);
        QCOMPARE(f.form->lbl_Time->Caption(), QString());
        QCOMPARE(f.form->lbl_Dist->Caption(), QString());
        f.form->timer_Main_Timer();
        QCOMPARE(f.form->lbl_Time->Caption(), shownTime);
        QCOMPARE(f.form->lbl_Dist->Caption(), shownDistance);
        QVERIFY(f.form->timer_Main->Enabled());
    }

    // The tick that takes a story clock to 0 shows 0, ends the race, and still lets traffic in.
    void timeRunsOut_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("stage 1") << 0;
        QTest::newRow("stage 2") << 1;
    }
    void timeRunsOut()
    {
        QFETCH(int, mode);
        f.startRace(static_cast<int16_t>(mode), 1, 800);
        const uint64_t seed = SeedWithFirstDrawBelow(0.05); // car 1's draw lets it in
        SetFixedSeed(seed);
        f.form->timer_Main_Timer();
        QCOMPARE(f.form->lbl_Time->Caption(), QStringLiteral("0"));
        QCOMPARE(f.form->lbl_Dist->Caption(), QStringLiteral("800"));
        QVERIFY(!f.form->timer_Main->Enabled());
        QVERIFY(!f.form->timer_Zenta->Enabled());
        QVERIFY(f.form->lbl_Msg->Caption().endsWith(QStringLiteral("Game Over")));
        QCOMPARE(CarFlag[1], VbTrue);
    }

    void driveNeverEndsOnTime_data()
    {
        QTest::addColumn<int>("time");
        QTest::newRow("start") << 0;
        QTest::newRow("long run") << 100000;
        QTest::newRow("below zero") << -5;
    }
    void driveNeverEndsOnTime()
    {
        QFETCH(int, time);
        f.startRace(ModeDrive, time, 0);
        f.form->timer_Main_Timer();
        QCOMPARE(TimeCount, time + 1);
        QCOMPARE(f.form->lbl_Time->Caption(), QString::number(time + 1));
        QVERIFY(f.form->timer_Main->Enabled());
        QVERIFY(f.form->timer_Zenta->Enabled());
        QCOMPARE(InputEnabled, VbTrue);
    }

    // The distance label shows the last whole second: race ticks between clock ticks leave it.
    void distanceLabelFollowsTheClock()
    {
        f.heroAway();
        f.startRace(ModeStage1, 70, 3000);
        f.heroAway();
        Speed = 4;
        f.form->timer_Zenta_Timer();
        f.form->timer_Zenta_Timer();
        QCOMPARE(f.form->lbl_Dist->Caption(), QString());
        f.form->timer_Main_Timer();
        QCOMPARE(f.form->lbl_Dist->Caption(), QStringLiteral("2960"));
    }
};

QTEST_MAIN(RaceTickTest)
#include "test_race_tick.moc"
