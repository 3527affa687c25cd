// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The folder that holds the program; the sound folder lies beside the program in the build
// tree and in the installed tree alike.
#pragma once

#include <QString>

// Without a trailing slash, e.g. "/usr/lib/tavolnik".
QString ProgramFolder();
// Tests point the game at another folder; an empty string goes back to the real one.
void SetProgramFolderOverride(const QString& folder);
