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

// BGM1, story stage 1: off to meet a friend on a sunny morning. Bright pop in D major.
Tune bgm1()
{
    Tune t;
    t.file = "BGM1.mid";
    t.title = "Sunny Side Street";
    t.bpm = 152;
    t.transpose = 2;  // written in C, sounds in D
    t.keySharps = 2;
    t.melody = part(80, 88, 64, 0, 0.85, 100, 0, 50, 20);  // square lead
    t.melody2 = part(11, 80, 84, 0, 0.9, 82);             // vibraphone, doubling later on
    t.comp = part(0, 84, 48, 64, 0.55, 80);               // piano
    t.pad = part(48, 66, 80, 62, 0.98, 70);               // strings
    t.bass = part(33, 100, 64, 31, 0.8, 100, 0, 10);      // finger bass

    const std::string bass = "R:3 R:1 R:2 5:2 8:2 R:2 5:2 ~:2";
    const std::string comp = "C:3 C:3 C:4 r:2 C:2 r:2";
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
    const DrumLanes bridge = {
        {Kick, "x.....x.x.....x."},
        {Snare, "....x.......x..."},
        {Tambourine, "x.x.x.x.x.x.x.x."},
        {Ride, "x...x...x...x..."},
    };

    const std::string a =
        "E5:2 G5:2 C6:3 C6:1 E6:2 D6:2 C6:4 | A5:3 G5:1 E5:2 C5:2 E5:2 G5:2 r:4 |"
        "F5:2 A5:2 C6:2 A5:2 C6:2 A5:2 F5:2 E5:2 | G5:6 D5:2 G5:4 r:4 |"
        "E5:2 G5:2 C6:3 C6:1 E6:2 D6:2 C6:4 | A5:2 C6:2 E6:4 E6:2 D6:2 C6:4 |"
        "F5:2 A5:2 D6:2 C6:2 B5:2 G5:2 F5:2 D5:2 |";
    const std::string aChords = "C | Am | F | G | C | Am | Dm7 G7 | C";

    t.sections = {
        {"Intro", "C | G", "r:16 | r:8 G4:2 A4:2 B4:2 D5:2", bass, comp, "", groove, fill},
        {"A", aChords, a + "C6:4 G5:2 E5:2 C5:4 r:4", bass, comp, "", groove, fill},
        {"B", "F | G | Em7 | Am | Dm7 | Em7 | F | G7",
         "r:2 A5:2 A5:2 C6:3 A5:3 F5:2 G5:2 | G5:6 B5:2 D6:4 B5:4 |"
         "r:2 G5:2 G5:2 B5:3 G5:3 E5:2 D5:2 | E5:6 A5:2 C6:8 |"
         "D6:3 C6:3 A5:2 F5:3 A5:3 C6:2 | B5:3 A5:3 G5:2 E5:3 G5:3 B5:2 |"
         "C6:3 A5:3 F5:2 A5:2 C6:2 F6:4 | F6:2 D6:2 B5:2 G5:2 F5:4 D5:4",
         "R:4 R:2 5:2 R:4 8:2 5:2", "r:2 C:2 r:2 C:2 r:2 C:2 r:2 C:2", "C:16", bridge, fill},
        {"A'", aChords,
         "E5:2 G5:2 C6:3 C6:1 E6:2 D6:2 C6:4 | A5:3 G5:1 E5:2 C5:2 E5:2 G5:2 r:4 |"
         "F5:2 A5:2 C6:2 A5:2 C6:2 A5:2 F5:2 E5:2 | G5:6 D5:2 G5:4 r:4 |"
         "E5:2 G5:2 C6:3 C6:1 E6:2 D6:2 C6:4 | A5:2 C6:2 E6:4 G6:4 E6:4 |"
         "F5:2 A5:2 D6:2 C6:2 B5:2 G5:2 F5:2 D5:2 | C6:6 D6:2 E6:4 C6:4",
         bass, comp, "", groove, fill, true, true},
    };
    return t;
}

