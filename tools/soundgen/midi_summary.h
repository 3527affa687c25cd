// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What a tune soundgen wrote holds, read by the game's own MIDI file reader: its length, its
// tempo and instruments, its channels and whether every note that starts also stops.
#pragma once

#include "midi/midi_file.h"

#include <QFile>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <algorithm>

struct MidiSummary {
    bool ok = false;
    QString error;
    double seconds = 0;
    QSet<int> noteChannels;
    int notes = 0;
    int unmatched = 0;  // note-ons without a note-off, or the other way round
    bool hasTempo = false;
    quint32 firstTempo = 500000;  // microseconds a beat at the start
    QHash<int, int> programs;     // channel: the first program it is given
    QList<int> sectionBars;       // the length in 4/4 bars of each part its markers begin
};

inline MidiSummary readMidi(const QString& path)
{
    MidiSummary s;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) { s.error = "cannot open"; return s; }
    QHash<int, int> open;
    QList<quint64> markers;
    const MidiFile file = ReadMidiFile(f.readAll(), [&](const MidiEvent& e) {
        if (e.status == 0xff) {
            if (e.type == 0x06) markers.append(e.tick);
            return;
        }
        const int kind = e.status & 0xf0, ch = e.status & 0x0f;
        if (kind == 0xc0 && !s.programs.contains(ch)) s.programs.insert(ch, e.data1);
        if (kind == 0x90 && e.data2 > 0) {
            s.noteChannels.insert(ch);
            ++s.notes;
            ++open[ch * 128 + e.data1];
        } else if (kind == 0x80 || (kind == 0x90 && e.data2 == 0)) {
            --open[ch * 128 + e.data1];
        }
    });
    if (file.error) { s.error = file.error; return s; }
    for (int v : std::as_const(open)) s.unmatched += qAbs(v);
    std::sort(markers.begin(), markers.end());
    markers.append(file.endTick);
    for (int k = 0; k + 1 < markers.size(); ++k)
        s.sectionBars.append(int((markers[k + 1] - markers[k]) / (4 * file.division)));
    s.hasTempo = !file.tempos.empty();
    if (s.hasTempo) s.firstTempo = file.tempos.front().microsecondsPerBeat;
    s.seconds = file.seconds;
    s.ok = true;
    return s;
}
