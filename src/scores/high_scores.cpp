// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "scores/high_scores.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QSaveFile>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <cstdio>
#include <utility>

#include "runtime/message_box.h"
#include "storage/settings_store.h"

RankTables<QString> HScoreName = EmptyRankTables<QString>();
RankTables<int32_t> HScoreVal = EmptyRankTables<int32_t>();
int16_t RankMode = 0;
int16_t RankStage = 0;

namespace {
const QString kApp = QStringLiteral("Tavolnik");
const QString kSection = QStringLiteral("Setting");

struct UnsavedResult {
    int kind, slot;
    int32_t value;
    QString name;
};
QList<UnsavedResult> unsaved;

// The results kept in the recovery files that can be read, and the files they came from.
QList<UnsavedResult> recoveredResults(QStringList* files = nullptr)
{
    QList<UnsavedResult> results;
    for (const QString& path : RecoveryFilePaths()) {
        QByteArray bytes;
        if (!ReadSettingsSizedFile(path, &bytes)) continue;
        const QJsonDocument document = QJsonDocument::fromJson(bytes);
        if (!document.isArray()) continue;
        for (const QJsonValue& item : document.array()) {
            const QJsonObject o = item.toObject();
            const int kind = o.value(QStringLiteral("kind")).toInt(), slot = o.value(QStringLiteral("slot")).toInt();
            const double value = o.value(QStringLiteral("value")).toDouble(-1e12);
            if (kind < 1 || kind > RankKinds() || slot < 1 || slot > RankSlots() || value != double(int32_t(value)))
                continue;
            results.append({kind, slot, int32_t(value), RankingName(o.value(QStringLiteral("name")).toString())});
        }
        if (files) files->append(path);
    }
    return results;
}

// Writes results to a recovery file; never through a link, never over anything but a file.
bool writeRecovery(const QString& path, const QList<UnsavedResult>& results)
{
    const QFileInfo at(path);
    if (at.isSymLink() || (at.exists() && !at.isFile())) return false;
    if (!QDir().mkpath(at.path())) return false;
    QJsonArray array;
    for (const UnsavedResult& r : results)
        array.append(QJsonObject{{QStringLiteral("kind"), r.kind},
                                 {QStringLiteral("slot"), r.slot},
                                 {QStringLiteral("value"), r.value},
                                 {QStringLiteral("name"), r.name}});
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(QJsonDocument(array).toJson());
    return file.commit();
}

void enterResult(RankTables<QString>& names, RankTables<int32_t>& values, const UnsavedResult& r)
{
    const int rank = RankOfResult(r.kind, values[r.kind][r.slot], r.value);
    if (rank >= 0) EnterAtRank(names[r.kind][r.slot], values[r.kind][r.slot], rank, r.name, r.value);
}

QString entryKey(const char* prefix, int kind, int slot, int rank)
{
    return QLatin1String(prefix) + QString::number(kind) + QLatin1Char('_') + QString::number(slot) +
           QLatin1Char('_') + QString::number(rank);
}

void readTables(const SettingsStore& store, RankTables<QString>& names, RankTables<int32_t>& values)
{
    for (int kind = 1; kind <= RankKinds(); ++kind)
        for (int slot = 1; slot <= RankSlots(); ++slot)
            for (int rank = 0; rank < RanksKept; ++rank) {
                names[kind][slot][rank] =
                    store.GetSetting(kSection, ScoreNameKey(kind, slot, rank), DefaultScoreName());
                const int32_t fallback = DefaultScoreVal(kind);
                int32_t value = fallback;
                if (!ParseWholeNumber(store.GetSetting(kSection, ScoreValKey(kind, slot, rank),
                                                       QString::number(fallback)),
                                      &value))
                    value = fallback;
                values[kind][slot][rank] = value;
            }
}
}  // namespace

QString RankSlotName(int slot) { return QStringLiteral("STAGE%1").arg(slot); }

QString DefaultScoreName() { return QStringLiteral("ぜんた"); }

int32_t DefaultScoreVal(int kind) { return kind == RankStory ? 60 : 3000; }

QString ScoreNameKey(int kind, int slot, int rank) { return entryKey("HScore_Nm_", kind, slot, rank); }

QString ScoreValKey(int kind, int slot, int rank) { return entryKey("HScore_Val_", kind, slot, rank); }

int RankOfResult(int kind, const RankEntries<int32_t>& values, int32_t result)
{
    for (int i = 0; i < RanksKept; ++i)
        if (kind == RankStory ? result < values[i] : result > values[i]) return i;
    return -1;
}

void EnterAtRank(RankEntries<QString>& names, RankEntries<int32_t>& values, int rank, const QString& name,
                 int32_t result)
{
    for (int i = RanksKept - 2; i >= rank; --i) {
        names[i + 1] = names[i];
        values[i + 1] = values[i];
    }
    names[rank] = name;
    values[rank] = result;
}

