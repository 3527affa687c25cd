// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "music.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>
#include <stdexcept>

namespace soundgen {

namespace {

constexpr int kTicksPerQuarter = 480;
constexpr int kTicksPerStep = kTicksPerQuarter / 4;  // a sixteenth
constexpr int kStepsPerBar = 16;
constexpr int kTicksPerBar = kStepsPerBar * kTicksPerStep;
constexpr int kDrumChannel = 9;

enum Channel : int { MelodyCh = 0, CompCh = 1, PadCh = 2, BassCh = 3, Melody2Ch = 4 };

[[noreturn]] void fail(const std::string& where, const std::string& what)
{
    throw std::runtime_error(where + ": " + what);
}

std::vector<std::string> split(const std::string& text, char sep)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, sep)) parts.push_back(part);
    if (!text.empty() && text.back() == sep) parts.emplace_back();
    return parts;
}

std::vector<std::string> words(const std::string& text)
{
    std::vector<std::string> list;
    std::istringstream in(text);
    std::string w;
    while (in >> w) list.push_back(w);
    return list;
}

// "C", "F#", "Bb" at the front of text; returns the pitch class and how many characters it took.
int pitchClass(const std::string& text, size_t& used, const std::string& where)
{
    static const int natural[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (text.empty() || text[0] < 'A' || text[0] > 'G') fail(where, "no note name in '" + text + "'");
    int pc = natural[text[0] - 'A'];
    used = 1;
    if (text.size() > 1 && text[1] == '#') { ++pc; used = 2; }
    else if (text.size() > 1 && text[1] == 'b') { --pc; used = 2; }
    return (pc + 12) % 12;
}

struct Chord {
    int root = 0;
    int bass = 0;  // pitch class of the lowest note (differs from root for slash chords)
    std::vector<int> intervals;
    bool operator==(const Chord& o) const
    {
        return root == o.root && bass == o.bass && intervals == o.intervals;
    }
};

Chord parseChord(const std::string& symbol, const std::string& where)
{
    static const std::map<std::string, std::vector<int>> qualities = {
        {"", {0, 4, 7}},          {"m", {0, 3, 7}},          {"7", {0, 4, 7, 10}},
        {"maj7", {0, 4, 7, 11}},  {"m7", {0, 3, 7, 10}},     {"sus4", {0, 5, 7}},
        {"7sus4", {0, 5, 7, 10}}, {"dim", {0, 3, 6}},        {"6", {0, 4, 7, 9}},
        {"m6", {0, 3, 7, 9}},     {"add9", {0, 4, 7, 14}},   {"9", {0, 4, 7, 10, 14}},
        {"m9", {0, 3, 7, 10, 14}}, {"maj9", {0, 4, 7, 11, 14}},
    };
    Chord chord;
    size_t used = 0;
    chord.root = pitchClass(symbol, used, where);
    std::string rest = symbol.substr(used);
    chord.bass = chord.root;
    const size_t slash = rest.find('/');
    if (slash != std::string::npos) {
        size_t u = 0;
        chord.bass = pitchClass(rest.substr(slash + 1), u, where);
        rest = rest.substr(0, slash);
    }
    const auto q = qualities.find(rest);
    if (q == qualities.end()) fail(where, "unknown chord '" + symbol + "'");
    chord.intervals = q->second;
    return chord;
}

struct Note {
    int step;    // from the start of the bar, in sixteenths
    int length;  // in sixteenths
    int pitch;   // -1 for a rest
};

// One bar of "E5:2 r:2 ..." or of pattern steps "R:2 5:2 ...": the symbol and its length.
std::vector<std::pair<std::string, int>> tokens(const std::string& bar, const std::string& where)
{
    std::vector<std::pair<std::string, int>> list;
    int total = 0;
    for (const std::string& w : words(bar)) {
        const size_t colon = w.find(':');
        if (colon == std::string::npos || colon == 0) fail(where, "no length in '" + w + "'");
        const int length = std::atoi(w.c_str() + colon + 1);
        if (length <= 0) fail(where, "bad length in '" + w + "'");
        list.emplace_back(w.substr(0, colon), length);
        total += length;
    }
    if (total != kStepsPerBar)
        fail(where, "bar adds up to " + std::to_string(total) + " sixteenths: '" + bar + "'");
    return list;
}

std::vector<Note> melodyBar(const std::string& bar, const std::string& where)
{
    std::vector<Note> notes;
    int step = 0;
    for (const auto& [symbol, length] : tokens(bar, where)) {
        int pitch = -1;
        if (symbol != "r") {
            static const int natural[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
            if (symbol[0] < 'A' || symbol[0] > 'G') fail(where, "no note name in '" + symbol + "'");
            size_t used = 1;
            int accidental = 0;
            if (symbol.size() > 1 && symbol[1] == '#') { accidental = 1; used = 2; }
            else if (symbol.size() > 1 && symbol[1] == 'b') { accidental = -1; used = 2; }
            const std::string octave = symbol.substr(used);
            if (octave.empty() || !std::isdigit(static_cast<unsigned char>(octave[0])))
                fail(where, "no octave in '" + symbol + "'");
            // B#4 is C5 and Cb4 is B3: the octave goes with the letter.
            pitch = (std::atoi(octave.c_str()) + 1) * 12 + natural[symbol[0] - 'A'] + accidental;
        }
        notes.push_back({step, length, pitch});
        step += length;
    }
    return notes;
}

// The chord sounding at each sixteenth of a bar.
std::vector<Chord> chordBar(const std::string& bar, const std::string& where)
{
    const auto symbols = words(bar);
    if (symbols.empty() || kStepsPerBar % symbols.size() != 0 || symbols.size() > 4)
        fail(where, "a bar needs 1, 2 or 4 chords: '" + bar + "'");
    std::vector<Chord> steps;
    const size_t each = kStepsPerBar / symbols.size();
    for (const std::string& s : symbols) {
        const Chord chord = parseChord(s, where);
        for (size_t k = 0; k < each; ++k) steps.push_back(chord);
    }
    return steps;
}

// The pitch with pitch class pc nearest to centre (the lower one on a tie).
int nearest(int pc, int centre)
{
    int best = centre - ((centre - pc) % 12 + 12) % 12;  // at or below centre
    if (centre - best > 6) best += 12;
    return best;
}

// The lowest pitch with pitch class pc strictly above (or, with orEqual, at) floor.
int above(int pc, int floor, bool orEqual)
{
    int p = floor - ((floor - pc) % 12 + 12) % 12;
    while (orEqual ? p < floor : p <= floor) p += 12;
    return p;
}

// A close voicing around centre. Chords of four notes or more leave the root to the bass.
std::vector<int> voicing(const Chord& chord, int centre)
{
    std::vector<int> pcs;
    for (size_t i = 0; i < chord.intervals.size(); ++i) {
        if (chord.intervals.size() >= 4 && i == 0) continue;
        if (chord.intervals.size() >= 5 && chord.intervals[i] == 7) continue;
        pcs.push_back((chord.root + chord.intervals[i]) % 12);
    }
    std::vector<int> notes;
    for (int pc : pcs) notes.push_back(nearest(pc, centre));
    std::sort(notes.begin(), notes.end());
    notes.erase(std::unique(notes.begin(), notes.end()), notes.end());
    return notes;
}

// Louder on the strong beats, softer on the off sixteenths.
int accent(int step)
{
    const int s = step % kStepsPerBar;
    if (s == 0) return 10;
    if (s == 8) return 6;
    if (s % 4 == 0) return 3;
    if (s % 2 == 1) return -8;
    return 0;
}

int clampVelocity(int v) { return std::clamp(v, 1, 127); }

class TrackBuilder {
public:
    void meta(uint32_t tick, uint8_t type, const std::vector<uint8_t>& data)
    {
        std::vector<uint8_t> bytes = {0xff, type};
        appendLength(bytes, uint32_t(data.size()));
        bytes.insert(bytes.end(), data.begin(), data.end());
        events.push_back({tick, 0, seq++, bytes});
    }
    void text(uint32_t tick, uint8_t type, const std::string& s)
    {
        meta(tick, type, std::vector<uint8_t>(s.begin(), s.end()));
    }
    void control(uint32_t tick, int ch, int cc, int value)
    {
        events.push_back({tick, 0, seq++, {uint8_t(0xb0 | ch), uint8_t(cc), uint8_t(value)}});
    }
    void program(uint32_t tick, int ch, int program)
    {
        events.push_back({tick, 0, seq++, {uint8_t(0xc0 | ch), uint8_t(program)}});
    }
    void note(uint32_t tick, uint32_t length, int ch, int pitch, int velocity)
    {
        if (pitch < 0 || pitch > 127 || length == 0) return;
        events.push_back({tick, 2, seq++, {uint8_t(0x90 | ch), uint8_t(pitch), uint8_t(clampVelocity(velocity))}});
        events.push_back({tick + length, 1, seq++, {uint8_t(0x80 | ch), uint8_t(pitch), 0}});
    }
    bool hasNotes() const
    {
        return std::any_of(events.begin(), events.end(),
                           [](const Event& e) { return (e.bytes[0] & 0xf0) == 0x90; });
    }
    // The track chunk, closed at endTick.
    std::vector<uint8_t> chunk(uint32_t endTick)
    {
        std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
            if (a.tick != b.tick) return a.tick < b.tick;
            if (a.order != b.order) return a.order < b.order;
            return a.seq < b.seq;
        });
        std::vector<uint8_t> body;
        uint32_t now = 0;
        for (const Event& e : events) {
            appendLength(body, e.tick - now);
            now = e.tick;
            body.insert(body.end(), e.bytes.begin(), e.bytes.end());
        }
        appendLength(body, endTick > now ? endTick - now : 0);
        body.insert(body.end(), {0xff, 0x2f, 0x00});
        std::vector<uint8_t> out = {'M', 'T', 'r', 'k'};
        appendBigEndian(out, uint32_t(body.size()), 4);
        out.insert(out.end(), body.begin(), body.end());
        return out;
    }

    static void appendLength(std::vector<uint8_t>& out, uint32_t v)
    {
        uint8_t buf[5];
        int n = 0;
        buf[n++] = v & 0x7f;
        while (v >>= 7) buf[n++] = uint8_t(0x80 | (v & 0x7f));
        while (n) out.push_back(buf[--n]);
    }
    static void appendBigEndian(std::vector<uint8_t>& out, uint32_t v, int bytes)
    {
        for (int k = bytes - 1; k >= 0; --k) out.push_back(uint8_t((v >> (8 * k)) & 0xff));
    }

private:
    struct Event {
        uint32_t tick;
        int order;  // controls first, then note-offs, then note-ons at the same tick
        int seq;
        std::vector<uint8_t> bytes;
    };
    std::vector<Event> events;
    int seq = 0;
};

