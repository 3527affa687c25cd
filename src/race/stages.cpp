// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "race/stages.h"

#include "race/race_state.h"
#include "runtime/game_constants.h"

namespace {
const QList<RaceMode>& raceModes()
{
    static const QList<RaceMode> modes = {
        {ModeStage1,
         QStringLiteral("ストーリー STAGE1"),
         true,
         70,
         3000,
         {QStringLiteral("/sound/BGM1.mid")},
         QStringLiteral("/sound/BGM5.mid"),
         3,
         {QStringLiteral("今日は烈とデートなんだ！"),
          QStringLiteral("もうすぐ待ち合わせの時間だから、そろそろ出発しようぜ！")},
         {
             {{QStringLiteral("ゼンタ「待ったか、烈？」"), QStringLiteral("烈「ううん、今来たところだよ！」")},
              true},
             {{QStringLiteral("ゼンタ「じゃあ、行こうか！」"), QStringLiteral("烈「うん！」")}, true},
             {{QStringLiteral("STAGE1 Clear!")}, false},
         },
         RankStory,
         SlotStage1,
         ModeStage2,
         1},
        {ModeStage2,
         QStringLiteral("ストーリー STAGE2"),
         true,
         50,
         2000,
         {QStringLiteral("/sound/BGM2.mid")},
         QStringLiteral("/sound/BGM5.mid"),
         4,
         {QStringLiteral("やべー！寝坊しちまった！！"), QStringLiteral("せっかくのデートに何やってんだ俺はー"),
          QStringLiteral("おっと、急がなきゃ")},
         {
             {{QStringLiteral("ゼンタ「(何とか間に合ったぜ・・・)ま、待ったか、烈？」"),
               QStringLiteral("烈「ううん、今来たところだよ！」")},
              true},
             {{QStringLiteral("烈「ゼンタは、いつも時間をちゃんと守ってくれるね！僕、時間を守る人、好きだよ」")},
              true},
             {{QStringLiteral("ゼンタ「！！"), QStringLiteral("や、やっぱ時間は守んなきゃ駄目だよな、うんっ！」")},
              true},
             {{QStringLiteral("烈「？"), QStringLiteral("そろそろ行こう、ゼンタ！」"),
               QStringLiteral("ゼンタ「お、おう！」")},
              true},
             {{QStringLiteral("STAGE2 Clear!"), QString(), QStringLiteral("Happy End"),
               QStringLiteral("Thank you for your Playing")},
              false},
         },
         RankStory,
         SlotStage2,
         -1,
         2},
        {ModeDrive,
         QStringLiteral("ドライブ"),
         false,
         0,
         0,
         {QStringLiteral("/sound/BGM1.mid"), QStringLiteral("/sound/BGM2.mid"),
          QStringLiteral("/sound/BGM3.mid"), QStringLiteral("/sound/BGM4.mid")},
         QString(),
         3,
         {QStringLiteral("準備はばっちりだ"), QStringLiteral("早く出発しようぜ！")},
         {},
         RankDrive,
         SlotDrive,
         -1,
         3},
    };
    return modes;
}
} // namespace

const RaceMode& RaceModeOf(int16_t mode)
{
    for (const RaceMode& row : raceModes())
        if (row.mode == mode) return row;
    return raceModes().constLast();
}
