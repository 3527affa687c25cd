// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "race/stages.h"

#include <QCoreApplication>
#include <algorithm>

#include "race/race_state.h"

namespace {
const QList<RaceMode>& raceModes()
{
    static const QList<RaceMode> modes = {
        {ModeStage1,
         QString::fromUtf8(QT_TRANSLATE_NOOP("Stages", "ストーリー STAGE1")),
         true,
         70,
         3000,
         {QStringLiteral("/sound/BGM1.mid")},
         QStringLiteral("/sound/BGM5.mid"),
         3,
         {QString::fromUtf8(QT_TRANSLATE_NOOP("Stages", "今日は烈とデートなんだ！")),
          QString::fromUtf8(QT_TRANSLATE_NOOP("Stages", "もうすぐ待ち合わせの時間だから、そろそろ出発しようぜ！"))},
         {
             {{QString::fromUtf8(QT_TRANSLATE_NOOP("Stages", "ゼンタ「待ったか、烈？」")), QString::fromUtf8(QT_TRANSLATE_NOOP("Stages", "烈「ううん、今来たところだよ！」"))},
              true, FaceGrin},
             {{QString::fromUtf8(QT_TRANSLATE_NOOP("Stages", "ゼンタ「じゃあ、行こうか！」")), QString::fromUtf8(QT_TRANSLATE_NOOP("Stages", "烈「うん！」"))}, true, FaceGrin},
             {{QStringLiteral("STAGE1 Clear!")}, false, FaceGrin},
         },
         RankStory,
         SlotStage1,
         ModeStage2,
         1,
         {{0, {20, 20, 20, 20, 10, 10, 20, 20, 20, 20}}}},
        {ModeStage2,
         QString::fromUtf8(QT_TRANSLATE_NOOP("Stages", "ストーリー STAGE2")),
         true,
         50,
         2000,
         {QStringLiteral("/sound/BGM2.mid")},
         QStringLiteral("/sound/BGM5.mid"),
         4,
         {QString::fromUtf8(QT_TRANSLATE_NOOP("Stages", "やべー！寝坊しちまった！！")), QString::fromUtf8(QT_TRANSLATE_NOOP("Stages", "せっかくのデートに何やってんだ俺はー")),
          QString::fromUtf8(QT_TRANSLATE_NOOP("Stages", "おっと、急がなきゃ"))},
         {
             {{QString::fromUtf8(QT_TRANSLATE_NOOP("Stages", "ゼンタ「(何とか間に合ったぜ・・・)ま、待ったか、烈？」")),
               QString::fromUtf8(QT_TRANSLATE_NOOP("Stages", "烈「ううん、今来たところだよ！」"))},
              true, FaceRelieved},
             {{QString::fromUtf8(QT_TRANSLATE_NOOP("Stages", "烈「ゼンタは、いつも時間をちゃんと守ってくれるね！僕、時間を守る人、好きだよ」"))},
              true, FaceRetsu},
             {{QString::fromUtf8(QT_TRANSLATE_NOOP("Stages", "ゼンタ「！！")), QString::fromUtf8(QT_TRANSLATE_NOOP("Stages", "や、やっぱ時間は守んなきゃ駄目だよな、うんっ！」"))},
              true, FaceFlustered},
             {{QString::fromUtf8(QT_TRANSLATE_NOOP("Stages", "烈「？")), QString::fromUtf8(QT_TRANSLATE_NOOP("Stages", "そろそろ行こう、ゼンタ！」")),
               QString::fromUtf8(QT_TRANSLATE_NOOP("Stages", "ゼンタ「お、おう！」"))},
              true, FaceRetsu},
             {{QStringLiteral("STAGE2 Clear!"), QString(), QStringLiteral("Happy End"),
               QStringLiteral("Thank you for your Playing")},
              false, FaceGrin},
         },
         RankStory,
         SlotStage2,
         -1,
         2,
         {{0, {10, 10, 10, 10, 8, 8, 10, 15, 15, 10}}}},
        {ModeDrive,
         QString::fromUtf8(QT_TRANSLATE_NOOP("Stages", "ドライブ")),
         false,
         0,
         0,
         {QStringLiteral("/sound/BGM1.mid"), QStringLiteral("/sound/BGM2.mid"),
          QStringLiteral("/sound/BGM3.mid"), QStringLiteral("/sound/BGM4.mid")},
         QString(),
         3,
         {QString::fromUtf8(QT_TRANSLATE_NOOP("Stages", "準備はばっちりだ")), QString::fromUtf8(QT_TRANSLATE_NOOP("Stages", "早く出発しようぜ！"))},
         {},
         RankDrive,
         SlotDrive,
         -1,
         3,
         {{0, {20, 20, 15, 15, 10, 10, 20, 20, 20, 20}},
          {1000, {15, 15, 10, 10, 10, 10, 15, 15, 20, 20}},
          {3000, {5, 10, 5, 5, 8, 8, 5, 10, 15, 15}},
          {5000, {5, 10, 5, 5, 5, 5, 5, 10, 10, 5}}}},
    };
    return modes;
}
} // namespace

const QList<RaceMode>& RaceModes() { return raceModes(); }

const RaceMode& RaceModeOf(int16_t mode)
{
    const RaceMode* drive = nullptr;
    for (const RaceMode& row : raceModes()) {
        if (row.mode == mode) return row;
        if (row.mode == ModeDrive) drive = &row;
    }
    return *drive;
}

const std::array<int16_t, TrafficSteps>& TrafficChances(int16_t mode, int32_t distance)
{
    const QList<TrafficPhase>& phases = RaceModeOf(mode).traffic;
    const TrafficPhase* reached = &phases.constFirst();
    for (const TrafficPhase& phase : phases)
        if (distance >= phase.from) reached = &phase;
    return reached->chances;
}

int RankKinds()
{
    int kinds = 0;
    for (const RaceMode& row : raceModes()) kinds = std::max<int>(kinds, row.rankKind);
    return kinds;
}

int RankSlotsOf(int kind)
{
    int most = 0;
    for (const RaceMode& row : raceModes())
        if (row.rankKind == kind) most = std::max<int>(most, row.rankSlot);
    return most;
}

int RankSlots()
{
    int most = 0;
    for (int kind = 1; kind <= RankKinds(); ++kind) most = std::max(most, RankSlotsOf(kind));
    return most;
}

QString StageText(const QString& text)
{
    return text.isEmpty() ? text : QCoreApplication::translate("Stages", text.toUtf8().constData());
}

QStringList StageLines(const QStringList& lines)
{
    QStringList shown;
    for (const QString& line : lines) shown << StageText(line);
    return shown;
}