QString RankingName(const QString& typed)
{
    // Only the start of a pasted novel is looked at.
    QString name = StorableText(typed.left(MaxNameLength + 64));
    if (name.size() <= MaxNameLength) return name;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, name);
    characters.setPosition(MaxNameLength);
    if (!characters.isAtBoundary()) characters.toPreviousBoundary();
    return name.left(std::max<qsizetype>(0, characters.position()));
}

void KeepUnsavedResult(int kind, int slot, int32_t result, const QString& name)
{
    unsaved.append({kind, slot, result, RankingName(name)});
}

bool HasUnsavedResults() { return !unsaved.isEmpty(); }

QStringList RecoveryFilePaths()
{
    const QString name = QStringLiteral("Tavolnik.unsaved");
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state)) state = QDir::homePath() + QStringLiteral("/.local/state");
    return {QFileInfo(SettingsStore::filePath(kApp)).path() + QLatin1Char('/') + name,
            QDir::cleanPath(state + QStringLiteral("/Tavolnik/") + name)};
}

void LoadScore()
{
    const SettingsStore store(kApp);
    readTables(store, HScoreName, HScoreVal);
    for (const UnsavedResult& r : recoveredResults()) enterResult(HScoreName, HScoreVal, r);
}

bool SaveScore(QString* failure, int waitMs)
{
    const SettingsLock lock(kApp, waitMs);
    if (!lock.held()) {
        if (failure) *failure = lock.failure();
        return false;
    }
    // The tables as they are on disk now, another copy's latest entries included.
    SettingsStore store(kApp);
    RankTables<QString> names = EmptyRankTables<QString>();
    RankTables<int32_t> values = EmptyRankTables<int32_t>();
    readTables(store, names, values);
    QStringList recoveryFiles;
    for (const UnsavedResult& r : recoveredResults(&recoveryFiles) + unsaved) enterResult(names, values, r);
    for (int kind = 1; kind <= RankKinds(); ++kind)
        for (int slot = 1; slot <= RankSlots(); ++slot)
            for (int rank = 0; rank < RanksKept; ++rank) {
                store.SaveSetting(kSection, ScoreNameKey(kind, slot, rank), names[kind][slot][rank]);
                store.SaveSetting(kSection, ScoreValKey(kind, slot, rank),
                                  QString::number(values[kind][slot][rank]));
            }
    if (!store.Save()) {
        if (failure) *failure = store.failure();
        return false;
    }
    unsaved.clear();
    for (const QString& file : std::as_const(recoveryFiles)) QFile::remove(file);
    HScoreName = std::move(names);
    HScoreVal = std::move(values);
    return true;
}

void KeepResultsAtQuit(bool bySignal)
{
    if (unsaved.isEmpty()) return;
    QString failure;
    if (SaveScore(&failure, bySignal ? 0 : SettingsLock::WaitLimitMs)) return;

    // Everything still waiting goes into one file, this session's results after those kept
    // before; the other place's file, folded in, goes.
    const QList<UnsavedResult> all = recoveredResults() + unsaved;
    QString written;
    for (const QString& path : RecoveryFilePaths())
        if (writeRecovery(path, all)) {
            written = path;
            break;
        }
    QString text = QCoreApplication::translate("HighScores", "ランキングを保存できませんでした。\n%1。\n").arg(failure);
    if (!written.isEmpty()) {
        for (const QString& path : RecoveryFilePaths())
            if (path != written && QFileInfo(path).isFile() && !QFileInfo(path).isSymLink()) QFile::remove(path);
        unsaved.clear();
        text += QCoreApplication::translate("HighScores", "まだ保存していない記録は、次のファイルに書きとめました。\n%1\n"
                                                                "次に起動したとき、最初の保存でランキングに入ります。")
                    .arg(QDir::toNativeSeparators(written));
        std::fprintf(stderr, "tavolnik: the unsaved results are kept in %s; the next start enters them at its first save\n",
                     qPrintable(QDir::toNativeSeparators(written)));
    } else {
        QString list;
        for (const UnsavedResult& r : std::as_const(all))
            list += QStringLiteral("%1 %2: %3\n")
                        .arg(r.kind == RankStory ? RankSlotName(r.slot) : QCoreApplication::translate("Stages", "ドライブ"))
                        .arg(r.kind == RankStory ? QCoreApplication::translate("HighScores", "%1秒").arg(r.value) : QStringLiteral("%1M").arg(r.value), r.name);
        text += QCoreApplication::translate("HighScores", "記録を書きとめるファイルも作れませんでした。失われる記録:\n") + list;
        std::fprintf(stderr, "tavolnik: the unsaved results could not be written to %s; they are:\n%s",
                     qPrintable(QDir::toNativeSeparators(RecoveryFilePaths().join(QStringLiteral(" or ")))),
                     qPrintable(list));
    }
    std::fflush(stderr);
    if (!bySignal) MsgBox(text, QStringLiteral("Tavolnik"));
}

void ResetHighScores()
{
    HScoreName = EmptyRankTables<QString>();
    HScoreVal = EmptyRankTables<int32_t>();
    RankMode = 0;
    RankStage = 0;
    unsaved.clear();
}
