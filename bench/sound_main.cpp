// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the player hears, measured on SDL's disk audio driver through the game's own sound code:
//
//   loop tune=<n> gap_ms=<ms> rms_db=<dB> seam_db=<dB>
//                                      the longest silence (below -60 dBFS) while tune n goes
//                                      round its loop point, started and polled as the race
//                                      screen does; the tune's level as heard over one round; the
//                                      quietest millisecond within 50 ms of its loop point. One
//                                      line per tune
//   effect name=<e> rms_db=<dB>        a race effect's level as heard, alone
//   cuts clicks=<n> of=<n> step_db=<dB> quick restarts of Up and Down (A and B pressed fast): how
//                                      many cuts made a step larger than any within 2 ms, and the
//                                      largest step at a cut against the largest step nearby
//   fade what=<pause|resume|stop> ms=<ms> edge_db=<dB>
//                                      BGM1 paused, resumed and stopped as a race does: how long
//                                      the music takes to fall silent (from the call, give or take
//                                      one 23-ms buffer), and the level of its last millisecond
//                                      before silence (of its first after, on resuming)
//   loudness tune=<n> lufs=<LUFS> live_lufs=<LUFS> live_late_ms=<ms>
//                                      tune n as heard over one round (EBU R128 integrated
//                                      loudness), from its recording and synthesised live (its
//                                      MIDI file alone in a folder, so no recording belongs to
//                                      it); and how late the live tune's second round begins
//                                      against its length (the best match of its first 200 ms)
//   mix peak_dbfs=<dB> full_scale=<n>  the loudest sample of a race's mix (the loudest tune, both
//                                      crashes, nine accelerations in a row and the claps) and how
//                                      many samples reached full scale
//
// The tunes play from the sound folder of the build given as the only argument. The disk driver
// writes as fast as it can while a tune loops (the music's clock counts what was mixed, not the
// wall clock), so a whole tune and its loop point take a few seconds; the mix is recorded in real
// time, so the effects fall on the music as they do in a race.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <cstdio>
#include <functional>

#include "audio/sound.h"
#include "midi/midi_file.h"
#include "race_mix.h"
#include "runtime/program_folder.h"

