// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Music and effects: the commands the game sends and in what order (through the recorder), and
// the real SDL2_mixer backend on a headless audio driver, playing the files soundgen writes.

#include "audio/media.h"
#include "audio/media_recorder.h"
#include "audio/rendered_tune.h"
#include "audio/sound.h"
#include "race/race_state.h"
#include "runtime/message_box.h"
#include "runtime/program_folder.h"

#include "midi/midi_file.h"
#include "midi/sound_fonts.h"
#include "race_mix.h"
#include "render.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>
#include <QtTest>

#include <cmath>
#include <fcntl.h>
#include <functional>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

#ifndef TAVOLNIK_BUILD_DIR
#error "TAVOLNIK_BUILD_DIR must name the build folder that holds sound/"
#endif

namespace {

void restoreEnv(const char* name, const QByteArray& value)
{
    if (value.isEmpty())
        qunsetenv(name);
    else
        qputenv(name, value);
}

struct Box {
    QString text;
    QString title;
};

void put16(QByteArray& b, quint16 v) { b.append(char(v & 0xff)).append(char(v >> 8)); }
void put32(QByteArray& b, quint32 v) { put16(b, quint16(v & 0xffff)); put16(b, quint16(v >> 16)); }
void putBig32(QByteArray& b, quint32 v)
{
    for (int k = 3; k >= 0; --k) b.append(char((v >> (8 * k)) & 0xff));
}

// A mono 16-bit WAV of a quiet 440 Hz tone, `samples` long; its header may claim more data.
bool writeToneWav(const QString& path, int samples, int rate, quint32 claimedBytes = 0)
{
    QByteArray b("RIFF");
    put32(b, 36 + samples * 2);
    b.append("WAVEfmt ");
    put32(b, 16); put16(b, 1); put16(b, 1); put32(b, rate); put32(b, rate * 2); put16(b, 2); put16(b, 16);
    b.append("data");
    put32(b, claimedBytes ? claimedBytes : quint32(samples * 2));
    for (int i = 0; i < samples; ++i)
        put16(b, quint16(qint16(8000 * std::sin(2 * M_PI * 440 * i / 22050))));
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(b) == b.size();
}

// A mono 16-bit WAV at 44.1 kHz of a steady sine: `hz`, `amplitude` of full scale, `seconds` long,
// rising from silence over its first `riseMs`.
bool writeSteadyTone(const QString& path, double hz, double amplitude, double seconds, int riseMs = 0)
{
    const int samples = int(seconds * 44100);
    QByteArray b("RIFF");
    put32(b, 36 + samples * 2);
    b.append("WAVEfmt ");
    put32(b, 16); put16(b, 1); put16(b, 1); put32(b, 44100); put32(b, 88200); put16(b, 2); put16(b, 16);
    b.append("data");
    put32(b, quint32(samples * 2));
    for (int i = 0; i < samples; ++i) {
        const double rise = riseMs > 0 ? std::min(1.0, i / (riseMs * 44.1)) : 1.0;
        put16(b, quint16(qint16(std::lround(32767 * amplitude * rise * std::sin(2 * M_PI * hz * i / 44100)))));
    }
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(b) == b.size();
}

// The loudest sample of each millisecond (44 frames) of 16-bit stereo audio, as a fraction of
// full scale.
QList<double> envelopeOf(const QByteArray& audio)
{
    QList<double> env;
    for (qsizetype f = 0; f + 44 <= FramesOf(audio); f += 44) {
        double top = 0;
        for (qsizetype k = f; k < f + 44; ++k) top = std::max({top, std::fabs(SampleAt(audio, k, 0)), std::fabs(SampleAt(audio, k, 1))});
        env.append(top);
    }
    return env;
}

// The first millisecond at or after `from` whose envelope is below (or, rising, above) `level`;
// the envelope's length when there is none.
qsizetype crossing(const QList<double>& env, qsizetype from, double level, bool rising)
{
    for (qsizetype i = std::max<qsizetype>(from, 0); i < env.size(); ++i)
        if (rising ? env[i] > level : env[i] < level) return i;
    return env.size();
}

// A format-0 MIDI file: a few piano notes and a drum hit at 120 bpm, `beats` beats long.
bool writeTinyMidi(const QString& path, int beats)
{
    QByteArray t;
    t.append("\x00\xff\x51\x03\x07\xa1\x20", 7);  // 500000 us a beat
    t.append("\x00\xc0\x00", 3);
    for (int i = 0; i < beats; ++i) {
        const char pitch = char(60 + (i * 4) % 12);
        t.append('\x00').append('\x90').append(pitch).append('\x64');
        t.append('\x00').append('\x99').append('\x24').append('\x64');
        t.append("\x83\x60", 2).append('\x80').append(pitch).append('\x00');  // 480 ticks later
        t.append('\x00').append('\x89').append('\x24').append('\x00');
    }
    t.append("\x00\xff\x2f\x00", 4);
    QByteArray b("MThd");
    putBig32(b, 6);
    b.append("\x00\x00\x00\x01\x01\xe0", 6);  // format 0, one track, 480 ticks a beat
    b.append("MTrk");
    putBig32(b, quint32(t.size()));
    b.append(t);
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(b) == b.size();
}

// A Standard MIDI File at 480 ticks a beat, each track given as the hex digits of its events.
QByteArray midiFile(int format, const QList<QByteArray>& tracks)
{
    QByteArray b("MThd");
    putBig32(b, 6);
    b.append('\0').append(char(format)).append('\0').append(char(tracks.size())).append("\x01\xe0", 2);
    for (const QByteArray& hex : tracks) {
        const QByteArray t = QByteArray::fromHex(hex);
        b.append("MTrk");
        putBig32(b, quint32(t.size()));
        b.append(t);
    }
    return b;
}

QString soundFolder() { return QStringLiteral(TAVOLNIK_BUILD_DIR "/sound"); }

// What the sound card hears while `play` runs, through SDL's disk audio driver: 44.1 kHz
// stereo 16-bit samples. Sound is shut down before and after.
QByteArray recordSoundCard(const QString& raw, const std::function<void()>& play)
{
    ShutdownSound();
    const QByteArray driver = qgetenv("SDL_AUDIODRIVER");
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(raw));
    play();
    ShutdownSound();
    restoreEnv("SDL_AUDIODRIVER", driver);
    qunsetenv("SDL_DISKAUDIOFILE");
    QFile f(raw);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestSound : public QObject {
    Q_OBJECT

private:
    QTemporaryDir temp;
    QList<Box> boxes;

private slots:
    void initTestCase()
    {
        QVERIFY(temp.isValid());
        SetMsgBoxHook([this](const QString& text, const QString& title) { boxes.append({text, title}); });
    }

    void init()
    {
        ResetRaceState();
        boxes.clear();
        SetEffectsSwitch({});
        SetProgramFolderOverride(QString());
    }

    void cleanup() { mciSendString(QStringLiteral("close all")); }

    void cleanupTestCase()
    {
        ShutdownSound();
        SetMsgBoxHook({});
    }

    // ---- the commands the game sends ----

    void aStoryStageSendsItsCommandsInOrder()
    {
        MediaRecorder rec;
        BgmFile = QStringLiteral("/p/sound/BGM1.mid");
        BgmControl(BgmStart);
        BgmControl(BgmPoll);
        BgmControl(BgmPoll);
        rec.statusMode = QStringLiteral("stopped");  // the piece has ended
        BgmControl(BgmPoll);
        rec.statusMode = QStringLiteral("playing");
        BgmControl(BgmPoll);
        BgmControl(BgmStop);  // goal
        BgmFile = QStringLiteral("/p/sound/BGM5.mid");
        BgmControl(BgmStart);  // the meeting scene
        BgmControl(BgmPoll);
        BgmControl(BgmStop);
        QCOMPARE(rec.commands(), QStringList({
                                     "open \"/p/sound/BGM1.mid\" alias bgm", "play bgm notify",
                                     "status bgm mode", "status bgm mode",
                                     "status bgm mode", "seek bgm to start", "play bgm notify",
                                     "status bgm mode",
                                     "stop bgm", "close bgm",
                                     "open \"/p/sound/BGM5.mid\" alias bgm", "play bgm notify",
                                     "status bgm mode",
                                     "stop bgm", "close bgm",
                                 }));
        // The restart, the stop and the close go through the call that reports failures.
        QCOMPARE(rec.calls.at(5).kind, MediaCall::Execute);
        QCOMPARE(rec.calls.at(6).kind, MediaCall::Execute);
        QCOMPARE(rec.calls.at(8).kind, MediaCall::Execute);
        QCOMPARE(rec.calls.at(9).kind, MediaCall::Execute);
        QCOMPARE(BgmOpen, VbFalse);
        QVERIFY(boxes.isEmpty());
    }

    void pollRestartsUnlessTheReplyStartsWithPlaying_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("statusError");
        QTest::addColumn<bool>("restarts");
        QTest::newRow("playing") << "playing" << 0 << false;
        QTest::newRow("playing, longer reply") << "playing now" << 0 << false;
        QTest::newRow("stopped") << "stopped" << 0 << true;
        QTest::newRow("paused") << "paused" << 0 << true;
        QTest::newRow("upper case") << "PLAYING" << 0 << true;
        QTest::newRow("no reply at all") << "" << 0 << true;
        QTest::newRow("status fails") << "stopped" << int(MCIERR_HARDWARE) << false;
    }
    void pollRestartsUnlessTheReplyStartsWithPlaying()
    {
        QFETCH(QString, reply);
        QFETCH(int, statusError);
        QFETCH(bool, restarts);
        MediaRecorder rec;
        if (statusError) rec.failOn(QStringLiteral("status"), statusError);
        rec.statusMode = reply;
        BgmOpen = VbTrue;
        BgmControl(BgmPoll);
        QStringList expected{QStringLiteral("status bgm mode")};
        if (restarts) expected << QStringLiteral("seek bgm to start") << QStringLiteral("play bgm notify");
        QCOMPARE(rec.commands(), expected);
        QVERIFY(boxes.isEmpty());
    }

