// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "scores/high_scores.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QRegularExpression>
#include <QSet>
#include <QTextBoundaryFinder>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
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

// Where the settings file notes the recovery files it has entered, by their content.
const QString kRecoveredSection = QStringLiteral("Recovered");
const QString kEnteredKey = QStringLiteral("Entered");

// A recovery file as found: what could be read of it, whether that is all it holds, and its
// content's mark (empty when it could not be read at all).
struct RecoveryFile {
    QString path;
    QByteArray mark;
    QList<UnsavedResult> results;
    bool whole = false;
};

QList<RecoveryFile> readRecoveryFiles()
{
    QList<RecoveryFile> files;
    for (const QString& path : RecoveryFiles()) {
        RecoveryFile file{path, {}, {}, false};
        QByteArray bytes;
        if (ReadSettingsSizedFile(path, &bytes)) {
            file.mark = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(32);
            const QJsonDocument document = QJsonDocument::fromJson(bytes);
            file.whole = document.isArray();
            for (const QJsonValue& item : document.array()) {
                const QJsonObject o = item.toObject();
                const int kind = o.value(QStringLiteral("kind")).toInt(), slot = o.value(QStringLiteral("slot")).toInt();
                const double value = o.value(QStringLiteral("value")).toDouble(-1e12);
                if (kind < 1 || kind > RankKinds() || slot < 1 || slot > RankSlots() || value != double(int32_t(value)) ||
                    !o.value(QStringLiteral("name")).isString()) {
                    file.whole = false;  // a table this version does not have, or damage
                    continue;
                }
                file.results.append({kind, slot, int32_t(value), RankingName(o.value(QStringLiteral("name")).toString())});
            }
        }
        files.append(file);
    }
    return files;
}

// The player hears once a run of each recovery file that stays because it cannot be read whole:
// in a box once the windows are up, and on standard error.
void tellRecoveryFilesLeft(const QList<RecoveryFile>& files)
{
    static QSet<QString> told;
    for (const RecoveryFile& file : files) {
        if (file.whole || told.contains(file.path)) continue;
        told.insert(file.path);
        const QString path = QDir::toNativeSeparators(file.path);
        std::fprintf(stderr, "tavolnik: the unsaved results in %s cannot all be read; the file is left where it is\n",
                     qPrintable(path));
        std::fflush(stderr);
        if (!QCoreApplication::instance()) continue;
        QTimer::singleShot(0, QCoreApplication::instance(), [path] {
            MsgBox(QCoreApplication::translate("HighScores", "前に保存できなかった記録のファイルを、すべては読めませんでした。"
                                                             "読めた記録はランキングに入れ、ファイルはそのまま残してあります。\n%1")
                       .arg(path),
                   QStringLiteral("Tavolnik"));
        });
    }
}

// The results of the recovery files the settings file has not entered yet, each file's once
// however many times it is found; *found gets the marks of every file read.
QList<UnsavedResult> notYetEntered(const SettingsStore& store, const QList<RecoveryFile>& files, QStringList* found)
{
    QSet<QString> entered;
    for (const QString& mark : store.GetSetting(kRecoveredSection, kEnteredKey, QString()).split(QLatin1Char(' ')))
        entered.insert(mark);
    QList<UnsavedResult> results;
    for (const RecoveryFile& file : files) {
        const QString mark = QString::fromLatin1(file.mark);
        if (mark.isEmpty() || found->contains(mark)) continue;
        found->append(mark);
        if (!entered.contains(mark)) results += file.results;
    }
    return results;
}

// Writes results to a new recovery file in folder, under a name no file there has had: the text
// goes into a private file made there, which is then linked under the new name, so nothing at
// that name (a link, another copy's file) is ever written through or replaced.
QString writeRecovery(const QString& folder, const QList<UnsavedResult>& results)
{
    static int serial = 0;
    if (!QDir().mkpath(folder)) return QString();
    const QString stem = QStringLiteral("Tavolnik-%1-%2-%3")
                             .arg(QDateTime::currentMSecsSinceEpoch())
                             .arg(QCoreApplication::applicationPid())
                             .arg(++serial);
    QJsonArray array;
    for (const UnsavedResult& r : results)
        array.append(QJsonObject{{QStringLiteral("kind"), r.kind},
                                 {QStringLiteral("slot"), r.slot},
                                 {QStringLiteral("value"), r.value},
                                 {QStringLiteral("name"), r.name},
                                 {QStringLiteral("id"), stem}});  // no two files alike
    const QByteArray text = QJsonDocument(array).toJson();
    const QByteArray made = QFile::encodeName(folder + QStringLiteral("/.") + stem + QStringLiteral(".part"));
    const QByteArray named = QFile::encodeName(folder + QLatin1Char('/') + stem + QStringLiteral(".unsaved"));
    const int fd = ::open(made.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return QString();
    qint64 written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.constData() + written, size_t(text.size() - written));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        written += n;
    }
    const bool whole = written == text.size() && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    const bool linked = whole && closed && ::link(made.constData(), named.constData()) == 0;
    ::unlink(made.constData());
    return linked ? QFile::decodeName(named) : QString();
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

