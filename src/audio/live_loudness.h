// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// How loud a tune the mixer synthesises live will be heard, found out ahead: the same MIDI bytes
// are played through FluidSynth with the same sound fonts, as fast as the processor goes, on a
// thread of their own, and measured (EBU R128): its first 40 s at most, about a quarter of a
// second of one core.
// The game then turns the live tune to the loudness of the recordings, whatever the sound font.
// The synthesiser is made and ended on the calling thread, as the mixer makes and ends its own
// (FluidSynth's shared tables take one at a time); only the playing runs on the thread.
#pragma once

#include <QByteArray>
#include <QByteArrayList>

#include <atomic>
#include <thread>

class LiveLoudness
{
public:
    // Starts measuring the tune, `seconds` long (one round); the fonts are the mixer's.
    LiveLoudness(const QByteArray& midi, const QByteArrayList& soundFonts, double seconds);
    // Stops the measuring at once.
    ~LiveLoudness();
    LiveLoudness(const LiveLoudness&) = delete;
    LiveLoudness& operator=(const LiveLoudness&) = delete;

    // True once the measure is there, or has failed (no FluidSynth, a font it refuses).
    bool done() const { return done_.load(std::memory_order_acquire); }
    // Waits up to `ms` for the measure; true once it is there.
    bool waitFor(int ms) const;
    // The tune's integrated loudness in LUFS at FluidSynth's gain of 1; NaN when it failed.
    double loudnessAtUnitGain() const { return loudness_; }
    // True when FluidSynth played the tune for as long as it was asked to measure it: it reads
    // the file as the game's own reader does, so it may be looped.
    bool playedThrough() const { return playedThrough_; }

private:
    void measure(long long frames);

    struct Synth;
    Synth* synth_ = nullptr;
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};
    double loudness_;
    bool playedThrough_ = false;
    std::thread thread_;
};
