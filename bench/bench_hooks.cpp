// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Measuring hooks of the measured game, tavolnik_measured: the game's own start-up and code with
// these hooks beside them, which do nothing unless their environment variables are set:
//
//   TAVOLNIK_EXIT_AFTER_FIRST_PAINT=1  print the peak memory once the title screen has been
//                                      painted, and end the program (start-up time and memory)
//   TAVOLNIK_BENCH_SCRIPT=drive        play a drive by itself: the title left alone a while, its
//                                      ドライブ button, START, the opening message left waiting,
//                                      then a race held at speed 9, printing the CPU time used at
//                                      each phase, the race tick's period, and with smooth motion
//                                      how late each frame was drawn and how long its paint took
//
// The scripted drive keeps the hero off the road, so that no crash cuts the race short: the
// road, all the traffic, the music and the clock run exactly as in a real race at speed 9.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <ctime>
#include <vector>

#include "app/first_paint_probe.h"
#include "app/form_title.h"
#include "app/startup.h"
#include "audio/sound.h"
#include "process_probe.h"
#include "race/race_state.h"
#include "runtime/frame_clock.h"
#include "runtime/scene_wait.h"
#include "runtime/timer.h"
#include "screens/form_main.h"

namespace {

QElapsedTimer sinceStart;

// CPU time of the whole process (every thread, the sound mixer's included), or of the calling
// thread alone: the user-interface thread, where the game itself runs. These clocks read the
// scheduler's own account to the nanosecond; the resource-usage figures move in clock ticks.
double cpuMs(clockid_t which)
{
    timespec t {};
    clock_gettime(which, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

// The phases' lines, printed when the script ends: writing each at once would cost the idle
// phases more than they cost themselves on a slow machine.
std::vector<std::string> phaseLines;

void report(const char* phase)
{
    // The clocks first: what the report itself costs falls after them.
    const double t = sinceStart.nsecsElapsed() / 1e6;
    const double cpu = cpuMs(CLOCK_PROCESS_CPUTIME_ID);
    const double cpuUi = cpuMs(CLOCK_THREAD_CPUTIME_ID);
    char line[200];
    std::snprintf(line, sizeof line, "%s t_ms=%.3f cpu_ms=%.3f cpu_ui_ms=%.3f rss_kb=%ld vmhwm_kb=%ld\n", phase, t,
                  cpu, cpuUi, ResidentMemoryKb(), PeakMemoryKb());
    phaseLines.emplace_back(line);
}

void printPhases()
{
    for (const std::string& line : phaseLines) std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
}

int envMs(const char* name, int fallback)
{
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok && v > 0 ? v : fallback;
}

// Notes when the race tick has run: the ticks of timer_Zenta.
class TickWatch : public QObject
{
public:
    bool recording = false;
    std::vector<qint64> stamps;

    void watch(Timer* tick)
    {
        QObject::connect(tick, &Timer::ticked, this, [this] {
            if (recording) stamps.push_back(sinceStart.nsecsElapsed());
        });
    }
};

// Watches the road's paints during the race: how late after its due time each new frame was
// painted, and how long the paint itself took (the paint event is handed on from here, timed).
class FrameWatch : public QObject
{
public:
    bool recording = false;
    std::vector<double> lateMs;
    std::vector<double> paintMs;
    qint64 framesAtStart = 0;
    qint64 lastFrame = -1;

    // Watched on the road alone, so that no other event of the game pays for the measuring.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const form_Main* race = form_Main::current();
        if (!recording || inside_ || event->type() != QEvent::Paint || !race || watched != race->roadLayer)
            return false;
        const FrameClock* frames = race->frameClock;
        if (frames && frames->frames() != lastFrame) {
            lastFrame = frames->frames();
            lateMs.push_back((frames->nowNs() - frames->lastDueNs()) / 1e6);
        }
        inside_ = true;
        QElapsedTimer paint;
        paint.start();
        QCoreApplication::sendEvent(watched, event);
        paintMs.push_back(paint.nsecsElapsed() / 1e6);
        inside_ = false;
        return true;
    }

private:
    bool inside_ = false;
};

double percentile(std::vector<double> v, double p)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * (v.size() - 1) + 0.5))];
}

void pressKey(Qt::Key key, const QString& text)
{
    QWidget* target = QApplication::focusWidget();
    if (!target) target = form_Main::current();
    if (!target) return;
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
}

// Calls `then` from the event loop once `ready` holds, testing every 20 ms.
void when(std::function<bool()> ready, std::function<void()> then)
{
    auto* poll = new QTimer(qApp);
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, qApp, [poll, ready, then] {
        if (!ready()) return;
        poll->stop();
        poll->deleteLater();
        then();
    });
    poll->start();
}

