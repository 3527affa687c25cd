// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "midi/midi_file.h"

#include <algorithm>

namespace {

constexpr uint32_t kDefaultTempo = 500000;  // 120 beats a minute until told otherwise

// Follows every track from `i`; false, with the reason in file.error, when one cannot be
// followed to its end. A track that runs out without its end-of-track event ends there: the
// file is not whole, but its length still counts.
bool readTracks(const QByteArray& d, qsizetype i, uint32_t tracks, MidiFile& file,
                const std::function<void(const MidiEvent&)>& onEvent)
{
    const auto byte = [&d](qsizetype at) { return uint32_t(uint8_t(d.at(at))); };
    const auto be = [&](qsizetype at, int n) {
        uint32_t v = 0;
        for (int k = 0; k < n; ++k) v = (v << 8) | byte(at + k);
        return v;
    };
    const auto fail = [&file](const char* why) {
        file.error = why;
        return false;
    };
    for (uint32_t t = 0; t < tracks; ++t) {
        if (i + 8 > d.size() || d.mid(i, 4) != "MTrk") return fail("a track is missing");
        const qsizetype end = i + 8 + qsizetype(be(i + 4, 4));
        if (end > d.size()) return fail("a track runs past the end of the file");
        i += 8;
        uint64_t tick = 0;
        uint32_t running = 0;
        bool closed = false;
        const auto varLen = [&](uint32_t& v) {
            v = 0;
            for (int k = 0; k < 4 && i < end; ++k) {
                const uint32_t c = byte(i++);
                v = (v << 7) | (c & 0x7f);
                if (!(c & 0x80)) return true;
            }
            return false;
        };
        while (i < end && !closed) {
            uint32_t delta = 0, length = 0;
            if (!varLen(delta) || i >= end) return fail("an event runs past its track");
            tick += delta;
            const uint32_t status = byte(i);
            if (status == 0xff) {
                if (i + 2 > end) return fail("an event runs past its track");
                const uint32_t type = byte(i + 1);
                i += 2;
                if (!varLen(length) || i + qsizetype(length) > end) return fail("an event runs past its track");
                if (type == 0x51 && length == 3) file.tempos.push_back({tick, be(i, 3)});
                if (type == 0x2f) closed = true;
                if (onEvent) onEvent({tick, uint8_t(status), uint8_t(type), 0, 0});
                i += qsizetype(length);
            } else if (status == 0xf0 || status == 0xf7) {
                ++i;
                if (!varLen(length) || i + qsizetype(length) > end) return fail("an event runs past its track");
                i += qsizetype(length);
            } else {
                if (status & 0x80) {
                    running = status;
                    ++i;
                }
                if (!running) return fail("data without a status byte");
                const uint32_t kind = running & 0xf0;
                const int size = (kind == 0xc0 || kind == 0xd0) ? 1 : 2;
                if (onEvent) {
                    MidiEvent event{tick, uint8_t(running), 0, 0, 0};
                    if (i < end) event.data1 = uint8_t(byte(i));
                    if (size > 1 && i + 1 < end) event.data2 = uint8_t(byte(i + 1));
                    onEvent(event);
                }
                i += size;
            }
        }
        if (!closed && !file.error) file.error = "a track ends without its end-of-track event";
        file.endTick = std::max(file.endTick, tick);
        i = end;
    }
    return true;
}

}  // namespace

MidiFile ReadMidiFile(QByteArray d, const std::function<void(const MidiEvent&)>& onEvent)
{
    MidiFile file;
    if (d.startsWith("RIFF") && d.mid(8, 4) == "RMID") {
        const int at = d.indexOf("MThd");
        if (at < 0) {
            file.error = "no MIDI header";
            return file;
        }
        d = d.mid(at);
    }
    if (!d.startsWith("MThd") || d.size() < 14) {
        file.error = "no MIDI header";
        return file;
    }
    file.midi = true;
    const auto be = [&d](qsizetype i, int n) {
        uint32_t v = 0;
        for (int k = 0; k < n; ++k) v = (v << 8) | uint8_t(d.at(i + k));
        return v;
    };
    const uint32_t format = be(8, 2), tracks = be(10, 2), division = be(12, 2);
    if (format > 1 || division == 0 || (division & 0x8000)) {
        file.error = "not a format 0 or 1 file counted in ticks a beat";
        return file;
    }
    file.division = division;
    if (!readTracks(d, 8 + qsizetype(be(4, 4)), tracks, file, onEvent)) return file;
    std::stable_sort(file.tempos.begin(), file.tempos.end(),
                     [](const MidiTempo& a, const MidiTempo& b) { return a.tick < b.tick; });
    double seconds = 0;
    uint64_t last = 0;
    uint32_t perBeat = kDefaultTempo;
    for (const MidiTempo& tempo : file.tempos) {
        seconds += double(tempo.tick - last) * perBeat / division / 1e6;
        last = tempo.tick;
        perBeat = tempo.microsecondsPerBeat;
    }
    file.seconds = seconds + double(file.endTick - last) * perBeat / division / 1e6;
    return file;
}
