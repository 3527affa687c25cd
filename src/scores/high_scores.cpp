// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "scores/high_scores.h"

#include "runtime/settings_store.h"

QString HScoreName[3][3][5];
int32_t HScoreVal[3][3][5] = {};
int16_t RankMode = 0;
int16_t RankStage = 0;

namespace {
const QString kApp = QStringLiteral("Tavolnik");
const QString kSection = QStringLiteral("Setting");

QString entryKey(const char* prefix, int kind, int slot, int rank)
{
    return QLatin1String(prefix) + QString::number(kind) + QLatin1Char('_') + QString::number(slot) +
           QLatin1Char('_') + QString::number(rank);
}
}  // namespace

QString DefaultScoreName() { return QStringLiteral("ぜんた"); }

int32_t DefaultScoreVal(int kind) { return kind == 1 ? 60 : 3000; }

QString ScoreNameKey(int kind, int slot, int rank) { return entryKey("HScore_Nm_", kind, slot, rank); }

QString ScoreValKey(int kind, int slot, int rank) { return entryKey("HScore_Val_", kind, slot, rank); }

void LoadScore()
{
    const SettingsStore store(kApp);
    for (int kind = 1; kind <= 2; ++kind)
        for (int slot = 1; slot <= 2; ++slot)
            for (int rank = 0; rank <= 4; ++rank) {
                HScoreName[kind][slot][rank] =
                    store.GetSetting(kSection, ScoreNameKey(kind, slot, rank), DefaultScoreName());
                const int32_t fallback = DefaultScoreVal(kind);
                int32_t value = fallback;
                if (!ParseWholeNumber(store.GetSetting(kSection, ScoreValKey(kind, slot, rank),
                                                       QString::number(fallback)),
                                      &value))
                    value = fallback;
                HScoreVal[kind][slot][rank] = value;
            }
}

void SaveScore()
{
    SettingsStore store(kApp);
    for (int kind = 1; kind <= 2; ++kind)
        for (int slot = 1; slot <= 2; ++slot)
            for (int rank = 0; rank <= 4; ++rank) {
                store.SaveSetting(kSection, ScoreNameKey(kind, slot, rank), HScoreName[kind][slot][rank]);
                store.SaveSetting(kSection, ScoreValKey(kind, slot, rank),
                                  QString::number(HScoreVal[kind][slot][rank]));
            }
    store.Save();
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
}
