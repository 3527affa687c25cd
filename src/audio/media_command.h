// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The words of a music command ("open \"C:\\sound\\BGM1.mid\" alias bgm", "seek bgm to start
// wait"): how a command splits into words and how its keywords compare.
#pragma once

#include <QString>
#include <QStringList>

// Splits a command into words; a double-quoted part is one word without its quotes.
// Returns false when a quote is left open.
bool SplitCommand(const QString& command, QStringList& words);

// True when the word is the keyword, in any mix of upper and lower case.
bool IsKeyword(const QString& word, const char* keyword);

// "wait" is the one word a command that takes no arguments accepts (and ignores): true when
// every word is "wait".
bool OnlyWait(const QStringList& words);
