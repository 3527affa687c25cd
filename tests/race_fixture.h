// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the race tests share: a fresh race screen with a repeatable random sequence and a
// recorder in place of the sound card, and a few ways to place the traffic.
#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <array>
#include <functional>
#include <memory>

#include "audio/media_recorder.h"
#include "race/race_state.h"
#include "runtime/random.h"
#include "flow/race_screen_wiring.h"
#include "screens/form_main.h"

struct RaceFixture {
    std::unique_ptr<MediaRecorder> sound;
    form_Main* form = nullptr;
    uint64_t seed_ = 0;

    void setUp(uint64_t seed = 12345)
    {
        ResetRaceState();
        seed_ = seed;
        SetFixedSeed(seed);
        sound = std::make_unique<MediaRecorder>();
        form = NewRaceScreen();
    }

    void tearDown()
    {
        delete form;
        form = nullptr;
        sound.reset();
        ClearFixedSeed();
    }

    // A race started by a real click on START and Space at its opening message, in the given
    // mode; then the clock and the distance are set to what the test asks for, the random draws
    // start again from the fixture's seed and the sound record starts with the race.
    void startRace(int16_t mode, int32_t time, int32_t distance)
    {
        GameMode = mode;
        QTimer answer;
        answer.setInterval(1);
        QObject::connect(&answer, &QTimer::timeout, [this, &answer] {
            if (form->Nextbox->isHidden()) return;
            answer.stop();
            QTest::keyClick(form->Text1, Qt::Key_Space);
        });
        answer.start();
        QTest::mouseClick(form->cmd_Start, Qt::LeftButton);
        QVERIFY(form->timer_Zenta->Enabled());
        TimeCount = time;
        Distance = distance;
        SetFixedSeed(seed_);
        sound->calls.clear();
    }

    // Puts the hero where nothing on or off the road can reach him.
    void heroAway() { form->img_JetR[0]->move(-2000, -2000); }

    Picture* car(int n) const { return form->car(n); }

    // Names of the effects played so far, in order ("Up", "Crush1", ...).
    QStringList effectNames() const
    {
        QStringList names;
        for (const MediaCall& call : sound->effects())
            names << QFileInfo(call.text).completeBaseName();
        return names;
    }
};

// A race timer stepped in virtual time, for a race played without waiting: while enabled, its
// handler is due once an interval, counted from the moment it was first seen enabled.
struct SteppedTimer {
    Timer* timer;
    int interval;
    void (form_Main::*handler)();
    long due = -1;

    // Whether the handler is due at this moment; when it is, the next time is counted from now.
    bool dueAt(long now)
    {
        if (!timer->Enabled()) {
            due = -1;
            return false;
        }
        if (due < 0) due = now + interval;
        if (now < due) return false;
        due = now + interval;
        return true;
    }
};

// The clock, the race tick and the crash of a race screen, stepped as above.
inline std::array<SteppedTimer, 3> SteppedRaceTimers(form_Main* m)
{
    return {{{m->timer_Main, 1000, &form_Main::timer_Main_Timer},
             {m->timer_Zenta, 500, &form_Main::timer_Zenta_Timer},
             {m->timer_Crush, 200, &form_Main::timer_Crush_Timer}}};
}

// The first seed from `from` on whose first draws satisfy `wanted` (given the draws in order).
inline uint64_t SeedWhere(const std::function<bool(const QList<double>&)>& wanted, int draws,
                          uint64_t from = 1)
{
    for (uint64_t seed = from;; ++seed) {
        SetFixedSeed(seed);
        QList<double> d;
        for (int i = 0; i < draws; ++i) d << Rnd();
        if (wanted(d)) return seed;
    }
}

// A seed whose first draw is below p, so the first open entry step of SetCar lets its object in.
inline uint64_t SeedWithFirstDrawBelow(double p)
{
    return SeedWhere([p](const QList<double>& d) { return d[0] < p; }, 1);
}
