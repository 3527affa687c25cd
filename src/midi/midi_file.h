// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The one reader of Standard MIDI Files, for the game (how long a tune runs), soundgen (how
// long to record it) and the tests (what a tune holds). Any bytes may come in: a damaged file is
// read as far as it can be followed and never read past its end.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <vector>

// A channel message (status 0x80..0xef, running status filled in) or a meta event (status 0xff).
// A stray system byte (0xf1..0xfe) is read as a message with two data bytes.
struct MidiEvent {
    uint64_t tick = 0;
    uint8_t status = 0;
    uint8_t type = 0;   // a meta event's type (0x51 tempo, 0x06 marker, 0x2f end of track)
    uint8_t data1 = 0;  // a channel message's data bytes; 0 where the message leaves them out
    uint8_t data2 = 0;
};

struct MidiTempo {
    uint64_t tick = 0;
    uint32_t microsecondsPerBeat = 0;
};

struct MidiFile {
    bool midi = false;            // begins like a MIDI file, bare or wrapped in RIFF as RMID
    const char* error = nullptr;  // why the file is not whole; null when every track was read
                                  // to its end-of-track event
    double seconds = 0;           // how long it runs, following its tempo changes; 0 when its
                                  // tracks cannot be followed to their ends
    uint32_t division = 0;        // ticks a beat
    uint64_t endTick = 0;         // the last track's end
    std::vector<MidiTempo> tempos;  // in order of tick
};

// Reads a MIDI file of format 0 or 1, calling onEvent (when given) for each channel message and
// meta event, track after track, in the order they stand.
MidiFile ReadMidiFile(QByteArray bytes, const std::function<void(const MidiEvent&)>& onEvent = {});
