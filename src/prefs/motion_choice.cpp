// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "prefs/motion_choice.h"

#include <optional>

#include "storage/player_settings.h"

namespace {
const QString MotionKey = QStringLiteral("Motion");

std::optional<Motion>& forRun()
{
    static std::optional<Motion> chosen;
    return chosen;
}
} // namespace

bool ParseMotion(const QString& text, Motion* motion)
{
    if (text == QLatin1String("smooth")) *motion = Motion::Smooth;
    else if (text == QLatin1String("classic")) *motion = Motion::Classic;
    else return false;
    return true;
}

QString MotionName(Motion motion)
{
    return motion == Motion::Classic ? QStringLiteral("classic") : QStringLiteral("smooth");
}

Motion ChosenMotion()
{
    if (forRun()) return *forRun();
    Motion remembered = Motion::Smooth;
    if (!ParseMotion(PlayerSetting(OptionsGroup, MotionKey, QString()).trimmed().toLower(), &remembered))
        return Motion::Smooth;
    return remembered;
}

bool ChooseMotion(Motion motion, QString* failure)
{
    forRun() = motion;
    if (PlayerSetting(OptionsGroup, MotionKey, QString()) == MotionName(motion)) return true;
    return SetPlayerSetting(OptionsGroup, MotionKey, MotionName(motion), failure);
}

void ClearMotionForRun() { forRun().reset(); }
