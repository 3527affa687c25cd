// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The loudest moment of a race, as the sound card hears it: the loudest tune, both crashes,
// nine accelerations in a row and the claps. The sound test checks it never clips and the
// benchmark reports its peak.
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
    BgmControl(0);
    const auto effect = [](const char* name, int ms) {
        PlayEffect(QLatin1String(name));
        QThread::msleep(ms);
    };
    effect("Crush1", 300);
    effect("Crush2", 500);
    for (int i = 0; i < 9; ++i) effect("Up", 90);
    effect("Claps", clapsMs);
    BgmControl(1);
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
