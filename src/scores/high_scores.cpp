// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "scores/high_scores.h"

#include <QList>
#include <algorithm>
#include <iterator>

#include "runtime/settings_store.h"

QString HScoreName[3][3][5];
int32_t HScoreVal[3][3][5] = {};
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

QString entryKey(const char* prefix, int kind, int slot, int rank)
{
    return QLatin1String(prefix) + QString::number(kind) + QLatin1Char('_') + QString::number(slot) +
           QLatin1Char('_') + QString::number(rank);
}

using Names = QString[3][3][5];
using Values = int32_t[3][3][5];

void readTables(const SettingsStore& store, Names& names, Values& values)
{
    for (int kind = RankStory; kind <= RankDrive; ++kind)
        for (int slot = SlotStage1; slot <= SlotStage2; ++slot)
            for (int rank = 0; rank <= 4; ++rank) {
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

QString DefaultScoreName() { return QStringLiteral("ぜんた"); }

int32_t DefaultScoreVal(int kind) { return kind == RankStory ? 60 : 3000; }

QString ScoreNameKey(int kind, int slot, int rank) { return entryKey("HScore_Nm_", kind, slot, rank); }

QString ScoreValKey(int kind, int slot, int rank) { return entryKey("HScore_Val_", kind, slot, rank); }

int RankOfResult(int kind, const int32_t (&values)[5], int32_t result)
{
    for (int i = 0; i <= 4; ++i)
        if (kind == RankStory ? result < values[i] : result > values[i]) return i;
    return -1;
}

void EnterAtRank(QString (&names)[5], int32_t (&values)[5], int rank, const QString& name, int32_t result)
{
    for (int i = 3; i >= rank; --i) {
        names[i + 1] = names[i];
        values[i + 1] = values[i];
    }
    names[rank] = name;
    values[rank] = result;
}

void KeepUnsavedResult(int kind, int slot, int32_t result, const QString& name)
{
    unsaved.append({kind, slot, result, StorableText(name)});
}

void LoadScore()
{
    const SettingsStore store(kApp);
    readTables(store, HScoreName, HScoreVal);
}

bool SaveScore(QString* failure)
{
    const SettingsLock lock(kApp);
    if (!lock.held()) {
        if (failure) *failure = lock.failure();
        return false;
    }
    // The tables as they are on disk now, another copy's latest entries included.
    SettingsStore store(kApp);
    Names names;
    Values values = {};
    readTables(store, names, values);
    for (const UnsavedResult& r : std::as_const(unsaved)) {
        const int rank = RankOfResult(r.kind, values[r.kind][r.slot], r.value);
        if (rank >= 0) EnterAtRank(names[r.kind][r.slot], values[r.kind][r.slot], rank, r.name, r.value);
    }
    for (int kind = RankStory; kind <= RankDrive; ++kind)
        for (int slot = SlotStage1; slot <= SlotStage2; ++slot)
            for (int rank = 0; rank <= 4; ++rank) {
                store.SaveSetting(kSection, ScoreNameKey(kind, slot, rank), names[kind][slot][rank]);
                store.SaveSetting(kSection, ScoreValKey(kind, slot, rank),
                                  QString::number(values[kind][slot][rank]));
            }
    if (!store.Save()) {
        if (failure) *failure = store.failure();
        return false;
    }
    unsaved.clear();
    std::copy(&names[0][0][0], &names[0][0][0] + std::size(names) * 3 * 5, &HScoreName[0][0][0]);
    std::copy(&values[0][0][0], &values[0][0][0] + std::size(values) * 3 * 5, &HScoreVal[0][0][0]);
    return true;
}

void ResetHighScores()
{
    for (auto& byKind : HScoreName)
        for (auto& bySlot : byKind)
            for (QString& name : bySlot) name.clear();
    for (auto& byKind : HScoreVal)
        for (auto& bySlot : byKind)
            for (int32_t& value : bySlot) value = 0;
    RankMode = 0;
    RankStage = 0;
    unsaved.clear();
}
