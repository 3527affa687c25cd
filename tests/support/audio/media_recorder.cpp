// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/media_recorder.h"

MediaRecorder::MediaRecorder() { SetMediaBackend(this); }

MediaRecorder::~MediaRecorder() { SetMediaBackend(nullptr); }

int32_t MediaRecorder::sendCommand(const QString& command, QString* reply, bool viaExecute)
{
    calls.append({viaExecute ? MediaCall::Execute : MediaCall::Send, command, 0});
    for (const Failure& failure : std::as_const(failures))
        if (command.startsWith(failure.prefix, Qt::CaseInsensitive)) return failure.error;
    const QString verb = command.section(QLatin1Char(' '), 0, 0).toLower();
    if (verb == QLatin1String("pause"))
        paused = true;
    else if (verb != QLatin1String("status"))
        paused = false;  // resume, play, stop, seek, close and open all end a pause
    if (reply && verb == QLatin1String("status") &&
        command.endsWith(QLatin1String(" mode"), Qt::CaseInsensitive))
        *reply = paused ? QStringLiteral("paused") : statusMode;
    return MCIERR_NONE;
}

bool MediaRecorder::playSound(const QString& path, uint32_t flags)
{
    calls.append({MediaCall::Effect, path, flags});
    return effectResult;
}

void MediaRecorder::setVolume(int musicPercent, int effectsPercent)
{
    volumes.append({musicPercent, effectsPercent});
}

void MediaRecorder::failOn(const QString& prefix, int32_t error) { failures.append({prefix, error}); }

QStringList MediaRecorder::commands() const
{
    QStringList list;
    for (const MediaCall& call : calls)
        if (call.kind != MediaCall::Effect) list << call.text;
    return list;
}

QList<MediaCall> MediaRecorder::effects() const
{
    QList<MediaCall> list;
    for (const MediaCall& call : calls)
        if (call.kind == MediaCall::Effect) list << call;
    return list;
}
