// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Smooth motion draws the race between its ticks and steers at a steady rate; classic motion
// draws it at the tick and steers at the keyboard's repeat. The race itself must not notice:
// the same seed and the same hand give the same positions, hits and result at every tick. A
// slid picture stands where the tick puts it when the tick comes; a placed one is drawn at its
// place at once; a stopped race is drawn where it stands, and no frame runs without a race.
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QtTest>
#include <random>

#include "race_fixture.h"
#include "runtime/frame_clock.h"
#include "input/action_sink.h"
#include "race/modern_marks.h"
#include "race/tick_plan.h"
#include "prefs/choices.h"
#include "storage/player_settings.h"
#include "scores/high_scores.h"

namespace {

// Everything the rules decide, for one line of the record.
QString RaceLine(form_Main* m)
{
    QString s = QStringLiteral("d=%1 t=%2 v=%3 in=%4 crash=%5/%6 clear=%7 msg=%8 |")
                    .arg(Distance).arg(TimeCount).arg(Speed).arg(InputEnabled)
                    .arg(m->timer_Crush->Enabled()).arg(CrushType).arg(m->timer_Clear->Enabled())
                    .arg(m->lbl_Msg->Caption());
    for (const Picture* p : m->roadLayer->pictures())
        s += QStringLiteral(" %1@%2,%3%4").arg(p->name()).arg(p->Left()).arg(p->Top())
                 .arg(p->Visible() ? "" : "h");
    for (int n = 1; n <= 6; ++n) s += QStringLiteral(" c%1=%2/%3").arg(n).arg(CarFlag[n]).arg(CarSpeed[n]);
    for (int n = 1; n <= 4; ++n) s += QStringLiteral(" o%1=%2").arg(n).arg(ShogaiFlag[n]);
    return s;
}

// The pictures the race tick moves.
QList<Picture*> Moving(form_Main* m)
{
    QList<Picture*> list{m->img_Road};
    for (int n = 1; n <= 6; ++n) list << m->car(n);
    for (Picture* o : m->img_Shogai) list << o;
    return list;
}

// The modern tick against the classic one of the same race: each car it moves otherwise is named
// "tick:car" in `held`, marked "!" unless it was let in and stands, or only slides with the road.
void NameHeld(const TickSnapshot& race, int tick, QStringList* held)
{
    TickSnapshot classic = race;
    for (TickBody& car : classic.car) car.entering = false;
    const TickPlan a = PlanTick(race), b = PlanTick(classic);
    if (a.distance != b.distance || a.road.placeLeft != b.road.placeLeft) *held << QStringLiteral("%1:road!").arg(tick);
    for (int n = 1; n <= 6; ++n) {
        const TickMove &m = a.car[n], &c = b.car[n];
        const bool stands = race.car[n].entering && m.placeTop == race.car[n].top && m.placeLeft == race.car[n].left + (n >= 5 ? 10 * race.speed : 0);
        if (m.left != c.left || m.top != c.top || m.placeLeft != c.placeLeft || m.placeTop != c.placeTop)
            *held << QStringLiteral("%1:%2%3").arg(tick).arg(n).arg(stands ? "" : "!");
    }
}

bool OnTheRoad(form_Main* m, Picture* p)
{
    for (int n = 1; n <= 6; ++n)
        if (m->car(n) == p) return CarFlag[n] == VbTrue;
    for (int i = 0; i < 4; ++i)
        if (m->img_Shogai[i] == p) return ShogaiFlag[i + 1] == VbTrue;
    return true;  // the road
}

void UseStyle(Style style)
{
    ResetPlayerSettings();
    QVERIFY(ChooseStyle(style));
}

} // namespace

class SmoothMotionTest : public QObject
{
    Q_OBJECT
    RaceFixture f;

