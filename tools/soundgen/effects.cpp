// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "effects.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>

namespace soundgen {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRate = kSampleRate;

// A small generator of our own, so the noise is the same on every machine and compiler.
class Rng {
public:
    explicit Rng(uint64_t seed) : state(seed * 2654435761u + 0x9e3779b97f4a7c15ull) {}
    double uniform()  // [0, 1)
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return double(state >> 11) * (1.0 / 9007199254740992.0);
    }
    double noise() { return uniform() * 2.0 - 1.0; }
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }

private:
    uint64_t state;
};

// Second-order filter with the usual cookbook coefficients.
class Biquad {
public:
    enum Kind { LowPass, HighPass, BandPass };
    Biquad(Kind k, double freq, double q) : kind(k) { set(freq, q); }
    void set(double freq, double q)
    {
        freq = std::clamp(freq, 20.0, kRate * 0.45);
        const double w = 2 * kPi * freq / kRate;
        const double alpha = std::sin(w) / (2 * q);
        const double c = std::cos(w);
        double b0, b1, b2;
        switch (kind) {
        case LowPass: b0 = (1 - c) / 2; b1 = 1 - c; b2 = (1 - c) / 2; break;
        case HighPass: b0 = (1 + c) / 2; b1 = -(1 + c); b2 = (1 + c) / 2; break;
        default: b0 = alpha; b1 = 0; b2 = -alpha; break;
        }
        const double a0 = 1 + alpha;
        nb0 = b0 / a0; nb1 = b1 / a0; nb2 = b2 / a0;
        na1 = -2 * c / a0; na2 = (1 - alpha) / a0;
    }
    double operator()(double x)
    {
        const double y = nb0 * x + nb1 * x1 + nb2 * x2 - na1 * y1 - na2 * y2;
        x2 = x1; x1 = x; y2 = y1; y1 = y;
        return y;
    }

private:
    Kind kind;
    double nb0 = 0, nb1 = 0, nb2 = 0, na1 = 0, na2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

std::vector<float> silence(double seconds) { return std::vector<float>(size_t(seconds * kRate), 0.0f); }

double seconds(size_t i) { return double(i) / kRate; }

// Scales to the given peak and fades the last few milliseconds so the end never clicks.
void finish(std::vector<float>& s, double peak)
{
    float top = 0;
    for (float v : s) top = std::max(top, std::fabs(v));
    if (top > 0) {
        const float k = float(peak / top);
        for (float& v : s) v *= k;
    }
    const size_t fade = std::min(s.size(), size_t(0.004 * kRate));
    for (size_t i = 0; i < fade; ++i) s[s.size() - 1 - i] *= float(i) / float(fade);
}

// A crisp button click: a sharp tick with a little body under it.
std::vector<float> click()
{
    auto s = silence(0.055);
    Rng rng(1);
    Biquad air(Biquad::BandPass, 5200, 0.9);
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = seconds(i);
        const double attack = std::min(1.0, t / 0.0004);
        const double tick = 0.9 * air(rng.noise()) * std::exp(-t / 0.0018);
        const double ping = 0.55 * std::sin(2 * kPi * 2450 * t) * std::exp(-t / 0.0055);
        const double body = 0.35 * std::sin(2 * kPi * 1150 * t) * std::exp(-t / 0.011);
        s[i] = float(attack * (tick + ping + body));
    }
    finish(s, 0.80);
    return s;
}

