// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Micro-benchmarks of the hot paths of a race and of the ranking store: the race tick with all
// ten cars and obstacles on the road, one overlap test, one entry round of the traffic, a
// repaint, and reading and writing the ranking file. Runs on the offscreen platform with the
// sound recorder in place of the sound card, and a throw-away settings folder.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "audio/media_recorder.h"
#include "race/race_state.h"
#include "runtime/random.h"
#include "scores/high_scores.h"
#include "flow/race_screen_wiring.h"
#include "screens/form_main.h"

namespace {

form_Main* race = nullptr;

// A drive at speed 9 with every car and obstacle on the road, none of them touching the hero,
// so that the tick moves all ten and tests the hero against all of them.
void placeTraffic()
{
    GameMode = ModeDrive;
    Speed = 9;
    Distance = 6000;
    TimeCount = 100;
    race->img_Road->setLeft(-344);
    const double carLeft[7] = {0, 100, 400, 300, 200, 250, 350};
    for (int n = 1; n <= 6; ++n) {
        CarFlag[n] = VbTrue;
        CarSpeed[n] = n <= 4 ? 12 : 7;
        race->car(n)->setLeft(carLeft[n]);
    }
    race->img_Car5->setTop(0);
    race->img_Car6->setTop(200);
    const double obstacleLeft[4] = {160, 240, 380, 460};
    const double obstacleTop[4] = {136, 216, 216, 136};
    for (int i = 0; i < 4; ++i) {
        ShogaiFlag[i + 1] = VbTrue;
        race->img_Shogai[i]->move(obstacleLeft[i], obstacleTop[i]);
    }
    race->img_JetR[0]->move(0, 0);
}

using Clock = std::chrono::steady_clock;

void BM_RaceTick(benchmark::State& state)
{
    for (auto _ : state) {
        placeTraffic();
        const auto start = Clock::now();
        race->timer_Zenta_Timer();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
}
BENCHMARK(BM_RaceTick)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The tick and the repaint it causes: the whole road moves, so the whole road is painted again.
void BM_RaceTickAndRepaint(benchmark::State& state)
{
    for (auto _ : state) {
        placeTraffic();
        race->roadLayer->repaint(0, 0, form_Main::ClientWidth, 304);
        const auto start = Clock::now();
        race->timer_Zenta_Timer();
        race->roadLayer->repaint(0, 0, form_Main::ClientWidth, 304);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
}
BENCHMARK(BM_RaceTickAndRepaint)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_IsClossed(benchmark::State& state)
{
    placeTraffic();
    const Picture* const others[4] = {race->img_Car1, race->img_Car5, race->img_Shogai[0],
                                      race->img_Car4};
    const Picture* hero = race->img_JetR[0];
    unsigned i = 0;
    for (auto _ : state) {
        const VBool hit = race->IsClossed(hero, others[i++ & 3]);
        benchmark::DoNotOptimize(hit);
    }
}
BENCHMARK(BM_IsClossed)->Unit(benchmark::kNanosecond);

// One entry round with the road empty, so every car and obstacle gets its draw.
void BM_SetCar(benchmark::State& state)
{
    placeTraffic();
    for (auto _ : state) {
        for (int n = 1; n <= 6; ++n) CarFlag[n] = VbFalse;
        for (int n = 1; n <= 4; ++n) ShogaiFlag[n] = VbFalse;
        race->SetCar();
    }
}
BENCHMARK(BM_SetCar)->Unit(benchmark::kNanosecond);

void BM_RepaintRaceScreen(benchmark::State& state)
{
    placeTraffic();
    QImage image(race->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        race->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_RepaintRaceScreen)->Unit(benchmark::kMicrosecond);

void BM_LoadScore(benchmark::State& state)
{
    LoadScore();
    SaveScore();
    for (auto _ : state) LoadScore();
}
BENCHMARK(BM_LoadScore)->Unit(benchmark::kMicrosecond);

void BM_SaveScore(benchmark::State& state)
{
    LoadScore();
    int32_t n = 0;
    for (auto _ : state) {
        // A changed entry, so every save really writes the file.
        HScoreVal[2][1][4] = ++n;
        SaveScore();
    }
}
BENCHMARK(BM_SaveScore)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
    // The ranking file of the benchmark lives in a folder of its own, never the player's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavolnik"));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    MediaRecorder sound;
    SetFixedSeed(2024);
    ResetRaceState();
    race = NewRaceScreen();
    race->show();
    QApplication::processEvents();

    // The traffic as placed must not touch the hero, or the tick would stop at the first hit.
    placeTraffic();
    race->timer_Zenta_Timer();
    if (race->timer_Crush->Enabled()) {
        std::fprintf(stderr, "micro-benchmarks: the placed traffic hits the hero\n");
        return 2;
    }

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete race;
    return 0;
}