// BGM2, story stage 2: he overslept and is late. Hurried, in A minor.
Tune bgm2()
{
    Tune t;
    t.file = "BGM2.mid";
    t.title = "Late Again";
    t.bpm = 180;
    t.keySharps = 0;
    t.minor = true;
    t.melody = part(81, 84, 64, 0, 0.8, 100, 0, 40, 10);  // sawtooth lead
    t.comp = part(61, 80, 44, 64, 0.6, 88);               // brass section stabs
    t.pad = part(49, 62, 84, 62, 0.98, 70);               // slow strings
    t.bass = part(38, 100, 64, 33, 0.7, 100, 0, 10);      // synth bass

    const std::string bass = "R:2 R:2 R:2 R:2 R:2 R:2 8:2 R:2";
    const std::string stabs = "C:2 r:1 C:1 r:4 C:2 r:2 C:2 r:2";
    const DrumLanes tick = {
        {Kick, "x.......x......."},
        {SideStick, "....x.......x..."},
        {ClosedHat, "x.x.x.x.x.x.x.x."},
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

    const std::string a =
        "E5:2 E5:2 A5:2 E5:2 C6:2 B5:2 A5:2 E5:2 | F5:2 F5:2 A5:2 F5:2 C6:2 A5:2 F5:2 C5:2 |"
        "G5:2 D5:2 G5:2 B5:2 D6:3 C6:1 B5:2 G5:2 |"
        "G#5:4 B5:2 E6:2 D6:1 C6:1 B5:1 A5:1 G#5:2 E5:2 |"
        "A5:2 E5:2 A5:2 C6:2 E6:2 C6:2 A5:2 E5:2 |"
        "F5:2 C6:2 A5:2 F6:2 C6:1 D6:1 C6:1 A5:1 C6:2 A5:2 |"
        "D6:2 A5:2 F5:2 D5:2 E5:2 G#5:2 B5:2 D6:2 |";
    const std::string aChords = "Am | F | G | E | Am | F | Dm E | Am";

    t.sections = {
        {"Intro", "Am | E",
         "r:16 | r:8 E5:1 D#5:1 E5:1 F5:1 E5:1 D#5:1 E5:1 D5:1", bass, "", "", tick, roll},
        {"A", aChords, a + "C6:1 B5:1 A5:2 E5:2 A4:2 r:8", bass, stabs, "", groove, roll},
        {"B", "Dm | G | C | Am | Dm | E | Am | E7",
         "A5:6 F5:2 D6:8 | D6:3 C6:3 B5:2 G5:8 | G5:6 E5:2 C6:8 | C6:3 B5:3 A5:2 E5:8 |"
         "F5:2 A5:2 D6:2 F6:2 A6:2 F6:2 D6:2 A5:2 |"
         "G#5:2 B5:2 E6:2 G#6:2 F6:1 E6:1 D6:1 C6:1 B5:2 G#5:2 |"
         "A5:2 C6:2 E6:2 A6:2 G6:1 F6:1 E6:1 D6:1 C6:2 B5:2 |"
         "B5:1 A5:1 G#5:1 F#5:1 E5:2 B4:2 E5:2 G#5:2 B5:2 G#5:2",
         bass, "C:4 C:4 C:4 C:4", "C:16", rush, roll},
        {"A'", aChords, a + "C6:1 B5:1 A5:2 E5:2 A4:2 A5:4 r:4", bass, stabs, "", groove, roll},
    };
    return t;
}

// BGM3, drive: open road, full throttle. Rock in E minor.
Tune bgm3()
{
    Tune t;
    t.file = "BGM3.mid";
    t.title = "Open Road";
    t.bpm = 144;
    t.keySharps = 1;
    t.minor = true;
    t.melody = part(29, 96, 64, 0, 0.92, 104, -12, 45);   // overdriven guitar
    t.melody2 = part(81, 66, 84, 0, 0.85, 80, -12);       // sawtooth lead in unison
    t.comp = part(30, 76, 40, 40, 0.45, 86);              // distortion guitar, power chords
    t.pad = part(50, 70, 88, 64, 0.98, 70);               // synth strings
    t.bass = part(34, 100, 64, 28, 0.8, 102, 0, 10);      // picked bass

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
    const DrumLanes fill = {
        {Kick, "x.....x.x......."},
        {Snare, "....X...xxxx...."},
        {HighTom, "............xx.."},
        {FloorTom, "..............xX"},
        {ClosedHat, "x.x.x.x........."},
    };

    const std::string a =
        "E5:3 E5:3 D5:2 E5:3 G5:3 A5:2 | G5:3 G5:3 E5:2 G5:3 C6:3 B5:2 |"
        "A5:6 F#5:2 D5:4 F#5:2 A5:2 | B5:8 G5:4 E5:4 |"
        "E5:3 E5:3 D5:2 E5:3 G5:3 A5:2 | C6:3 C6:3 B5:2 G5:3 E5:3 G5:2 |"
        "A5:3 B5:3 A5:2 F#5:4 D5:4 |";
    const std::string aChords = "Em | C | D | Em | Em | C | D | B7";

    t.sections = {
        {"Intro", "Em | Em", "", bass, chug, "", groove, fill},
        {"A", aChords, a + "D#5:4 F#5:4 A5:4 B5:4", bass, chug, "", groove, fill},
        {"B", "Am | C | D | Em | Am | C | D | B7",
         "E6:8 C6:4 A5:4 | G5:4 C6:4 E6:4 G6:4 | F#6:6 E6:2 D6:4 A5:4 | B5:12 r:4 |"
         "A5:2 C6:2 E6:2 A6:2 G6:4 E6:4 | G6:2 E6:2 C6:2 G5:2 E6:4 C6:4 |"
         "D6:2 F#6:2 A6:2 F#6:2 D6:2 C6:2 A5:2 F#5:2 | D#6:4 B5:4 F#5:4 D#5:4",
         bass, "P:4 P:4 P:4 P:2 P:2", "C:16", ride, fill},
        {"A'", aChords, a + "F#5:2 A5:2 B5:2 D#6:2 F#6:4 D#6:4", bass, chug, "", groove, fill,
         true, true},
    };
    return t;
}

// BGM4, drive: cruising along the coast at night. City-pop funk in D major.
Tune bgm4()
{
    Tune t;
    t.file = "BGM4.mid";
    t.title = "Coastline Cruise";
    t.bpm = 120;
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
        {"Intro", "Fmaj7 | G7sus4", "", bass, comp, "", groove, fill},
        {"A", aChords, a + "D6:8 C6:2 D6:2 r:4", bass, comp, "", groove, fill},
        {"B", "Dm7 | G7 | Cmaj7 | Am7 | Dm7 | G7 | E7 | Am7",
         "A5:2 C6:2 r:2 A5:2 C6:2 D6:2 r:2 F6:2 | F6:2 D6:2 B5:2 G5:2 F5:4 G5:4 |"
         "E5:2 G5:2 r:2 E5:2 G5:2 B5:2 r:2 E6:2 | E6:2 C6:2 A5:2 G5:2 E5:8 |"
         "F5:2 A5:2 C6:2 E6:2 F6:3 E6:3 D6:2 | D6:3 B5:3 G5:2 F5:3 D5:3 B4:2 |"
         "G#5:4 B5:4 D6:4 E6:2 D6:2 | C6:6 B5:2 A5:8",
         bass, comp, "C:16", claps, fill},
        {"A'", aChords, a + "D6:3 C6:3 A5:2 G5:8", bass, comp, "", groove, fill, true, true},
    };
    return t;
}

