// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the race tests share: a fresh race screen with a repeatable random sequence and a
// recorder in place of the sound card, and a few ways to place the traffic.
#pragma once

#include <QtTest>
#include <functional>
#include <memory>

#include "audio/media_recorder.h"
#include "race/race_state.h"
#include "runtime/random.h"
#include "screens/form_main.h"

struct RaceFixture {
    std::unique_ptr<MediaRecorder> sound;
    form_Main* form = nullptr;

    void setUp(uint64_t seed = 12345)
    {
        ResetRaceState();
        SetFixedSeed(seed);
        sound = std::make_unique<MediaRecorder>();
        form = new form_Main;
    }

    void tearDown()
    {
        delete form;
        form = nullptr;
        sound.reset();
        ClearFixedSeed();
    }

    // A race in progress as START leaves it, without the opening scene.
    void startRace(int16_t mode, int32_t time, int32_t distance)
    {
        form->img_Road->setLeft(-344);
        form->Init_Car();
        form->Init_Zenta();
        GameMode = mode;
        TimeCount = time;
        Distance = distance;
        Speed = 0;
        InputEnabled = VbTrue;
        form->timer_Main->setEnabled(true);
        form->timer_Zenta->setEnabled(true);
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
