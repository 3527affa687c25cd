// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The per-user settings store: text values addressed by application name, section and key,
// read with a default. Each application keeps its values in one INI file,
// $XDG_CONFIG_HOME/<app>/<app>.conf (~/.config/<app>/<app>.conf when the variable is unset),
// one INI group per section. Any text is stored as typed: Japanese, spaces, "=", ";", quotes,
// backslashes, line breaks and text of any length come back exactly.
//
// A damaged file never stops the game: what can be read is read, and every other key answers
// its default, and the next save keeps everything that was read. A save writes a new file
// beside the old one, reads it back and only then puts it in the old one's place, so a save
// that fails (a read-only folder, a full disk, a file that cannot be read) leaves the previous
// file as it was; the failure is told on standard error.
#pragma once

#include <QMap>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <memory>

class QSettings;

class SettingsStore
{
public:
    explicit SettingsStore(const QString& appName);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // The file the application's values live in.
    static QString filePath(const QString& appName);

    // The text stored under section/key, or defaultValue when the store holds none.
    QString GetSetting(const QString& section, const QString& key, const QString& defaultValue) const;

    // Sets a value in memory; Save() writes every value set so far in one go.
    void SaveSetting(const QString& section, const QString& key, const QString& value);

    // Writes the file: every key it held, with the values set since over them. Returns false,
    // and says why on standard error, when the file could not be written; the file on disk is
    // then the one from before.
    bool Save();

private:
    bool writeFile(QString* why);

    QString appName_;
    QString path_;
    std::unique_ptr<QSettings> settings_;  // the file as it was read
    QMap<QString, QVariant> pending_;      // values set since, by "section/key"
};

// A whole decimal number in the 32-bit range ("-12", "3000", " 7 "), or nothing: false for
// anything else ("", "12.5", "1e3", "0x10", "3 000", "99999999999").
bool ParseWholeNumber(const QString& text, int32_t* value);