    // What the music control sends from a given start: the commands in order, which of them go
    // through the call that reports failures (E) rather than the quiet one (S), whether the
    // music is open after, and a box for each failing command that reports them.
    void theMusicControlSendsItsCommands_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("openBefore");
        QTest::addColumn<QString>("failing");  // the commands that fail, by their start
        QTest::addColumn<int>("error");
        QTest::addColumn<QList<int>>("steps");  // BgmControl's modes, in order
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QString>("kinds");
        QTest::addColumn<bool>("openAfter");
        QTest::addColumn<QStringList>("shownFor");  // the command each box names
        const int none = 0, start = BgmStart, stop = BgmStop, poll = BgmPoll;
        QTest::newRow("start opens the file, then plays it")
            << "/games/tavolnik/sound/BGM1.mid" << false << "" << none << QList<int>{start}
            << QStringList{"open \"/games/tavolnik/sound/BGM1.mid\" alias bgm", "play bgm notify"} << "SS" << true
            << QStringList{};
        QTest::newRow("poll while the music is closed: nothing")
            << "/p/sound/BGM1.mid" << false << "" << none << QList<int>{poll} << QStringList{} << "" << false << QStringList{};
        QTest::newRow("stop while the music is closed: nothing")
            << "/p/sound/BGM1.mid" << false << "" << none << QList<int>{stop} << QStringList{} << "" << false << QStringList{};
        // A start always begins by clearing the open flag.
        QTest::newRow("a failed open sends nothing more and shows no box")
            << "/p/sound/missing.mid" << true << "open" << int(MCIERR_FILE_NOT_FOUND) << QList<int>{start, poll, stop}
            << QStringList{"open \"/p/sound/missing.mid\" alias bgm"} << "S" << false << QStringList{};
        QTest::newRow("a failed play closes the device")
            << "/p/sound/BGM2.mid" << false << "play" << int(MCIERR_HARDWARE) << QList<int>{start}
            << QStringList{"open \"/p/sound/BGM2.mid\" alias bgm", "play bgm notify", "close bgm"} << "SSE" << false
            << QStringList{};
        QTest::newRow("stopping twice sends stop and close once")
            << "" << true << "" << none << QList<int>{stop, stop} << QStringList{"stop bgm", "close bgm"} << "EE" << false
            << QStringList{};
        const QStringList stopAndClose{"stop bgm", "close bgm"};
        QTest::newRow("a failing stop shows a box and the game goes on")
            << "" << true << "stop" << int(MCIERR_INVALID_DEVICE_NAME) << QList<int>{stop} << stopAndClose << "EE" << false
            << QStringList{"stop bgm"};
        QTest::newRow("a failing close shows a box and the game goes on")
            << "" << true << "close" << int(MCIERR_INVALID_DEVICE_NAME) << QList<int>{stop} << stopAndClose << "EE" << false
            << QStringList{"close bgm"};
        QTest::newRow("both failing show a box each")
            << "" << true << "" << int(MCIERR_INVALID_DEVICE_NAME) << QList<int>{stop} << stopAndClose << "EE" << false
            << stopAndClose;
    }
    void theMusicControlSendsItsCommands()
    {
        QFETCH(QString, file);
        QFETCH(bool, openBefore);
        QFETCH(QString, failing);
        QFETCH(int, error);
        QFETCH(QList<int>, steps);
        QFETCH(QStringList, commands);
        QFETCH(QString, kinds);
        QFETCH(bool, openAfter);
        QFETCH(QStringList, shownFor);
        MediaRecorder rec;
        if (error) rec.failOn(failing, error);
        BgmFile = file;
        if (openBefore) BgmOpen = VbTrue;
        for (const int mode : steps) BgmControl(int16_t(mode));
        QCOMPARE(rec.commands(), commands);
        QString sent;
        for (const MediaCall& call : std::as_const(rec.calls)) sent += call.kind == MediaCall::Execute ? 'E' : 'S';
        QCOMPARE(sent, kinds);
        QCOMPARE(BgmOpen, openAfter ? VbTrue : VbFalse);
        QCOMPARE(boxes.size(), shownFor.size());
        for (int k = 0; k < boxes.size(); ++k) {
            QVERIFY(boxes[k].text.contains(mciGetErrorString(error)));
            QVERIFY2(boxes[k].text.contains(shownFor[k]), qPrintable(boxes[k].text));
            QVERIFY(!boxes[k].title.isEmpty());
        }
    }

    void sendStringNeverShowsABox()
    {
        MediaRecorder rec;
        rec.failOn(QString(), MCIERR_HARDWARE);
        QCOMPARE(mciSendString(QStringLiteral("play bgm notify")), int32_t(MCIERR_HARDWARE));
        QVERIFY(boxes.isEmpty());
        QVERIFY(!mciExecute(QStringLiteral("play bgm notify")));
        QCOMPARE(boxes.size(), 1);
    }

    void effectsFollowTheSwitch_data()
    {
        QTest::addColumn<int>("switchState");  // -1 none registered, 0 off, 1 on
        QTest::addColumn<bool>("wait");
        QTest::addColumn<bool>("played");
        QTest::newRow("no race screen, wait") << -1 << true << true;
        QTest::newRow("no race screen, at once") << -1 << false << true;
        QTest::newRow("on, wait") << 1 << true << true;
        QTest::newRow("on, at once") << 1 << false << true;
        QTest::newRow("off, wait") << 0 << true << false;
        QTest::newRow("off, at once") << 0 << false << false;
    }
    void effectsFollowTheSwitch()
    {
        QFETCH(int, switchState);
        QFETCH(bool, wait);
        QFETCH(bool, played);
        MediaRecorder rec;
        SetProgramFolderOverride(QStringLiteral("/opt/tavolnik"));
        if (switchState >= 0) SetEffectsSwitch([switchState] { return switchState == 1; });
        if (wait)
            PlayEffectWait(QStringLiteral("Click"));
        else
            PlayEffect(QStringLiteral("Crush2"));
        if (!played) {
            QVERIFY(rec.calls.isEmpty());
            return;
        }
        QCOMPARE(rec.effects().size(), 1);
        const MediaCall call = rec.effects().first();
        QCOMPARE(call.text, wait ? QStringLiteral("/opt/tavolnik/sound/Click.wav")
                                 : QStringLiteral("/opt/tavolnik/sound/Crush2.wav"));
        QCOMPARE(call.flags, wait ? 16u : 1u);
    }

    void theSwitchIsReadAtEveryEffect()
    {
        MediaRecorder rec;
        bool on = true;
        SetEffectsSwitch([&on] { return on; });
        PlayEffect(QStringLiteral("Up"));
        on = false;
        PlayEffect(QStringLiteral("Up"));
        on = true;
        PlayEffect(QStringLiteral("Down"));
        SetEffectsSwitch({});
        QCOMPARE(rec.effects().size(), 2);
        QVERIFY(rec.effects().at(1).text.endsWith(QLatin1String("/sound/Down.wav")));
    }

    // ---- the real backend, on SDL's headless driver ----

    void realMusicPlaysStopsLoopsAndCloses()
    {
        const QString midi = temp.filePath(QStringLiteral("short.mid"));
        QVERIFY(writeTinyMidi(midi, 2));  // one second
        QCOMPARE(mciSendString("open \"" + midi + "\" alias bgm"), 0);
        QString reply = QStringLiteral("unchanged");
        QCOMPARE(mciSendString(QStringLiteral("status bgm mode"), &reply), 0);
        QCOMPARE(reply, QStringLiteral("stopped"));
        QCOMPARE(mciSendString(QStringLiteral("play bgm notify")), 0);
        QCOMPARE(mciSendString(QStringLiteral("status bgm mode"), &reply), 0);
        QCOMPARE(reply, QStringLiteral("playing"));
        QCOMPARE(mciSendString(QStringLiteral("stop bgm")), 0);
        QCOMPARE(mciSendString(QStringLiteral("status bgm mode"), &reply), 0);
        QCOMPARE(reply, QStringLiteral("stopped"));
        QCOMPARE(mciSendString(QStringLiteral("play bgm notify")), 0);  // goes on where it stopped
        QCOMPARE(mciSendString(QStringLiteral("status bgm mode"), &reply), 0);
        QCOMPARE(reply, QStringLiteral("playing"));
        QCOMPARE(mciSendString(QStringLiteral("seek bgm to start")), 0);
        QCOMPARE(mciSendString(QStringLiteral("status bgm mode"), &reply), 0);
        QCOMPARE(reply, QStringLiteral("stopped"));
        QCOMPARE(mciSendString(QStringLiteral("play bgm notify")), 0);
        // The piece runs out by itself and then reports that it stopped, as soon as its last
        // bar is over (not after the synthesiser's fade-out), so a looped piece has no gap.
        QElapsedTimer clock;
        clock.start();
        QTRY_COMPARE_WITH_TIMEOUT((mciSendString(QStringLiteral("status bgm mode"), &reply), reply),
                                  QStringLiteral("stopped"), 5000);
        QVERIFY2(clock.elapsed() > 800 && clock.elapsed() < 2500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(mciSendString(QStringLiteral("seek bgm to start")), 0);
        QCOMPARE(mciSendString(QStringLiteral("play bgm notify")), 0);
        QCOMPARE(mciSendString(QStringLiteral("status bgm mode"), &reply), 0);
        QCOMPARE(reply, QStringLiteral("playing"));
        QCOMPARE(mciSendString(QStringLiteral("close bgm")), 0);
        reply = QStringLiteral("unchanged");
        QCOMPARE(mciSendString(QStringLiteral("status bgm mode"), &reply), int32_t(MCIERR_INVALID_DEVICE_NAME));
        QCOMPARE(reply, QStringLiteral("unchanged"));
    }

    void pauseHoldsTheMusicUntilResume()
    {
        const QString midi = temp.filePath(QStringLiteral("pause.mid"));
        QVERIFY(writeTinyMidi(midi, 2));  // one second
        QString reply;
        QCOMPARE(mciSendString("open \"" + midi + "\" alias bgm"), 0);
        QCOMPARE(mciSendString(QStringLiteral("play bgm notify")), 0);
        QCOMPARE(mciSendString(QStringLiteral("pause bgm")), 0);
        QCOMPARE(mciSendString(QStringLiteral("status bgm mode"), &reply), 0);
        QCOMPARE(reply, QStringLiteral("paused"));
        // Held for longer than the piece lasts, it has not run out when it goes on.
        QThread::msleep(1300);
        QCOMPARE(mciSendString(QStringLiteral("resume bgm")), 0);
        QCOMPARE(mciSendString(QStringLiteral("status bgm mode"), &reply), 0);
        QCOMPARE(reply, QStringLiteral("playing"));
        QCOMPARE(mciSendString(QStringLiteral("resume bgm")), 0);  // not paused: nothing changes
        QCOMPARE(mciSendString(QStringLiteral("status bgm mode"), &reply), 0);
        QCOMPARE(reply, QStringLiteral("playing"));
        QCOMPARE(mciSendString(QStringLiteral("pause nothing")), int32_t(MCIERR_INVALID_DEVICE_NAME));
        QCOMPARE(mciSendString(QStringLiteral("close bgm")), 0);

        // The recorder answers the same way.
        MediaRecorder rec;
        QCOMPARE(mciSendString(QStringLiteral("pause bgm")), 0);
        QCOMPARE(mciSendString(QStringLiteral("status bgm mode"), &reply), 0);
        QCOMPARE(reply, QStringLiteral("paused"));
        QCOMPARE(mciSendString(QStringLiteral("resume bgm")), 0);
        QCOMPARE(mciSendString(QStringLiteral("status bgm mode"), &reply), 0);
        QCOMPARE(reply, QStringLiteral("playing"));
        QVERIFY(boxes.isEmpty());
    }

    void realBgmControlLoopsThePiece()
    {
        const QString midi = temp.filePath(QStringLiteral("loop.mid"));
        QVERIFY(writeTinyMidi(midi, 1));  // half a second
        BgmFile = midi;
        BgmControl(BgmStart);
        QCOMPARE(BgmOpen, VbTrue);
        QString reply;
        QTRY_COMPARE_WITH_TIMEOUT((mciSendString(QStringLiteral("status bgm mode"), &reply), reply),
                                  QStringLiteral("stopped"), 5000);
        BgmControl(BgmPoll);
        QCOMPARE(mciSendString(QStringLiteral("status bgm mode"), &reply), 0);
        QCOMPARE(reply, QStringLiteral("playing"));
        BgmControl(BgmStop);
        QCOMPARE(BgmOpen, VbFalse);
        QCOMPARE(mciSendString(QStringLiteral("status bgm mode"), &reply), int32_t(MCIERR_INVALID_DEVICE_NAME));
        QVERIFY(boxes.isEmpty());
    }

    void realCommandsThatCannotWorkReturnErrors_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("error");
        QTest::newRow("empty") << "" << int(MCIERR_MISSING_COMMAND_STRING);
        QTest::newRow("unknown command") << "rewind bgm" << int(MCIERR_UNRECOGNIZED_COMMAND);
        QTest::newRow("no device") << "play" << int(MCIERR_MISSING_DEVICE_NAME);
        QTest::newRow("open without a file") << "open" << int(MCIERR_MISSING_DEVICE_NAME);
        QTest::newRow("closed alias, play") << "play nothing notify" << int(MCIERR_INVALID_DEVICE_NAME);
        QTest::newRow("closed alias, stop") << "stop nothing" << int(MCIERR_INVALID_DEVICE_NAME);
        QTest::newRow("closed alias, close") << "close nothing" << int(MCIERR_INVALID_DEVICE_NAME);
        QTest::newRow("open quote") << "open \"/tmp/x.mid alias bgm" << int(MCIERR_MISSING_STRING_ARGUMENT);
        QTest::newRow("missing file") << "open \"/nonexistent/BGM1.mid\" alias bgm" << int(MCIERR_FILE_NOT_FOUND);
        QTest::newRow("alias without name") << "open \"/nonexistent/BGM1.mid\" alias" << int(MCIERR_MISSING_STRING_ARGUMENT);
        QTest::newRow("open, unknown word") << "open \"/nonexistent/BGM1.mid\" alias bgm loudly" << int(MCIERR_UNRECOGNIZED_KEYWORD);
        QTest::newRow("status without item") << "status open1" << int(MCIERR_MISSING_PARAMETER);
        QTest::newRow("status of what") << "status open1 volume" << int(MCIERR_UNRECOGNIZED_KEYWORD);
        QTest::newRow("seek without target") << "seek open1" << int(MCIERR_MISSING_PARAMETER);
        QTest::newRow("seek to a position") << "seek open1 to 1000" << int(MCIERR_UNSUPPORTED_FUNCTION);
        QTest::newRow("play and wait") << "play open1 wait" << int(MCIERR_UNSUPPORTED_FUNCTION);
        QTest::newRow("open again") << "open \"%1\" alias OPEN1" << int(MCIERR_DUPLICATE_ALIAS);
        QTest::newRow("not a MIDI file") << "open \"%2\" alias other" << int(MCIERR_INVALID_FILE);
    }
    void realCommandsThatCannotWorkReturnErrors()
    {
        QFETCH(QString, command);
        QFETCH(int, error);
        const QString midi = temp.filePath(QStringLiteral("open1.mid"));
        const QString junk = temp.filePath(QStringLiteral("junk.mid"));
        QVERIFY(writeTinyMidi(midi, 2));
        QFile f(junk);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("this is not music");
        f.close();
        QCOMPARE(mciSendString("open \"" + midi + "\" alias open1"), 0);
        QCOMPARE(mciSendString(QString(command).replace("%1", midi).replace("%2", junk)), int32_t(error));
        // Whatever went wrong, the open device still works.
        QCOMPARE(mciSendString(QStringLiteral("play open1")), 0);
        QCOMPARE(mciSendString(QStringLiteral("close open1")), 0);
        QVERIFY(boxes.isEmpty());
    }

    void aMissingMusicFileLeavesTheRaceSilent()
    {
        BgmFile = temp.filePath(QStringLiteral("no/such/BGM1.mid"));
        BgmControl(BgmStart);
        QCOMPARE(BgmOpen, VbFalse);
        BgmControl(BgmPoll);
        BgmControl(BgmStop);
        QVERIFY(boxes.isEmpty());
    }

    void anEffectThatIsNoWaveIsMissingAndPlaysTheBeep_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("no file") << "none";
        QTest::newRow("a RIFF file that is no wave") << "riff";
        // The mixer could decode a tune as an effect, but would hold all of it in memory: this
        // one is two minutes long, a damaged file's could be hours.
        QTest::newRow("a MIDI tune") << "midi";
        // Four thousand samples at 2 Hz: more than half an hour at the mixer's rate.
        QTest::newRow("a wave at 2 Hz") << "slow";
        // The mixer would reserve the two gigabytes the data chunk claims.
        QTest::newRow("a wave cut short") << "cut";
    }
    void anEffectThatIsNoWaveIsMissingAndPlaysTheBeep()
    {
        QFETCH(QString, kind);
        const QString path = temp.filePath(kind + QStringLiteral(".wav"));
        if (kind == QLatin1String("riff")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("RIFF....not a wave");
        } else if (kind == QLatin1String("midi")) {
            QVERIFY(writeTinyMidi(path, 240));
        } else if (kind == QLatin1String("slow")) {
            QVERIFY(writeToneWav(path, 4000, 2));
        } else if (kind == QLatin1String("cut")) {
            QVERIFY(writeToneWav(path, 1000, 22050, 0x7ffffff0));
        }
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!sndPlaySound(path, SND_ASYNC | SND_NODEFAULT));
        QVERIFY(sndPlaySound(path, SND_NOSTOP | SND_SYNC));
        QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
    }

    void aWaitingEffectIsCappedAndDoesNotInterrupt()
    {
        const QString longOne = temp.filePath(QStringLiteral("long.wav"));
        QVERIFY(writeToneWav(longOne, 8 * 22050, 22050));
        QThread::msleep(500);  // whatever an earlier test played has ended
        QElapsedTimer clock;
        clock.start();
        QVERIFY(sndPlaySound(longOne, SND_NOSTOP | SND_SYNC));
        const qint64 waited = clock.elapsed();
        QVERIFY2(waited >= kEffectWaitCapMs - 100 && waited < kEffectWaitCapMs + 1000,
                 qPrintable(QString::number(waited)));
        // It is still sounding: a waiting effect plays nothing and returns at once...
        clock.restart();
        QVERIFY(!sndPlaySound(EffectPath(QStringLiteral("Click")), SND_NOSTOP | SND_SYNC));
        QVERIFY(clock.elapsed() < 200);
        // ...while an effect started at once cuts it off.
        SetProgramFolderOverride(QStringLiteral(TAVOLNIK_BUILD_DIR));
        QVERIFY(sndPlaySound(EffectPath(QStringLiteral("Click")), SND_ASYNC));
        QThread::msleep(400);
        clock.restart();
        QVERIFY(sndPlaySound(EffectPath(QStringLiteral("Click")), SND_NOSTOP | SND_SYNC));
        QVERIFY(clock.elapsed() < 1000);
    }

    void withoutASoundDeviceEverythingIsSilent()
    {
        ShutdownSound();
        const QByteArray driver = qgetenv("SDL_AUDIODRIVER");
        qputenv("SDL_AUDIODRIVER", "no-such-driver");
        const QString midi = temp.filePath(QStringLiteral("quiet.mid"));
        QVERIFY(writeTinyMidi(midi, 2));
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(mciSendString("open \"" + midi + "\" alias bgm"), int32_t(MCIERR_HARDWARE));
        BgmFile = midi;
        BgmControl(BgmStart);
        QCOMPARE(BgmOpen, VbFalse);
        BgmControl(BgmPoll);
        BgmControl(BgmStop);
        SetProgramFolderOverride(QStringLiteral(TAVOLNIK_BUILD_DIR));
        PlayEffectWait(QStringLiteral("Click"));
        PlayEffect(QStringLiteral("Claps"));
        QVERIFY(!sndPlaySound(EffectPath(QStringLiteral("Click")), SND_SYNC));
        QVERIFY(clock.elapsed() < 3000);
        QVERIFY(boxes.isEmpty());
        restoreEnv("SDL_AUDIODRIVER", driver);
        ShutdownSound();
        // Shut down and started again, the sound works once more.
        QCOMPARE(mciSendString("open \"" + midi + "\" alias bgm"), 0);
    }

    void musicAndEffectsReachTheSoundCard()
    {
        ShutdownSound();
        const QByteArray driver = qgetenv("SDL_AUDIODRIVER");
        const QString raw = temp.filePath(QStringLiteral("card.raw"));
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(raw));
        const QString midi = temp.filePath(QStringLiteral("card.mid"));
        QVERIFY(writeTinyMidi(midi, 2));
        // The mixer writes 44.1 kHz stereo 16-bit; the loudest sample of what was written since
        // `from` bytes tells whether sound came out.
        const auto loudest = [&raw](qint64 from) {
            QFile f(raw);
            if (!f.open(QIODevice::ReadOnly)) return 0;
            f.seek(from);
            const QByteArray d = f.readAll();
            int top = 0;
            for (int i = 0; i + 1 < d.size(); i += 2)
                top = qMax(top, qAbs(int(qFromLittleEndian<qint16>(d.constData() + i))));
            return top;
        };
        QCOMPARE(mciSendString("open \"" + midi + "\" alias bgm"), 0);
        QCOMPARE(mciSendString(QStringLiteral("play bgm")), 0);
        QTest::qWait(800);  // the game's event loop runs meanwhile
        QCOMPARE(mciSendString(QStringLiteral("close bgm")), 0);
        QThread::msleep(500);  // let the silence after it reach the file
        const qint64 afterMusic = QFileInfo(raw).size();
        QVERIFY(afterMusic > 0);
        QVERIFY2(loudest(0) > 1000, "the music made no sound");
        QVERIFY2(loudest(afterMusic - 4096) < 50, "the music did not stop");
        SetProgramFolderOverride(QStringLiteral(TAVOLNIK_BUILD_DIR));
        QVERIFY(sndPlaySound(EffectPath(QStringLiteral("Crush1")), SND_SYNC));
        QThread::msleep(200);
        QVERIFY2(loudest(afterMusic) > 3000, "the effect made no sound");
        ShutdownSound();
        restoreEnv("SDL_AUDIODRIVER", driver);
        qunsetenv("SDL_DISKAUDIOFILE");
    }

    void aLoopedTuneNeverFallsSilent_data()
    {
        QTest::addColumn<bool>("recorded");
        QTest::newRow("synthesised live") << false;
        QTest::newRow("played from its recording") << true;
    }
    void aLoopedTuneNeverFallsSilent()
    {
        QFETCH(bool, recorded);
        const QString name = recorded ? QStringLiteral("gapless") : QStringLiteral("live");
        BgmFile = temp.filePath(name + QStringLiteral(".mid"));
        QVERIFY(writeTinyMidi(BgmFile, 1));  // half a second of notes without a rest
        if (recorded) {
            QFile f(BgmFile);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray b = f.readAll();
            const char* font = FindSoundFont(SoundFontUse::Recording);
            if (!font) QSKIP("no General MIDI sound font to record with");
            soundgen::renderOgg(std::vector<uint8_t>(b.begin(), b.end()), font,
                                QFile::encodeName(temp.filePath(name + QStringLiteral(".ogg"))).toStdString());
        }
        // Started and polled as the race screen does, across two loops.
        QString source;
        const QByteArray d = recordSoundCard(temp.filePath(QStringLiteral("loop.raw")), [&source] {
            BgmControl(BgmStart);
            source = MusicSourceOf(QStringLiteral("bgm"));
            QElapsedTimer clock;
            clock.start();
            while (clock.elapsed() < 1400) {
                QThread::msleep(100);
                BgmControl(BgmPoll);
            }
            BgmControl(BgmStop);
        });
        QCOMPARE(source.endsWith(QLatin1String(".ogg")), recorded);
        const Silence silence = SilenceOf(d);
        QVERIFY2(silence.soundedMs > 1000, "the music did not play across two loops");
        const double gapMs = silence.longestMs;
        qInfo("longest silence while the tune loops: %.2f ms", gapMs);
        QVERIFY2(gapMs <= 5, qPrintable(QString::number(gapMs)));
    }

    // A game over, a pause and a stage's end, on a steady tone in place of a tune: the music
    // falls silent and comes back in straight-line fades of 10 to 20 ms at the pause and of about
    // 300 ms where it stops, never with a step larger than the tone's own. Closing does not wait
    // for the fade, a new piece asked for while the last one still fades out (a stage's end and
    // its clear tune) starts once that fade is heard whole, and the program's end lets the fade
    // finish.
    void theMusicFadesWhereItStopsAndPauses()
    {
        BgmFile = temp.filePath(QStringLiteral("steady.wav"));
        QVERIFY(writeSteadyTone(BgmFile, 2000, 0.5, 4));
        qint64 closeMs = -1, restartMs = -1, exitMs = -1;
        QElapsedTimer exit;
        qunsetenv("SDL_DISKAUDIODELAY");
        const QByteArray d = recordSoundCard(temp.filePath(QStringLiteral("fades.raw")), [&] {
            BgmControl(0);
            QThread::msleep(300);
            BgmPause(true);
            QThread::msleep(200);
            BgmPause(false);
            QThread::msleep(300);
            QElapsedTimer clock;
            clock.start();
            BgmControl(1);  // the game over
            closeMs = clock.elapsed();
            QThread::msleep(600);
            BgmControl(0);  // the next race
            QThread::msleep(300);
            BgmControl(1);
            clock.restart();
            BgmControl(0);  // at once, while the last one fades out
            restartMs = clock.elapsed();
            QCOMPARE(BgmOpen, VbTrue);
            QTest::qWait(700);  // the game's event loop starts it once the fade is over
            BgmControl(1);  // and the program ends
            exit.start();
        });
        exitMs = exit.elapsed();
        QVERIFY2(closeMs < 50, qPrintable(QString::number(closeMs)));
        QVERIFY2(restartMs < 150, qPrintable(QString::number(restartMs)));
        QVERIFY2(exitMs < 600, qPrintable(QString::number(exitMs)));

        const QList<double> env = envelopeOf(d);
        const double full = *std::max_element(env.cbegin(), env.cend());
        QVERIFY2(full > 0.2, qPrintable(QString::number(full)));
        const double high = 0.9 * full, silent = 0.001 * full;
        const qsizetype start = crossing(env, 0, high, true);
        const qsizetype pauseFrom = crossing(env, start, high, false), paused = crossing(env, pauseFrom, silent, false);
        const qsizetype resumeFrom = crossing(env, paused, silent, true), resumed = crossing(env, resumeFrom, high, true);
        const qsizetype stopFrom = crossing(env, resumed, high, false), stopped = crossing(env, stopFrom, silent, false);
        const qsizetype nextStart = crossing(env, stopped, high, true);
        const qsizetype cutFrom = crossing(env, nextStart, high, false), cut = crossing(env, cutFrom, silent, false);
        const qsizetype endFrom = crossing(env, env.size() - 400, high, false), ended = crossing(env, endFrom, silent, false);
        // A straight-line fade passes from 90 % to 0.1 % in nine tenths of its length.
        const QString times = QString("pause %1 ms, resume %2 ms, stop %3 ms, before the next %4 ms, at the end %5 ms")
                                  .arg(paused - pauseFrom).arg(resumed - resumeFrom).arg(stopped - stopFrom)
                                  .arg(cut - cutFrom).arg(ended - endFrom);
        qInfo("%s", qPrintable(times));
        QVERIFY2(paused - pauseFrom >= 8 && paused - pauseFrom <= 20, qPrintable(times));
        QVERIFY2(resumed - resumeFrom >= 8 && resumed - resumeFrom <= 20, qPrintable(times));
        QVERIFY2(stopped - stopFrom >= 220 && stopped - stopFrom <= 330, qPrintable(times));
        QVERIFY2(cut - cutFrom >= 220 && cut - cutFrom <= 330, qPrintable(times));
        QVERIFY2(nextStart < env.size() && ended < env.size() && ended - endFrom >= 220, qPrintable(times));

        const double own = LargestStep(d, (start + 50) * 44, (start + 250) * 44);
        const double largest = LargestStep(d, 0, FramesOf(d));
        QVERIFY2(largest <= 1.3 * own, qPrintable(QString("a step of %1, the tone's own %2").arg(largest).arg(own)));
    }

    // A and B pressed fast, each effect cutting the one before short, on a steady 200 Hz tone in
    // place of the effects: the one cut off fades out under the new one, so no step is larger
    // than a few of the tone's own, and never do two sound at once at full level.
    void anEffectCutShortFadesOutUnderTheNext()
    {
        const QString tone = temp.filePath(QStringLiteral("tone.wav"));
        QVERIFY(writeSteadyTone(tone, 200, 0.6, 1, 5));
        qunsetenv("SDL_DISKAUDIODELAY");
        const QByteArray d = recordSoundCard(temp.filePath(QStringLiteral("cuts.raw")), [&tone] {
            for (int i = 0; i < 12; ++i) {
                QVERIFY(sndPlaySound(tone, SND_ASYNC));
                QThread::msleep(37 + 3 * i);
            }
            QThread::msleep(1200);
        });
        const QList<double> env = envelopeOf(d);
        const double loudest = *std::max_element(env.cbegin(), env.cend());
        QVERIFY2(loudest > 0.55 && loudest < 0.63, qPrintable(QString::number(loudest)));
        const double own = 2 * M_PI * 200 / 44100 * 0.6;
        const double largest = LargestStep(d, 0, FramesOf(d));
        QVERIFY2(largest <= 3 * own, qPrintable(QString("a step of %1, the tone's own %2").arg(largest).arg(own)));
    }

    // Every tune as the player hears it, played round once, against the race's effects alone
    // (EBU R128): the tunes within 0.5 LU of each other, every effect's loudest moment 7 to 9 LU
    // over every one of them. BGM1 synthesised live (its MIDI file alone, no recording belongs
    // to it) is heard within 1 LU of its recording, and its second round begins on time, with no
    // dip at its loop point.
    void theRaceEffectsStandOverEveryTune()
    {
        SetProgramFolderOverride(QStringLiteral(TAVOLNIK_BUILD_DIR));
        qputenv("SDL_DISKAUDIODELAY", "0");
        QMap<double, QString> tunes;
        double live = 0, recorded = 0, lateMs = 0, seamDb = 0;
        for (int n = 0; n <= 5; ++n) {
            BgmFile = soundFolder() + QStringLiteral("/BGM%1.mid").arg(qMax(n, 1));
            if (n == 0) {
                const QString alone = temp.filePath(QStringLiteral("BGM1.mid"));
                QFile::remove(alone);
                QVERIFY(QFile::copy(BgmFile, alone));
                BgmFile = alone;
            }
            QFile midi(BgmFile);
            QVERIFY(midi.open(QIODevice::ReadOnly));
            const double seconds = ReadMidiFile(midi.readAll()).seconds;
            const qsizetype round = qsizetype(seconds * 44100);
            const QString raw = temp.filePath(QStringLiteral("tune.raw"));
            const QByteArray d = recordSoundCard(raw, [&] {
                BgmControl(0);
                // The driver writes silence as fast as it can until the tune starts: rounds are
                // counted from its first sound, polled as the race screen polls.
                QFile file(raw);
                QVERIFY(file.open(QIODevice::ReadOnly));
                qint64 soundAt = -1;
                QElapsedTimer clock;
                clock.start();
                while (clock.elapsed() < 90000) {
                    QThread::msleep(100);
                    BgmControl(2);
                    if (soundAt < 0) {
                        const qint64 from = file.pos() / 4;
                        const qsizetype f = FirstSound(file.read(file.bytesAvailable() & ~qint64(3)));
                        if (f >= 0) soundAt = from + f;
                    }
                    if (soundAt >= 0 && file.size() / 4 >= soundAt + (n == 0 ? 2 : 1) * round + 44100) break;
                }
                BgmControl(1);
            });
            const qsizetype start = FirstSound(d);
            QVERIFY2(start >= 0 && start + round <= FramesOf(d),
                     qPrintable(QString("BGM%1: sound from frame %2 of %3").arg(n).arg(start).arg(FramesOf(d))));
            const double lufs = LoudnessOf(d, start, start + round).integrated;
            if (n == 0) {
                live = lufs;
                lateMs = 1000.0 * double(LagOf(d, start, start + round)) / 44100;
                seamDb = QuietestMsDb(d, start + round);
                continue;
            }
            if (n == 1) recorded = lufs;
            tunes.insert(lufs, QStringLiteral("BGM%1").arg(n));
        }
        QString levels;
        for (auto t = tunes.cbegin(); t != tunes.cend(); ++t) levels += QString("%1 %2 LUFS, ").arg(*t).arg(t.key(), 0, 'f', 2);
        qInfo("%slive BGM1 %.2f LUFS, its second round %.1f ms late, %.1f dB at its loop point", qPrintable(levels), live,
              lateMs, seamDb);
        QVERIFY2(tunes.lastKey() - tunes.firstKey() <= 0.5, qPrintable(levels));
        QVERIFY2(std::fabs(live - recorded) <= 1, qPrintable(QString("live %1, recorded %2").arg(live).arg(recorded)));
        QVERIFY2(std::fabs(lateMs) <= 3 && seamDb > -40, qPrintable(QString("%1 ms late, %2 dB").arg(lateMs).arg(seamDb)));
        for (const char* name : {"Up", "Down", "Crush1", "Crush2", "Claps"}) {
            const QByteArray d = recordSoundCard(temp.filePath(QStringLiteral("effect.raw")), [name] {
                PlayEffectWait(QLatin1String(name));
            });
            const double loudest = LoudnessOf(d, FirstSound(d), FramesOf(d)).loudestMoment;
            const QString what = QString("%1 %2 LUFS at its loudest over %3").arg(name).arg(loudest, 0, 'f', 2).arg(levels);
            QVERIFY2(loudest - tunes.lastKey() >= 7 && loudest - tunes.firstKey() <= 9, qPrintable(what));
        }
        qunsetenv("SDL_DISKAUDIODELAY");
    }

    void aRaceMixNeverClips()
    {
        SetProgramFolderOverride(QStringLiteral(TAVOLNIK_BUILD_DIR));
        // The loudest tune, two crashes, the claps and nine accelerations in a row.
        BgmFile = soundFolder() + QStringLiteral("/BGM1.mid");
        const Peak peak = PeakOf(recordSoundCard(temp.filePath(QStringLiteral("race.raw")),
                                                 [] { PlayLoudestRaceMoment(300); }));
        qInfo("loudest sample %.2f dBFS, %d at full scale", peak.dbfs(), peak.fullScale);
        QVERIFY(peak.top > 8000);  // it was loud
        QCOMPARE(peak.fullScale, 0);
    }

    // A FIFO where a tune's recording would be is passed over at once: the tune is synthesised.
    void aRecordingThatIsAFifoIsNeverOpened()
    {
        const QString midi = temp.filePath(QStringLiteral("piped.mid"));
        const QString fifo = temp.filePath(QStringLiteral("piped.ogg"));
        QVERIFY(writeTinyMidi(midi, 1));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QFile f(midi);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        auto found = std::async(std::launch::async, [&] { return RenderingOf(midi, bytes); });
        const bool atOnce = found.wait_for(std::chrono::seconds(2)) == std::future_status::ready;
        // A reader stuck in open() is let go by a writer.
        if (!atOnce) ::close(::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK));
        QVERIFY(atOnce);
        QVERIFY(found.get().isEmpty());
    }

    // ---- the files soundgen writes ----

    // The game times a tune's loop by the length it reads from the MIDI file: notes in running
    // status, every tempo change wherever it stands, a file wrapped as RMID; a track that ends
    // without its end-of-track event still counts, one cut inside an event gives no length.
    void aTuneLastsAsItsTempoMapSays_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<bool>("whole");
        const QByteArray tempo = "00 ff5103 07a120 ";  // 500000 us a beat: 120 bpm
        const QByteArray running = tempo + "00 903c64 8360 3c00 00 4064 8360 4000 ";  // two beats
        const QByteArray end = "00 ff2f00";
        QTest::newRow("running status") << midiFile(0, {running + end}) << 1.0 << true;
        QTest::newRow("tempo change") << midiFile(0, {tempo + "00 903c64 8360 ff5103 03d090 8360 803c00 " + end})
                                      << 0.75 << true;
        QTest::newRow("tempo map over two tracks")
            << midiFile(1, {tempo + "8740 ff5103 0f4240 " + end, "8360 ff5103 03d090 00 903c64 8740 803c00 " + end})
            << 1.75 << true;
        QByteArray rmid("RIFF");
        const QByteArray inner = midiFile(0, {running + end});
        put32(rmid, quint32(12 + inner.size()));
        rmid.append("RMIDdata");
        put32(rmid, quint32(inner.size()));
        QTest::newRow("wrapped as RMID") << rmid + inner << 1.0 << true;
        QTest::newRow("no end of track") << midiFile(0, {running}) << 1.0 << false;
        QTest::newRow("cut inside an event") << midiFile(0, {"00 ff5103 07a1"}) << 0.0 << false;
    }
    void aTuneLastsAsItsTempoMapSays()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(double, seconds);
        QFETCH(bool, whole);
        const MidiFile file = ReadMidiFile(bytes);
        QVERIFY(file.midi);
        QCOMPARE(file.seconds, seconds);
        QCOMPARE(file.error == nullptr, whole);
    }

    // The game's mixer takes every tune soundgen wrote (soundgen's own checks of what the files
    // hold are beside it, in tools/soundgen).
    void theBuiltTunesOpen_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"BGM1", "BGM2", "BGM3", "BGM4", "BGM5"}) QTest::newRow(name) << name;
    }
    void theBuiltTunesOpen()
    {
        QFETCH(QString, name);
        const QString path = soundFolder() + "/" + name + ".mid";
        QCOMPARE(mciSendString("open \"" + path + "\" alias bgm"), 0);
        QCOMPARE(mciSendString(QStringLiteral("close bgm")), 0);
    }

    // A tune plays from soundgen's rendering only while the rendering belongs to the very MIDI
    // bytes beside it; anything else is synthesised from the MIDI file, and plays all the same.
    void aTunePlaysItsRenderingOnlyWhileItMatches_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("rendered");
        QTest::newRow("as built") << "" << true;
        QTest::newRow("MIDI changed since") << "midi" << false;
        QTest::newRow("no rendering") << "remove" << false;
        QTest::newRow("rendering damaged") << "damage" << false;
        QTest::newRow("player's own sound font") << "soundfont" << false;
    }
    void aTunePlaysItsRenderingOnlyWhileItMatches()
    {
        QFETCH(QString, change);
        QFETCH(bool, rendered);
        QTemporaryDir dir;
        const QString midi = dir.filePath(QStringLiteral("BGM1.mid"));
        const QString ogg = dir.filePath(QStringLiteral("BGM1.ogg"));
        QVERIFY(QFile::copy(soundFolder() + "/BGM1.mid", midi));
        QVERIFY(QFile::copy(soundFolder() + "/BGM1.ogg", ogg));
        QFile::setPermissions(ogg, QFile::ReadOwner | QFile::WriteOwner);
        QFile::setPermissions(midi, QFile::ReadOwner | QFile::WriteOwner);
        const QByteArray fonts = qgetenv("SDL_SOUNDFONTS");
        if (change == "midi") {
            // Bytes after the last track: still a valid MIDI file, but not the one rendered.
            QFile f(midi);
            QVERIFY(f.open(QIODevice::Append));
            f.write("MTrk\0\0\0\0");
        } else if (change == "remove") {
            QVERIFY(QFile::remove(ogg));
        } else if (change == "damage") {
            QFile f(ogg);
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.seek(0);
            f.write("NotOgg");  // the tag further on is still there
        } else if (change == "soundfont") {
            qputenv("SDL_SOUNDFONTS", "/usr/share/sounds/sf2/TimGM6mb.sf2");
        }
        QCOMPARE(mciSendString("open \"" + midi + "\" alias bgm"), 0);
        restoreEnv("SDL_SOUNDFONTS", fonts);
        QCOMPARE(MusicSourceOf(QStringLiteral("BGM")), rendered ? ogg : midi);
        QCOMPARE(mciSendString(QStringLiteral("play bgm")), 0);
        QString reply;
        QCOMPARE(mciSendString(QStringLiteral("status bgm mode"), &reply), 0);
        QCOMPARE(reply, QStringLiteral("playing"));
        QCOMPARE(mciSendString(QStringLiteral("close bgm")), 0);
        QVERIFY(MusicSourceOf(QStringLiteral("bgm")).isEmpty());
    }
};

QTEST_MAIN(TestSound)
#include "test_sound.moc"
