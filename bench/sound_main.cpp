// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the player hears, measured on SDL's disk audio driver through the game's own sound code:
//
//   loop tune=<n> gap_ms=<ms>          the longest silence (below -60 dBFS) while tune n goes
//                                      round its loop point, started and polled as the race
//                                      screen does; one line per tune
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
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <functional>

#include "audio/sound.h"
#include "race_mix.h"
#include "runtime/program_folder.h"

namespace {

constexpr int kRate = 44100;
constexpr qsizetype kBytesPerFrame = 4;  // 16-bit stereo
constexpr qsizetype kLongestTuneS = 70;  // every tune is shorter

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
            QElapsedTimer clock;
            clock.start();
            while (clock.elapsed() < 60000 && QFile(raw).size() < kLongestTuneS * kRate * kBytesPerFrame) {
                QThread::msleep(10);
                BgmControl(BgmPoll);
            }
            BgmControl(BgmStop);
        });
        std::printf("loop tune=%d gap_ms=%.2f seconds=%.1f\n", n, SilenceOf(d).longestMs,
                    double(d.size()) / (kRate * kBytesPerFrame));
        std::fflush(stdout);
    }

    BgmFile = soundDir + QStringLiteral("BGM1.mid");
    const Peak peak = PeakOf(record(temp.filePath(QStringLiteral("mix.raw")), false,
                                    [] { PlayLoudestRaceMoment(1500); }));
    std::printf("mix peak_dbfs=%.2f full_scale=%d\n", peak.dbfs(), peak.fullScale);
    return 0;
}
