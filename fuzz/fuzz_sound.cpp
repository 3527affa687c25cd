// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Fuzzes the sound files through the game's own media layer and the real SDL2_mixer backend
// (SDL's dummy audio driver): any bytes as a WAV effect, played the way PlayEffect plays it,
// and as a MIDI tune, opened, played, polled and closed with the music commands the game sends;
// and read by the MIDI file reader with every event handed out, as soundgen and the tests read
// a tune. A damaged sound file must never crash or hang the game.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <cstdint>
#include <cstdlib>

#include "audio/media.h"
#include "midi/midi_file.h"

namespace {
QTemporaryDir* root = nullptr;

QString writeFile(const QString& name, const uint8_t* data, size_t size)
{
    const QString path = root->path() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    return path;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("SDL_AUDIODRIVER", "dummy");
    static QCoreApplication app(*argc, *argv);
    root = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Effects are read once per path and kept; a new path for every input, and the sound shut
    // down now and then so the kept effects do not pile up.
    static unsigned long count = 0;
    ++count;

    const QString wav = writeFile(QStringLiteral("e%1.wav").arg(count), data, size);
    sndPlaySound(wav, SND_ASYNC | SND_NODEFAULT);

    const QString mid = writeFile(QStringLiteral("m%1.mid").arg(count), data, size);
    if (mciSendString(QStringLiteral("open \"") + mid + QStringLiteral("\" alias fz")) == MCIERR_NONE) {
        mciSendString(QStringLiteral("play fz notify"));
        // Long enough for the mixer to play a buffer of it: the tune is read as it starts.
        QThread::msleep(30);
        QString reply;
        mciSendString(QStringLiteral("status fz mode"), &reply);
        mciSendString(QStringLiteral("seek fz to start"));
        mciSendString(QStringLiteral("stop fz"));
        mciSendString(QStringLiteral("close fz"));
    }

    ReadMidiFile(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)),
                 [](const MidiEvent&) {});

    QFile::remove(wav);
    QFile::remove(mid);
    if (count % 64 == 0) ShutdownMedia();
    return 0;
}
