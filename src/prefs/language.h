// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The language of the game's texts. Every text is written in Japanese in the code and shown
// through Qt's translation system; English comes from translations/tavolnik_en.ts, built into
// the program. Japanese is the game's language whatever the system's locale says: English only
// when the player chose it (--language en, the race screen's ヘルプ menu, the desktop's "Play in
// English"), and the choice is kept in the settings file's [Options] group, key Language.
#pragma once

#include <QString>
#include <QStringList>

// The languages the game has, by their codes: "ja" (the design's) first, then "en".
QStringList GameLanguages();

// The language the player chose, or "ja" when the settings file holds none the game has (the
// [Options] entry Language of prefs/choices.h).
QString ChosenLanguage();

// Shows every text from now on in the language (one of GameLanguages(); anything else is
// Japanese). Windows already open get a LanguageChange event.
void ShowLanguage(const QString& language);

// The language the texts are shown in now.
QString ShownLanguage();