// Off-beat eighths land two thirds into the beat instead of halfway.
uint32_t swing(uint32_t tick, bool on)
{
    if (!on) return tick;
    const uint32_t beat = tick / kTicksPerQuarter * kTicksPerQuarter;
    const uint32_t p = tick - beat;
    const uint32_t half = kTicksPerQuarter / 2, late = kTicksPerQuarter * 2 / 3;
    if (p <= half) return beat + p * late / half;
    return beat + late + (p - half) * (kTicksPerQuarter - late) / half;
}

struct Renderer {
    const Tune& tune;
    TrackBuilder melody, melody2, comp, pad, bass, drums;

    void place(TrackBuilder& track, int ch, uint32_t barTick, int step, int length, double gate,
               int pitch, int velocity)
    {
        const uint32_t on = swing(barTick + uint32_t(step * kTicksPerStep), tune.swing);
        const uint32_t rawOff = barTick + uint32_t((step + length) * kTicksPerStep);
        const uint32_t off = swing(rawOff, tune.swing);
        uint32_t sounding = uint32_t((off - on) * gate);
        sounding = std::max<uint32_t>(sounding, std::min<uint32_t>(off - on, 30));
        track.note(on, sounding, ch, pitch, velocity);
    }

    void melodyPart(const Section& section, const std::string& bar, uint32_t barTick,
                    const std::string& where)
    {
        for (const Note& n : melodyBar(bar, where)) {
            if (n.pitch < 0) continue;
            const int pitch = n.pitch + tune.transpose;
            place(melody, MelodyCh, barTick, n.step, n.length, tune.melody.gate,
                  pitch + tune.melody.shift, tune.melody.velocity + accent(n.step));
            if (section.doubled && tune.melody2.program >= 0)
                place(melody2, Melody2Ch, barTick, n.step, n.length, tune.melody2.gate,
                      pitch + tune.melody2.shift, tune.melody2.velocity + accent(n.step));
        }
    }