    // Races from START's end to their results, one after another for `limitMs` on a virtual
    // clock in 20 ms frames, through the race screen's handlers and real key presses: "A" up to
    // speed 9 and taps of the arrows at random, by a hand with its own seed. With smooth motion
    // every frame is drawn, and just before each tick every slid picture must be drawn where the
    // tick then puts it. With `held`, the modern way's entries are on and each tick is compared.
    QStringList playRaces(Style style, int16_t mode, long limitMs, bool steer, int* checkedSlides, QStringList* held = nullptr)
    {
        UseStyle(style);
        f.setUp(4242);
        form_Main* m = f.form;
        if (!held) FairEntries = VbFalse;  // the drawing alone
        if ((m->frameClock != nullptr) != (style == Style::Modern)) return {QStringLiteral("wrong motion")};
        const int32_t time = mode == 0 ? 70 : mode == 1 ? 50 : 0;
        const int32_t distance = mode == 0 ? 3000 : mode == 1 ? 2000 : 0;
        // A drive's result ranks nowhere, so its game over opens no window.
        for (int i = 0; i < 5; ++i) HScoreVal[2][1][i] = 1000000;
        std::mt19937 hand(99);

        std::array<SteppedTimer, 3> timers = SteppedRaceTimers(m);
        QStringList record;
        int tick = 0;
        for (long now = 0; now < limitMs; now += 20) {
            if (!m->timer_Main->Enabled() && !m->timer_Crush->Enabled()) {
                // The race is over (a wreck, the time, the goal): its result, and the next one.
                if (now > 0) record << QStringLiteral("result: ") + RaceLine(m);
                m->timer_Clear->setEnabled(false);
                // The clear scene is cut short here: START comes back as at its end.
                m->cmd_Start->setEnabled(true);
                f.startRace(mode, time, distance);
                if (!steer) f.heroAway();
            }
            for (SteppedTimer& s : timers) {
                if (!s.dueAt(now)) continue;
                const bool raceTick = s.timer == m->timer_Zenta;
                QHash<Picture*, QRect> expected;
                if (raceTick && m->frameClock) {
                    // The frame at the tick: the slide has arrived.
                    m->DrawBetweenTicks(20, 0);
                    for (Picture* p : Moving(m))
                        if (OnTheRoad(m, p)) expected.insert(p, p->drawnRect());
                }
                if (raceTick && held) NameHeld(RaceAsItStands(*m), tick + 1, held);
                (m->*s.handler)();
                if (raceTick) {
                    record << QStringLiteral("tick %1 at %2: ").arg(++tick).arg(now) + RaceLine(m);
                    // What is still on the road stands where it was drawn sliding to, also when
                    // the tick crashed or ended the stage; what the tick parked was placed, not slid.
                    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
                        Picture* p = it.key();
                        if (!OnTheRoad(m, p)) continue;
                        if (p->drawnRect() != p->rect()) record << p->name() + QStringLiteral(" drawn off its place");
                        const QRect was = it.value();
                        if (was != p->rect())
                            record << QStringLiteral("%1 slid to %2,%3 but the tick put it at %4,%5")
                                          .arg(p->name()).arg(was.left()).arg(was.top()).arg(p->Left()).arg(p->Top());
                        else
                            ++*checkedSlides;
                    }
                }
            }
            if (InputEnabled == VbTrue && hand() % 4 == 0) {
                const int arrows[4] = {Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down};
                if (Speed < 9) QTest::keyClick(m, Qt::Key_A);
                else if (steer) QTest::keyClick(m, Qt::Key(arrows[hand() % 4]));
            }
            // Some of the time between ticks lets frames be drawn (the tick's timer reports
            // its own real time left; the virtual time left is handed in here).
            if (m->frameClock && m->timer_Zenta->Enabled()) {
                const SteppedTimer& z = timers[1];
                const double until = z.due < 0 ? 500 : double(z.due - now);
                m->DrawBetweenTicks(20, until);
            }
        }
        record << QStringLiteral("at the end: ") + RaceLine(m);
        f.tearDown();
        return record;
    }

