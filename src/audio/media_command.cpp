// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/media_command.h"

#include <algorithm>

bool SplitCommand(const QString& command, QStringList& words)
{
    words.clear();
    int i = 0;
    const int n = command.size();
    while (i < n) {
        while (i < n && command.at(i).isSpace()) ++i;
        if (i >= n) break;
        if (command.at(i) == QLatin1Char('"')) {
            const int end = command.indexOf(QLatin1Char('"'), i + 1);
            if (end < 0) return false;
            words << command.mid(i + 1, end - i - 1);
            i = end + 1;
        } else {
            const int start = i;
            while (i < n && !command.at(i).isSpace()) ++i;
            words << command.mid(start, i - start);
        }
    }
    return true;
}

bool IsKeyword(const QString& word, const char* keyword)
{
    return word.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

bool OnlyWait(const QStringList& words)
{
    return std::all_of(words.begin(), words.end(), [](const QString& w) { return IsKeyword(w, "wait"); });
}
