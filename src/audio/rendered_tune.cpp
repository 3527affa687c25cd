// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/rendered_tune.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

QString RenderingOf(const QString& midiPath, const QByteArray& midiBytes)
{
    if (!qEnvironmentVariableIsEmpty("SDL_SOUNDFONTS")) return {};
    const QFileInfo midi(midiPath);
    const QString path = midi.dir().filePath(midi.completeBaseName() + QStringLiteral(".ogg"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray tag = QByteArrayLiteral("tavolnik-midi-sha1:") +
                           QCryptographicHash::hash(midiBytes, QCryptographicHash::Sha1).toHex();
    return file.read(4096).contains(tag) ? path : QString();
}