QStringList RecoveryFolders()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state)) state = QDir::homePath() + QStringLiteral("/.local/state");
    return {QFileInfo(SettingsStore::filePath(kApp)).path(), QDir::cleanPath(state + QStringLiteral("/Tavolnik"))};
}

QStringList RecoveryFiles()
{
    static const QRegularExpression named(QStringLiteral("^Tavolnik(-[0-9]+-[0-9]+-[0-9]+)?\\.unsaved$"));
    QStringList files;
    for (const QString& folder : RecoveryFolders()) {
        const QDir dir(folder);
        for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name))
            if (named.match(name).hasMatch()) files << dir.filePath(name);
    }
    return files;
}

void LoadScore()
{
    const SettingsStore store(kApp);
    readTables(store, HScoreName, HScoreVal);
    const QList<RecoveryFile> files = readRecoveryFiles();
    QStringList found;
    for (const UnsavedResult& r : notYetEntered(store, files, &found)) enterResult(HScoreName, HScoreVal, r);
    tellRecoveryFilesLeft(files);
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
    // Every recovery file there is read before any goes; a copy writing one meanwhile makes a
    // new file, which this save neither reads nor removes.
    const QList<RecoveryFile> files = readRecoveryFiles();
    QStringList found;
    for (const UnsavedResult& r : notYetEntered(store, files, &found) + unsaved) enterResult(names, values, r);
    for (int kind = 1; kind <= RankKinds(); ++kind)
        for (int slot = 1; slot <= RankSlots(); ++slot)
            for (int rank = 0; rank < RanksKept; ++rank) {
                store.SaveSetting(kSection, ScoreNameKey(kind, slot, rank), names[kind][slot][rank]);
                store.SaveSetting(kSection, ScoreValKey(kind, slot, rank),
                                  QString::number(values[kind][slot][rank]));
            }
    // The files entered by now that are still there: a file that outlives its removal is
    // entered no more. The note forgets the files that are gone.
    const QString entered = found.join(QLatin1Char(' '));
    if (entered != store.GetSetting(kRecoveredSection, kEnteredKey, QString()))
        store.SaveSetting(kRecoveredSection, kEnteredKey, entered);
    if (!store.Save()) {
        if (failure) *failure = store.failure();
        return false;
    }
    unsaved.clear();
    for (const RecoveryFile& file : files)
        if (file.whole) QFile::remove(file.path);
    tellRecoveryFilesLeft(files);
    HScoreName = std::move(names);
    HScoreVal = std::move(values);
    return true;
}

void KeepResultsAtQuit(bool bySignal)
{
    if (unsaved.isEmpty()) return;
    QString failure;
    if (SaveScore(&failure, bySignal ? 0 : SettingsLock::WaitLimitMs)) return;

    // This session's results go into a new file of their own; the files kept before stay as
    // they are, for the next save to enter.
    QString written;
    for (const QString& folder : RecoveryFolders())
        if (!(written = writeRecovery(folder, unsaved)).isEmpty()) break;
    QString text = QCoreApplication::translate("HighScores", "ランキングを保存できませんでした。\n%1。\n").arg(failure);
    if (!written.isEmpty()) {
        unsaved.clear();
        text += QCoreApplication::translate("HighScores", "まだ保存していない記録は、次のファイルに書きとめました。\n%1\n"
                                                                "次に起動したとき、最初の保存でランキングに入ります。")
                    .arg(QDir::toNativeSeparators(written));
        std::fprintf(stderr, "tavolnik: the unsaved results are kept in %s; the next start enters them at its first save\n",
                     qPrintable(QDir::toNativeSeparators(written)));
    } else {
        QString list;
        for (const UnsavedResult& r : std::as_const(unsaved))
            list += QStringLiteral("%1 %2: %3\n")
                        .arg(r.kind == RankStory ? RankSlotName(r.slot) : QCoreApplication::translate("Stages", "ドライブ"))
                        .arg(r.kind == RankStory ? QCoreApplication::translate("HighScores", "%1秒").arg(r.value) : QStringLiteral("%1M").arg(r.value), r.name);
        text += QCoreApplication::translate("HighScores", "記録を書きとめるファイルも作れませんでした。失われる記録:\n") + list;
        std::fprintf(stderr, "tavolnik: the unsaved results could not be written to %s; they are:\n%s",
                     qPrintable(QDir::toNativeSeparators(RecoveryFolders().join(QStringLiteral(" or ")))),
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
