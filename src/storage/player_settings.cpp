// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/player_settings.h"

#include <QMap>

#include "storage/settings_store.h"

namespace {
const QString kApp = QStringLiteral("Tavolnik");

// The choices as read at start and made since, by "group/key".
QMap<QString, QString>& choices()
{
    static QMap<QString, QString> held;
    return held;
}

QString keyOf(const QString& group, const QString& key) { return group + QLatin1Char('/') + key; }
} // namespace

void LoadPlayerSettings()
{
    const SettingsStore store(kApp);
    QMap<QString, QString>& held = choices();
    held.clear();
    for (const QString& group : {OptionsGroup, ControlsGroup})
        for (const QString& key : store.keysOf(group))
            held.insert(keyOf(group, key), store.GetSetting(group, key, QString()));
}

QString PlayerSetting(const QString& group, const QString& key, const QString& defaultValue)
{
    return choices().value(keyOf(group, key), defaultValue);
}

PlayerChoices HoldPlayerSettings(const PlayerChoices& wanted)
{
    QMap<QString, QString>& held = choices();
    PlayerChoices changed;
    for (const PlayerChoice& choice : wanted) {
        const QString path = keyOf(choice.group, choice.key);
        if (const auto now = held.constFind(path); now != held.cend() && *now == choice.value) continue;
        held.insert(path, choice.value);
        changed.append(choice);
    }
    return changed;
}

bool WritePlayerSettings(const PlayerChoices& changed, QString* failure)
{
    if (changed.isEmpty()) return true;
    const SettingsLock lock(kApp);
    if (!lock.held()) {
        if (failure) *failure = lock.failure();
        return false;
    }
    // The file as it is now, so that another copy's results and choices saved meanwhile stay.
    SettingsStore store(kApp);
    for (const PlayerChoice& choice : changed) store.SaveSetting(choice.group, choice.key, choice.value);
    if (!store.Save()) {
        if (failure) *failure = store.failure();
        return false;
    }
    return true;
}

bool SetPlayerSettings(const PlayerChoices& wanted, QString* failure)
{
    return WritePlayerSettings(HoldPlayerSettings(wanted), failure);
}

bool SetPlayerSetting(const QString& group, const QString& key, const QString& value, QString* failure)
{
    return SetPlayerSettings({{group, key, value}}, failure);
}

void ResetPlayerSettings() { choices().clear(); }