// A jet whoosh whose pitch sweeps from lo to hi (or down, when lo > hi), its loudest sample at
// peak.
std::vector<float> sweep(double lo, double hi, double length, double noiseLo, double noiseHi,
                         uint64_t seed, double peak)
{
    auto s = silence(length);
    Rng rng(seed);
    Biquad hiss(Biquad::BandPass, noiseLo, 1.8);
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = seconds(i);
        const double x = t / length;
        const double f = lo * std::pow(hi / lo, x) * (1 + 0.012 * std::sin(2 * kPi * 28 * t));
        phase += 2 * kPi * f / kRate;
        const double tone = std::sin(phase) + 0.30 * std::sin(3 * phase) + 0.12 * std::sin(5 * phase);
        if (i % 32 == 0) hiss.set(noiseLo * std::pow(noiseHi / noiseLo, x), 1.8);
        const double air = hiss(rng.noise());
        const double attack = std::min(1.0, t / 0.012);
        const double body = std::pow(1 - x, 1.2);
        const double swell = std::sin(kPi * std::min(1.0, x * 1.25));
        s[i] = float(attack * (0.45 * tone * body + 1.6 * air * swell * body));
    }
    finish(s, peak);
    return s;
}

// Running into an obstacle: a dull thud and a splash of gravel.
std::vector<float> crush1()
{
    auto s = silence(0.8);
    Rng rng(11);
    Biquad dull(Biquad::LowPass, 3000, 0.7);
    Biquad grit(Biquad::BandPass, 2200, 1.2);
    double phase = 0;
    double grainLeft = 0, grainLength = 1, grainAmp = 0, nextGrain = 0.015;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = seconds(i);
        const double f = 45 + 95 * std::exp(-t / 0.07);
        phase += 2 * kPi * f / kRate;
        const double thud = 1.0 * std::sin(phase) * std::exp(-t / 0.16);
        if (i % 32 == 0) dull.set(300 + 3800 * std::exp(-t / 0.09), 0.7);
        const double crunch = 0.9 * dull(rng.noise()) * std::exp(-t / 0.17);
        if (t >= nextGrain && t < 0.5) {
            grainLeft = grainLength = rng.range(0.004, 0.012);
            grainAmp = rng.range(0.4, 1.0) * std::exp(-t / 0.16);
            nextGrain = t + rng.range(0.006, 0.022);
            grit.set(rng.range(1400, 3600), 1.2);
        }
        double splash = 0;
        if (grainLeft > 0) {
            splash = 1.3 * grainAmp * grit(rng.noise()) * std::sin(kPi * grainLeft / grainLength);
            grainLeft -= 1.0 / kRate;
        } else {
            grit(0);
        }
        const double attack = std::min(1.0, t / 0.002);
        s[i] = float(attack * (thud + crunch + splash));
    }
    finish(s, 0.89);
    return s;
}

// Hitting a car: a hard bang, a ringing of bent metal and rattling bits.
std::vector<float> crush2()
{
    auto s = silence(1.3);
    Rng rng(23);
    Biquad bright(Biquad::HighPass, 180, 0.7);
    // The bang's hiss stops short of the highest octaves: a crash heard, not a hiss in the ear.
    Biquad dull(Biquad::LowPass, 3500, 0.7);
    Biquad rattle(Biquad::BandPass, 4500, 2.0);
    const double partials[] = {420, 1013, 1587, 2234, 2961, 3720, 4630, 5821};
    double boomPhase = 0;
    double grainLeft = 0, grainLength = 1, grainAmp = 0, nextGrain = 0.04;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = seconds(i);
        const double f = 35 + 85 * std::exp(-t / 0.09);
        boomPhase += 2 * kPi * f / kRate;
        const double boom = 1.0 * std::sin(boomPhase) * std::exp(-t / 0.22);
        const double bang = 0.9 * dull(bright(rng.noise())) * std::exp(-t / 0.045);
        double metal = 0;
        for (int k = 0; k < 8; ++k) {
            const double p = partials[k];
            const double tau = 0.85 - 0.08 * k;
            const double a = 0.22 / (1 + 0.3 * k);
            metal += a * std::exp(-t / tau) *
                     (std::sin(2 * kPi * p * t + k) + std::sin(2 * kPi * p * 1.007 * t + 2 * k));
        }
        if (t >= nextGrain && t < 1.0) {
            grainLeft = grainLength = rng.range(0.002, 0.007);
            grainAmp = rng.range(0.3, 1.0) * std::exp(-t / 0.3);
            nextGrain = t + rng.range(0.01, 0.02) + t * 0.05;
            rattle.set(rng.range(2800, 7500), 2.0);
        }
        double bits = 0;
        if (grainLeft > 0) {
            bits = 0.9 * grainAmp * rattle(rng.noise()) * std::sin(kPi * grainLeft / grainLength);
            grainLeft -= 1.0 / kRate;
        } else {
            rattle(0);
        }
        // The blow swells over 6 ms rather than striking at once.
        const double attack = std::min(1.0, t / 0.006);
        const double x = attack * (boom + bang + metal + bits);
        s[i] = float(std::tanh(1.8 * x) / std::tanh(1.8));
    }
    // The densest effect: at 0.39 its loudest moment is heard as loud as the others' (within
    // 1 LU of every race effect's), 8 to 9 LU over the music.
    finish(s, 0.39);
    return s;
}