// BGM5, the meeting: he made it, and his friend is glad to see him. Happy swing in G major.
Tune bgm5()
{
    Tune t;
    t.file = "BGM5.mid";
    t.title = "Made It!";
    t.bpm = 112;
    t.transpose = -5;  // written in C, sounds in G
    t.keySharps = 1;
    t.swing = true;
    t.melody = part(73, 100, 64, 0, 0.9, 100, 0, 50);   // flute
    t.melody2 = part(9, 72, 84, 0, 0.9, 84);            // glockenspiel
    t.comp = part(25, 84, 44, 62, 0.8, 82);             // steel-string guitar
    t.pad = part(48, 60, 80, 62, 0.98, 66);             // strings
    t.bass = part(32, 100, 64, 33, 0.85, 98, 0, 20);    // acoustic bass
    t.drumVolume = 86;

    const std::string walk = "R:4 3:4 5:4 ~:4";
    const std::string strum = "C:4 C:2 C:2 r:2 C:2 C:4";
    const DrumLanes groove = {
        {Kick, "x.......x......."},
        {SideStick, "....x.......x..."},
        {ClosedHat, "x.x.x.x.x.x.x.x."},
    };
    const DrumLanes bright = {
        {Kick, "x.......x......."},
        {Snare, "....o.......o..."},
        {ClosedHat, "x...x...x...x..."},
        {Tambourine, "o.x.o.x.o.x.o.x."},
    };
    const DrumLanes fill = {
        {Kick, "x.......x......."},
        {Snare, "....x...x.x.x.x."},
        {ClosedHat, "x.x.x.x........."},
    };

    const std::string a =
        "G5:2 E5:2 G5:2 C6:6 B5:2 C6:2 | E6:2 C6:2 Bb5:2 G5:2 E5:8 |"
        "F5:2 A5:2 C6:2 F6:6 E6:2 D6:2 | C6:6 Ab5:2 F5:8 |"
        "E5:2 G5:2 C6:2 E6:6 D6:2 C6:2 | C#6:4 A5:2 E5:2 G5:8 |"
        "F5:2 A5:2 D6:2 C6:2 B5:2 D6:2 G6:2 F6:2 |";
    const std::string aChords = "C | C7 | F | Fm | C | A7 | Dm7 G7 | C";

    t.sections = {
        {"Intro", "C | G7", "r:16 | r:8 C5:2 D5:2 E5:2 F5:2", walk, strum, "", groove, fill},
        {"A", aChords, a + "E6:6 D6:2 C6:8", walk, strum, "", groove, fill},
        {"B", "F | G | Em | Am | Dm7 | G | C/E F | G7",
         "A5:4 C6:4 F6:4 E6:2 D6:2 | D6:6 B5:2 G5:8 | G5:4 B5:4 E6:4 D6:2 C6:2 | C6:6 A5:2 E5:8 |"
         "F5:2 A5:2 C6:2 D6:2 F6:4 E6:2 D6:2 | D6:2 B5:2 G5:2 B5:2 D6:4 G6:4 |"
         "G6:4 E6:4 F6:2 A6:2 C6:4 | B5:2 C6:2 D6:2 F6:2 G6:4 F6:2 D6:2",
         walk, strum, "C:16", bright, fill, true, true},
        {"A'", aChords, a + "C6:4 G5:2 E5:2 C5:4 r:4", walk, strum, "", groove, fill, true, true},
    };
    return t;
}

}  // namespace

std::vector<Tune> makeTunes() { return {bgm1(), bgm2(), bgm3(), bgm4(), bgm5()}; }

}  // namespace soundgen
