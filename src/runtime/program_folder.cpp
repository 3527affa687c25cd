// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "runtime/program_folder.h"

#include <QCoreApplication>

namespace {
QString overrideFolder;
}

QString ProgramFolder()
{
    if (!overrideFolder.isEmpty()) return overrideFolder;
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QStringLiteral(".");
}

void SetProgramFolderOverride(const QString& folder) { overrideFolder = folder; }
