// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the sound card hears in a race: its loudest moment (the loudest tune, both crashes, nine
// accelerations in a row and the claps), measured for its peak, and a looping tune, measured for
// its silences, its level and its loop point; effects cut short and music that stops, measured
// for the clicks they could make. The sound test checks them and the benchmark reports them.
#pragma once

#include <QByteArray>
#include <QThread>
#include <QtGlobal>
#include <algorithm>
#include <cmath>

#include "audio/loudness.h"
#include "audio/sound.h"

#include <vector>

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

// 16-bit stereo at 44.1 kHz, as the disk driver writes it: frame `f`'s channel `c`, as a
// fraction of full scale; 0 outside the audio.
inline double SampleAt(const QByteArray& audio, qsizetype f, int c)
{
    if (f < 0 || (f + 1) * 4 > audio.size()) return 0;
    return reinterpret_cast<const qint16*>(audio.constData())[2 * f + c] / 32768.0;
}

inline qsizetype FramesOf(const QByteArray& audio) { return audio.size() / 4; }

inline double Db(double level) { return 20 * std::log10(std::max(level, 1e-9)); }

// The RMS level of frames [from, to) in dBFS.
inline double RmsDb(const QByteArray& audio, qsizetype from = 0, qsizetype to = -1)
{
    if (to < 0 || to > FramesOf(audio)) to = FramesOf(audio);
    from = std::max<qsizetype>(from, 0);
    double sum = 0;
    for (qsizetype f = from; f < to; ++f)
        for (int c = 0; c < 2; ++c) sum += SampleAt(audio, f, c) * SampleAt(audio, f, c);
    return to > from ? 10 * std::log10(std::max(sum / double(2 * (to - from)), 1e-18)) : -180;
}

// The largest change from one sample to the next within frames [from, to): a click is a step
// larger than the sound around it makes.
inline double LargestStep(const QByteArray& audio, qsizetype from, qsizetype to)
{
    from = std::max<qsizetype>(from, 1);
    to = std::min(to, FramesOf(audio));
    double top = 0;
    for (qsizetype f = from; f < to; ++f)
        for (int c = 0; c < 2; ++c) top = std::max(top, std::fabs(SampleAt(audio, f, c) - SampleAt(audio, f - 1, c)));
    return top;
}

// The first frame louder than -60 dBFS at or after `from`; -1 when there is none.
inline qsizetype FirstSound(const QByteArray& audio, qsizetype from = 0)
{
    for (qsizetype f = std::max<qsizetype>(from, 0); f < FramesOf(audio); ++f)
        if (std::fabs(SampleAt(audio, f, 0)) >= 0.001 || std::fabs(SampleAt(audio, f, 1)) >= 0.001) return f;
    return -1;
}

// The level of the quietest millisecond (RMS over 44 frames) within `ms` either side of frame
// `at`: where a tune goes round its loop, a fade baked into the recording shows as a dip to
// -60 dBFS.
inline double QuietestMsDb(const QByteArray& audio, qsizetype at, int ms = 50)
{
    double low = 0;
    for (qsizetype f = at - 44LL * ms; f + 44 <= at + 44LL * ms; f += 11) low = std::min(low, RmsDb(audio, f, f + 44));
    return low;
}

// How a sound ends after frame `from`: the milliseconds until it stays below -60 dBFS for good
// (within `windowMs`), and the level of its last millisecond: a sound cut off falls silent from
// its full level, one faded out from near -60 dBFS.
struct Ending {
    double ms = 0;
    double lastMsDb = 0;
};

inline Ending EndingOf(const QByteArray& audio, qsizetype from, int windowMs = 600)
{
    const qsizetype end = std::min(FramesOf(audio), from + 44LL * windowMs);
    qsizetype lastLoud = from;
    for (qsizetype f = from; f < end; ++f)
        if (std::fabs(SampleAt(audio, f, 0)) >= 0.001 || std::fabs(SampleAt(audio, f, 1)) >= 0.001) lastLoud = f;
    return Ending{(lastLoud - from) / 44.1, RmsDb(audio, lastLoud - 43, lastLoud + 1)};
}

// The level of the first millisecond of sound at or after frame `from`: music that comes back
// at its full level at once clicks, music faded in starts near silence.
inline double FirstMsDb(const QByteArray& audio, qsizetype from)
{
    const qsizetype first = FirstSound(audio, from);
    return first < 0 ? -180 : RmsDb(audio, first, first + 44);
}

// The loudness (EBU R128) of frames [from, to) of a recording: integrated, loudest moment, true
// peak.
inline Loudness LoudnessOf(const QByteArray& audio, qsizetype from, qsizetype to)
{
    to = std::min(to, FramesOf(audio));
    std::vector<float> samples;
    for (qsizetype f = std::max<qsizetype>(0, from); f < to; ++f)
        for (int c = 0; c < 2; ++c) samples.push_back(float(SampleAt(audio, f, c)));
    return MeasureLoudness(samples.data(), samples.size() / 2, 2, 44100);
}

// Where, within 150 ms either side of frame `at`, the 200 ms that begin at frame `start` come back
// best (their correlation highest): how many frames late the sound at `at` is.
inline qsizetype LagOf(const QByteArray& audio, qsizetype start, qsizetype at)
{
    const qsizetype span = 44100 / 5, reach = 44100 * 3 / 20;
    double best = -1e300;
    qsizetype lag = 0;
    for (qsizetype d = -reach; d <= reach; ++d) {
        if (at + d < 0 || at + d + span > FramesOf(audio)) continue;
        double sum = 0;
        for (qsizetype f = 0; f < span; f += 2) sum += SampleAt(audio, start + f, 0) * SampleAt(audio, at + d + f, 0);
        if (sum > best) {
            best = sum;
            lag = d;
        }
    }
    return lag;
}