void finishRace(TickWatch* ticks, FrameWatch* frames)
{
    ticks->recording = false;
    frames->recording = false;
    const form_Main* race = form_Main::current();
    if (race && race->frameClock) {
        const FrameClock* clock = race->frameClock;
        size_t within = 0;
        for (double late : frames->lateMs) within += std::abs(late) <= 4.0;
        std::printf("frames drawn=%lld painted=%zu within4ms=%zu period_ms=%.3f late_median_ms=%.3f "
                    "late_p99_ms=%.3f\n",
                    static_cast<long long>(clock->frames() - frames->framesAtStart), frames->lateMs.size(),
                    within, clock->period(), percentile(frames->lateMs, 0.5), percentile(frames->lateMs, 0.99));
    }
    std::printf("paint n=%zu median_ms=%.3f p99_ms=%.3f max_ms=%.3f\n", frames->paintMs.size(),
                percentile(frames->paintMs, 0.5), percentile(frames->paintMs, 0.99),
                percentile(frames->paintMs, 1.0));
    std::vector<double> deviations;
    for (size_t i = 1; i < ticks->stamps.size(); ++i)
        deviations.push_back((ticks->stamps[i] - ticks->stamps[i - 1]) / 1e6 - 500.0);
    double median = 0, worst = 0;
    if (!deviations.empty()) {
        std::vector<double> sorted = deviations;
        std::sort(sorted.begin(), sorted.end());
        const size_t n = sorted.size();
        median = n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
        for (double d : deviations) worst = std::max(worst, std::abs(d));
    }
    std::printf("ticks n=%zu median_dev_ms=%.3f worst_dev_ms=%.3f speed=%d\n", deviations.size(),
                median, worst, int(Speed));
    report("race-end");
    printPhases();
    std::_Exit(0);
}

// From the title: its ドライブ button, START, the waiting message, then the race at speed 9.
void playDrive(TickWatch* ticks, FrameWatch* frames, int waitMs, int raceCpuMs, int raceMs)
{
    form_Title* title = form_Title::current();
    if (!title) {
        std::fprintf(stderr, "bench script: no title screen\n");
        std::_Exit(3);
    }
    title->Command2->click();

    when([] { return form_Main::current() && form_Main::current()->isVisible(); }, [=] {
        form_Main* race = form_Main::current();
        // The opening message: measured while it waits (nothing of this script polls
        // meanwhile), then answered with Space.
        when([] { return SceneWait::depth() > 0; }, [=] {
            report("wait-start");
            QTimer::singleShot(waitMs, qApp, [=] {
                report("wait-end");
                pressKey(Qt::Key_Space, QStringLiteral(" "));
                when([race] { return race->timer_Zenta->Enabled() && InputEnabled == VbTrue; },
                     [=] {
                         race->img_JetR[0]->move(-2000, -2000);
                         for (int i = 0; i < 9; ++i) pressKey(Qt::Key_A, QStringLiteral("a"));
                         when([] { return Speed == 9; }, [=] {
                             // Which of the four drive tunes plays: they differ in cost.
                             const QString tune = QFileInfo(BgmFile).completeBaseName();
                             std::printf("music bgm=%s\n", qPrintable(tune.mid(3)));
                             report("race-start");
                             ticks->watch(race->timer_Zenta);
                             race->roadLayer->installEventFilter(frames);
                             ticks->recording = true;
                             frames->recording = true;
                             if (race->frameClock) frames->framesAtStart = race->frameClock->frames();
                             QTimer::singleShot(raceCpuMs, qApp, [] { report("race-cpu"); });
                             QTimer::singleShot(raceMs, qApp, [ticks, frames] { finishRace(ticks, frames); });
                         });
                     });
            });
        });
        // START runs the opening scene inside its click; it is clicked from the event loop.
        QTimer::singleShot(0, race->cmd_Start, [race] { race->cmd_Start->click(); });
    });
}

void startDrive()
{
    const int waitMs = envMs("TAVOLNIK_BENCH_WAIT_MS", 10000);
    const int raceCpuMs = envMs("TAVOLNIK_BENCH_RACE_CPU_MS", 30000);
    const int raceMs = std::max(raceCpuMs, envMs("TAVOLNIK_BENCH_RACE_MS", 60000));
    const int titleMs = envMs("TAVOLNIK_BENCH_TITLE_MS", 10000);
    auto* ticks = new TickWatch;
    ticks->setParent(qApp);
    auto* frames = new FrameWatch;
    frames->setParent(qApp);

    report("title");
    // The title left alone: nothing of this script runs meanwhile.
    QTimer::singleShot(titleMs, qApp, [=] {
        report("title-end");
        playDrive(ticks, frames, waitMs, raceCpuMs, raceMs);
    });
}

void InstallBenchHooks()
{
    sinceStart.start();
    ExitAfterFirstPaintIfAsked();
    // The script starts once the game has finished starting (the controllers' start loads SDL
    // after the title is painted), and a second more: the title is measured left alone.
    if (qEnvironmentVariable("TAVOLNIK_BENCH_SCRIPT") == QLatin1String("drive"))
        SetGameStartedHook([] { QTimer::singleShot(1000, qApp, startDrive); });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallBenchHooks)
