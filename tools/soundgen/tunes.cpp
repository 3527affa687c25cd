// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tunes.h"

namespace soundgen {

namespace {

Part part(int program, int volume, int pan, int centre, double gate, int velocity, int shift = 0,
          int reverb = 40, int chorus = 0)
{
    Part p;
    p.program = program;
    p.volume = volume;
    p.pan = pan;
    p.centre = centre;
    p.gate = gate;
    p.velocity = velocity;
    p.shift = shift;
    p.reverb = reverb;
    p.chorus = chorus;
    return p;
}

// Each tune has a form of its own and ends on a bar that leads back into its first: the game
// starts a tune again from the top as soon as it ends.

// BGM1, story stage 1: off to meet a friend on a sunny morning. Bright pop in D major, 152 beats
// a minute: a hook, a verse, a climb, a four-on-the-floor chorus and a tag back into the hook.
// 32 bars.
Tune bgm1()
{
    Tune t;
    t.file = "BGM1.mid";
    t.title = "Sunny Side Street";
    t.bpm = 152;
    t.transpose = 2;  // written in C, sounds in D
    t.keySharps = 2;
    t.melody = part(80, 88, 64, 0, 0.85, 100, 0, 50, 20);  // square lead
    t.melody2 = part(11, 80, 84, 0, 0.9, 82);             // vibraphone in the hook and chorus
    t.comp = part(0, 84, 48, 64, 0.55, 80);               // piano
    t.pad = part(48, 66, 80, 62, 0.98, 70);               // strings
    t.bass = part(33, 100, 64, 31, 0.8, 100, 0, 10);      // finger bass

    const std::string bass = "R:3 R:1 R:2 5:2 8:2 R:2 5:2 ~:2";
    const std::string octaves = "R:2 8:2 R:2 8:2 R:2 8:2 R:2 8:2";
    const std::string comp = "C:3 C:3 C:4 r:2 C:2 r:2";
    const std::string offbeats = "r:2 C:2 r:2 C:2 r:2 C:2 r:2 C:2";
    const DrumLanes groove = {
        {Kick, "x.....x.x.....x."},
        {Snare, "....x.......x..."},
        {ClosedHat, "x.x.x.x.x.x.x..."},
        {OpenHat, "..............x."},
    };
    const DrumLanes fill = {
        {Kick, "x.....x.x......."},
        {Snare, "....x...xx......"},
        {HighTom, "..........xx...."},
        {MidTom, "............xx.."},
        {LowTom, "..............xX"},
        {ClosedHat, "x.x.x.x........."},
    };
    const DrumLanes climb = {
        {Kick, "x.....x.x.....x."},
        {Snare, "....x.......x..."},
        {Tambourine, "x.x.x.x.x.x.x.x."},
        {Ride, "x...x...x...x..."},
    };
    const DrumLanes disco = {
        {Kick, "x...x...x...x..."},
        {Snare, "....x.......x..."},
        {Clap, "....x.......x..."},
        {ClosedHat, "x...x...x...x..."},
        {OpenHat, "..x...x...x...x."},
    };

    t.sections = {
        {"Hook", "C | F | C | G7",
         "C6:2 G5:2 E5:2 G5:2 C6:2 G5:2 E6:2 D6:2 | C6:2 A5:2 F5:2 A5:2 C6:2 A5:2 F6:2 E6:2 |"
         "C6:2 G5:2 E5:2 G5:2 C6:2 G5:2 E6:2 G6:2 | F6:3 E6:3 D6:2 B5:2 G5:2 A5:2 B5:2",
         bass, comp, "", groove, fill, true, true},
        {"Verse", "C | Am | F | G | C | Am | Dm7 G7 | C",
         "E5:2 G5:2 C6:3 C6:1 E6:2 D6:2 C6:4 | A5:3 G5:1 E5:2 C5:2 E5:2 G5:2 r:4 |"
         "F5:2 A5:2 C6:2 A5:2 C6:2 A5:2 F5:2 E5:2 | G5:6 D5:2 G5:4 r:4 |"
         "E5:2 G5:2 C6:3 C6:1 E6:2 D6:2 C6:4 | A5:2 C6:2 E6:4 E6:2 D6:2 C6:4 |"
         "F5:2 A5:2 D6:2 C6:2 B5:2 G5:2 F5:2 D5:2 | C6:4 G5:2 E5:2 C5:4 r:4",
         bass, comp, "", groove, fill},
        {"Climb", "F | G | Em7 | Am | Dm7 | Em7 | F | G7",
         "r:2 A5:2 A5:2 C6:3 A5:3 F5:2 G5:2 | G5:6 B5:2 D6:4 B5:4 |"
         "r:2 G5:2 G5:2 B5:3 G5:3 E5:2 D5:2 | E5:6 A5:2 C6:8 |"
         "D6:3 C6:3 A5:2 F5:3 A5:3 C6:2 | B5:3 A5:3 G5:2 E5:3 G5:3 B5:2 |"
         "C6:3 A5:3 F5:2 A5:2 C6:2 F6:4 | F6:2 D6:2 B5:2 G5:2 F5:4 D5:4",
         "R:4 R:2 5:2 R:4 8:2 5:2", "C:4 C:4 C:4 C:4", "C:16", climb, fill},
        {"Chorus", "C | G | Am | Em | F | C | Dm7 G7 | C",
         "E6:4 D6:2 C6:2 D6:4 E6:4 | D6:4 B5:2 G5:2 B5:4 D6:4 | C6:4 B5:2 A5:2 B5:2 C6:2 E6:4 |"
         "B5:8 G5:4 r:4 | A5:2 C6:2 F6:4 F6:2 E6:2 D6:4 | E6:2 G6:2 E6:4 C6:2 D6:2 E6:4 |"
         "F6:3 E6:3 D6:2 B5:3 C6:3 D6:2 | C6:8 r:4 G5:2 A5:2",
         octaves, offbeats, "C:8 C:8", disco, fill, true, true},
        {"Tag", "F | G | Em7 A7 | Dm7 G7",
         "A5:2 C6:2 F6:2 E6:2 F6:4 A5:4 | B5:2 D6:2 G6:2 F6:2 G6:4 B5:4 | G6:4 E6:4 C#6:4 A5:4 |"
         "D6:2 F6:2 A5:2 D6:2 B5:2 D6:2 G5:2 B5:2",
         bass, comp, "", groove, fill},
    };
    return t;
}

// BGM2, story stage 2: he overslept and is late. Hurried and tense, in A minor, 180 beats a
// minute: a galloping bass alone, the tune, its middle, the tune again over tremolo strings, a
// half-time hold and a snare build back into the gallop. 36 bars.
Tune bgm2()
{
    Tune t;
    t.file = "BGM2.mid";
    t.title = "Late Again";
    t.bpm = 180;
    t.keySharps = 0;
    t.minor = true;
    t.melody = part(81, 84, 64, 0, 0.8, 100, 0, 40, 10);  // sawtooth lead
    t.melody2 = part(84, 66, 40, 0, 0.8, 88, -12);        // charang, an octave under it
    t.comp = part(61, 80, 44, 64, 0.6, 88);               // brass section stabs
    t.pad = part(44, 64, 84, 62, 0.98, 72);               // tremolo strings
    // The synth bass's roots stay above E2 but for the home key's A: below that its
    // fundamentals would rumble under the whole tune.
    t.bass = part(38, 100, 64, 36, 0.7, 100, 0, 10);        // synth bass

    const std::string gallop = "R:2 R:1 R:1 R:2 R:1 R:1 R:2 R:1 R:1 8:2 R:2";
    const std::string bass = "R:2 R:2 R:2 R:2 R:2 R:2 8:2 R:2";
    const std::string stabs = "C:2 r:1 C:1 r:4 C:2 r:2 C:2 r:2";
    const DrumLanes tick = {
        {Kick, "x.......x......."},
        {SideStick, "....x.......x..."},
        {ClosedHat, "x.g.x.g.x.g.x.g."},
    };
    const DrumLanes groove = {
        {Kick, "x...x...x...x..."},
        {Snare, "....x.......x..."},
        {ClosedHat, "xgxgxgxgxgxgxgxg"},
    };
    const DrumLanes roll = {
        {Kick, "x...x...x...x..."},
        {Snare, "....x.......xxxx"},
        {ClosedHat, "xgxgxgxgxgxg...."},
    };
    const DrumLanes rush = {
        {Kick, "x.x.x...x.x.x..."},
        {Snare, "....x.......x..."},
        {Ride, "x.x.x.x.x.x.x.x."},
        {Tambourine, "....x.......x..."},
    };
    const DrumLanes halfTime = {
        {Kick, "x.........x....."},
        {Snare, "........X......."},
        {Ride, "x...x...x...x..."},
    };
    const DrumLanes build = {
        {Kick, "x...x...x...x..."},
        {Snare, "x.o.x.o.x.o.x.o."},
    };
    const DrumLanes buildUp = {
        {Kick, "x...x...x...x..."},
        {Snare, "xoxoxoxoxxxxxxxX"},
    };

    const std::string a =
        "E5:2 E5:2 A5:2 E5:2 C6:2 B5:2 A5:2 E5:2 | F5:2 F5:2 A5:2 F5:2 C6:2 A5:2 F5:2 C5:2 |"
        "G5:2 D5:2 G5:2 B5:2 D6:3 C6:1 B5:2 G5:2 |"
        "G#5:4 B5:2 E6:2 D6:1 C6:1 B5:1 A5:1 G#5:2 E5:2 |"
        "A5:2 E5:2 A5:2 C6:2 E6:2 C6:2 A5:2 E5:2 |"
        "F5:2 C6:2 A5:2 F6:2 C6:1 D6:1 C6:1 A5:1 C6:2 A5:2 |"
        "D6:2 A5:2 F5:2 D5:2 E5:2 G#5:2 B5:2 D6:2 |";
    const std::string aChords = "Am | F | G | E | Am | F | Dm E | Am";

    t.sections = {
        {"Gallop", "Am | Am | F | E",
         "r:16 | r:16 | r:16 | r:8 E5:1 D#5:1 E5:1 F5:1 E5:1 D#5:1 E5:1 D5:1", gallop, "", "", tick,
         roll},
        {"A", aChords, a + "C6:1 B5:1 A5:2 E5:2 A4:2 r:8", bass, stabs, "", groove, roll},
        {"B", "Dm | G | C | Am | Dm | E | Am | E7",
         "A5:6 F5:2 D6:8 | D6:3 C6:3 B5:2 G5:8 | G5:6 E5:2 C6:8 | C6:3 B5:3 A5:2 E5:8 |"
         "F5:2 A5:2 D6:2 F6:2 A6:2 F6:2 D6:2 A5:2 |"
         "G#5:2 B5:2 E6:2 G#6:2 F6:1 E6:1 D6:1 C6:1 B5:2 G#5:2 |"
         "A5:2 C6:2 E6:2 A6:2 G6:1 F6:1 E6:1 D6:1 C6:2 B5:2 |"
         "B5:1 A5:1 G#5:1 F#5:1 E5:2 B4:2 E5:2 G#5:2 B5:2 G#5:2",
         bass, "C:4 C:4 C:4 C:4", "", rush, roll},
        {"A'", aChords, a + "C6:1 B5:1 A5:2 E5:2 A4:2 A5:4 r:4", gallop, stabs, "C:12 C:4", groove,
         roll, true, true},
        {"Hold", "Dm | Dm | E | E", "F5:16 | A5:16 | G#5:16 | B5:16", "R:16", "", "C:8 C:8",
         halfTime, {}},
        {"Build", "F | G | E | E7",
         "A5:4 C6:4 F6:4 A6:4 | G6:4 D6:4 B5:4 G5:4 | G#5:2 B5:2 E6:2 G#6:2 B6:4 G#6:4 |"
         "E6:1 F6:1 E6:1 D#6:1 E6:2 B5:2 G#5:2 E5:2 D5:2 B4:2",
         bass, "C:2 C:2 C:2 C:2 C:2 C:2 C:2 C:2", "", build, buildUp},
    };
    return t;
}

// BGM3, drive: open road, full throttle. Rock in E minor, 144 beats a minute: a guitar riff, a
// verse over chugging power chords, a chorus with organ, and a half-time bridge that climbs
// back into the riff. 28 bars.
Tune bgm3()
{
    Tune t;
    t.file = "BGM3.mid";
    t.title = "Open Road";
    t.bpm = 144;
    t.keySharps = 1;
    t.minor = true;
    // Two distorted guitars and a sawtooth all crowd the presence band: the lead and the chugs
    // stand back a little and the organ and the bass fill in, so the drive stays bright, not
    // shrill.
    t.melody = part(29, 82, 64, 0, 0.92, 90, -12, 45);    // overdriven guitar
    t.melody2 = part(81, 50, 84, 0, 0.85, 72, -12);       // sawtooth lead in unison
    t.comp = part(30, 54, 40, 40, 0.4, 76);               // distortion guitar, power chords
    t.pad = part(18, 76, 88, 64, 0.95, 78);               // rock organ
    t.bass = part(34, 106, 64, 28, 0.8, 104, 0, 10);      // picked bass

    const std::string bass = "R:2 R:2 R:2 R:2 R:2 R:2 5:2 R:2";
    const std::string chug = "P:2 P:2 P:2 P:2 P:2 P:2 P:2 P:2";
    const DrumLanes groove = {
        {Kick, "x.....x.x.x....."},
        {Snare, "....X.......X..."},
        {ClosedHat, "x.x.x.x.x.x.x.x."},
    };
    const DrumLanes ride = {
        {Kick, "x.....x.x.x....."},
        {Snare, "....X.......X..."},
        {Ride, "x.x.x.x.x.x.x.x."},
        {RideBell, "x...x...x...x..."},
    };
    const DrumLanes halfTime = {
        {Kick, "x.......x.x....."},
        {Snare, "........X......."},
        {Ride, "x.x.x.x.x.x.x.x."},
    };
    const DrumLanes fill = {
        {Kick, "x.....x.x......."},
        {Snare, "....X...xxxx...."},
        {HighTom, "............xx.."},
        {FloorTom, "..............xX"},
        {ClosedHat, "x.x.x.x........."},
    };

    t.sections = {
        {"Riff", "Em | Em | C D | Em",
         "E5:2 E5:1 E5:1 G5:2 E5:2 A5:2 E5:2 Bb5:1 A5:1 G5:2 |"
         "E5:2 E5:1 E5:1 G5:2 E5:2 A5:2 E5:2 Bb5:1 A5:1 G5:2 |"
         "C6:2 B5:2 G5:2 E5:2 D6:2 C6:2 A5:2 F#5:2 | E5:2 E5:1 E5:1 G5:2 E5:2 B5:4 A5:2 G5:2",
         bass, chug, "", groove, fill},
        {"Verse", "Em | C | D | Em | Em | C | D | B7",
         "E5:3 E5:3 D5:2 E5:3 G5:3 A5:2 | G5:3 G5:3 E5:2 G5:3 C6:3 B5:2 |"
         "A5:6 F#5:2 D5:4 F#5:2 A5:2 | B5:8 G5:4 E5:4 |"
         "E5:3 E5:3 D5:2 E5:3 G5:3 A5:2 | C6:3 C6:3 B5:2 G5:3 E5:3 G5:2 |"
         "A5:3 B5:3 A5:2 F#5:4 D5:4 | D#5:4 F#5:4 A5:4 B5:4",
         bass, chug, "", groove, fill},
        {"Chorus", "Am | C | D | Em | Am | C | D | B7",
         "E6:8 C6:4 A5:4 | G5:4 C6:4 E6:4 G6:4 | F#6:6 E6:2 D6:4 A5:4 | B5:12 r:4 |"
         "A5:2 C6:2 E6:2 A6:2 G6:4 E6:4 | G6:2 E6:2 C6:2 G5:2 E6:4 C6:4 |"
         "D6:2 F#6:2 A6:2 F#6:2 D6:2 C6:2 A5:2 F#5:2 | D#6:4 B5:4 F#5:4 D#5:4",
         bass, "P:4 P:4 P:4 P:2 P:2", "C:4 C:4 C:4 C:4", ride, fill, true, true},
        {"Bridge", "C | D | Bm | Em | C | D | B7 | B7",
         "G5:6 E5:2 G5:4 C6:4 | A5:6 F#5:2 A5:4 D6:4 | B5:4 D6:4 F#6:4 D6:4 | E6:12 r:4 |"
         "E6:4 G6:4 E6:4 C6:4 | D6:4 F#6:4 A6:4 F#6:4 | D#6:4 B5:4 F#5:4 A5:4 |"
         "B5:2 A5:2 F#5:2 D#5:2 B4:2 D#5:2 F#5:2 A5:2",
         "R:6 R:2 5:4 R:4", "P:8 P:8", "C:16", halfTime, fill, true, true},
    };
    return t;
}

// BGM4, drive: cruising along the coast at night. City-pop funk in D major, 116 beats a minute,
// laid back: a song form of four eight-bar verses, A A B A, the last A turning back into the
// first. 32 bars.
Tune bgm4()
{
    Tune t;
    t.file = "BGM4.mid";
    t.title = "Coastline Cruise";
    t.bpm = 116;
    t.transpose = 2;  // written in C, sounds in D
    t.keySharps = 2;
    t.melody = part(65, 96, 60, 0, 0.9, 100, -12, 60);   // alto sax
    t.melody2 = part(11, 74, 88, 0, 0.9, 80);            // vibraphone, an octave above
    t.comp = part(4, 86, 44, 62, 0.5, 84, 0, 40, 40);    // electric piano
    t.pad = part(89, 64, 80, 62, 0.98, 72);              // warm pad
    t.bass = part(36, 98, 64, 28, 0.6, 104, 0, 10);      // slap bass

    const std::string bass = "R:3 R:1 r:2 8:2 r:2 R:2 5:1 8:1 ~:2";
    const std::string comp = "r:2 C:2 r:5 C:3 r:2 C:2";
    const DrumLanes groove = {
        {Kick, "x..x......x...x."},
        {Snare, "....x..g.g..x..g"},
        {ClosedHat, "xoxoxoxoxoxoxo.o"},
        {OpenHat, "..............x."},
    };
    const DrumLanes claps = {
        {Kick, "x..x......x...x."},
        {Snare, "....x..g.g..x..g"},
        {Clap, "....x.......x..."},
        {ClosedHat, "xoxoxoxoxoxoxo.o"},
        {OpenHat, "..............x."},
        {Tambourine, "x.x.x.x.x.x.x.x."},
    };
    const DrumLanes fill = {
        {Kick, "x..x......x....."},
        {Snare, "....x..g....xxxx"},
        {ClosedHat, "xoxoxoxoxoxo...."},
    };

    const std::string a =
        "r:2 A5:2 C6:2 E6:3 D6:1 C6:2 A5:2 G5:2 | B5:3 A5:1 G5:4 r:2 D5:2 F5:2 G5:2 |"
        "r:2 G5:2 B5:2 D6:3 C6:1 B5:2 G5:2 E5:2 | A5:6 G5:2 E5:8 |"
        "r:2 F5:2 A5:2 C6:3 D6:1 E6:2 D6:2 C6:2 | D6:3 B5:3 G5:2 B5:3 D6:3 E6:2 |"
        "F6:3 E6:3 C6:2 A5:4 C6:2 E6:2 |";
    const std::string aChords = "Fmaj7 | G7 | Em7 | Am7 | Dm7 | Em7 | Fmaj7 | G7sus4";

    t.sections = {
        {"A", aChords, a + "D6:8 C6:2 D6:2 r:4", bass, comp, "", groove, fill},
        {"A2", aChords, a + "D6:3 C6:3 A5:2 G5:8", bass, comp, "C:6 C:10", groove, fill, true, true},
        {"B", "Dm7 | G7 | Cmaj7 | Am7 | Dm7 | G7 | E7 | Am7",
         "A5:2 C6:2 r:2 A5:2 C6:2 D6:2 r:2 F6:2 | F6:2 D6:2 B5:2 G5:2 F5:4 G5:4 |"
         "E5:2 G5:2 r:2 E5:2 G5:2 B5:2 r:2 E6:2 | E6:2 C6:2 A5:2 G5:2 E5:8 |"
         "F5:2 A5:2 C6:2 E6:2 F6:3 E6:3 D6:2 | D6:3 B5:3 G5:2 F5:3 D5:3 B4:2 |"
         "G#5:4 B5:4 D6:4 E6:2 D6:2 | C6:6 B5:2 A5:8",
         bass, comp, "C:16", claps, fill},
        {"A3", aChords, a + "D6:3 C6:3 A5:2 G5:4 D5:2 F5:2", bass, comp, "C:6 C:10", groove, fill},
    };
    return t;
}

// BGM5, the meeting: he made it, and his friend is glad to see him. A celebration: a brass
// fanfare, then a shuffle march in F major, 132 beats a minute, with trumpet and honky-tonk
// piano, its trio in the subdominant, and four bars of stop-time claps that call the fanfare
// back. 30 bars.
Tune bgm5()
{
    Tune t;
    t.file = "BGM5.mid";
    t.title = "Made It!";
    t.bpm = 132;
    t.transpose = -7;  // written in C, sounds in F
    t.keySharps = -1;
    t.swing = true;
    t.melody = part(56, 100, 64, 0, 0.8, 104, 0, 45);    // trumpet
    t.melody2 = part(9, 70, 84, 0, 0.9, 84, 12);         // glockenspiel, an octave above
    t.comp = part(3, 80, 44, 62, 0.5, 84);               // honky-tonk piano
    t.pad = part(61, 76, 80, 62, 0.85, 96);              // brass section hits
    t.bass = part(32, 100, 64, 33, 0.7, 100, 0, 20);     // acoustic bass
    t.drumVolume = 90;

    const std::string oompah = "R:4 5:4 R:4 5:4";
    const std::string walk = "R:4 3:4 5:4 ~:4";
    const std::string offbeats = "r:2 C:2 r:2 C:2 r:2 C:2 r:2 C:2";
    const DrumLanes fanfare = {
        {Kick, "x...x...x...x..."},
        {Snare, "X.x.x.x.X.x.x.x."},
    };
    const DrumLanes fanfareRoll = {
        {Kick, "x.......x......."},
        {Snare, "X.x.x.x........."},
        {HighTom, "........x.x....."},
        {FloorTom, "............x.X."},
    };
    const DrumLanes march = {
        {Kick, "x.......x......."},
        {Snare, "....x.......x..."},
        {ClosedHat, "x.x.x.x.x.x.x.x."},
        {Tambourine, "..x...x...x...x."},
    };
    const DrumLanes party = {
        {Kick, "x.......x......."},
        {Snare, "....x.......x..."},
        {Clap, "....x.......x..."},
        {ClosedHat, "x.x.x.x.x.x.x.x."},
        {Tambourine, "x.x.x.x.x.x.x.x."},
    };
    const DrumLanes fill = {
        {Kick, "x.......x......."},
        {Snare, "....x...x.x.x.X."},
        {ClosedHat, "x.x.x.x........."},
    };
    const DrumLanes trio = {
        {Kick, "x.......x......."},
        {SideStick, "....x.......x..."},
        {Ride, "x.x.x.x.x.x.x.x."},
    };
    const DrumLanes stomp = {
        {Kick, "x.......x......."},
        {Clap, "....X.......X..."},
        {Tambourine, "x.x.x.x.x.x.x.x."},
    };

    const std::string a =
        "E5:2 G5:2 C6:4 B5:2 C6:2 E6:4 | D6:2 C6:2 A5:2 G5:2 E5:4 G5:4 |"
        "A5:2 C6:2 F6:4 E6:2 D6:2 C6:4 | G5:6 E5:2 G5:8 |"
        "F#5:2 A5:2 D6:4 C6:2 A5:2 F#5:4 | G5:2 B5:2 D6:4 F6:4 D6:4 |";

    t.sections = {
        {"Fanfare", "C | G7", "G4:2 C5:2 E5:2 G5:6 E5:2 G5:2 | D6:8 B5:2 G5:2 F5:2 D5:2",
         "R:4 R:4 R:4 R:4", "", "C:3 C:3 C:2 C:8", fanfare, fanfareRoll},
        {"A", "C | C | F | C | D7 | G7 | C A7 | Dm7 G7",
         a + "E6:4 C6:4 C#6:4 A5:4 | D6:2 F6:2 A5:2 D6:2 B5:2 D6:2 G6:4", oompah, offbeats, "",
         march, fill},
        {"A2", "C | C | F | C | D7 | G7 | C | C7",
         a + "E6:4 C6:4 G5:4 E5:4 | G5:2 C6:2 E6:2 G6:2 Bb6:4 G6:4", walk, offbeats,
         "C:3 C:3 C:2 r:8", party, fill, true, true},
        {"Trio", "F | Bb | F | Dm7 | F | Bb | Em7 A7 | Dm7 G7",
         "A5:6 G5:2 F5:4 A5:4 | D6:6 C6:2 Bb5:4 F5:4 | C6:6 A5:2 F5:4 C6:4 | D6:8 A5:4 F5:4 |"
         "A5:6 G5:2 F5:4 A5:4 | D6:6 C6:2 Bb5:4 D6:4 | E6:4 D6:2 C6:2 C#6:4 A5:4 |"
         "D6:4 F6:4 G6:4 F6:2 D6:2",
         oompah, "C:4 C:4 C:4 C:4", "C:16", trio, fill, true, true},
        {"Stomp", "C | F | C | G7",
         "C6:2 C6:2 r:2 C6:2 r:2 C6:2 D6:2 E6:2 | F6:2 F6:2 r:2 F6:2 r:2 E6:2 D6:2 C6:2 |"
         "E6:2 E6:2 r:2 E6:2 r:2 G6:2 E6:2 C6:2 | D6:4 B5:4 G5:2 A5:2 B5:2 D6:2",
         "R:2 r:14", "C:2 r:14", "", stomp, fanfareRoll},
    };
    return t;
}

}  // namespace

std::vector<Tune> makeTunes() { return {bgm1(), bgm2(), bgm3(), bgm4(), bgm5()}; }

}  // namespace soundgen
