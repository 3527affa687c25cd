// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The soak: two hours of drive at top speed, stepped through the race screen's own handlers with
// a fixed seed. The player holds speed 9 with "A", now and then brakes, steers at random, and
// starts a new race (START, its opening message, a name for the ranking) after every wreck.
// After every handler the road, the hero, the traffic and the gauge must agree with each other,
// and the memory the process holds must not grow from the first minutes to the end.
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <random>

#include "audio/media_recorder.h"
#include "process_probe.h"
#include "player_driver.h"
#include "race/race_state.h"
#include "runtime/message_box.h"
#include "runtime/random.h"
#include "runtime/scene_wait.h"
#include "scores/high_scores.h"
#include "flow/race_screen_wiring.h"
#include "screens/form_main.h"
#include "screens/form_rank.h"

namespace {


bool in(double v, double lo, double hi) { return v >= lo && v <= hi; }

// What must hold after every handler of a drive. Returns what is wrong, or nothing.
QString brokenRule(form_Main* m)
{
    const double road = m->img_Road->Left();
    if (!(road >= -601 && road < 0)) return QStringLiteral("road at %1").arg(road);

    const Picture* hero = m->img_JetR[0];
    if (!in(hero->Left(), 0, 520) || !in(hero->Top(), 0, 176))
        return QStringLiteral("hero at %1,%2").arg(hero->Left()).arg(hero->Top());

    // A car off the road waits at its parked place; one on the road stays inside its lane.
    struct Lane { Picture* car; double parked; };
    const Lane lanes[5] = {{nullptr, 0}, {m->img_Car1, -117}, {m->img_Car2, 601},
                           {m->img_Car3, -164}, {m->img_Car4, 601}};
    for (int n = 1; n <= 4; ++n) {
        const double left = lanes[n].car->Left();
        if (CarFlag[n] != VbTrue && left != lanes[n].parked)
            return QStringLiteral("car %1 off the road but at %2").arg(n).arg(left);
        if (CarFlag[n] == VbTrue && !in(left, -164, 601))
            return QStringLiteral("car %1 on the road at %2").arg(n).arg(left);
        if (CarFlag[n] != VbTrue && CarFlag[n] != VbFalse)
            return QStringLiteral("car %1 flag holds %2").arg(n).arg(CarFlag[n]);
    }
    const double top5 = m->img_Car5->Top(), top6 = m->img_Car6->Top();
    if (CarFlag[5] != VbTrue && top5 != -114) return QStringLiteral("car 5 parked at top %1").arg(top5);
    if (CarFlag[6] != VbTrue && top6 != 304 && top6 != 307)
        return QStringLiteral("car 6 parked at top %1").arg(top6);
    if (!in(top5, -114, 304) || !in(top6, -114, 307))
        return QStringLiteral("cross street cars at tops %1, %2").arg(top5).arg(top6);
    for (int n = 5; n <= 6; ++n)
        if (CarFlag[n] != VbTrue && CarFlag[n] != VbFalse)
            return QStringLiteral("car %1 flag holds %2").arg(n).arg(CarFlag[n]);

    for (int n = 1; n <= 4; ++n) {
        const Picture* o = m->img_Shogai[n - 1];
        if (ShogaiFlag[n] != VbTrue && ShogaiFlag[n] != VbFalse)
            return QStringLiteral("obstacle %1 flag holds %2").arg(n).arg(ShogaiFlag[n]);
        if (ShogaiFlag[n] != VbTrue && o->Left() + o->Width() > 0)
            return QStringLiteral("obstacle %1 off the road but at %2").arg(n).arg(o->Left());
        if (ShogaiFlag[n] == VbTrue &&
            (!in(o->Left(), -80, 601) || (o->Top() != 48 && o->Top() != 136 && o->Top() != 216)))
            return QStringLiteral("obstacle %1 on the road at %2,%3").arg(n).arg(o->Left()).arg(o->Top());
    }

    // Nothing drifts away, whatever it shows.
    for (const Picture* p : m->roadLayer->pictures())
        if (!in(p->Left(), -2000, 2000) || !in(p->Top(), -2000, 2000))
            return QStringLiteral("%1 drifted to %2,%3").arg(p->name()).arg(p->Left()).arg(p->Top());

    // The gauge shows the speed as a column of lit bars from the bottom: one more than the
    // speed after "A" (bar 0 lights with the first step), as many as the speed after "B", none
    // after a crash.
    if (!in(Speed, 0, 9)) return QStringLiteral("speed %1").arg(Speed);
    int litBars = 0;
    while (litBars < 10 && m->bar_Speed[litBars]->FillColor() == GaugeLit) ++litBars;
    for (int k = litBars; k < 10; ++k)
        if (m->bar_Speed[k]->FillColor() == GaugeLit)
            return QStringLiteral("bar %1 lit above a dark one").arg(k);
    if (litBars != Speed && litBars != std::min(Speed + 1, 10))
        return QStringLiteral("%1 bars lit at speed %2").arg(litBars).arg(Speed);

    // A race tick and a crash never run together; the keys act exactly while the race runs.
    if (m->timer_Zenta->Enabled() && m->timer_Crush->Enabled())
        return QStringLiteral("race tick and crash both running");
    if (m->timer_Zenta->Enabled() && InputEnabled != VbTrue)
        return QStringLiteral("race running with the keys off");
    if (!m->timer_Zenta->Enabled() && !m->timer_Crush->Enabled() && InputEnabled == VbTrue)
        return QStringLiteral("keys on with the race over");
    if (m->timer_Crush->Enabled() && CrushType != 0 && CrushType != 1)
        return QStringLiteral("crash type %1").arg(CrushType);
    return QString();
}

} // namespace

