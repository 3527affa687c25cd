// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The ways a race is played: the story's stages and the drive. Each row holds everything that
// makes one: what the panel calls it, the clock and the distance it starts with, its tunes, its
// opening message, the scene that closes a cleared stage, the ranking table its result enters
// and the stage that follows. The race start, the clock, the traffic, the stage clear, the game
// over and the ranking all read it here, so a stage is told in one place. Its texts are the
// Japanese originals; StageText gives them in the language shown, where they are shown.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

// The kinds of ranking table: story clear times and drive distances.
enum RankKind : int16_t { RankStory = 1, RankDrive = 2 };
// The stage slots of a kind: one for each story stage; the drive uses the first only.
enum RankSlot : int16_t { SlotStage1 = 1, SlotStage2 = 2, SlotDrive = 1 };
// The entries each table keeps.
constexpr int RanksKept = 5;

// One message of a scene: its lines, and whether the scene waits for the player after it.
struct SceneMessage {
    QStringList lines;
    bool wait;
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
};

// The row of a GameModeValue; the drive's for any other value.
const RaceMode& RaceModeOf(int16_t mode);

// A text of the table (a caption, a line of a message) in the language shown now.
QString StageText(const QString& text);
QStringList StageLines(const QStringList& lines);
