// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Helpers shared by the ranking tests: a settings folder of their own for every test, the file
// the rankings live in, the effects that were played, standard error caught while a call runs,
// and a hand on the modal ranking window while it is open.
#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cstdio>
#include <functional>
#include <unistd.h>

#include "audio/media_recorder.h"
#include "storage/settings_store.h"
#include "scores/high_scores.h"
#include "screens/form_rank.h"

namespace scores_test {

// The root of every settings folder the tests use. It is made, and XDG_CONFIG_HOME pointed into
// it, before the application object exists, so no test can ever reach the player's own settings;
// XDG_STATE_HOME goes beside it, so no test reads or removes the player's unsaved results.
inline QTemporaryDir& configRoot()
{
    static QTemporaryDir root;
    return root;
}

inline void pointConfigAt(const QString& dir)
{
    QDir().mkpath(dir);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir));
    qputenv("XDG_STATE_HOME", QFile::encodeName(dir + QStringLiteral("-state")));
}

// A fresh, empty settings folder. Each test gets its own, so the settings library's memory of
// one test's file can never leak into another's.
inline QString freshConfig()
{
    static int count = 0;
    const QString dir = configRoot().path() + QStringLiteral("/config%1").arg(++count);
    pointConfigAt(dir);
    return dir;
}

inline QString rankingFile() { return SettingsStore::filePath(QStringLiteral("Tavolnik")); }

inline QByteArray readRaw(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeRaw(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Writes the tables in memory to the ranking file as they are, as an earlier session left them.
inline void saveTablesAsTheyAre()
{
    SettingsStore store(QStringLiteral("Tavolnik"));
    for (int kind = 1; kind <= RankKinds(); ++kind)
        for (int slot = 1; slot <= RankSlots(); ++slot)
            for (int rank = 0; rank < RanksKept; ++rank) {
                store.SaveSetting(QStringLiteral("Setting"), ScoreNameKey(kind, slot, rank), HScoreName[kind][slot][rank]);
                store.SaveSetting(QStringLiteral("Setting"), ScoreValKey(kind, slot, rank),
                                  QString::number(HScoreVal[kind][slot][rank]));
            }
    QVERIFY(store.Save());
}

// Moves to a new settings folder holding a copy of the ranking file: reading the copy parses
// what is really on disk, not what the settings library remembers having written.
inline void moveToCopyOfRankingFile()
{
    const QByteArray bytes = readRaw(rankingFile());
    freshConfig();
    writeRaw(rankingFile(), bytes);
}

// Every key of the [Setting] group in the file as it is on disk.
inline QMap<QString, QString> keysOnDisk()
{
    static int probes = 0;
    const QString copy = configRoot().path() + QStringLiteral("/probe%1.conf").arg(++probes);
    QFile::copy(rankingFile(), copy);
    QSettings settings(copy, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Setting"));
    QMap<QString, QString> keys;
    for (const QString& key : settings.childKeys()) keys.insert(key, settings.value(key).toString());
    return keys;
}

// Types text into a widget one character at a time, Japanese included.
inline void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// The names of the effects played so far ("Click", "Claps"), in order.
inline QStringList effectNames(const MediaRecorder& recorder)
{
    QStringList names;
    for (const MediaCall& call : recorder.effects()) names << QFileInfo(call.text).completeBaseName();
    return names;
}

// Runs a call with standard error caught, and gives back what it wrote there.
inline QString catchStderr(const std::function<void()>& call)
{
    std::fflush(stderr);
    const QString path = configRoot().path() + QStringLiteral("/stderr.txt");
    FILE* sink = std::fopen(QFile::encodeName(path).constData(), "w");
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(::fileno(sink), STDERR_FILENO);
    call();
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    std::fclose(sink);
    return QString::fromLocal8Bit(readRaw(path));
}

// Acts on the ranking window once its modal showing has begun, then lets it close. Anything the
// action leaves open is closed after a few seconds, so no test can hang on the modal window.
class WhileRankOpen
{
public:
    explicit WhileRankOpen(std::function<void(form_Rank*)> action) : action_(std::move(action))
    {
        poll_.setInterval(0);
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            auto* rank = qobject_cast<form_Rank*>(QApplication::activeModalWidget());
            if (!rank) return;
            poll_.stop();
            opened = true;
            window = rank;
            // As a player would, act once the window has come up and taken the keyboard.
            activated = QTest::qWaitForWindowActive(rank);
            if (action_ && window) action_(rank);
        });
        watchdog_.setSingleShot(true);
        watchdog_.setInterval(5000);
        QObject::connect(&watchdog_, &QTimer::timeout, [this] {
            timedOut = true;
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        poll_.start();
        watchdog_.start();
    }
    ~WhileRankOpen()
    {
        poll_.stop();
        watchdog_.stop();
    }

    bool opened = false;
    bool activated = false;
    bool timedOut = false;
    QPointer<form_Rank> window;

private:
    std::function<void(form_Rank*)> action_;
    QTimer poll_;
    QTimer watchdog_;
};

}  // namespace scores_test