    void bassPart(const std::string& pattern, const std::vector<Chord>& chords,
                  const std::vector<Chord>& nextBar, uint32_t barTick, const std::string& where)
    {
        int step = 0;
        for (auto [symbol, length] : tokens(pattern, where)) {
            const Chord& chord = chords[size_t(step)];
            // Whatever the pattern says, a new chord is met with its bass note.
            if (step > 0 && !(chord == chords[size_t(step - 1)]) && symbol != "r") symbol = "R";
            const int low = tune.bass.centre;
            const int r = above((chord.bass + tune.transpose) % 12 + 12, low, true);
            const int root = (chord.root + tune.transpose + 120) % 12;
            auto interval = [&](int degree) {
                for (int iv : chord.intervals)
                    if ((degree == 3 && (iv == 3 || iv == 4 || iv == 5)) ||
                        (degree == 5 && (iv == 6 || iv == 7)) ||
                        (degree == 7 && (iv == 9 || iv == 10 || iv == 11)))
                        return iv;
                return degree == 7 ? 12 : 7;
            };
            int pitch = -1;
            if (symbol == "R") pitch = r;
            else if (symbol == "8") pitch = r + 12;
            else if (symbol == "3" || symbol == "5" || symbol == "7")
                pitch = above((root + interval(symbol[0] - '0')) % 12, r, false);
            else if (symbol == "~") {
                const int end = step + length;
                const Chord& next = end < kStepsPerBar ? chords[size_t(end)] : nextBar.front();
                if (next == chord)
                    pitch = above((root + 7) % 12, r, false);
                else
                    pitch = above((next.bass + tune.transpose + 120) % 12, low, true) - 1;
            } else if (symbol != "r")
                fail(where, "unknown bass step '" + symbol + "'");
            if (pitch >= 0)
                place(bass, BassCh, barTick, step, length, tune.bass.gate, pitch + tune.bass.shift,
                      tune.bass.velocity + accent(step));
            step += length;
        }
    }

