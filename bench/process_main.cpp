// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The benchmark run: measures the game side by side with the floor (an empty Qt window of the
// title screen's size), drives a scripted race through the measuring hooks of tavolnik_measured,
// runs the micro-benchmarks, and prints everything as one table with its targets.
//
//   bench_process --build-dir <build> [--runs N] [--wait-ms MS] [--race-ms MS] [--race-cpu-ms MS]
//                 [--seed N]
//
// The programs run on a real X server: an Xvfb of its own when DISPLAY is not set, and a second
// one of a 4K screen for the race at scale 4 (the offscreen
// platform when there is no Xvfb either; the table says which).
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSize>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <vector>

namespace {

struct Options {
    QString buildDir;
    int runs = 31;  // start-up runs of each program: the median of many steadies a noisy machine
    int waitMs = 10000;
    int raceCpuMs = 30000;
    int raceMs = 60000;
    QString seed;  // passed to the game as --seed: the same traffic and tune every run
};

double median(std::vector<double> v)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

QString loadAverage()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    if (!f.open(QIODevice::ReadOnly)) return QStringLiteral("?");
    return QString::fromLatin1(f.readAll()).section(QLatin1Char(' '), 0, 2);
}

// Key=value pairs of one line the program printed ("wait-start t_ms=1 cpu_ms=2 ...").
QMap<QString, double> fields(const QString& line)
{
    QMap<QString, double> out;
    for (const QString& part : line.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const int eq = part.indexOf(QLatin1Char('='));
        if (eq > 0) out.insert(part.left(eq), part.mid(eq + 1).toDouble());
    }
    return out;
}

class Display
{
public:
    QString platform = QStringLiteral("offscreen");
    QString display;

    // screen: the size of the Xvfb screen, when one is started.
    void start(QSize screen)
    {
        if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
            platform = QStringLiteral("xcb");
            display = qEnvironmentVariable("DISPLAY");
            return;
        }
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty()) return;
        for (int n = 90; n < 140; ++n) {
            if (QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) ||
                QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
                continue;
            server_.setProgram(xvfb);
            // No reset when a measured program, its last client, goes: the next one to start
            // while the server resets would be turned away.
            server_.setArguments({QStringLiteral(":%1").arg(n), QStringLiteral("-screen"),
                                  QStringLiteral("0"),
                                  QStringLiteral("%1x%2x24").arg(screen.width()).arg(screen.height()),
                                  QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                                  QStringLiteral("-noreset")});
            server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            server_.setStandardOutputFile(QProcess::nullDevice());
            server_.start();
            if (!server_.waitForStarted(5000)) return;
            for (int i = 0; i < 100; ++i) {
                if (QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n))) {
                    platform = QStringLiteral("xcb (Xvfb)");
                    display = QStringLiteral(":%1").arg(n);
                    return;
                }
                QThread::msleep(50);
            }
            server_.kill();
            server_.waitForFinished();
            return;
        }
    }

    ~Display()
    {
        if (server_.state() != QProcess::NotRunning) {
            server_.terminate();
            if (!server_.waitForFinished(3000)) server_.kill();
            server_.waitForFinished();
        }
    }

private:
    QProcess server_;
};

class Runner
{
public:
    Runner(const Options& options, const Display& display) : options_(options)
    {
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
        env_.insert(QStringLiteral("XDG_CONFIG_HOME"), config_.path());
        env_.remove(QStringLiteral("TAVOLNIK_EXIT_AFTER_FIRST_PAINT"));
        env_.remove(QStringLiteral("TAVOLNIK_BENCH_SCRIPT"));
        if (display.display.isEmpty()) {
            env_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        } else {
            env_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
            env_.insert(QStringLiteral("DISPLAY"), display.display);
        }
    }

    QString path(const QString& relative) const
    {
        return QDir(options_.buildDir).absoluteFilePath(relative);
    }

