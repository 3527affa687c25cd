// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the sound card hears in a race: its loudest moment (the loudest tune, both crashes, nine
// accelerations in a row and the claps), measured for its peak, and a looping tune, measured for
// its silences. The sound test checks them and the benchmark reports them.
#pragma once

#include <QByteArray>
#include <QThread>
#include <QtGlobal>
#include <cmath>

#include "audio/sound.h"

// Plays the race's loudest moment over the music in BgmFile, in real time; clapsMs is how long
// the claps are left to sound before the music stops.
inline void PlayLoudestRaceMoment(int clapsMs)
{
    BgmControl(BgmStart);
    const auto effect = [](const char* name, int ms) {
        PlayEffect(QLatin1String(name));
        QThread::msleep(ms);
    };
    effect("Crush1", 300);
    effect("Crush2", 500);
    for (int i = 0; i < 9; ++i) effect("Up", 90);
    effect("Claps", clapsMs);
    BgmControl(BgmStop);
}

// The loudest sample of 16-bit audio and how many samples reached full scale.
struct Peak {
    int top = 0;
    int fullScale = 0;
    double dbfs() const { return 20 * std::log10(qMax(top, 1) / 32768.0); }
};

inline Peak PeakOf(const QByteArray& audio)
{
    const auto* s = reinterpret_cast<const qint16*>(audio.constData());
    Peak peak;
    for (qsizetype i = 0; i < audio.size() / 2; ++i) {
        peak.top = qMax(peak.top, qAbs(int(s[i])));
        peak.fullScale += s[i] == 32767 || s[i] == -32768;
    }
    return peak;
}

// The silences of 16-bit stereo audio at 44.1 kHz: the longest run of frames below -60 dBFS
// between the first and the last sound, and how long it sounded from first to last.
struct Silence {
    double longestMs = 0;
    double soundedMs = 0;
};

inline Silence SilenceOf(const QByteArray& audio)
{
    const auto* s = reinterpret_cast<const qint16*>(audio.constData());
    const qsizetype frames = audio.size() / 4;
    qsizetype first = -1, last = -1, run = 0, longest = 0;
    for (qsizetype i = 0; i < frames; ++i) {
        if (qMax(qAbs(int(s[2 * i])), qAbs(int(s[2 * i + 1]))) < 33) {
            ++run;
            continue;
        }
        if (first < 0) first = i;
        else longest = qMax(longest, run);
        last = i;
        run = 0;
    }
    return Silence{longest * 1000.0 / 44100, first < 0 ? 0.0 : (last - first) * 1000.0 / 44100};
}