class SoakTest : public QObject
{
    Q_OBJECT
    QTemporaryDir config;

private slots:
    void initTestCase()
    {
        QVERIFY(config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        SetMsgBoxHook([](const QString& text, const QString&) {
            QFAIL(qPrintable(QStringLiteral("unexpected message box: ") + text));
        });
    }
    void cleanupTestCase() { SetMsgBoxHook({}); }

    void twoHoursOfDriveAtTopSpeed()
    {
        // Two hours; TAVOLNIK_SOAK_MINUTES makes a shorter (or longer) run by hand.
        bool ok = false;
        const int minutes = qEnvironmentVariableIntValue("TAVOLNIK_SOAK_MINUTES", &ok);
        const long kRaceMs = (ok && minutes > 0 ? minutes : 120) * 60L * 1000;
        const long kWarmUpMs = kRaceMs / 12;

        ResetRaceState();
        ResetHighScores();
        LoadScore();
        SetFixedSeed(20240611);
        MediaRecorder sound;
        std::mt19937 hand(7);  // the player's own hand: steering and braking
        auto chance = [&hand](double p) { return std::uniform_real_distribution<double>(0, 1)(hand) < p; };

        auto* m = NewRaceScreen();
        GameMode = ModeDrive;
        m->Init_Car();

        // The player's part in scenes: the opening message is answered with Space, a ranking
        // window gets a name and is closed.
        int answered = 0, ranked = 0;
        QTimer scenes;
        scenes.setInterval(0);
        connect(&scenes, &QTimer::timeout, [&] {
            if (form_Rank* rank = player::WaitingRankWindow()) {
                player::EnterRankName(rank, QStringLiteral("そーく"));
                ++ranked;
            } else if (player::MessageWaits(m)) {
                m->Form_KeyDown(32, 0);
                ++answered;
            }
        });
        scenes.start();

        // The race screen's three race timers, stepped on a virtual clock in 100 ms steps. A
        // timer that is switched on starts its interval afresh, as the real ones do.
        std::array<SteppedTimer, 3> timers = SteppedRaceTimers(m);

        int races = 0, carWrecks = 0, falls = 0, ticks = 0;
        int32_t expectedDistance = 0;
        long rssAfterWarmUp = -1;
        for (long now = 0; now < kRaceMs; now += 100) {
            if (!m->timer_Zenta->Enabled() && !m->timer_Crush->Enabled()) {
                // No race, or the last one ended in a wreck: START again.
                QVERIFY2(!m->timer_Main->Enabled(), "the clock runs on after the game over");
                if (races > 0) ++carWrecks;
                sound.calls.clear();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                m->cmd_Start_Click();
                m->SkipCountdown();
                QVERIFY2(m->timer_Zenta->Enabled(), "START did not start the race");
                QCOMPARE(Distance, 0);
                expectedDistance = 0;
                ++races;
            }

            for (SteppedTimer& s : timers) {
                if (!s.dueAt(now)) continue;
                const bool tick = s.timer == m->timer_Zenta;
                if (tick) expectedDistance += 5 * Speed;
                const bool wasCrash = m->timer_Crush->Enabled();
                (m->*s.handler)();
                if (tick) {
                    ++ticks;
                    QCOMPARE(Distance, expectedDistance);
                    if (!wasCrash && m->timer_Crush->Enabled() && CrushType == 1) ++falls;
                }
                const QString broken = brokenRule(m);
                QVERIFY2(broken.isEmpty(),
                         qPrintable(QStringLiteral("after %1 ms of driving: ").arg(now) + broken));
            }

            // The player: keeps the speed up, brakes now and then, steers at random.
            if (InputEnabled == VbTrue) {
                if (Speed < 9) m->Form_KeyDown(65, 0);
                else if (chance(0.002)) m->Form_KeyDown(66, 0);
                if (chance(0.3)) m->Form_KeyDown(int16_t(37 + hand() % 4), 0);
                const QString broken = brokenRule(m);
                QVERIFY2(broken.isEmpty(),
                         qPrintable(QStringLiteral("after a key at %1 ms: ").arg(now) + broken));
            }

            if (now == kWarmUpMs) rssAfterWarmUp = ResidentMemoryKb();
        }
        scenes.stop();

        // Every result went into the drive table in order, longest first.
        for (int i = 0; i < 4; ++i) QVERIFY(HScoreVal[2][1][i] >= HScoreVal[2][1][i + 1]);
        // Most of the time went into racing, and there were wrecks and falls all along.
        QVERIFY2(ticks > kRaceMs / 500 * 6 / 10, qPrintable(QString::number(ticks)));
        QVERIFY2(races > kRaceMs / 600000 && falls > kRaceMs / 600000, qPrintable(QStringLiteral("%1 races, %2 falls").arg(races).arg(falls)));
        QCOMPARE(SceneWait::depth(), 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const long rssAtEnd = ResidentMemoryKb();
        qInfo("%d races, %d wrecks, %d falls, %d race ticks, %d waits answered, %d names entered; "
              "resident memory %ld kB after the first twelfth of the run, %ld kB at its end",
              races, carWrecks, falls, ticks, answered, ranked, rssAfterWarmUp, rssAtEnd);
#if defined(__SANITIZE_ADDRESS__)
        // The address sanitizer holds freed memory back for a while; it checks leaks itself.
#else
        QVERIFY2(rssAtEnd - rssAfterWarmUp < 4096,
                 qPrintable(QStringLiteral("memory grew from %1 kB to %2 kB").arg(rssAfterWarmUp).arg(rssAtEnd)));
#endif
        delete m;
    }
};

QTEST_MAIN(SoakTest)
#include "test_soak.moc"
