// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The command line, read before any window exists: --help and --version answer without a
// display, --scale has to be known before the application object sizes its windows, and a
// machine without a display is told so plainly.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <cstdint>

struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    bool hasSeed = false;
    uint64_t seed = 0;
    int scale = 0;          // 0: not given; else 1 to 4
    // The player's choices given (--language, --motion, ...): the [Options] key of each, with
    // the value as the file stores it.
    QMap<QString, QString> choices;
    QString error;          // one line, for Action::Error
    bool unknownOption = false;  // the error is an option the game does not know: show usage
    // The window system's own options (-platform NAME, -display NAME, ...), handed on to the
    // application object untouched, after the program name.
    QStringList toolkitArguments;
    QString platform;       // the value of -platform, when given
    bool displayGiven = false;  // -display NAME names the X server itself
    QString display;            // that NAME
};

// Reads the arguments after the program name.
CommandLine ParseCommandLine(const QStringList& arguments);

QString UsageText();
QString VersionText();  // "Tavolnik 1.0.0"

// Whether the chosen window-system platform needs a display that the environment does not
// name: the X11 (xcb) or Wayland platform, or the default, with neither DISPLAY nor
// WAYLAND_DISPLAY set.
bool DisplayMissing(const QString& platformOption);
