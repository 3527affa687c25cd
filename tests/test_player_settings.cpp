// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The player's choices share the settings file with the rankings: a choice saved never touches
// a ranking, a ranking saved never drops a choice, and a choice the file does not hold in a form
// the game knows is the design's.
#include <QtTest>
#include <sys/inotify.h>

#include "race/race_state.h"
#include "prefs/choices.h"
#include "prefs/key_bindings.h"
#include "prefs/language.h"
#include "storage/player_settings.h"
#include "scores/high_scores.h"
#include "scores_test_support.h"

using namespace scores_test;
Q_DECLARE_METATYPE(GameAction)

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

// How many saves under the store's lock a call makes: each makes the lock file anew.
int locksTaken(const std::function<void()>& call)
{
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ::inotify_add_watch(watch, QFile::encodeName(QFileInfo(rankingFile()).path()).constData(), IN_CREATE);
    call();
    char buffer[16384];
    const QByteArray events(buffer, std::max<ssize_t>(::read(watch, buffer, sizeof buffer), 0));
    ::close(watch);
    return int(events.count("Tavolnik.conf.lock"));
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

    // Every [Options] row is whole: its default is one of its values, each value stored in a
    // text of its own; an option on the command line has its help, a menu its title.
    void everyChoiceRowIsWhole()
    {
        for (const OptionRow& row : OptionRows()) {
            QVERIFY2(row.byDefault >= 0 && row.byDefault < row.values.size(), qPrintable(row.key));
            for (int i = 0; i < row.values.size(); ++i)
                QCOMPARE(ValueOf(row, row.values[i].stored), i);
            QVERIFY2(row.flag.isEmpty() || (row.help && !row.valueName.isEmpty()), qPrintable(row.key));
            QVERIFY2(row.menu == ChoiceMenu::None || row.title, qPrintable(row.key));
        }
    }

    // What the file holds for a choice, and the value the game reads from it: blanks and case
    // aside, a volume by its number; anything else, or nothing, is the default.
    void storedChoiceReadsAsItsValue_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");  // null: the file holds none
        QTest::addColumn<QString>("value");
        QTest::newRow("classic") << "Style" << "classic" << "classic";
        QTest::newRow("Modern with blanks") << "Style" << " Modern " << "modern";
        QTest::newRow("unknown style") << "Style" << "smooth" << "modern";
        QTest::newRow("no style") << "Style" << QString() << "modern";
        QTest::newRow("former motion classic") << "Motion" << "classic" << "classic";
        QTest::newRow("former Classic with blanks") << "Motion" << " Classic " << "classic";
        QTest::newRow("former smooth") << "Motion" << "smooth" << "modern";
        QTest::newRow("unknown motion") << "Motion" << "jerky" << "modern";
        QTest::newRow("no motion") << "Motion" << QString() << "modern";
        QTest::newRow("English") << "Language" << "en" << "en";
        QTest::newRow("unknown language") << "Language" << "fr" << "ja";
        QTest::newRow("no language") << "Language" << QString() << "ja";
        QTest::newRow("BGM 50 %") << "MusicVolume" << "50" << "50";
        QTest::newRow("BGM 050 %") << "MusicVolume" << " 050" << "50";
        QTest::newRow("BGM between steps") << "MusicVolume" << "30" << "100";
        QTest::newRow("BGM in words") << "MusicVolume" << "loud" << "100";
        QTest::newRow("no effects volume") << "EffectsVolume" << QString() << "100";
        QTest::newRow("effects 25 %") << "EffectsVolume" << "25" << "25";
        QTest::newRow("the old 75 %") << "MusicVolume" << "75" << "100";
        QTest::newRow("effects off") << "EffectsVolume" << "0" << "0";
    }
    void storedChoiceReadsAsItsValue()
    {
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(QString, value);
        ResetPlayerSettings();
        if (!stored.isNull()) QVERIFY(SetPlayerSetting(OptionsGroup, key, stored));
        QCOMPARE(ChosenText(key), value);
    }

    // A key the game keeps, a modifier alone or a key with modifiers in the file is the design's.
    void keysTheGameKeepsFallBack_data()
    {
        QTest::addColumn<GameAction>("action");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("key");  // the key in effect
        QTest::newRow("F11") << GameAction::Up << "F11" << int(Qt::Key_Up);
        QTest::newRow("F1") << GameAction::Up << "F1" << int(Qt::Key_Up);
        QTest::newRow("Esc") << GameAction::Left << "Esc" << int(Qt::Key_Left);
        QTest::newRow("Shift alone") << GameAction::Up << "Shift" << int(Qt::Key_Up);
        QTest::newRow("Alt+R") << GameAction::Brake << "Alt+R" << int(Qt::Key_B);
        QTest::newRow("Space, accelerating") << GameAction::Accelerate << "Space" << int(Qt::Key_A);
        QTest::newRow("Space, next message") << GameAction::Next << "Space" << int(Qt::Key_Space);
        QTest::newRow("an ordinary key") << GameAction::Up << "R" << int(Qt::Key_R);
    }
    void keysTheGameKeepsFallBack()
    {
        QFETCH(GameAction, action);
        QFETCH(QString, stored);
        HoldPlayerSettings({{ControlsGroup, ControlsKeyOf(action), stored}});
        QTEST(KeyOf(action), "key");
    }

    // The choices of one action go into the file in one locked save; none when none changed.
    void oneSaveForOneAction_data()
    {
        QTest::addColumn<int>("keys");             // keys changed in the key dialog; -1: options
        QTest::addColumn<QStringList>("options");  // set at once when keys is -1; then in the file
        QTest::addColumn<int>("saves");
        QTest::newRow("the key dialog's OK, two keys changed") << 2 << QStringList{"Up=0", "Down=1", "Accelerate=W"} << 1;
        QTest::newRow("the key dialog's OK, nothing changed") << 0 << QStringList() << 0;
        QTest::newRow("two options at once") << -1 << QStringList{"Language=en", "Style=modern"} << 1;
        QTest::newRow("an option as it was") << -1 << QStringList{"Motion=classic"} << 0;
    }
    void oneSaveForOneAction()
    {
        QFETCH(int, keys);
        QFETCH(QStringList, options);
        KeyBindings chosen = CurrentKeyBindings();
        for (int k = 0; k < keys; ++k) chosen.key[int(GameAction::Up) + k] = Qt::Key_0 + k;
        PlayerChoices choices;
        for (const QString& option : options) choices.append({OptionsGroup, option.section('=', 0, 0), option.section('=', 1)});
        QTEST(locksTaken([&] { keys < 0 ? SetPlayerSettings(choices) : StoreKeyBindings(chosen); }), "saves");
        for (const QString& line : options) QVERIFY(readRaw(rankingFile()).contains(line.toUtf8() + '\n'));
    }

    // Every window names a key alike, in the language shown: the arrows as arrows, Space in
    // words, any other key by its name.
    void keysAreNamedAlike_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("name");
        QTest::newRow("left") << int(Qt::Key_Left) << "ja" << "←";
        QTest::newRow("right") << int(Qt::Key_Right) << "en" << "→";
        QTest::newRow("up") << int(Qt::Key_Up) << "ja" << "↑";
        QTest::newRow("down") << int(Qt::Key_Down) << "ja" << "↓";
        QTest::newRow("Space") << int(Qt::Key_Space) << "ja" << "スペース";
        QTest::newRow("Space in English") << int(Qt::Key_Space) << "en" << "Space";
        QTest::newRow("a letter") << int(Qt::Key_W) << "ja" << "W";
        QTest::newRow("F1") << int(Qt::Key_F1) << "en" << "F1";
    }
    void keysAreNamedAlike()
    {
        QFETCH(int, key);
        QFETCH(QString, language);
        QFETCH(QString, name);
        ShowLanguage(language);
        const QString shown = KeyName(key);
        ShowLanguage(QStringLiteral("ja"));
        QCOMPARE(shown, name);
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
