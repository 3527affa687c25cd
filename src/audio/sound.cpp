// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/sound.h"

#include "audio/media.h"
#include "runtime/program_folder.h"
#include "runtime/random.h"

VBool BgmOpen = VbFalse;
QString BgmFile;

namespace {
std::function<bool()> effectsSwitch;

bool SetVolumeOf(const QString& key, int percent, QString* failure)
{
    const OptionRow& row = *OptionRowOf(key);
    const bool stored = ChooseValue(row, ValueOf(row, QString::number(percent)), failure);
    ApplyVolume();
    return stored;
}
} // namespace

bool SetMusicVolume(int percent, QString* failure) { return SetVolumeOf(MusicVolumeKey, percent, failure); }
bool SetEffectsVolume(int percent, QString* failure) { return SetVolumeOf(EffectsVolumeKey, percent, failure); }
void ApplyVolume() { SetMediaVolume(MusicVolume(), EffectsVolume()); }

void BgmControl(int16_t mode)
{
    switch (mode) {
    case BgmStart:
        Randomize();
        BgmOpen = VbFalse;
        if (mciSendString(QStringLiteral("open \"") + BgmFile + QStringLiteral("\" alias bgm")) == 0) {
            if (mciSendString(QStringLiteral("play bgm notify")) == 0)
                BgmOpen = VbTrue;
            else
                mciExecute(QStringLiteral("close bgm"));
        }
        break;
    case BgmStop:
        if (BgmOpen == VbTrue) {
            mciExecute(QStringLiteral("stop bgm"));
            mciExecute(QStringLiteral("close bgm"));
            BgmOpen = VbFalse;
        }
        break;
    case BgmPoll:
        if (BgmOpen == VbTrue) {
            // The reply buffer starts out blank: a status that answers nothing restarts too.
            QString reply(80, QLatin1Char(' '));
            if (mciSendString(QStringLiteral("status bgm mode"), &reply) == 0 &&
                reply.left(7) != QLatin1String("playing")) {
                mciExecute(QStringLiteral("seek bgm to start"));
                mciExecute(QStringLiteral("play bgm notify"));
            }
        }
        break;
    default:
        break;
    }
}

void BgmPause(bool paused)
{
    if (BgmOpen != VbTrue) return;
    // A music device that cannot hold still keeps playing: nothing to tell the player.
    mciSendString(paused ? QStringLiteral("pause bgm") : QStringLiteral("resume bgm"));
}

void PlayEffectWait(const QString& name)
{
    if (!EffectsOn()) return;
    sndPlaySound(EffectPath(name), SND_NOSTOP | SND_SYNC);
}

void PlayEffect(const QString& name)
{
    if (!EffectsOn()) return;
    sndPlaySound(EffectPath(name), SND_ASYNC);
}

void SetEffectsSwitch(std::function<bool()> effectsOn) { effectsSwitch = std::move(effectsOn); }

bool EffectsOn() { return !effectsSwitch || effectsSwitch(); }

QString EffectPath(const QString& name)
{
    return ProgramFolder() + QStringLiteral("/sound/") + name + QStringLiteral(".wav");
}

void ShutdownSound()
{
    ShutdownMedia();
    BgmOpen = VbFalse;
}
