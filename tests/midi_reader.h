// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A small reader of Standard MIDI Files, to check soundgen's tunes: their length (following
// their tempo changes), their tempo and instruments, their channels and whether every note that
// starts also stops.
#pragma once

#include <QFile>
#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <QtEndian>

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

inline quint32 readVarLen(const QByteArray& d, int& i, bool& ok)
{
    quint32 v = 0;
    for (int k = 0; k < 4; ++k) {
        if (i >= d.size()) { ok = false; return 0; }
        const quint8 c = quint8(d[i++]);
        v = (v << 7) | (c & 0x7f);
        if (!(c & 0x80)) return v;
    }
    ok = false;
    return v;
}

inline MidiSummary readMidi(const QString& path)
{
    MidiSummary s;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) { s.error = "cannot open"; return s; }
    const QByteArray d = f.readAll();
    if (d.size() < 14 || !d.startsWith("MThd")) { s.error = "no MThd"; return s; }
    const auto be16 = [&d](int i) { return qFromBigEndian<quint16>(d.constData() + i); };
    const auto be32 = [&d](int i) { return qFromBigEndian<quint32>(d.constData() + i); };
    const int tracks = be16(10);
    const int division = be16(12);
    if (division <= 0 || division & 0x8000) { s.error = "bad division"; return s; }
    QList<QPair<quint32, quint32>> tempos;  // tick, microseconds a beat
    quint32 endTick = 0;
    QHash<int, int> open;
    QList<quint32> markers;
    int i = 14;
    for (int t = 0; t < tracks; ++t) {
        if (i + 8 > d.size() || d.mid(i, 4) != "MTrk") { s.error = "no MTrk"; return s; }
        const int end = i + 8 + int(be32(i + 4));
        if (end > d.size()) { s.error = "track runs past the file"; return s; }
        i += 8;
        quint32 tick = 0;
        quint8 status = 0;
        bool ended = false, ok = true;
        while (i < end && ok) {
            tick += readVarLen(d, i, ok);
            quint8 c = quint8(d[i]);
            if (c == 0xff) {
                const quint8 type = quint8(d[i + 1]);
                i += 2;
                const quint32 len = readVarLen(d, i, ok);
                if (type == 0x51 && len == 3) {
                    tempos.append({tick, (quint32(quint8(d[i])) << 16) | (quint32(quint8(d[i + 1])) << 8) | quint8(d[i + 2])});
                    if (!s.hasTempo) s.firstTempo = tempos.constLast().second;
                    s.hasTempo = true;
                }
                if (type == 0x06) markers.append(tick);
                if (type == 0x2f) ended = true;
                i += int(len);
                continue;
            }
            if (c == 0xf0 || c == 0xf7) {
                ++i;
                i += int(readVarLen(d, i, ok));
                continue;
            }
            if (c & 0x80) { status = c; ++i; }
            if (!status) { s.error = "data without status"; return s; }
            const int kind = status & 0xf0, ch = status & 0x0f;
            const int bytes = (kind == 0xc0 || kind == 0xd0) ? 1 : 2;
            const quint8 a = quint8(d[i]), b = bytes > 1 ? quint8(d[i + 1]) : 0;
            i += bytes;
            if (kind == 0xc0 && !s.programs.contains(ch)) s.programs.insert(ch, a);
            if (kind == 0x90 && b > 0) {
                s.noteChannels.insert(ch);
                ++s.notes;
                ++open[ch * 128 + a];
            } else if (kind == 0x80 || (kind == 0x90 && b == 0)) {
                --open[ch * 128 + a];
            }
        }
        if (!ok || !ended) { s.error = "track not closed"; return s; }
        endTick = qMax(endTick, tick);
        i = end;
    }
    for (int v : std::as_const(open)) s.unmatched += qAbs(v);
    std::sort(markers.begin(), markers.end());
    markers.append(endTick);
    for (int k = 0; k + 1 < markers.size(); ++k)
        s.sectionBars.append(int((markers[k + 1] - markers[k]) / quint32(4 * division)));
    std::sort(tempos.begin(), tempos.end());
    double seconds = 0;
    quint32 last = 0, us = 500000;
    for (const auto& [tick, value] : std::as_const(tempos)) {
        seconds += double(tick - last) * us / division / 1e6;
        last = tick;
        us = value;
    }
    s.seconds = seconds + double(endTick - last) * us / division / 1e6;
    s.ok = true;
    return s;
}
