// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The ways a race is played: the story's stages and the drive. Each row holds everything that
// makes one: what the panel calls it, the clock and the distance it starts with, its tunes, its
// opening message, the scene that closes a cleared stage, how often the traffic comes, the
// ranking table its result enters and the stage that follows. The race start, the clock, the
// traffic, the stage clear, the game over and the ranking all read it here, so a stage is told
// in one place: the ranking window has a STAGE button and the rankings file a table for every
// story stage in it. Its texts are the Japanese originals; StageText gives them in the language
// shown, where they are shown.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "screens/faces.h"

// The kinds of ranking table: story clear times and drive distances.
enum RankKind : int16_t { RankStory = 1, RankDrive = 2 };
// The stage slots of a kind: one for each story stage; the drive uses the first only.
enum RankSlot : int16_t { SlotStage1 = 1, SlotStage2 = 2, SlotDrive = 1 };
// The entries each table keeps.
constexpr int RanksKept = 5;

// The steps in which the traffic enters, once a second: cars 1 to 6, then obstacles 1 to 4.
constexpr int TrafficSteps = 10;

// How often each entry step lets its car or obstacle onto an open road: 1 in chances[step].
// A phase holds from a distance on; a drive counts its distance up and takes the last phase it
// has reached, while the first holds from the start whatever the distance.
struct TrafficPhase {
    int32_t from;                               // the distance run it starts at
    std::array<int16_t, TrafficSteps> chances;  // every step's M, at least 1
};

// One message of a scene: its lines, whether the scene waits for the player after it, and the
// face the modern way shows beside it (the speaker of its first line, as he says it).
struct SceneMessage {
    QStringList lines;
    bool wait;
    int face = FaceGrin;
};

struct RaceMode {
    int16_t mode;            // the GameMode it is played in
    QString caption;         // what the panel's MODE box shows
    bool story;              // a story stage: its clock counts down and its distance is a goal
    int32_t timeLimit;       // the clock at the start, in seconds (0 in a drive: it counts up)
    int32_t distance;        // the distance to cover (0 in a drive: it counts up)
    QStringList tunes;       // the music, under the program folder; one is drawn when several
    QString clearTune;       // the music of the clear scene
    int openingPortrait;     // the hero's face while the opening message waits
    QStringList opening;     // the opening message
    QList<SceneMessage> clearScene;  // what the pair say once the stage is cleared
    int16_t rankKind;        // the ranking table of its result: a RankKind
    int16_t rankSlot;        // ... and its slot: a RankSlot
    int16_t next;            // the mode of the stage that follows a clear; -1 for the happy end
    int trafficLevel;        // 1, 2, 3: how widely the cars' own speeds are drawn
    QList<TrafficPhase> traffic;  // how often the cars and obstacles come, by distance run
};

// Every row: the story's stages in their order, and the drive.
const QList<RaceMode>& RaceModes();

// The row of a GameModeValue; the drive's for any other value.
const RaceMode& RaceModeOf(int16_t mode);

// The traffic's chance of 1 in M for each entry step at a distance of a race in this mode.
const std::array<int16_t, TrafficSteps>& TrafficChances(int16_t mode, int32_t distance);

// The ranking tables the rows enter, numbered from 1 as the rankings file names them: kinds 1
// to RankKinds(), and in each kind slots 1 to RankSlots(), as many as the kind whose rows take
// the most (the story, a slot for each stage). The drive's table keeps as many slots, of which
// its row enters the first; the file has always held them all.
int RankKinds();
int RankSlots();
// The slots the rows of a kind enter: one for each story stage, one for the drive.
int RankSlotsOf(int kind);

// A text of the table (a caption, a line of a message) in the language shown now.
QString StageText(const QString& text);
QStringList StageLines(const QStringList& lines);
