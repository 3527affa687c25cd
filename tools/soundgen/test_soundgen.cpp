// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What soundgen writes into the sound folder. The effects are short, clean 16-bit PCM waves
// that fade out at their end. The tunes (BGM1.mid .. BGM5.mid) are long enough, complete, and
// differ from each other. Their recordings (BGM1.ogg .. BGM5.ogg) each name the SHA-1 of their
// MIDI file where the game looks for it, last exactly as long as the tune, start on the beat,
// play up to their end and run into their start without a fade or a click, hold no offset and
// peak at -1 dBFS at most; the five are heard equally loud (EBU R128), and the race's effects are
// heard alike at their loudest. Decoded by SDL2_mixer, as the game decodes them.

#include <QCryptographicHash>
#include <QFile>
#include <QtEndian>
#include <QtTest>

#include "audio/loudness.h"
#include "midi_summary.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#ifndef SOUNDGEN_SOUND_DIR
#error "SOUNDGEN_SOUND_DIR must name the sound folder soundgen writes"
#endif

namespace {

constexpr int kRate = 44100;

QString soundFolder() { return QStringLiteral(SOUNDGEN_SOUND_DIR); }

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A recording as the game's mixer decodes it: 16-bit stereo at 44.1 kHz, interleaved.
QVector<Sint16> decode(const QString& path)
{
    Mix_Chunk* chunk = Mix_LoadWAV(path.toLocal8Bit().constData());
    if (!chunk) return {};
    const auto* s = reinterpret_cast<const Sint16*>(chunk->abuf);
    QVector<Sint16> out(s, s + chunk->alen / 2);
    Mix_FreeChunk(chunk);
    return out;
}

// The RMS level of samples [from, to) in dBFS.
double rmsDb(const QVector<Sint16>& s, qsizetype from, qsizetype to)
{
    double sum = 0;
    for (qsizetype i = from; i < to; ++i) sum += double(s[i]) * s[i];
    return 10 * std::log10(std::max(sum / double(std::max<qsizetype>(to - from, 1)), 1e-9) / (32768.0 * 32768.0));
}

}  // namespace

