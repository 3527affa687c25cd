// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/rendered_tune.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString RenderingOf(const QString& midiPath, const QByteArray& midiBytes)
{
    if (!qEnvironmentVariableIsEmpty("SDL_SOUNDFONTS")) return {};
    const QFileInfo midi(midiPath);
    const QString path = midi.dir().filePath(midi.completeBaseName() + QStringLiteral(".ogg"));
    // Only a regular file is opened, and without waiting: a FIFO in its place must not hold the
    // game in open() for ever.
    if (!QFileInfo(path).isFile()) return {};
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd < 0) return {};
    QFile file;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {};
    }
    const QByteArray tag = QByteArrayLiteral("tavolnik-midi-sha1:") +
                           QCryptographicHash::hash(midiBytes, QCryptographicHash::Sha1).toHex();
    return file.read(4096).contains(tag) ? path : QString();
}