namespace {

constexpr int kRate = 44100;
constexpr qsizetype kBytesPerFrame = 4;  // 16-bit stereo
constexpr qsizetype kLongestTuneS = 70;  // every tune is shorter
constexpr qsizetype kBufferFrames = 1024;  // the mixer's buffer

// What the sound card hears while `play` runs. Sound is shut down before and after, so every
// recording opens the device afresh with its own file.
QByteArray record(const QString& raw, bool fast, const std::function<void()>& play)
{
    ShutdownSound();
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(raw));
    if (fast) qputenv("SDL_DISKAUDIODELAY", "0");
    else qunsetenv("SDL_DISKAUDIODELAY");
    play();
    ShutdownSound();
    QFile f(raw);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_sound BUILD_DIR\n");
        return 2;
    }
    SetProgramFolderOverride(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir temp;
    const QString soundDir = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/sound/");

    for (int n = 1; n <= 5; ++n) {
        BgmFile = soundDir + QStringLiteral("BGM%1.mid").arg(n);
        const QString raw = temp.filePath(QStringLiteral("loop%1.raw").arg(n));
        // Played for longer than the longest tune lasts, so across its loop point, and polled
        // every 10 ms of wall time, as the race screen polls every 100 ms.
        const QByteArray d = record(raw, true, [&] {
            BgmControl(BgmStart);
            const qint64 from = QFile(raw).size();  // silence written before the tune started
            QElapsedTimer clock;
            clock.start();
            while (clock.elapsed() < 60000 && QFile(raw).size() < from + kLongestTuneS * kRate * kBytesPerFrame) {
                QThread::msleep(10);
                BgmControl(BgmPoll);
            }
            BgmControl(BgmStop);
        });
        QFile midi(BgmFile);
        const MidiFile tune = ReadMidiFile(midi.open(QIODevice::ReadOnly) ? midi.readAll() : QByteArray());
        const qsizetype start = FirstSound(d);
        const qsizetype seam = start + qsizetype(std::llround(tune.seconds * kRate));
        std::printf("loop tune=%d gap_ms=%.2f seconds=%.1f rms_db=%.2f seam_db=%.1f\n", n, SilenceOf(d).longestMs,
                    double(d.size()) / (kRate * kBytesPerFrame), RmsDb(d, start, seam), QuietestMsDb(d, seam));
        std::fflush(stdout);
    }

    // Every tune's loudness, recorded and live, and the live tune's loop.
    for (int n = 1; n <= 5; ++n) {
        double lufs[2] = {};
        qsizetype late = 0;
        for (int live = 0; live < 2; ++live) {
            BgmFile = soundDir + QStringLiteral("BGM%1.mid").arg(n);
            if (live) {
                const QString alone = temp.filePath(QStringLiteral("BGM%1.mid").arg(n));
                QFile::remove(alone);
                QFile::copy(BgmFile, alone);
                BgmFile = alone;
            }
            QFile midi(BgmFile);
            const MidiFile tune = ReadMidiFile(midi.open(QIODevice::ReadOnly) ? midi.readAll() : QByteArray());
            const QString raw = temp.filePath(QStringLiteral("level.raw"));
            const QByteArray d = record(raw, true, [&] {
                BgmControl(BgmStart);
                QElapsedTimer clock;
                clock.start();
                // Until two rounds and a little more have been heard from the tune's first sound
                // (a live tune starts once it is measured, the driver writing silence meanwhile).
                QFile file(raw);
                file.open(QIODevice::ReadOnly);
                qint64 soundAt = -1;
                while (clock.elapsed() < 90000) {
                    QThread::msleep(10);
                    BgmControl(BgmPoll);
                    if (soundAt < 0) {
                        const qint64 from = file.pos();
                        const QByteArray more = file.read(file.size() - from - (file.size() - from) % kBytesPerFrame);
                        const qsizetype f = FirstSound(more);
                        if (f >= 0) soundAt = from + f * kBytesPerFrame;
                    } else if (file.size() >= soundAt + (2 * tune.seconds + 3) * kRate * kBytesPerFrame) {
                        break;
                    }
                }
                BgmControl(BgmStop);
            });
            const qsizetype start = FirstSound(d);
            const qsizetype round = qsizetype(std::llround(tune.seconds * kRate));
            lufs[live] = LoudnessOf(d, start, start + round).integrated;
            if (live) late = LagOf(d, start, start + round);
        }
        std::printf("loudness tune=%d lufs=%.2f live_lufs=%.2f live_late_ms=%.1f\n", n, lufs[0], lufs[1],
                    1000.0 * double(late) / kRate);
        std::fflush(stdout);
    }

    // The race's effects alone, each at its level while it sounds.
    for (const char* name : {"Up", "Down", "Crush1", "Crush2"}) {
        const QByteArray d = record(temp.filePath(QStringLiteral("effect.raw")), true, [name] {
            PlayEffectWait(QLatin1String(name));
        });
        qsizetype last = FramesOf(d) - 1;
        while (last > 0 && std::fabs(SampleAt(d, last, 0)) < 0.001 && std::fabs(SampleAt(d, last, 1)) < 0.001) --last;
        std::printf("effect name=%s rms_db=%.2f\n", name, RmsDb(d, FirstSound(d), last + 1));
    }

    // A and B pressed fast: each effect cuts the one before it short. An effect begins where a
    // buffer of the mixer begins: where the file ends when the call comes, or a buffer later
    // (the file is written through a buffer of the same size), so both places are looked at.
    {
        const QString raw = temp.filePath(QStringLiteral("cuts.raw"));
        QList<qsizetype> cuts;
        const QByteArray d = record(raw, false, [&] {
            PlayEffect(QStringLiteral("Up"));
            QThread::msleep(200);
            for (int i = 0; i < 39; ++i) {
                cuts.append(QFileInfo(raw).size() / kBytesPerFrame );
                PlayEffect(i % 2 ? QStringLiteral("Up") : QStringLiteral("Down"));
                QThread::msleep(30 + (i * 7) % 41);
            }
            QThread::msleep(400);
        });
        int clicks = 0;
        double worst = -100;
        for (qsizetype at : cuts) {
            const qsizetype later = at;
            const double step = std::max(LargestStep(d, at - 2, at + 3), LargestStep(d, later - 2, later + 3));
            const double nearby = std::max({LargestStep(d, at - 88, at - 2), LargestStep(d, at + 3, later - 2),
                                            LargestStep(d, later + 3, later + 88)});
            clicks += step > nearby;
            worst = std::max(worst, Db(step) - Db(nearby));
        }
        std::printf("cuts clicks=%d of=%lld step_db=%.1f\n", clicks, qlonglong(cuts.size()), worst);
    }

    // The music paused, resumed and stopped, as the race screen's pause and game over do.
    {
        const QString raw = temp.filePath(QStringLiteral("fades.raw"));
        qsizetype paused = 0, resumed = 0, stopped = 0;
        BgmFile = soundDir + QStringLiteral("BGM1.mid");
        const QByteArray d = record(raw, false, [&] {
            BgmControl(0);
            QThread::msleep(1500);
            paused = QFileInfo(raw).size() / kBytesPerFrame;
            BgmPause(true);
            QThread::msleep(300);
            resumed = QFileInfo(raw).size() / kBytesPerFrame;
            BgmPause(false);
            QThread::msleep(1200);
            stopped = QFileInfo(raw).size() / kBytesPerFrame;
            BgmControl(1);
            QThread::msleep(700);
        });
        const Ending pause = EndingOf(d, paused, 250);
        const Ending stop = EndingOf(d, stopped, 650);
        std::printf("fade what=pause ms=%.1f edge_db=%.1f\n", pause.ms, pause.lastMsDb);
        std::printf("fade what=resume ms=0 edge_db=%.1f\n", FirstMsDb(d, resumed));
        std::printf("fade what=stop ms=%.1f edge_db=%.1f\n", stop.ms, stop.lastMsDb);
    }

    BgmFile = soundDir + QStringLiteral("BGM1.mid");
    const Peak peak = PeakOf(record(temp.filePath(QStringLiteral("mix.raw")), false,
                                    [] { PlayLoudestRaceMoment(1500); }));
    std::printf("mix peak_dbfs=%.2f full_scale=%d\n", peak.dbfs(), peak.fullScale);
    return 0;
}
