// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Fuzzes the ranking file: any bytes as Tavolnik.conf, then LoadScore, then SaveScore. A damaged
// file must never crash the game, and every entry must come back as a name and a whole number.
// The save must succeed: either the file read back holds exactly what is in memory, or the input
// was set aside whole beside it; and the save keeps every entry that was read. A save that fails
// without a word, or loses an entry, stops the fuzzer. The same bytes are saved once more through
// a symbolic link to a file in another folder, which must stay where it is (written through, or
// untouched when the link goes aside), and once in a folder where nothing more fits, where the
// save must fail with the player told and the file left as it was.
#include <QGuiApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <sys/resource.h>

#include "storage/settings_store.h"
#include "scores/high_scores.h"

namespace {
QTemporaryDir* root = nullptr;

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    file.write(bytes);
}

void useFolder(const QString& dir)
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir));
    qputenv("XDG_STATE_HOME", QFile::encodeName(dir + QStringLiteral("-state")));
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // The game reads its settings with its windows' application running, and a value stored as a
    // picture (the settings library can hold any type) is only made with one.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    root = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Every input gets folders of its own: the settings library keeps files it has read in a
    // cache, and a new path is never mistaken for an old one.
    static unsigned long count = 0;
    const QString dir = root->path() + QStringLiteral("/%1").arg(++count);
    useFolder(dir + QStringLiteral("/a"));
    const QString file = SettingsStore::filePath(QStringLiteral("Tavolnik"));
    writeFile(file, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));

    LoadScore();
    QString names[3][3][5];
    int32_t values[3][3][5];
    for (int k = 1; k <= 2; ++k)
        for (int s = 1; s <= 2; ++s)
            for (int r = 0; r <= 4; ++r) {
                names[k][s][r] = HScoreName[k][s][r];
                values[k][s][r] = HScoreVal[k][s][r];
            }
    QString failure;
    if (!SaveScore(&failure)) {
        std::fprintf(stderr, "the save failed: %s\n", qPrintable(failure));
        std::abort();
    }
    const QStringList aside = QFileInfo(file).dir().entryList({QStringLiteral("Tavolnik.conf.damaged-*")});
    if (aside.size() > 1) std::abort();
    if (aside.size() == 1) {
        QFile kept(QFileInfo(file).dir().filePath(aside[0]));
        if (!kept.open(QIODevice::ReadOnly) || kept.readAll() != QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))) {
            std::fprintf(stderr, "the input was not set aside whole\n");
            std::abort();
        }
    }

    // What was saved reads back, from a copy of the file on disk, exactly as it was read.
    QFile saved(file);
    if (!saved.open(QIODevice::ReadOnly)) std::abort();
    const QByteArray bytes = saved.readAll();
    useFolder(dir + QStringLiteral("/b"));
    writeFile(SettingsStore::filePath(QStringLiteral("Tavolnik")), bytes);
    LoadScore();
    for (int k = 1; k <= 2; ++k)
        for (int s = 1; s <= 2; ++s)
            for (int r = 0; r <= 4; ++r)
                if (HScoreName[k][s][r] != names[k][s][r] || HScoreVal[k][s][r] != values[k][s][r]) {
                    std::fprintf(stderr, "ranking entry %d_%d_%d did not come back: \"%s\" %d, read \"%s\" %d\n",
                                 k, s, r, qPrintable(names[k][s][r]), values[k][s][r],
                                 qPrintable(HScoreName[k][s][r]), HScoreVal[k][s][r]);
                    std::abort();
                }

    // Through a link to a file in another folder.
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    useFolder(dir + QStringLiteral("/c"));
    const QString link = SettingsStore::filePath(QStringLiteral("Tavolnik"));
    const QString outside = dir + QStringLiteral("/elsewhere/dotfile.conf");
    writeFile(outside, input);
    QDir().mkpath(QFileInfo(link).path());
    if (!QFile::link(outside, link)) std::abort();
    LoadScore();
    if (!SaveScore(&failure)) {
        std::fprintf(stderr, "the save through a link failed: %s\n", qPrintable(failure));
        std::abort();
    }
    if (QDir(dir + QStringLiteral("/elsewhere")).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot) !=
        QStringList{QStringLiteral("dotfile.conf")}) {
        std::fprintf(stderr, "the save through a link left something beside its target\n");
        std::abort();
    }
    const bool through = QFileInfo(link).isSymLink();
    QFile target(outside);
    if (!target.open(QIODevice::ReadOnly) || (!through && target.readAll() != input)) {
        std::fprintf(stderr, "the link went aside, yet its target was changed\n");
        std::abort();
    }

    // In a full folder.
    useFolder(dir + QStringLiteral("/d"));
    writeFile(SettingsStore::filePath(QStringLiteral("Tavolnik")), input);
    LoadScore();
    KeepUnsavedResult(2, 1, 99999, QStringLiteral("x"));
    // A full folder is a file size limit; writing past it fails instead of ending the process
    // (libFuzzer's own handler of that signal is put back afterwards).
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit full{200, limit.rlim_max};
    struct sigaction ignore {}, fuzzers {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &fuzzers);
    setrlimit(RLIMIT_FSIZE, &full);
    failure.clear();
    const bool savedInFull = SaveScore(&failure);
    setrlimit(RLIMIT_FSIZE, &limit);
    sigaction(SIGXFSZ, &fuzzers, nullptr);
    QFile kept(SettingsStore::filePath(QStringLiteral("Tavolnik")));
    if (savedInFull || failure.isEmpty() || !kept.open(QIODevice::ReadOnly) || kept.readAll() != input) {
        std::fprintf(stderr, "a save in a full folder did not fail as told, or changed the file\n");
        std::abort();
    }
    ResetHighScores();

    QDir(dir).removeRecursively();
    return 0;
}
