// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A stand-in for the media backend that keeps every command and effect call in order, so the
// game's use of sound can be checked without a sound card. Answers are scripted: by default
// every command succeeds and "status ... mode" answers statusMode, or "paused" between a
// "pause" and the next command that ends it.
#pragma once

#include "audio/media.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

struct MediaCall {
    enum Kind { Send, Execute, Effect };
    Kind kind = Send;
    QString text;        // the command, or the effect's path
    uint32_t flags = 0;  // the effect's flags
};

class MediaRecorder final : public MediaBackend {
public:
    // Installs itself as the backend; the destructor puts the real one back.
    MediaRecorder();
    ~MediaRecorder() override;
    MediaRecorder(const MediaRecorder&) = delete;
    MediaRecorder& operator=(const MediaRecorder&) = delete;

    int32_t sendCommand(const QString& command, QString* reply, bool viaExecute) override;
    bool playSound(const QString& path, uint32_t flags) override;
    void setVolume(int musicPercent, int effectsPercent) override;

    // Every command that starts with prefix (ignoring case) fails with error from now on.
    void failOn(const QString& prefix, int32_t error);

    QStringList commands() const;           // the command strings, in order
    QList<MediaCall> effects() const;       // the effect calls, in order
    QList<MediaCall> calls;                 // commands and effects together, in order
    QString statusMode = QStringLiteral("playing");
    bool effectResult = true;
    bool paused = false;  // a "pause" was the last command that moved the music
    // The volumes set, in order: (music, effects) in percent.
    QList<QPair<int, int>> volumes;

private:
    struct Failure {
        QString prefix;
        int32_t error;
    };
    QList<Failure> failures;
};