    // Starts a program and waits for its "first-paint" line: the wall time to it and the peak
    // memory it reported.
    bool firstPaint(const QString& program, double* ms, double* vmhwmKb)
    {
        QProcessEnvironment env = env_;
        env.insert(QStringLiteral("TAVOLNIK_EXIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));
        QProcess p;
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer clock;
        clock.start();
        p.start(program, {});
        QByteArray out;
        while (!out.contains('\n') && clock.elapsed() < 30000) {
            if (!p.waitForReadyRead(30000)) break;
            out += p.readAllStandardOutput();
        }
        *ms = clock.nsecsElapsed() / 1e6;
        if (!p.waitForFinished(10000)) {
            p.kill();
            p.waitForFinished();
        }
        const QString line = QString::fromLocal8Bit(out).section(QLatin1Char('\n'), 0, 0);
        if (!line.startsWith(QLatin1String("first-paint"))) {
            std::fprintf(stderr, "bench: %s did not report its first paint\n", qPrintable(program));
            return false;
        }
        *vmhwmKb = fields(line).value(QStringLiteral("vmhwm_kb"));
        return true;
    }

    // The scripted drive: every line the program printed, by its first word.
    QMap<QString, QMap<QString, double>> drive(const QString& program, const QStringList& options = {},
                                               int raceMs = 0)
    {
        if (raceMs <= 0) raceMs = options_.raceMs;
        const int raceCpuMs = std::min(options_.raceCpuMs, raceMs);
        QProcessEnvironment env = env_;
        env.insert(QStringLiteral("TAVOLNIK_BENCH_SCRIPT"), QStringLiteral("drive"));
        env.insert(QStringLiteral("TAVOLNIK_BENCH_WAIT_MS"), QString::number(options_.waitMs));
        env.insert(QStringLiteral("TAVOLNIK_BENCH_RACE_CPU_MS"), QString::number(raceCpuMs));
        env.insert(QStringLiteral("TAVOLNIK_BENCH_RACE_MS"), QString::number(raceMs));
        QProcess p;
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList args = options;
        if (!options_.seed.isEmpty()) args << QStringLiteral("--seed") << options_.seed;
        p.start(program, args);
        const int limit = options_.waitMs + raceMs + 70000;
        if (!p.waitForFinished(limit)) {
            std::fprintf(stderr, "bench: the scripted drive did not finish in %d ms\n", limit);
            p.kill();
            p.waitForFinished();
        }
        QMap<QString, QMap<QString, double>> phases;
        for (const QByteArray& raw : p.readAllStandardOutput().split('\n')) {
            const QString line = QString::fromLocal8Bit(raw).trimmed();
            if (line.isEmpty()) continue;
            phases.insert(line.section(QLatin1Char(' '), 0, 0), fields(line));
        }
        return phases;
    }

    // The floor of smooth motion at a scale: its "scroll-start" and "scroll-end" lines.
    QMap<QString, QMap<QString, double>> floorScroll(const QString& program, int scale)
    {
        QProcess p;
        p.setProcessEnvironment(env_);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(program, {QStringLiteral("--scroll"), QString::number(scale), QString::number(options_.raceCpuMs)});
        if (!p.waitForFinished(options_.raceCpuMs + 60000)) {
            std::fprintf(stderr, "bench: %s --scroll did not finish\n", qPrintable(program));
            p.kill();
            p.waitForFinished();
        }
        QMap<QString, QMap<QString, double>> phases;
        for (const QByteArray& raw : p.readAllStandardOutput().split('\n')) {
            const QString line = QString::fromLocal8Bit(raw).trimmed();
            if (!line.isEmpty()) phases.insert(line.section(QLatin1Char(' '), 0, 0), fields(line));
        }
        return phases;
    }

    // The sound figures: "loop" lines (one per tune) and the "mix" line of bench_sound.
    QList<QMap<QString, double>> sound(const QString& program, QMap<QString, double>* mix)
    {
        QProcess p;
        p.setProcessEnvironment(env_);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(program, {QDir(options_.buildDir).absolutePath()});
        if (!p.waitForFinished(300000)) {
            std::fprintf(stderr, "bench: %s did not finish\n", qPrintable(program));
            p.kill();
            p.waitForFinished();
        }
        QList<QMap<QString, double>> loops;
        for (const QByteArray& raw : p.readAllStandardOutput().split('\n')) {
            const QString line = QString::fromLocal8Bit(raw).trimmed();
            if (line.startsWith(QLatin1String("loop "))) loops.append(fields(line));
            else if (line.startsWith(QLatin1String("mix "))) mix->insert(fields(line));
            // "effect name=Up rms_db=..", "fade what=stop ms=..", "loudness tune=1 lufs=..": kept
            // as "effect Up rms_db", "fade stop ms", "loudness 1 lufs".
            else if (line.startsWith(QLatin1String("effect ")) || line.startsWith(QLatin1String("fade ")) ||
                     line.startsWith(QLatin1String("cuts ")) || line.startsWith(QLatin1String("loudness "))) {
                const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
                QString prefix = words.first();
                if (words.size() > 1 && !line.startsWith(QLatin1String("cuts ")))
                    prefix += QLatin1Char(' ') + words.at(1).section(QLatin1Char('='), 1);
                const auto values = fields(line);
                for (auto v = values.cbegin(); v != values.cend(); ++v) mix->insert(prefix + QLatin1Char(' ') + v.key(), *v);
            }
        }
        return loops;
    }

    // The micro-benchmarks: name -> real time per iteration in microseconds.
    QMap<QString, double> micro(const QString& program)
    {
        QProcessEnvironment env = env_;
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess p;
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(program, {QStringLiteral("--benchmark_format=json")});
        if (!p.waitForFinished(600000)) {
            p.kill();
            p.waitForFinished();
        }
        QMap<QString, double> out;
        const QJsonDocument doc = QJsonDocument::fromJson(p.readAllStandardOutput());
        for (const QJsonValue& v : doc.object().value(QStringLiteral("benchmarks")).toArray()) {
            const QJsonObject b = v.toObject();
            const QString unit = b.value(QStringLiteral("time_unit")).toString();
            double t = b.value(QStringLiteral("real_time")).toDouble();
            if (unit == QLatin1String("ns")) t /= 1000;
            else if (unit == QLatin1String("ms")) t *= 1000;
            else if (unit == QLatin1String("s")) t *= 1e6;
            out.insert(b.value(QStringLiteral("name")).toString(), t);
        }
        return out;
    }

private:
    Options options_;
    QTemporaryDir config_;
    QProcessEnvironment env_;
};

struct Row {
    QString figure;
    QString measured;
    QString target;
    QString verdict;
};

QString verdict(bool known, bool met) { return !known ? QStringLiteral("n/a") : met ? QStringLiteral("met") : QStringLiteral("MISSED"); }

QString time(double us)
{
    if (us < 1) return QStringLiteral("%1 ns").arg(us * 1000, 0, 'f', 1);
    if (us < 1000) return QStringLiteral("%1 us").arg(us, 0, 'f', 2);
    return QStringLiteral("%1 ms").arg(us / 1000, 0, 'f', 2);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    Options options;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        const QString& k = args[i];
        const QString& v = args[i + 1];
        if (k == QLatin1String("--build-dir")) options.buildDir = v;
        else if (k == QLatin1String("--runs")) options.runs = std::max(1, v.toInt());
        else if (k == QLatin1String("--wait-ms")) options.waitMs = std::max(1000, v.toInt());
        else if (k == QLatin1String("--race-ms")) options.raceMs = std::max(2000, v.toInt());
        else if (k == QLatin1String("--race-cpu-ms")) options.raceCpuMs = std::max(1000, v.toInt());
        else if (k == QLatin1String("--seed")) options.seed = v;
    }
    if (options.buildDir.isEmpty()) {
        std::fprintf(stderr, "usage: bench_process --build-dir <build> [--runs N] [--wait-ms MS] "
                             "[--race-ms MS] [--race-cpu-ms MS] [--seed N]\n");
        return 2;
    }
    options.raceMs = std::max(options.raceMs, options.raceCpuMs);

    const QString loadBefore = loadAverage();
    Display display;
    display.start(QSize(1280, 1024));
    Runner runner(options, display);
    // The race at scale 4 needs a 4K screen: a second server of that size.
    Display large;
    large.start(QSize(3840, 2160));
    Runner largeRunner(options, large);
    // The game's own main and code, with the measuring hooks beside them.
    const QString game = runner.path(QStringLiteral("tavolnik_measured"));
    const QString floor = runner.path(QStringLiteral("bench/bench_floor"));

    // Start-up, interleaved so that a change of load hits both alike; one warm-up each first.
    std::fprintf(stderr, "bench: start-up, %d runs each of the game and the floor\n", options.runs);
    std::vector<double> gameMs, floorMs, gameKb, floorKb;
    for (int i = 0; i <= options.runs; ++i) {
        double ms = 0, kb = 0;
        if (runner.firstPaint(floor, &ms, &kb) && i > 0) {
            floorMs.push_back(ms);
            floorKb.push_back(kb);
        }
        if (runner.firstPaint(game, &ms, &kb) && i > 0) {
            gameMs.push_back(ms);
            gameKb.push_back(kb);
        }
    }

    std::fprintf(stderr, "bench: scripted drive (%d s waiting, %d s racing)\n", options.waitMs / 1000,
                 options.raceMs / 1000);
    const QString smooth = QStringLiteral("smooth"), classic = QStringLiteral("classic");
    const auto phases = runner.drive(game, {QStringLiteral("--motion"), smooth, QStringLiteral("--scale"), QStringLiteral("1")});
    // The same drive as the race tick draws it (classic motion), and smooth at scale 2: racing only
    // as long as the CPU is measured.
    std::fprintf(stderr, "bench: the drive with classic motion, and smooth at scale 2 (%d s racing each)\n",
                 options.raceCpuMs / 1000);
    const auto classicPhases = runner.drive(game, {QStringLiteral("--motion"), classic, QStringLiteral("--scale"), QStringLiteral("1")},
                                            options.raceCpuMs);
    const auto scale2Phases = runner.drive(game, {QStringLiteral("--motion"), smooth, QStringLiteral("--scale"), QStringLiteral("2")},
                                           options.raceCpuMs);
    // The floor of smooth motion, right after the drives, on the machine as it is now.
    std::fprintf(stderr, "bench: the floor of smooth motion at scales 1 and 2 (%d s each)\n", options.raceCpuMs / 1000);
    const auto floor1 = runner.floorScroll(floor, 1);
    const auto floor2 = runner.floorScroll(floor, 2);
    // The race at scale 4 and its floor, one right after the other, on a 4K screen.
    std::fprintf(stderr, "bench: smooth motion at scale 4 and its floor (%d s each)\n", options.raceCpuMs / 1000);
    const auto scale4Phases = largeRunner.drive(game, {QStringLiteral("--motion"), smooth, QStringLiteral("--scale"), QStringLiteral("4")},
                                                options.raceCpuMs);
    const auto floor4 = largeRunner.floorScroll(floor, 4);

    std::fprintf(stderr, "bench: the music's loop points and the peak of a race's mix\n");
    QMap<QString, double> mix;
    const auto loops = runner.sound(runner.path(QStringLiteral("bench/bench_sound")), &mix);

    std::fprintf(stderr, "bench: micro-benchmarks\n");
    const auto micro = runner.micro(runner.path(QStringLiteral("bench/tavolnik_bench")));
    const QString loadAfter = loadAverage();

    std::vector<Row> rows;
    auto add = [&rows](const QString& f, const QString& m, const QString& t, const QString& v) {
        rows.push_back({f, m, t, v});
    };
    auto microRow = [&](const char* name, const QString& figure) {
        const QString key = QString::fromLatin1(name);
        QString measured = QStringLiteral("?");
        if (micro.contains(key)) measured = time(micro.value(key));
        else if (micro.contains(key + QStringLiteral("/manual_time")))
            measured = time(micro.value(key + QStringLiteral("/manual_time")));
        add(figure, measured, QStringLiteral("-"), QStringLiteral("-"));
    };
    microRow("BM_RaceTick", QStringLiteral("race tick, 10 cars/obstacles on the road"));
    const QString tickRepaintKey = QStringLiteral("BM_RaceTickAndRepaint/manual_time");
    const bool haveTickRepaint = micro.contains(tickRepaintKey);
    const double tickRepaint = micro.value(tickRepaintKey);
    add(QStringLiteral("race tick + its repaint of the road"), haveTickRepaint ? time(tickRepaint) : QStringLiteral("?"),
        QStringLiteral("< 1 ms"), verdict(haveTickRepaint, tickRepaint < 1000));
    microRow("BM_IsClossed", QStringLiteral("IsClossed"));
    microRow("BM_SetCar", QStringLiteral("SetCar (empty road, all 10 draws)"));
    microRow("BM_RepaintRaceScreen", QStringLiteral("repaint whole race screen offscreen"));
    microRow("BM_LoadScore", QStringLiteral("LoadScore"));
    microRow("BM_SaveScore", QStringLiteral("SaveScore"));

    const double gStart = median(gameMs), fStart = median(floorMs);
    const double gMem = median(gameKb), fMem = median(floorKb);
    const bool haveStart = !gameMs.empty() && !floorMs.empty();
    add(QStringLiteral("start to title painted (median of %1)").arg(gameMs.size()),
        haveStart ? QStringLiteral("%1 ms vs floor %2 ms = %3 x")
                        .arg(gStart, 0, 'f', 1).arg(fStart, 0, 'f', 1).arg(gStart / fStart, 0, 'f', 2)
                  : QStringLiteral("?"),
        QStringLiteral("<= 1.3 x"), verdict(haveStart, haveStart && gStart / fStart <= 1.3));
    add(QStringLiteral("peak memory at title (VmHWM)"),
        haveStart ? QStringLiteral("%1 MB vs floor %2 MB = %3 x")
                        .arg(gMem / 1024, 0, 'f', 1).arg(fMem / 1024, 0, 'f', 1).arg(gMem / fMem, 0, 'f', 2)
                  : QStringLiteral("?"),
        QStringLiteral("<= 2 x"), verdict(haveStart, haveStart && gMem / fMem <= 2.0));

    // CPU time over wall time between two phases: of the whole process, and of its
    // user-interface thread alone (the rest is the sound mixer's thread synthesizing music).
    auto cpuShareOf = [](const QMap<QString, QMap<QString, double>>& phases, const QString& from,
                         const QString& to, const QString& field, double* pct) {
        if (!phases.contains(from) || !phases.contains(to)) return false;
        const auto& a = phases[from];
        const auto& b = phases[to];
        const double wall = b.value(QStringLiteral("t_ms")) - a.value(QStringLiteral("t_ms"));
        if (wall <= 0) return false;
        *pct = 100.0 * (b.value(field) - a.value(field)) / wall;
        return true;
    };
    auto cpuShare = [&](const QString& from, const QString& to, const QString& field, double* pct) {
        return cpuShareOf(phases, from, to, field, pct);
    };
    const QString all = QStringLiteral("cpu_ms"), ui = QStringLiteral("cpu_ui_ms");
    double titlePct = 0, waitPct = 0;
    const bool haveTitle = cpuShare(QStringLiteral("title"), QStringLiteral("title-end"), all, &titlePct);
    const bool haveWait = cpuShare(QStringLiteral("wait-start"), QStringLiteral("wait-end"), all, &waitPct);
    add(QStringLiteral("CPU at the title, left alone"),
        haveTitle ? QStringLiteral("%1 % of a core").arg(titlePct, 0, 'f', 2) : QStringLiteral("?"),
        QStringLiteral("< 0.1 %"), verdict(haveTitle, titlePct < 0.1));
    add(QStringLiteral("CPU while a message waits (%1 s)").arg(options.waitMs / 1000),
        haveWait ? QStringLiteral("%1 % of a core").arg(waitPct, 0, 'f', 2) : QStringLiteral("?"),
        QStringLiteral("< 0.5 %"), verdict(haveWait, waitPct < 0.5));
    // The drive at speed 9, by motion and scale; smooth motion beside its floor.
    const auto floorShare = [&](const QMap<QString, QMap<QString, double>>& floorPhases, double* pct) {
        return cpuShareOf(floorPhases, QStringLiteral("scroll-start"), QStringLiteral("scroll-end"), all, pct);
    };
    const QMap<QString, QMap<QString, double>> noFloor;
    const struct {
        const QMap<QString, QMap<QString, double>>* phases;
        QString what;
        double targetPct;
        const QMap<QString, QMap<QString, double>>* floor;
        double targetTimesFloor;  // the target as a multiple of the floor instead, when above 0
    } drives[] = {{&classicPhases, QStringLiteral("classic motion, scale 1"), 3.0, &noFloor, 0},
                  {&phases, QStringLiteral("smooth motion, scale 1"), 4.0, &floor1, 0},
                  {&scale2Phases, QStringLiteral("smooth motion, scale 2"), 8.0, &floor2, 0},
                  {&scale4Phases, QStringLiteral("smooth motion, scale 4"), 0, &floor4, 1.2}};
    for (const auto& d : drives) {
        double pct = 0, uiPct = 0, floorPct = 0;
        const bool have = cpuShareOf(*d.phases, QStringLiteral("race-start"), QStringLiteral("race-cpu"), all, &pct);
        cpuShareOf(*d.phases, QStringLiteral("race-start"), QStringLiteral("race-cpu"), ui, &uiPct);
        const bool haveFloor = floorShare(*d.floor, &floorPct);
        const int tune = int(d.phases->value(QStringLiteral("music")).value(QStringLiteral("bgm")));
        QString measured = have ? QStringLiteral("%1 % of a core (UI thread %2 %)").arg(pct, 0, 'f', 2).arg(uiPct, 0, 'f', 2)
                                : QStringLiteral("?");
        if (have && haveFloor)
            measured += QStringLiteral("; floor %1 %, game %2 x floor").arg(floorPct, 0, 'f', 2).arg(pct / floorPct, 0, 'f', 2);
        const QString figure = QStringLiteral("CPU in a drive at speed 9, %1, music BGM%3 (%2 s)").arg(d.what).arg(options.raceCpuMs / 1000).arg(tune);
        if (d.targetTimesFloor > 0)
            add(figure, measured, QStringLiteral("<= %1 x floor").arg(d.targetTimesFloor),
                verdict(have && haveFloor, pct <= d.targetTimesFloor * floorPct));
        else
            add(figure, measured, QStringLiteral("<= %1 %").arg(d.targetPct), verdict(have, pct <= d.targetPct));
    }
    for (int scale : {1, 2, 4}) {
        double pct = 0;
        const bool have = floorShare(scale == 1 ? floor1 : scale == 2 ? floor2 : floor4, &pct);
        add(QStringLiteral("floor: a bare Qt window sliding a road-sized picture at 60 Hz, scale %1").arg(scale),
            have ? QStringLiteral("%1 % of a core").arg(pct, 0, 'f', 2) : QStringLiteral("?"), QStringLiteral("-"),
            QStringLiteral("-"));
    }
    // Frame pacing and paint time of the smooth drive at scale 1 (and the paint at scale 2).
    const bool haveFrames = phases.contains(QStringLiteral("frames"));
    const auto frames = phases.value(QStringLiteral("frames"));
    const double painted = frames.value(QStringLiteral("painted"));
    const double within = painted > 0 ? 100.0 * frames.value(QStringLiteral("within4ms")) / painted : 0;
    add(QStringLiteral("frames painted within 4 ms of their due time (smooth, scale 1)"),
        haveFrames ? QStringLiteral("%1 % of %2 (median %3 ms late, 99th percentile %4 ms; %5 of %6 frames painted, %7 Hz)")
                         .arg(within, 0, 'f', 2).arg(painted).arg(frames.value(QStringLiteral("late_median_ms")), 0, 'f', 2)
                         .arg(frames.value(QStringLiteral("late_p99_ms")), 0, 'f', 2).arg(painted)
                         .arg(frames.value(QStringLiteral("drawn"))).arg(1000 / frames.value(QStringLiteral("period_ms")), 0, 'f', 1)
                   : QStringLiteral("?"),
        QStringLiteral(">= 99 %"), verdict(haveFrames, within >= 99.0));
    const struct {
        const QMap<QString, QMap<QString, double>>* phases;
        QString what;
        double targetMs;
    } paints[] = {{&classicPhases, QStringLiteral("classic, scale 1"), -1},
                  {&phases, QStringLiteral("smooth, scale 1"), 2.0},
                  {&scale2Phases, QStringLiteral("smooth, scale 2"), -1},
                  {&scale4Phases, QStringLiteral("smooth, scale 4"), -1}};
    for (const auto& d : paints) {
        const bool have = d.phases->contains(QStringLiteral("paint"));
        const auto paint = d.phases->value(QStringLiteral("paint"));
        const double p99 = paint.value(QStringLiteral("p99_ms"));
        add(QStringLiteral("paint of the road, %1: 99th percentile").arg(d.what),
            have ? QStringLiteral("%1 ms (median %2 ms, longest %3 ms, %4 paints)").arg(p99, 0, 'f', 3)
                       .arg(paint.value(QStringLiteral("median_ms")), 0, 'f', 3)
                       .arg(paint.value(QStringLiteral("max_ms")), 0, 'f', 3).arg(paint.value(QStringLiteral("n")))
                 : QStringLiteral("?"),
            d.targetMs > 0 ? QStringLiteral("<= %1 ms").arg(d.targetMs) : QStringLiteral("-"),
            d.targetMs > 0 ? verdict(have, p99 <= d.targetMs) : QStringLiteral("-"));
    }
    const bool haveTicks = phases.contains(QStringLiteral("ticks"));
    const auto ticks = phases.value(QStringLiteral("ticks"));
    const double med = ticks.value(QStringLiteral("median_dev_ms"));
    const double worst = ticks.value(QStringLiteral("worst_dev_ms"));
    add(QStringLiteral("race tick period over %1 s: median deviation").arg(options.raceMs / 1000),
        haveTicks ? QStringLiteral("%1 ms (%2 periods)").arg(med, 0, 'f', 2).arg(ticks.value(QStringLiteral("n")))
                  : QStringLiteral("?"),
        QStringLiteral("within 5 ms"), verdict(haveTicks, std::abs(med) <= 5.0));
    add(QStringLiteral("race tick period: worst deviation"),
        haveTicks ? QStringLiteral("%1 ms").arg(worst, 0, 'f', 2) : QStringLiteral("?"),
        QStringLiteral("-"), QStringLiteral("-"));
    if (phases.contains(QStringLiteral("race-end")))
        add(QStringLiteral("peak memory after the race (music loaded)"),
            QStringLiteral("%1 MB").arg(phases[QStringLiteral("race-end")].value(QStringLiteral("vmhwm_kb")) / 1024, 0, 'f', 1),
            QStringLiteral("-"), QStringLiteral("-"));

    // The music's levels against the effects', the loop points, the cuts and the fades.
    double loudestTune = -200, quietestTune = 0, quietestSeam = 0;
    for (const auto& loop : loops) {
        loudestTune = std::max(loudestTune, loop.value(QStringLiteral("rms_db")));
        quietestTune = std::min(quietestTune, loop.value(QStringLiteral("rms_db")));
        quietestSeam = std::min(quietestSeam, loop.value(QStringLiteral("seam_db")));
    }
    const bool haveLevels = loops.size() == 5 && loops.first().contains(QStringLiteral("rms_db"));
    add(QStringLiteral("tunes as heard: RMS of BGM1-5, softest to loudest"),
        haveLevels ? QStringLiteral("%1 to %2 dBFS (%3 dB apart)")
                         .arg(quietestTune, 0, 'f', 2).arg(loudestTune, 0, 'f', 2).arg(loudestTune - quietestTune, 0, 'f', 2)
                   : QStringLiteral("?"),
        QStringLiteral("-"), QStringLiteral("-"));
    // The tunes are matched by loudness (EBU R128), recorded and synthesised live alike.
    for (const char* way : {"lufs", "live_lufs"}) {
        double softest = 0, loudest = -200;
        int tunes = 0;
        for (int n = 1; n <= 5; ++n) {
            const QString key = QStringLiteral("loudness %1 %2").arg(n).arg(QLatin1String(way));
            if (!mix.contains(key) || !std::isfinite(mix.value(key))) continue;
            ++tunes;
            softest = std::min(softest, mix.value(key));
            loudest = std::max(loudest, mix.value(key));
        }
        add(QStringLiteral("tunes as heard: loudness of BGM1-5, %1, softest to loudest")
                .arg(QLatin1String(std::strcmp(way, "lufs") == 0 ? "recorded" : "synthesised live")),
            tunes == 5 ? QStringLiteral("%1 to %2 LUFS (%3 LU apart)")
                             .arg(softest, 0, 'f', 2).arg(loudest, 0, 'f', 2).arg(loudest - softest, 0, 'f', 2)
                       : QStringLiteral("?"),
            QStringLiteral("within 1 LU"), verdict(tunes == 5, loudest - softest <= 1.0));
    }
    double effectLow = 0, effectHigh = -200;
    int effects = 0;
    for (const char* name : {"Up", "Down", "Crush1", "Crush2"}) {
        const QString key = QStringLiteral("effect %1 rms_db").arg(QLatin1String(name));
        if (!mix.contains(key)) continue;
        ++effects;
        effectLow = std::min(effectLow, mix.value(key));
        effectHigh = std::max(effectHigh, mix.value(key));
    }
    const bool haveEffects = haveLevels && effects == 4;
    add(QStringLiteral("race effects (Up, Down, Crush1, Crush2) over every tune as heard"),
        haveEffects ? QStringLiteral("%1 to %2 dB").arg(effectLow - loudestTune, 0, 'f', 1).arg(effectHigh - quietestTune, 0, 'f', 1)
                    : QStringLiteral("?"),
        QStringLiteral("6 to 10 dB"), verdict(haveEffects, effectLow - loudestTune >= 6 && effectHigh - quietestTune <= 10));
    add(QStringLiteral("loop points: quietest millisecond within 50 ms, BGM1-5"),
        haveLevels ? QStringLiteral("%1 dBFS").arg(quietestSeam, 0, 'f', 1) : QStringLiteral("?"),
        QStringLiteral("no dip to silence"), verdict(haveLevels, quietestSeam > -40));
    const bool haveCuts = mix.contains(QStringLiteral("cuts clicks"));
    add(QStringLiteral("effects cut short (A, B fast): cuts with a step above any within 2 ms"),
        haveCuts ? QStringLiteral("%1 of %2, worst %3 dB over")
                       .arg(mix.value(QStringLiteral("cuts clicks"))).arg(mix.value(QStringLiteral("cuts of")))
                       .arg(mix.value(QStringLiteral("cuts step_db")), 0, 'f', 1)
                 : QStringLiteral("?"),
        QStringLiteral("none"), verdict(haveCuts, mix.value(QStringLiteral("cuts clicks")) == 0));
    for (const char* what : {"pause", "stop"}) {
        const QString key = QStringLiteral("fade %1 ").arg(QLatin1String(what));
        const bool have = mix.contains(key + QStringLiteral("ms"));
        add(QStringLiteral("music's %1: to silence (give or take 23 ms), its last ms").arg(QLatin1String(what)),
            have ? QStringLiteral("%1 ms, %2 dBFS").arg(mix.value(key + QStringLiteral("ms")), 0, 'f', 0)
                       .arg(mix.value(key + QStringLiteral("edge_db")), 0, 'f', 1)
                 : QStringLiteral("?"),
            QStringLiteral("no step to silence"), verdict(have, mix.value(key + QStringLiteral("edge_db")) < -40));
    }
    const bool haveResume = mix.contains(QStringLiteral("fade resume edge_db"));
    add(QStringLiteral("music's resume: its first ms"),
        haveResume ? QStringLiteral("%1 dBFS").arg(mix.value(QStringLiteral("fade resume edge_db")), 0, 'f', 1) : QStringLiteral("?"),
        QStringLiteral("no step from silence"), verdict(haveResume, mix.value(QStringLiteral("fade resume edge_db")) < -40));

    // The longest silence at any tune's loop point, and the loudest sample of a race's mix.
    double worstGap = -1;
    int worstTune = 0;
    for (const auto& loop : loops)
        if (loop.value(QStringLiteral("gap_ms")) > worstGap) {
            worstGap = loop.value(QStringLiteral("gap_ms"));
            worstTune = int(loop.value(QStringLiteral("tune")));
        }
    const bool haveLoops = loops.size() == 5;
    add(QStringLiteral("music loop gap, longest silence of BGM1-5 (disk audio)"),
        haveLoops ? QStringLiteral("%1 ms (BGM%2)").arg(worstGap, 0, 'f', 2).arg(worstTune) : QStringLiteral("?"),
        QStringLiteral("<= 5 ms"), verdict(haveLoops, worstGap <= 5.0));
    const bool haveMix = mix.contains(QStringLiteral("peak_dbfs"));
    const int fullScale = int(mix.value(QStringLiteral("full_scale")));
    add(QStringLiteral("peak of a race's mix: BGM1, crashes, 9 Ups, claps"),
        haveMix ? QStringLiteral("%1 dBFS, %2 samples at full scale")
                      .arg(mix.value(QStringLiteral("peak_dbfs")), 0, 'f', 2).arg(fullScale)
                : QStringLiteral("?"),
        QStringLiteral("no full-scale sample"), verdict(haveMix, fullScale == 0));

    int w[4] = {6, 8, 6, 7};
    for (const Row& r : rows) {
        w[0] = std::max<int>(w[0], r.figure.size());
        w[1] = std::max<int>(w[1], r.measured.size());
        w[2] = std::max<int>(w[2], r.target.size());
        w[3] = std::max<int>(w[3], r.verdict.size());
    }
    auto line = [&](const QString& a, const QString& b, const QString& c, const QString& d) {
        std::printf("| %s | %s | %s | %s |\n", qPrintable(a.leftJustified(w[0])),
                    qPrintable(b.leftJustified(w[1])), qPrintable(c.leftJustified(w[2])),
                    qPrintable(d.leftJustified(w[3])));
    };
    std::printf("\nTavolnik benchmarks: platform %s, load average %s before, %s after\n\n",
                qPrintable(display.platform), qPrintable(loadBefore), qPrintable(loadAfter));
    line(QStringLiteral("figure"), QStringLiteral("measured"), QStringLiteral("target"), QStringLiteral("verdict"));
    line(QString(w[0], QLatin1Char('-')), QString(w[1], QLatin1Char('-')), QString(w[2], QLatin1Char('-')),
         QString(w[3], QLatin1Char('-')));
    for (const Row& r : rows) line(r.figure, r.measured, r.target, r.verdict);
    std::fflush(stdout);
    return 0;
}