// A small crowd clapping: every clapper has his own pace and his own hand sound; they join
// in quickly and drop out one by one.
std::vector<float> claps()
{
    auto s = silence(2.2);
    Rng rng(37);
    constexpr int clappers = 18;
    for (int c = 0; c < clappers; ++c) {
        const double period = rng.range(0.19, 0.29);
        const double centre = rng.range(900, 2600);
        const double loud = rng.range(0.5, 1.0);
        const double stop = rng.range(1.2, 2.05);
        Biquad hand(Biquad::BandPass, centre, 1.6);
        double t = rng.range(0.0, 0.22);
        while (t < stop) {
            const size_t start = size_t(t * kRate);
            const double decay = rng.range(0.006, 0.014);
            const double fade = t > stop - 0.5 ? (stop - t) / 0.5 : 1.0;
            const double amp = loud * fade * rng.range(0.7, 1.0);
            for (size_t i = 0; i < size_t(0.06 * kRate) && start + i < s.size(); ++i) {
                const double u = seconds(i);
                const double env = std::min(1.0, u / 0.0012) * std::exp(-u / decay);
                s[start + i] += float(amp * env * hand(rng.noise()));
            }
            t += period * rng.range(0.9, 1.1);
        }
    }
    // Spread over two seconds, the crowd needs a higher peak than the crashes to be heard as
    // loud as them.
    finish(s, 0.95);
    return s;
}

}  // namespace

std::vector<Effect> makeEffects()
{
    return {
        {"Click", click()},
        // The accelerator is pressed over and over: 2 dB under the brake it sits with the others,
        // 6 to 10 dB above the music.
        {"Up", sweep(330, 1320, 0.32, 700, 4800, 5, 0.60)},
        {"Down", sweep(1100, 290, 0.34, 4200, 600, 7, 0.75)},
        {"Crush1", crush1()},
        {"Crush2", crush2()},
        {"Claps", claps()},
    };
}

bool writeWav(const std::string& path, const std::vector<float>& samples, int sampleRate)
{
    std::ofstream out(path, std::ios::binary);
    if (!out) return false;
    auto put32 = [&out](uint32_t v) {
        for (int k = 0; k < 4; ++k) out.put(char((v >> (8 * k)) & 0xff));
    };
    auto put16 = [&out](uint16_t v) {
        out.put(char(v & 0xff));
        out.put(char(v >> 8));
    };
    const uint32_t bytes = uint32_t(samples.size() * 2);
    out.write("RIFF", 4);
    put32(36 + bytes);
    out.write("WAVEfmt ", 8);
    put32(16);
    put16(1);  // PCM
    put16(1);  // mono
    put32(uint32_t(sampleRate));
    put32(uint32_t(sampleRate * 2));
    put16(2);
    put16(16);
    out.write("data", 4);
    put32(bytes);
    for (float v : samples) {
        const long q = std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f);
        put16(uint16_t(int16_t(q)));
    }
    return bool(out);
}

}  // namespace soundgen