class TestSoundgen : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(SDL_Init(SDL_INIT_AUDIO) == 0, SDL_GetError());
        QVERIFY2(Mix_Init(MIX_INIT_OGG) & MIX_INIT_OGG, Mix_GetError());
        // Exactly this format, so a decoded recording is its own samples, not a conversion.
        QVERIFY2(Mix_OpenAudioDevice(kRate, AUDIO_S16SYS, 2, 4096, nullptr, 0) == 0, Mix_GetError());
    }

    void cleanupTestCase()
    {
        Mix_CloseAudio();
        Mix_Quit();
        SDL_Quit();
    }

    void effectFilesAreShortCleanWaves_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("shortest");
        QTest::addColumn<double>("longest");
        QTest::newRow("Click") << "Click" << 0.02 << 0.2;
        QTest::newRow("Up") << "Up" << 0.1 << 0.8;
        QTest::newRow("Down") << "Down" << 0.1 << 0.8;
        QTest::newRow("Crush1") << "Crush1" << 0.3 << 1.5;
        QTest::newRow("Crush2") << "Crush2" << 0.5 << 2.0;
        QTest::newRow("Claps") << "Claps" << 1.5 << 2.5;
    }
    void effectFilesAreShortCleanWaves()
    {
        QFETCH(QString, name);
        QFETCH(double, shortest);
        QFETCH(double, longest);
        QFile f(soundFolder() + "/" + name + ".wav");
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName() + " is missing: build soundgen_run"));
        const QByteArray d = f.readAll();
        QVERIFY(d.size() > 44);
        const auto le16 = [&d](int i) { return qFromLittleEndian<quint16>(d.constData() + i); };
        const auto le32 = [&d](int i) { return qFromLittleEndian<quint32>(d.constData() + i); };
        QCOMPARE(d.left(4), QByteArray("RIFF"));
        QCOMPARE(le32(4), quint32(d.size() - 8));
        QCOMPARE(d.mid(8, 8), QByteArray("WAVEfmt "));
        QCOMPARE(le16(20), quint16(1));  // PCM
        const int channels = le16(22), rate = int(le32(24)), bits = le16(34);
        QCOMPARE(bits, 16);
        QCOMPARE(le32(28), quint32(rate * channels * 2));
        QCOMPARE(d.mid(36, 4), QByteArray("data"));
        const int bytes = int(le32(40));
        QCOMPARE(bytes, d.size() - 44);
        const double seconds = double(bytes) / (rate * channels * 2);
        QVERIFY2(seconds >= shortest && seconds <= longest, qPrintable(QString::number(seconds)));
        int top = 0;
        for (int i = 44; i + 1 < d.size(); i += 2)
            top = qMax(top, qAbs(int(qFromLittleEndian<qint16>(d.constData() + i))));
        QVERIFY2(top > 12000 && top < 32767, "too quiet or clipped");
        // The end fades out, so stopping never clicks.
        QVERIFY(qAbs(int(qFromLittleEndian<qint16>(d.constData() + d.size() - 2))) < 200);
    }

    void tunesAreLongEnoughAndComplete_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"BGM1", "BGM2", "BGM3", "BGM4", "BGM5"}) QTest::newRow(name) << name;
    }
    void tunesAreLongEnoughAndComplete()
    {
        QFETCH(QString, name);
        const QString path = soundFolder() + "/" + name + ".mid";
        const MidiSummary s = readMidi(path);
        QVERIFY2(s.ok, qPrintable(path + ": " + s.error));
        QVERIFY(s.hasTempo);
        QVERIFY2(s.seconds >= 45.0, qPrintable(QString::number(s.seconds)));
        QVERIFY(s.noteChannels.contains(9));  // percussion
        QVERIFY2(s.noteChannels.size() >= 3, "needs melody, bass and drums");
        QVERIFY(s.notes > 300);
        QCOMPARE(s.unmatched, 0);
    }

    // Five pieces a player tells apart: no two are the same file, and no two share a form (the
    // lengths of their parts), a tempo or a lead instrument.
    void tunesDifferFromEachOther()
    {
        QSet<QByteArray> files;
        for (const char* name : {"BGM1", "BGM2", "BGM3", "BGM4", "BGM5"}) {
            QFile f(soundFolder() + "/" + name + ".mid");
            QVERIFY(f.open(QIODevice::ReadOnly));
            files.insert(f.readAll());
        }
        QCOMPARE(files.size(), 5);
        QHash<QString, QString> seen;  // "form ...", "tempo ...", "lead ...": the tune that has it
        for (const char* name : {"BGM1", "BGM2", "BGM3", "BGM4", "BGM5"}) {
            const MidiSummary tune = readMidi(soundFolder() + "/" + name + ".mid");
            QVERIFY2(tune.ok, qPrintable(QString(name) + ": " + tune.error));
            QVERIFY2(tune.sectionBars.size() >= 3, name);
            QVERIFY2(tune.programs.contains(0), name);  // the melody's channel
            QStringList form;
            for (int bars : tune.sectionBars) form << QString::number(bars);
            for (const QString& trait : {"form " + form.join('+'), "tempo " + QString::number(tune.firstTempo),
                                         "lead " + QString::number(tune.programs.value(0))}) {
                QVERIFY2(!seen.contains(trait),
                         qPrintable(QString("%1 and %2 share the %3").arg(seen.value(trait), name, trait)));
                seen.insert(trait, name);
            }
        }
    }

    void recordingsMatchTheirTunes_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"BGM1", "BGM2", "BGM3", "BGM4", "BGM5"}) QTest::newRow(name) << name;
    }
    void recordingsMatchTheirTunes()
    {
        QFETCH(QString, name);
        const QString midiPath = soundFolder() + "/" + name + ".mid";
        const QString oggPath = soundFolder() + "/" + name + ".ogg";
        const QByteArray midi = readAll(midiPath);
        QVERIFY2(!midi.isEmpty(), qPrintable(midiPath + " is missing: build soundgen_run"));
        const QByteArray ogg = readAll(oggPath);
        QVERIFY2(!ogg.isEmpty(), qPrintable(oggPath + " is missing: is timgm6mb-soundfont installed?"));
        QVERIFY(ogg.startsWith("OggS"));

        // The tag, where the game looks for it.
        const QByteArray tag = "tavolnik-midi-sha1:" + QCryptographicHash::hash(midi, QCryptographicHash::Sha1).toHex();
        QVERIFY2(ogg.left(4096).contains(tag), qPrintable(oggPath + " does not name " + tag));

        // As long as the tune, to the millisecond.
        const MidiSummary tune = readMidi(midiPath);
        QVERIFY2(tune.ok, qPrintable(midiPath + ": " + tune.error));
        const double seconds = tune.seconds;
        QVERIFY2(seconds > 30, qPrintable(QString::number(seconds)));
        Mix_Music* music = Mix_LoadMUS(oggPath.toLocal8Bit().constData());
        QVERIFY2(music, Mix_GetError());
        QCOMPARE(Mix_GetMusicType(music), MUS_OGG);
        const double duration = Mix_MusicDuration(music);
        Mix_FreeMusic(music);
        QVERIFY2(std::abs(duration - seconds) < 0.005,
                 qPrintable(QString("%1 s recorded, the tune lasts %2 s").arg(duration).arg(seconds)));

        const QVector<Sint16> s = decode(oggPath);
        QVERIFY2(!s.isEmpty(), Mix_GetError());
        const int frames = int(s.size() / 2);
        QList<int> loudest;  // by millisecond
        double sum[2] = {0, 0};
        for (int f = 0; f < frames; ++f) {
            const int ms = int(qint64(f) * 1000 / kRate);  // frames past 48 s overflow an int
            if (ms >= loudest.size()) loudest.append(0);
            loudest[ms] = qMax(loudest[ms], qMax(std::abs(int(s[2 * f])), std::abs(int(s[2 * f + 1]))));
            sum[0] += s[2 * f];
            sum[1] += s[2 * f + 1];
        }
        QVERIFY2(std::abs(frames - seconds * kRate) < 0.005 * kRate, qPrintable(QString::number(frames)));

        // At most -1 dBFS, and centred: no offset left by a warm pad.
        const int peak = *std::max_element(loudest.cbegin(), loudest.cend());
        QVERIFY2(peak <= 29204, qPrintable(QString("peak %1 dBFS").arg(20 * std::log10(peak / 32768.0))));
        for (double channel : sum)
            QVERIFY2(std::abs(channel / frames) < 0.001 * 32768, qPrintable(QString("offset %1").arg(channel / frames / 32768)));
        // The music starts on the beat: the first notes sound within 5 ms (FluidR3's drums take
        // 2 to 3 ms to rise).
        QVERIFY2(*std::max_element(loudest.cbegin(), loudest.cbegin() + 5) > 1600,
                 qPrintable(QString::number(loudest[0])));
        // It plays up to the loop point, its last bar leading into its first, with no dead air...
        QVERIFY2(*std::max_element(loudest.cend() - 260, loudest.cend() - 10) > peak / 8,
                 "the tune falls silent before its end");
        // ...and runs on into its start as the tune does: no fade dips to silence there (the
        // quietest millisecond within 50 ms of the loop point stays above -40 dBFS), and the
        // step from the last sample to the first is no larger than the music's own nearby.
        QVector<Sint16> seam = s.mid(s.size() - 2 * 2205);
        seam += s.mid(0, 2 * 2205);
        double quietest = 0;
        for (qsizetype f = 0; f + 44 <= seam.size() / 2; f += 11) quietest = std::min(quietest, rmsDb(seam, 2 * f, 2 * f + 88));
        QVERIFY2(quietest > -40, qPrintable(QString("the loop point dips to %1 dBFS").arg(quietest)));
        const auto step = [&seam](qsizetype f) {
            return qMax(std::abs(seam[2 * f] - seam[2 * f - 2]), std::abs(seam[2 * f + 1] - seam[2 * f - 1]));
        };
        int nearby = 0;
        for (qsizetype f = 2205 - 88; f < 2205 + 88; ++f)
            if (f != 2205) nearby = qMax(nearby, step(f));
        QVERIFY2(step(2205) <= nearby, qPrintable(QString("a step of %1 at the loop point, %2 nearby").arg(step(2205)).arg(nearby)));
    }

    // Heard as loud as each other (integrated loudness within 0.5 LU of the level they are made
    // at), so that no tune drowns the effects or is drowned by them; no true peak over -1 dBTP.
    // The race's effects heard alike at their loudest moment, within 3 LU of each other.
    void soundsAreHeardAlike_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("tunes");
        QTest::newRow("recordings") << QStringList{"BGM1.ogg", "BGM2.ogg", "BGM3.ogg", "BGM4.ogg", "BGM5.ogg"} << true;
        QTest::newRow("race effects") << QStringList{"Up.wav", "Down.wav", "Crush1.wav", "Crush2.wav", "Claps.wav"} << false;
    }
    void soundsAreHeardAlike()
    {
        QFETCH(QStringList, names);
        QFETCH(bool, tunes);
        QMap<double, QString> levels;
        for (const QString& name : names) {
            const QVector<Sint16> s = decode(soundFolder() + "/" + name);
            QVERIFY2(!s.isEmpty(), Mix_GetError());
            std::vector<float> samples(s.cbegin(), s.cend());
            for (float& v : samples) v /= 32768.0f;
            const Loudness l = MeasureLoudness(samples.data(), samples.size() / 2, 2, kRate);
            if (tunes) {
                QVERIFY2(l.truePeak <= -1, qPrintable(QString("%1: %2 dBTP").arg(name).arg(l.truePeak)));
                QVERIFY2(std::fabs(l.integrated - TuneLoudness) <= 0.25, qPrintable(QString("%1: %2 LUFS").arg(name).arg(l.integrated)));
            }
            levels.insert(tunes ? l.integrated : l.loudestMoment, name);
        }
        QString all;
        for (auto i = levels.cbegin(); i != levels.cend(); ++i) all += QString("%1 %2 LUFS, ").arg(*i).arg(i.key(), 0, 'f', 2);
        qInfo("%s", qPrintable(all));
        QVERIFY2(levels.lastKey() - levels.firstKey() <= (tunes ? 0.5 : 3), qPrintable(all));
    }
};

QTEST_GUILESS_MAIN(TestSoundgen)
#include "test_soundgen.moc"
