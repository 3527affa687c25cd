// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A small score notation and its rendering to Standard MIDI Files.
//
// A tune is a row of sections; a section is a number of 4/4 bars. Bars are separated by '|'.
//   chords:  one to four chord symbols per bar, sharing it evenly: "C | Am | Dm7 G7 | C/E F"
//   melody:  notes "E5:2" (name, octave, length in sixteenths; C4 is middle C) and rests "r:4";
//            each bar must add up to 16
//   bass:    one bar of steps repeated every bar: R the chord's bass note, 3 5 7 its third,
//            fifth and seventh above it, 8 the octave, ~ a semitone under the next chord's bass,
//            r a rest; "R:3 R:1 5:2 ..."
//   comp:    one bar: C the chord, P a power chord (root, fifth, octave), 1..4 one note of the
//            chord counted from below, r a rest
//   drums:   lanes of 16 steps per bar, one lane per drum: 'X' accent, 'x' hit, 'o' soft,
//            'g' ghost, '.' nothing
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace soundgen {

// General MIDI drum keys.
enum Drum : int {
    Kick = 36, SideStick = 37, Snare = 38, Clap = 39, FloorTom = 43, ClosedHat = 42,
    PedalHat = 44, LowTom = 45, OpenHat = 46, MidTom = 47, HighTom = 50, Crash = 49,
    Ride = 51, RideBell = 53, Tambourine = 54, Cowbell = 56,
};

using DrumLanes = std::vector<std::pair<int, std::string>>;

struct Part {
    int program = -1;    // General MIDI program 0..127; -1: the tune has no such part
    int volume = 100;    // controller 7
    int pan = 64;        // controller 10
    int reverb = 40;     // controller 91
    int chorus = 0;      // controller 93
    int shift = 0;       // semitones added to every note (melody octave, etc.)
    int centre = 62;     // chords are voiced around this key; a bass's lowest root
    double gate = 0.9;   // how much of its length a note sounds
    int velocity = 96;   // before accents
};

struct Section {
    std::string name;
    std::string chords;
    std::string melody;  // empty: the melody rests
    std::string bass;
    std::string comp;
    std::string pad;
    DrumLanes groove;
    DrumLanes fill;      // replaces the groove in the section's last bar
    bool crash = true;   // a cymbal on the first beat
    bool doubled = false;  // the second melody voice joins in
};

struct Tune {
    std::string file;
    std::string title;
    int bpm = 120;
    int transpose = 0;     // semitones, applied to everything but the drums
    int keySharps = 0;     // key signature of the sounding key: sharps > 0, flats < 0
    bool minor = false;
    bool swing = false;    // off-beat eighths played late, in triplet feel
    Part melody, melody2, comp, pad, bass;
    int drumVolume = 100;
    std::vector<Section> sections;
};

// The tune as a format-1 Standard MIDI File. Throws std::runtime_error on a fault in the score
// (a bar that does not add up, an unknown chord), naming where it is.
std::vector<uint8_t> renderMidi(const Tune& tune);

// The tune's length in seconds, up to where it starts again.
double tuneSeconds(const Tune& tune);

}  // namespace soundgen