private slots:
    void cleanup()
    {
        ResetPlayerSettings();
    }

    // The same seed and hand with smooth and with classic motion: every tick's positions, hits,
    // speed, distance and clock, and the result, are the same. With the modern way's entries on,
    // each tick is the classic one but for the cars it holds as they enter, named "tick:car".
    void smoothAndClassicRaceAlike_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("ms");
        QTest::addColumn<bool>("steer");  // steers at random, or keeps off the road to the goal
        QTest::addColumn<QString>("held");  // with the modern way's entries on (ticks counted over the run)
        QTest::newRow("drive, two minutes") << 2 << 120000 << true << QString();
        QTest::newRow("story stage 1, to the goal") << 0 << 60000 << false << QString();
        QTest::newRow("story stage 2, steering") << 1 << 60000 << true << QString();
        QTest::newRow("fair entries: drive") << 2 << 60000 << true << "4:5 10:5 18:5 24:6 30:5 38:5 44:5 52:5 58:5 64:5 72:5 78:6 88:5 94:2";
        QTest::newRow("fair entries: stage 1") << 0 << 30000 << false << "4:5 14:2 28:2 30:5 36:3 40:4 58:6";
    }
    void smoothAndClassicRaceAlike()
    {
        QFETCH(int, mode);
        QFETCH(int, ms);
        QFETCH(bool, steer);
        QFETCH(QString, held);
        int slides = 0, none = 0;
        if (!held.isEmpty()) {
            QStringList named;
            playRaces(Style::Modern, int16_t(mode), ms, steer, &slides, &named);
            QCOMPARE(named.join(' '), held);
            return;
        }
        const QStringList classic = playRaces(Style::Classic, int16_t(mode), ms, steer, &none);
        const QStringList smooth = playRaces(Style::Modern, int16_t(mode), ms, steer, &slides);
        // Many ticks, several races with their hits and results.
        QVERIFY(classic.size() > ms / 500 * 6 / 10);
        QVERIFY(classic.filter(QStringLiteral("result: ")).size() >= (steer ? 2 : 1));
        if (steer) QVERIFY(!classic.filter(QStringLiteral("crash=1/")).isEmpty());
        else QVERIFY(!classic.filter(QRegularExpression(QStringLiteral("^tick .* clear=1"))).isEmpty());
        for (int i = 0; i < std::min(classic.size(), smooth.size()); ++i)
            QCOMPARE(smooth[i], classic[i]);
        QCOMPARE(smooth.size(), classic.size());
        // The slides were checked against the tick at every tick, traffic included.
        const int ticks = classic.filter(QRegularExpression(QStringLiteral("^tick "))).size();
        QVERIFY2(slides > ticks * 5 / 4, qPrintable(QStringLiteral("%1 slides in %2 ticks").arg(slides).arg(ticks)));
    }

    // Drives at speed 9 with the hero standing at the start place, until a car hits him: the
    // modern way shows every car that hits him on the road or marked at its edge, in the
    // pictures drawn, for at least a race tick before; classic lets cars in on top of him.
    void everyCarSeenBeforeItHits_data()
    {
        QTest::addColumn<bool>("modern");
        QTest::newRow("classic") << false;
        QTest::newRow("modern") << true;
    }
    void everyCarSeenBeforeItHits()
    {
        QFETCH(bool, modern);
        QStringList unseen;
        int hits = 0;
        for (uint64_t seed = 21; seed <= 32; ++seed) {
            UseStyle(modern ? Style::Modern : Style::Classic);
            f.setUp(seed);
            form_Main* m = f.form;
            f.startRace(2, 0, 0);
            for (int i = 0; i < 9; ++i) m->Form_KeyDown(KeyA, 0);
            std::array<SteppedTimer, 3> timers = SteppedRaceTimers(m);
            std::array<long, 7> seenSince;
            seenSince.fill(-1);
            // When each car on the road was first drawn on it or marked at its edge.
            const auto look = [&](long now) {
                for (int n = 1; n <= 6; ++n) {
                    const QRect drawn = m->car(n)->drawnRect();
                    const bool seen = drawn.intersects(RoadOnScreen(*m))
                                      || (FairEntries == VbTrue && !EntryMarkOf(drawn, RoadOnScreen(*m)).isEmpty());
                    if (CarFlag[n] != VbTrue) seenSince[n] = -1;
                    else if (seen && seenSince[n] < 0) seenSince[n] = now;
                }
            };
            for (long now = 0; now < 60000 && !m->timer_Crush->Enabled(); now += 20) {
                for (SteppedTimer& s : timers) {
                    if (!s.dueAt(now)) continue;
                    (m->*s.handler)();
                    if (m->timer_Crush->Enabled() && CrushType == CrushCar) {
                        ++hits;
                        for (int n = 1; n <= 6; ++n)
                            if (m->IsClossed(m->img_JetR[0], m->car(n)) == VbTrue && (seenSince[n] < 0 || now - seenSince[n] < 500))
                                unseen << QStringLiteral("seed %1: car %2 at %3 ms, seen since %4").arg(seed).arg(n).arg(now).arg(seenSince[n]);
                    }
                    look(now);
                }
                if (m->frameClock && m->timer_Zenta->Enabled()) m->DrawBetweenTicks(20, timers[1].due < 0 ? 500 : double(timers[1].due - now));
                look(now);
            }
            f.tearDown();
        }
        QVERIFY(hits >= 4);
        if (modern) QVERIFY2(unseen.isEmpty(), qPrintable(unseen.join(QStringLiteral("; "))));
        else QVERIFY(!unseen.isEmpty());
    }

    // A picture that is placed rather than moved is drawn at its place at once; a stopped race
    // is drawn where it stands and its frames stop.
    void placedNotSlid_data()
    {
        QTest::addColumn<QString>("what");
        for (const char* row : {"car entering", "car parked after leaving", "road folding", "obstacle hit",
                                "time up mid-slide", "pause mid-slide", "start position"})
            QTest::newRow(row) << QString::fromLatin1(row);
    }
    void placedNotSlid()
    {
        QFETCH(QString, what);
        UseStyle(Style::Modern);
        f.setUp(SeedWithFirstDrawBelow(0.05));
        form_Main* m = f.form;
        FairEntries = VbFalse;  // a car let in moves at once
        f.startRace(2, 0, 0);
        f.heroAway();
        QVERIFY(m->frameClock && m->frameClock->running());
        for (int i = 0; i < 9; ++i) m->Form_KeyDown(KeyA, 0);
        const auto halfway = [m] {
            for (int i = 0; i < 15; ++i) m->DrawBetweenTicks(16, 500 - 16.0 * (i + 1));
        };
        const auto atPlace = [m](Picture* p) { return p->drawnRect() == p->rect(); };

        if (what == QLatin1String("car entering")) {
            halfway();
            QVERIFY(!atPlace(m->img_Road));
            m->SetCar();  // the first draw lets car 1 in
            QCOMPARE(CarFlag[1], VbTrue);
            QVERIFY(atPlace(m->img_Car1));
            // It then slides from its place, not from where it would be had it run all along.
            m->DrawBetweenTicks(16, 244);
            QVERIFY(m->img_Car1->drawnOffset().x() > 0);
            QVERIFY(m->img_Car1->drawnOffset().x() < (CarSpeed[1] + 90) * 0.1);
        } else if (what == QLatin1String("car parked after leaving")) {
            CarFlag[2] = VbTrue;
            CarSpeed[2] = 20;
            m->img_Car2->setLeft(-20);
            halfway();
            QVERIFY(m->img_Car2->drawnRect().left() < -20);
            m->timer_Zenta->fire();
            QCOMPARE(m->img_Car2->Left(), 601.0);
            QVERIFY(atPlace(m->img_Car2));
            m->DrawBetweenTicks(16, 484);
            QVERIFY(atPlace(m->img_Car2));
        } else if (what == QLatin1String("road folding")) {
            m->img_Road->setLeft(-30);
            int last = -30;
            for (int i = 1; i <= 32; ++i) {
                m->DrawBetweenTicks(16, std::max(0.0, 500 - 16.0 * i));
                const int drawn = m->img_Road->drawnRect().left();
                QVERIFY2(drawn >= -601 && drawn <= 0, qPrintable(QString::number(drawn)));
                // Never slid across: each frame moves it a few pixels, a tile folded away.
                const int step = ((drawn - last) % 601 + 601) % 601;
                QVERIFY2(step <= 8, qPrintable(QStringLiteral("%1 -> %2").arg(last).arg(drawn)));
                last = drawn;
            }
            QCOMPARE(last, -30 + 90 - 601);
            m->timer_Zenta->fire();
            QCOMPARE(m->img_Road->Left(), -30.0 + 90 - 601);
            QVERIFY(atPlace(m->img_Road));
        } else if (what == QLatin1String("obstacle hit")) {
            m->img_JetR[0]->move(448, 112);
            ShogaiFlag[2] = VbTrue;
            m->img_Shogai[1]->move(448 - 90 - 79 + 10, 140);  // reaches the hero's feet with this tick
            halfway();
            QVERIFY(!atPlace(m->img_Shogai[1]));
            m->timer_Zenta->fire();
            QVERIFY(m->timer_Crush->Enabled());
            QCOMPARE(m->img_Shogai[1]->Left(), -79.0);
            QVERIFY(!m->frameClock->running());
            for (Picture* p : Moving(m)) QVERIFY2(atPlace(p), qPrintable(p->name()));
        } else if (what == QLatin1String("time up mid-slide")) {
            GameMode = 0;
            TimeCount = 1;
            Distance = 3000;
            halfway();
            QVERIFY(!atPlace(m->img_Road));
            m->timer_Main->fire();
            QVERIFY(!m->timer_Zenta->Enabled());
            QVERIFY(!m->frameClock->running());
            for (Picture* p : Moving(m)) QVERIFY2(atPlace(p), qPrintable(p->name()));
        } else if (what == QLatin1String("pause mid-slide")) {
            halfway();
            QVERIFY(!atPlace(m->img_Road));
            m->PauseRace();
            QVERIFY(!m->frameClock->running());
            QVERIFY(atPlace(m->img_Road));
            m->ResumeRace();
            QVERIFY(m->frameClock->running());
        } else {
            halfway();
            m->GameOver(2);
            QVERIFY(!m->frameClock->running());
            f.startRace(2, 0, 0);  // the start puts everything back, and draws it there
            for (Picture* p : Moving(m)) QVERIFY2(atPlace(p), qPrintable(p->name()));
            QCOMPARE(m->img_Road->drawnRect().left(), -344);
        }
        f.tearDown();
    }

    // A picture drawn ahead shows the very pixels it shows when placed there: the road across
    // its fold, and a car on it.
    void drawnAheadLooksPlaced_data()
    {
        QTest::addColumn<int>("road");
        QTest::addColumn<int>("speed");
        QTest::newRow("road within its tile") << -100 << 5;
        QTest::newRow("road across its fold") << -30 << 9;
        QTest::newRow("road at its left end") << -601 << 1;
    }
    void drawnAheadLooksPlaced()
    {
        QFETCH(int, road);
        QFETCH(int, speed);
        UseStyle(Style::Modern);
        f.setUp();
        form_Main* m = f.form;
        GameMode = 2;
        m->img_Road->setLeft(road);
        Speed = int16_t(speed);
        CarFlag[1] = VbTrue;
        CarSpeed[1] = 12;
        m->img_Car1->setLeft(100);
        m->DrawBetweenTicks(16, 0);  // the frame at the tick: drawn where the tick puts them
        const QRect strip(0, 0, 601, 304);
        const QImage ahead = m->roadLayer->grab(strip).toImage();
        const int folded = road + 10 * speed >= 0 ? road + 10 * speed - 601 : road + 10 * speed;
        m->img_Road->setLeft(folded);
        m->img_Car1->setLeft(100 + 12 + 10 * speed);
        QCOMPARE(m->img_Road->drawnRect(), m->img_Road->rect());
        const QImage placed = m->roadLayer->grab(strip).toImage();
        QCOMPARE(placed, ahead);
        f.tearDown();
    }

    // The remembered choice: [Options] Style=classic, or the former Motion=classic, gives the
    // classic way; anything else, or nothing, the default modern way.
    void rememberedMotion_data()
    {
        QTest::addColumn<QByteArray>("options");
        QTest::addColumn<bool>("smooth");
        QTest::newRow("nothing stored") << QByteArray() << true;
        QTest::newRow("classic") << QByteArray("[Options]\nMotion=classic\n") << false;
        QTest::newRow("smooth") << QByteArray("[Options]\nMotion=smooth\n") << true;
        QTest::newRow("unknown") << QByteArray("[Options]\nMotion=jerky\n") << true;
        QTest::newRow("in the rankings' group") << QByteArray("[Setting]\nMotion=classic\n") << true;
        QTest::newRow("style classic") << QByteArray("[Options]\nStyle=classic\n") << false;
        QTest::newRow("style modern over motion classic") << QByteArray("[Options]\nMotion=classic\nStyle=modern\n") << true;
    }
    void rememberedMotion()
    {
        QFETCH(QByteArray, options);
        QFETCH(bool, smooth);
        const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Tavolnik");
        QVERIFY(QDir().mkpath(folder));
        QFile file(folder + QStringLiteral("/Tavolnik.conf"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(options);
        file.close();
        LoadPlayerSettings();
        QCOMPARE(ChosenStyle() == Style::Modern, smooth);
        f.setUp();
        QCOMPARE(f.form->frameClock != nullptr, smooth);
        QCOMPARE(InputOf(f.form)->steadySteering(), smooth);
        f.tearDown();
        QVERIFY(file.remove());
    }

    // Frames run only while the race tick does, at the display's rate.
    void framesOnlyWhileTheRaceRuns()
    {
        UseStyle(Style::Modern);
        f.setUp();
        form_Main* m = f.form;
        m->show();
        QVERIFY(QTest::qWaitForWindowExposed(m));
        QVERIFY(m->frameClock);
        QVERIFY(!m->frameClock->running());  // the race screen waits for START
        f.startRace(2, 0, 0);
        f.heroAway();
        for (int i = 0; i < 9; ++i) m->Form_KeyDown(KeyA, 0);
        QVERIFY(m->frameClock->running());
        QTest::qWait(300);
        const qint64 frames = m->frameClock->frames();
        QVERIFY2(frames >= 300 / m->frameClock->period() - 4 && frames <= 300 / m->frameClock->period() + 1,
                 qPrintable(QString::number(frames)));
        QVERIFY(m->img_Road->drawnOffset().x() > 0);
        // A race tick is drawn with the next frame, never in a paint of its own just before it.
        const int paints = m->roadLayer->paintCount();
        const qint64 framesBefore = m->frameClock->frames();
        const int32_t distance = Distance;
        QTest::qWait(700);
        QVERIFY(Distance > distance);
        QVERIFY2(m->roadLayer->paintCount() - paints <= m->frameClock->frames() - framesBefore,
                 qPrintable(QStringLiteral("%1 paints, %2 frames").arg(m->roadLayer->paintCount() - paints)
                                .arg(m->frameClock->frames() - framesBefore)));
        const qint64 framesAtTheEnd = m->frameClock->frames();
        m->GameOver(2);
        QTest::qWait(100);
        QCOMPARE(m->frameClock->frames(), framesAtTheEnd);
        f.tearDown();
    }

    // Steady steering: a tap is one 5 px step; a held arrow steps at the press and 30 times a
    // second from the steady delay on, and the system's own repeats are not heeded. Classic
    // motion steps at each of them.
    void steering_data()
    {
        QTest::addColumn<bool>("smooth");
        QTest::addColumn<int>("holdMs");
        QTest::addColumn<int>("systemRepeats");
        QTest::addColumn<int>("steps");
        QTest::newRow("smooth tap") << true << 0 << 0 << 1;
        QTest::newRow("smooth, held 1 s, system repeats ignored") << true << 1000 << 25 << 26;
        QTest::newRow("smooth, held 2 s") << true << 2000 << 0 << 56;
        QTest::newRow("classic tap") << false << 0 << 0 << 1;
        QTest::newRow("classic, held with 25 system repeats") << false << 1000 << 25 << 26;
    }
    void steering()
    {
        QFETCH(bool, smooth);
        QFETCH(int, holdMs);
        QFETCH(int, systemRepeats);
        QFETCH(int, steps);
        UseStyle(smooth ? Style::Modern : Style::Classic);
        f.setUp();
        form_Main* m = f.form;
        f.startRace(2, 0, 0);
        m->timer_Zenta->setEnabled(false);  // no tick, no crash: only the steering counts
        m->img_JetR[0]->move(0, 100);
        m->show();
        QVERIFY(QTest::qWaitForWindowActive(m));
        QElapsedTimer held;
        QTest::keyPress(m->Text1, Qt::Key_Right);
        held.start();
        for (int i = 0; i < systemRepeats; ++i) {
            QTest::qWait(holdMs / (systemRepeats + 1));
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, QString(), true);
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(m->Text1, &release);
            QApplication::sendEvent(m->Text1, &press);
        }
        while (held.elapsed() < holdMs) QTest::qWait(1);
        const double elapsed = held.nsecsElapsed() / 1e6;
        QTest::keyRelease(m->Text1, Qt::Key_Right);
        const int made = int(m->img_JetR[0]->Left()) / 5;
        QTest::qWait(150);
        // Nothing after the release; a step is 5 px.
        QCOMPARE(m->img_JetR[0]->Left(), made * 5.0);
        if (smooth) {
            // One at the press, then one every thirtieth of a second from the steady delay on,
            // counted from the press. Never more; a loop kept busy (a sanitizer on a loaded
            // machine) may lose a few, never a tenth of them.
            if (holdMs == 0) QCOMPARE(made, 1);  // a tap is exactly one step
            const int due = SteadyStepsHeld(elapsed);
            QVERIFY2(made <= due + 1 && made >= due * 9 / 10 - 1,
                     qPrintable(QStringLiteral("%1 steps in %2 ms").arg(made).arg(elapsed)));
            QVERIFY2(made <= steps + 1 && made >= steps * 9 / 10 - 1, qPrintable(QString::number(made)));
        } else {
            QCOMPARE(made, steps);
        }
        f.tearDown();
    }
};

QTEST_MAIN(SmoothMotionTest)
#include "test_smooth_motion.moc"
