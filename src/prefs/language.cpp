// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "prefs/language.h"

#include <QCoreApplication>
#include <QTranslator>

#include "storage/player_settings.h"

namespace {
const QString kJapanese = QStringLiteral("ja");
const QString kLanguageKey = QStringLiteral("Language");

QString& shown()
{
    static QString language = kJapanese;
    return language;
}

// The translator of the language shown, installed while it is not Japanese.
QTranslator*& installed()
{
    static QTranslator* translator = nullptr;
    return translator;
}
} // namespace

QStringList GameLanguages() { return {kJapanese, QStringLiteral("en")}; }

QString ChosenLanguage()
{
    const QString chosen = PlayerSetting(OptionsGroup, kLanguageKey, kJapanese).trimmed();  // as a hand-edited file may have it
    return GameLanguages().contains(chosen) ? chosen : kJapanese;
}

void ShowLanguage(const QString& language)
{
    const QString wanted = GameLanguages().contains(language) ? language : kJapanese;
    if (wanted == shown()) return;
    QTranslator*& translator = installed();
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
    shown() = kJapanese;
    if (wanted == kJapanese) return;

    auto* next = new QTranslator;
    // The texts are built into the program: there is nothing to find on the disk.
    if (!next->load(QStringLiteral(":/i18n/tavolnik_%1.qm").arg(wanted))) {
        delete next;
        return;
    }
    QCoreApplication::installTranslator(next);
    translator = next;
    shown() = wanted;
}

QString ShownLanguage() { return shown(); }

bool ChooseLanguage(const QString& language, QString* failure)
{
    const QString wanted = GameLanguages().contains(language) ? language : kJapanese;
    ShowLanguage(wanted);
    return SetPlayerSetting(OptionsGroup, kLanguageKey, wanted, failure);
}