    // The notes one step of a chord pattern plays over the given chord.
    std::vector<int> chordNotes(const std::string& symbol, Chord chord, const Part& part,
                                const std::string& where) const
    {
        chord.root = (chord.root + tune.transpose + 120) % 12;
        if (symbol == "C") return voicing(chord, part.centre);
        if (symbol == "P") {
            const int r = above(chord.root, part.centre, true);
            return {r, r + 7, r + 12};
        }
        if (symbol.size() == 1 && symbol[0] >= '1' && symbol[0] <= '4') {
            const auto v = voicing(chord, part.centre);
            const size_t k = size_t(symbol[0] - '1');
            return {v[k % v.size()] + 12 * int(k / v.size())};
        }
        if (symbol != "r") fail(where, "unknown chord step '" + symbol + "'");
        return {};
    }

    void chordPart(TrackBuilder& track, int ch, const Part& part, const std::string& pattern,
                   const std::vector<Chord>& chords, uint32_t barTick, const std::string& where)
    {
        int start = 0;
        for (const auto& [symbol, total] : tokens(pattern, where)) {
            // A chord held across a change of harmony is struck again in the new one.
            int length = 0;
            for (int step = start; step < start + total; step += length) {
                length = 1;
                while (step + length < start + total &&
                       chords[size_t(step + length)] == chords[size_t(step)])
                    ++length;
                for (int pitch : chordNotes(symbol, chords[size_t(step)], part, where))
                    place(track, ch, barTick, step, length, part.gate, pitch + part.shift,
                          part.velocity + accent(step));
            }
            start += total;
        }
    }

    void drumPart(const DrumLanes& lanes, uint32_t barTick, const std::string& where)
    {
        for (const auto& [key, lane] : lanes) {
            if (lane.size() != size_t(kStepsPerBar))
                fail(where, "a drum lane needs 16 steps: '" + lane + "'");
            for (int s = 0; s < kStepsPerBar; ++s) {
                int velocity = 0;
                switch (lane[size_t(s)]) {
                case 'X': velocity = 118; break;
                case 'x': velocity = 96; break;
                case 'o': velocity = 70; break;
                case 'g': velocity = 45; break;
                case '.': break;
                default: fail(where, std::string("unknown drum step '") + lane[size_t(s)] + "'");
                }
                if (velocity)
                    place(drums, kDrumChannel, barTick, s, 1, 0.9, key, velocity);
            }
        }
    }

    void setUp(TrackBuilder& track, const std::string& name, int ch, const Part& part)
    {
        track.text(0, 0x03, name);
        if (ch != kDrumChannel) track.program(0, ch, part.program);
        track.control(0, ch, 7, part.volume);
        track.control(0, ch, 10, part.pan);
        track.control(0, ch, 91, part.reverb);
        track.control(0, ch, 93, part.chorus);
    }

