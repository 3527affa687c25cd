// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/beep.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

QByteArray BeepWav()
{
    constexpr int rate = 22050;
    constexpr int samples = rate * 150 / 1000;
    QByteArray wav;
    auto put32 = [&wav](uint32_t v) {
        for (int k = 0; k < 4; ++k) wav.append(char((v >> (8 * k)) & 0xff));
    };
    auto put16 = [&wav](uint16_t v) {
        wav.append(char(v & 0xff));
        wav.append(char(v >> 8));
    };
    wav.append("RIFF");
    put32(36 + samples * 2);
    wav.append("WAVEfmt ");
    put32(16);
    put16(1);
    put16(1);
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    wav.append("data");
    put32(samples * 2);
    for (int i = 0; i < samples; ++i) {
        const double t = double(i) / rate;
        const double attack = std::min(1.0, t / 0.005);
        const double release = std::min(1.0, (double(samples - i) / rate) / 0.03);
        const double v = 0.35 * attack * release *
                         (std::sin(2 * M_PI * 880 * t) + 0.25 * std::sin(2 * M_PI * 1760 * t));
        put16(uint16_t(int16_t(std::lround(v * 32767))));
    }
    return wav;
}
