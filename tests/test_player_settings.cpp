// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The player's choices share the settings file with the rankings: a choice saved never touches
// a ranking, a ranking saved never drops a choice, and a choice the file does not hold in a form
// the game knows is the design's.
#include <QtTest>

#include "race/race_state.h"
#include "prefs/key_bindings.h"
#include "storage/player_settings.h"
#include "scores/high_scores.h"
#include "scores_test_support.h"

using namespace scores_test;

namespace {
// A file as an earlier session left it: a ranking entry, choices, and a group of its own.
const QByteArray EarlierFile = "[Controls]\nAccelerate=W\nBrake=Ctrl+S\nLeft=\nRight=Nonsense\n\n"
                               "[Options]\nMotion=classic\n\n"
                               "[Setting]\nHScore_Nm_2_1_0=Ren\nHScore_Val_2_1_0=9000\n\n"
                               "[Elsewhere]\nKept=yes\n";

// The lines of a group as they stand in the file.
QByteArray groupOf(const QByteArray& file, const QByteArray& group)
{
    const qsizetype from = file.indexOf("[" + group + "]\n");
    if (from < 0) return QByteArray();
    const qsizetype to = file.indexOf("\n[", from + 1);
    return file.mid(from, to < 0 ? -1 : to - from);
}
} // namespace

class TestPlayerSettings : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        freshConfig();
        ResetPlayerSettings();
        ResetHighScores();
        writeRaw(rankingFile(), EarlierFile);
        LoadPlayerSettings();
        LoadScore();
    }

    void choicesReadAsStoredOrAsDesigned()
    {
        QCOMPARE(PlayerSetting(OptionsGroup, QStringLiteral("Motion"), QStringLiteral("smooth")),
                 QStringLiteral("classic"));
        QCOMPARE(PlayerSetting(OptionsGroup, QStringLiteral("Language"), QStringLiteral("ja")),
                 QStringLiteral("ja"));
        // One plain key is taken; a key with a modifier, an empty or unknown one is the design's.
        QCOMPARE(KeyOf(GameAction::Accelerate), int(Qt::Key_W));
        QCOMPARE(KeyOf(GameAction::Brake), int(Qt::Key_B));
        QCOMPARE(KeyOf(GameAction::Left), int(Qt::Key_Left));
        QCOMPARE(KeyOf(GameAction::Right), int(Qt::Key_Right));
        QCOMPARE(KeyOf(GameAction::Pause), int(Qt::Key_P));
    }

    // Each way of writing the file, and what it must leave as it was.
    void savingOneNeverTouchesTheOther_data()
    {
        QTest::addColumn<bool>("choice");
        QTest::newRow("a choice saved") << true;
        QTest::newRow("a result saved") << false;
    }

    void savingOneNeverTouchesTheOther()
    {
        QFETCH(bool, choice);
        if (choice) {
            QVERIFY(SetPlayerSetting(OptionsGroup, QStringLiteral("Language"), QStringLiteral("en")));
        } else {
            KeepUnsavedResult(RankDrive, SlotDrive, 12000, QStringLiteral("Zed"));
            QVERIFY(SaveScore());
        }
        const QByteArray file = readRaw(rankingFile());
        QCOMPARE(groupOf(file, "Controls"), groupOf(EarlierFile, "Controls"));
        QCOMPARE(groupOf(file, "Elsewhere"), groupOf(EarlierFile, "Elsewhere"));
        if (choice) {
            QCOMPARE(groupOf(file, "Options"), QByteArray("[Options]\nLanguage=en\nMotion=classic\n"));
            QCOMPARE(groupOf(file, "Setting"), groupOf(EarlierFile, "Setting"));
            QCOMPARE(PlayerSetting(OptionsGroup, QStringLiteral("Language"), QString()), QStringLiteral("en"));
        } else {
            QCOMPARE(groupOf(file, "Options"), groupOf(EarlierFile, "Options"));
            QCOMPARE(keysOnDisk().value(ScoreNameKey(RankDrive, SlotDrive, 0)), QStringLiteral("Zed"));
            QCOMPARE(keysOnDisk().value(ScoreValKey(RankDrive, SlotDrive, 0)), QStringLiteral("12000"));
        }
    }
};

QTEST_GUILESS_MAIN(TestPlayerSettings)
#include "test_player_settings.moc"