    std::vector<uint8_t> render()
    {
        TrackBuilder conductor;
        conductor.text(0, 0x03, tune.title);
        conductor.meta(0, 0x58, {4, 2, 24, 8});
        conductor.meta(0, 0x59, {uint8_t(int8_t(tune.keySharps)), uint8_t(tune.minor ? 1 : 0)});
        const uint32_t microseconds = uint32_t(60000000.0 / tune.bpm + 0.5);
        conductor.meta(0, 0x51, {uint8_t(microseconds >> 16), uint8_t(microseconds >> 8),
                                 uint8_t(microseconds)});

        setUp(melody, "Melody", MelodyCh, tune.melody);
        if (tune.melody2.program >= 0) setUp(melody2, "Melody 2", Melody2Ch, tune.melody2);
        if (tune.comp.program >= 0) setUp(comp, "Chords", CompCh, tune.comp);
        if (tune.pad.program >= 0) setUp(pad, "Pad", PadCh, tune.pad);
        setUp(bass, "Bass", BassCh, tune.bass);
        Part kit;
        kit.volume = tune.drumVolume;
        kit.reverb = 30;
        setUp(drums, "Drums", kDrumChannel, kit);

        // Every bar's chords, first, so a bass step can lean towards the next bar.
        std::vector<std::vector<Chord>> allChords;
        for (const Section& section : tune.sections) {
            const auto bars = split(section.chords, '|');
            for (size_t b = 0; b < bars.size(); ++b)
                allChords.push_back(chordBar(bars[b], tune.file + " " + section.name + " bar " +
                                                          std::to_string(b + 1)));
        }

        uint32_t barTick = 0;
        size_t barIndex = 0;
        for (const Section& section : tune.sections) {
            const auto chordBars = split(section.chords, '|');
            const auto melodyBars = split(section.melody, '|');
            if (!section.melody.empty() && melodyBars.size() != chordBars.size())
                fail(tune.file + " " + section.name,
                     "melody has " + std::to_string(melodyBars.size()) + " bars, chords " +
                         std::to_string(chordBars.size()));
            conductor.text(barTick, 0x06, section.name);
            for (size_t b = 0; b < chordBars.size(); ++b, ++barIndex, barTick += kTicksPerBar) {
                const std::string where =
                    tune.file + " " + section.name + " bar " + std::to_string(b + 1);
                const auto& chords = allChords[barIndex];
                const auto& next = allChords[(barIndex + 1) % allChords.size()];
                if (!section.melody.empty()) melodyPart(section, melodyBars[b], barTick, where);
                if (!section.bass.empty()) bassPart(section.bass, chords, next, barTick, where);
                if (!section.comp.empty() && tune.comp.program >= 0)
                    chordPart(comp, CompCh, tune.comp, section.comp, chords, barTick, where);
                if (!section.pad.empty() && tune.pad.program >= 0)
                    chordPart(pad, PadCh, tune.pad, section.pad, chords, barTick, where);
                const bool last = b + 1 == chordBars.size();
                drumPart(last && !section.fill.empty() ? section.fill : section.groove, barTick, where);
                if (b == 0 && section.crash) drums.note(barTick, 60, kDrumChannel, Crash, 110);
            }
        }
        const uint32_t end = barTick;

        std::vector<std::vector<uint8_t>> chunks;
        chunks.push_back(conductor.chunk(end));
        for (TrackBuilder* t : {&melody, &melody2, &comp, &pad, &bass, &drums})
            if (t->hasNotes()) chunks.push_back(t->chunk(end));

        std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
        TrackBuilder::appendBigEndian(file, uint32_t(chunks.size()), 2);
        TrackBuilder::appendBigEndian(file, kTicksPerQuarter, 2);
        for (const auto& c : chunks) file.insert(file.end(), c.begin(), c.end());
        return file;
    }
};

}  // namespace

std::vector<uint8_t> renderMidi(const Tune& tune)
{
    Renderer renderer{tune, {}, {}, {}, {}, {}, {}};
    return renderer.render();
}

double tuneSeconds(const Tune& tune)
{
    size_t bars = 0;
    for (const Section& s : tune.sections) bars += split(s.chords, '|').size();
    return double(bars) * 4 * 60.0 / tune.bpm;
}

}  // namespace soundgen
