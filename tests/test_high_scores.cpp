// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The ranking tables: a fresh store shows the defaults and a save writes every key; names and
// values come back exactly as they were saved; values that are not whole numbers, damaged files
// and failed saves never stop the game nor lose an entry that could be read; and a finished
// race enters its table at the right rank, with the player's name taken by the ranking window.
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <csignal>
#include <sys/resource.h>

#include "race/race_state.h"
#include "scores/high_scores.h"
#include "scores_test_support.h"
#include "screens/form_main.h"

using namespace scores_test;

namespace {

// Every one of the twenty entries, as (kind, slot, rank).
struct Entry {
    int kind, slot, rank;
};
QList<Entry> allEntries()
{
    QList<Entry> entries;
    for (int kind = 1; kind <= 2; ++kind)
        for (int slot = 1; slot <= 2; ++slot)
            for (int rank = 0; rank <= 4; ++rank) entries.append({kind, slot, rank});
    return entries;
}

// Fills every table with entries of its own, so that each key holds something recognisable.
void fillTables()
{
    for (const Entry& e : allEntries()) {
        const QString text =
            e.rank == 0 ? QStringLiteral("烈%1%2%3ぜんた") : QStringLiteral("烈%1%2%3 = ; \"x\"");
        HScoreName[e.kind][e.slot][e.rank] = text.arg(e.kind).arg(e.slot).arg(e.rank);
        HScoreVal[e.kind][e.slot][e.rank] = e.kind * 1000 + e.slot * 100 + e.rank;
    }
}

QByteArray garbage(int size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, '\0');
    for (char& c : bytes) c = char(random.bounded(256));
    return bytes;
}

}  // namespace

class TestHighScores : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        freshConfig();
        QVERIFY(rankingFile().startsWith(configRoot().path()));
        QVERIFY(rankingFile().endsWith(QStringLiteral("/Tavolnik/Tavolnik.conf")));
    }

    void init()
    {
        freshConfig();
        ResetHighScores();
        ResetRaceState();
    }

    void freshStoreShowsDefaultsAndSaveWritesEveryKey()
    {
        LoadScore();
        for (const Entry& e : allEntries()) {
            QCOMPARE(HScoreName[e.kind][e.slot][e.rank], QStringLiteral("ぜんた"));
            QCOMPARE(HScoreVal[e.kind][e.slot][e.rank], e.kind == 1 ? 60 : 3000);
        }
        QVERIFY(!QFile::exists(rankingFile()));  // reading alone writes nothing

        SaveScore();
        const QMap<QString, QString> keys = keysOnDisk();
        QCOMPARE(keys.size(), 40);
        for (const Entry& e : allEntries()) {
            QCOMPARE(keys.value(ScoreNameKey(e.kind, e.slot, e.rank)), QStringLiteral("ぜんた"));
            QCOMPARE(keys.value(ScoreValKey(e.kind, e.slot, e.rank)), e.kind == 1 ? "60" : "3000");
        }
        QVERIFY(readRaw(rankingFile()).contains("[Setting]\n"));
        QVERIFY(readRaw(rankingFile()).contains("\nHScore_Val_2_2_4=3000\n"));
    }

    void namesAndValuesComeBackExactly_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("value");
        QTest::newRow("Japanese") << QStringLiteral("ぜんた") << 45;
        QTest::newRow("full-width space") << QStringLiteral("烈　くん") << 1;
        QTest::newRow("spaces around") << QStringLiteral("  Zen ta  ") << 0;
        QTest::newRow("spaces only") << QStringLiteral("   ") << -7;
        QTest::newRow("empty") << QString() << 3001;
        QTest::newRow("equals") << QStringLiteral("a=b==") << 59;
        QTest::newRow("semicolon") << QStringLiteral(";comment?; x") << 2147483647;
        QTest::newRow("quotes") << QStringLiteral("\"quoted\" 'single' \"") << -2147483647 - 1;
        QTest::newRow("comma") << QStringLiteral("Taro, Jr.,") << 12;
        QTest::newRow("backslashes") << QStringLiteral("C:\\x41\\") << 12;
        QTest::newRow("line breaks") << QStringLiteral("a\r\nb\nc\t") << 12;
        QTest::newRow("looks like a section") << QStringLiteral("[Setting]\nHScore_Val_1_1_0=1") << 12;
        QTest::newRow("at sign") << QStringLiteral("@Variant(\\0)") << 12;
        QTest::newRow("hash") << QStringLiteral("#1") << 12;
        QTest::newRow("emoji") << QStringLiteral("ゼンタ🛹") << 12;
        QTest::newRow("leading zero-width space") << (QChar(0xFEFF) + QStringLiteral("ぜんた")) << 12;
        QTest::newRow("long") << QString(50000, QChar(0x70C8)) + QStringLiteral("=;\"") << 12;
    }

    void namesAndValuesComeBackExactly()
    {
        QFETCH(QString, name);
        QFETCH(int, value);
        LoadScore();
        HScoreName[1][2][3] = name;
        HScoreVal[2][1][4] = value;
        SaveScore();

        moveToCopyOfRankingFile();
        ResetHighScores();
        LoadScore();
        QCOMPARE(HScoreName[1][2][3], name);
        QCOMPARE(HScoreVal[2][1][4], value);
        QCOMPARE(HScoreName[1][2][2], QStringLiteral("ぜんた"));
    }

    void valuesThatAreNotWholeNumbersReadAsTheDefault_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("whole");  // true: read as the number, false: as the default
        QTest::addColumn<int>("number");
        QTest::newRow("plain") << QByteArray("42") << true << 42;
        QTest::newRow("negative") << QByteArray("-5") << true << -5;
        QTest::newRow("leading zeros") << QByteArray("007") << true << 7;
        QTest::newRow("spaces around") << QByteArray("\" 33 \"") << true << 33;
        QTest::newRow("largest") << QByteArray("2147483647") << true << 2147483647;
        QTest::newRow("smallest") << QByteArray("-2147483648") << true << -2147483647 - 1;
        QTest::newRow("empty") << QByteArray("") << false << 0;
        QTest::newRow("letters") << QByteArray("abc") << false << 0;
        QTest::newRow("trailing letters") << QByteArray("12abc") << false << 0;
        QTest::newRow("fraction") << QByteArray("12.5") << false << 0;
        QTest::newRow("exponent") << QByteArray("1e3") << false << 0;
        QTest::newRow("hexadecimal") << QByteArray("0x10") << false << 0;
        QTest::newRow("inner space") << QByteArray("3 000") << false << 0;
        QTest::newRow("thousands comma") << QByteArray("1,000") << false << 0;
        QTest::newRow("one above the range") << QByteArray("2147483648") << false << 0;
        QTest::newRow("one below the range") << QByteArray("-2147483649") << false << 0;
        QTest::newRow("far out of range") << QByteArray("99999999999999999999999") << false << 0;
        QTest::newRow("sign only") << QByteArray("-") << false << 0;
        QTest::newRow("full-width digits") << QString::fromUtf8("４５").toUtf8() << false << 0;
        QTest::newRow("stored variant") << QByteArray("@Variant(\\0\\0\\0\\x2)") << false << 0;
    }

    void valuesThatAreNotWholeNumbersReadAsTheDefault()
    {
        QFETCH(QByteArray, stored);
        QFETCH(bool, whole);
        QFETCH(int, number);
        writeRaw(rankingFile(), "[Setting]\nHScore_Val_1_1_1=" + stored + "\nHScore_Val_1_1_2=45\n"
                                "HScore_Val_2_1_0=" + stored + "\nHScore_Val_2_1_1=5000\n");
        LoadScore();
        QCOMPARE(HScoreVal[1][1][1], whole ? number : 60);
        QCOMPARE(HScoreVal[2][1][0], whole ? number : 3000);
        QCOMPARE(HScoreVal[1][1][2], 45);
        QCOMPARE(HScoreVal[2][1][1], 5000);
    }

    void damagedFileShowsWhatCanBeReadAndKeepsIt_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("binary garbage") << "garbage";
        QTest::newRow("only NUL bytes") << "nul";
        QTest::newRow("empty") << "empty";
        QTest::newRow("truncated in half") << "half";
        QTest::newRow("truncated inside a Japanese name") << "in-name";
        QTest::newRow("truncated inside a quoted name") << "in-quote";
        QTest::newRow("truncated, then garbage") << "half+garbage";
    }

    // A key counts as readable when its whole line stands before the point of damage; the test
    // expects those to read as saved, keys that are gone to read as their defaults, and the next
    // save to keep every entry that was read.
    void damagedFileShowsWhatCanBeReadAndKeepsIt()
    {
        QFETCH(QString, damage);
        fillTables();
        SaveScore();
        const QByteArray good = readRaw(rankingFile());
        QVERIFY(good.size() > 1000);
        QString saved[3][3][5];
        int32_t savedVal[3][3][5];
        for (const Entry& e : allEntries()) {
            saved[e.kind][e.slot][e.rank] = HScoreName[e.kind][e.slot][e.rank];
            savedVal[e.kind][e.slot][e.rank] = HScoreVal[e.kind][e.slot][e.rank];
        }

        int cut = 0;
        QByteArray tail;
        if (damage == "garbage") tail = garbage(4096, 7);
        else if (damage == "nul") tail = QByteArray(1000, '\0');
        else if (damage == "half") cut = good.size() / 2;
        else if (damage == "in-name") cut = good.indexOf("HScore_Nm_1_2_0=") + 17;  // inside 烈
        else if (damage == "in-quote") cut = good.indexOf("HScore_Nm_2_1_0=") + 24;
        else if (damage == "half+garbage") cut = good.size() / 2, tail = garbage(2048, 11);
        const QByteArray kept = good.left(cut);
        freshConfig();
        writeRaw(rankingFile(), kept + tail);

        ResetHighScores();
        LoadScore();
        QString read[3][3][5];
        for (const Entry& e : allEntries()) {
            const QString& name = HScoreName[e.kind][e.slot][e.rank];
            const int32_t value = HScoreVal[e.kind][e.slot][e.rank];
            read[e.kind][e.slot][e.rank] = name;
            const QByteArray nameKey = ScoreNameKey(e.kind, e.slot, e.rank).toLatin1() + '=';
            const QByteArray valKey = ScoreValKey(e.kind, e.slot, e.rank).toLatin1() + '=';
            const int nameAt = good.indexOf("\n" + nameKey), valAt = good.indexOf("\n" + valKey);
            if (good.indexOf('\n', nameAt + 1) < cut) QCOMPARE(name, saved[e.kind][e.slot][e.rank]);
            else if (nameAt + 1 >= cut) QCOMPARE(name, QStringLiteral("ぜんた"));
            if (good.indexOf('\n', valAt + 1) < cut) QCOMPARE(value, savedVal[e.kind][e.slot][e.rank]);
            else if (valAt + 1 >= cut) QCOMPARE(value, e.kind == 1 ? 60 : 3000);
        }

        // The next save writes every entry as it was read, and reading the file again gives
        // them back.
        SaveScore();
        moveToCopyOfRankingFile();
        ResetHighScores();
        LoadScore();
        for (const Entry& e : allEntries())
            QCOMPARE(HScoreName[e.kind][e.slot][e.rank], read[e.kind][e.slot][e.rank]);
        QVERIFY(keysOnDisk().size() >= 40);
    }

    void failedSaveKeepsThePreviousFile_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("full disk") << "full";
        QTest::newRow("read-only folder") << "read-only";
        QTest::newRow("a folder where the file should be") << "folder";
    }

    void failedSaveKeepsThePreviousFile()
    {
        QFETCH(QString, fault);
        const QString folder = QFileInfo(rankingFile()).path();
        QByteArray before;
        if (fault == "folder") {
            QVERIFY(QDir().mkpath(rankingFile()));
        } else {
            fillTables();
            SaveScore();
            before = readRaw(rankingFile());
            QVERIFY(!before.isEmpty());
        }
        ResetHighScores();
        LoadScore();
        if (fault == "folder") QCOMPARE(HScoreName[1][1][0], QStringLiteral("ぜんた"));
        HScoreName[1][1][0] = QString(4000, QLatin1Char('x'));  // a save that is sure to be large

        QString said;
        if (fault == "full") {
            // Files may grow no larger than a few hundred bytes, as on a disk that is full.
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            const rlimit full{600, limit.rlim_max};
            setrlimit(RLIMIT_FSIZE, &full);
            said = catchStderr([] { SaveScore(); });
            setrlimit(RLIMIT_FSIZE, &limit);
        } else if (fault == "read-only") {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
            QFile probe(folder + QStringLiteral("/probe"));
            if (probe.open(QIODevice::WriteOnly)) {
                probe.remove();
                QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                QSKIP("this user may write into read-only folders (root)");
            }
            said = catchStderr([] { SaveScore(); });
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        } else {
            said = catchStderr([] { SaveScore(); });
        }

        QVERIFY2(said.contains(QStringLiteral("could not save")), qPrintable(said));
        QVERIFY(said.contains(rankingFile()));
        if (fault == "folder") QVERIFY(QFileInfo(rankingFile()).isDir());
        else QCOMPARE(readRaw(rankingFile()), before);
        QCOMPARE(HScoreName[1][1][0].size(), 4000);  // the tables in memory are untouched
    }

    // --- entering a result ---

    void resultEntersItsTable_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("clock");     // TimeCount at the end of the race
        QTest::addColumn<int>("distance");  // Distance at the end of the race
        QTest::addColumn<QList<int>>("table");
        QTest::addColumn<int>("rank");      // where the result enters; -1 nowhere
        QTest::addColumn<QList<int>>("after");
        const QList<int> story{60, 60, 60, 60, 60}, drive{3000, 3000, 3000, 3000, 3000};
        const QList<int> times{10, 20, 30, 40, 50}, runs{5000, 4000, 3000, 2000, 1000};
        QTest::newRow("stage 1 took 45 s of its 70") << 0 << 25 << 0 << story << 0 << QList<int>{45, 60, 60, 60, 60};
        QTest::newRow("stage 1 took 60 s: ties the defaults") << 0 << 10 << 0 << story << -1 << story;
        QTest::newRow("stage 1 took 1 s") << 0 << 69 << 0 << story << 0 << QList<int>{1, 60, 60, 60, 60};
        QTest::newRow("stage 2 took 30 s of its 50") << 1 << 20 << 0 << story << 0 << QList<int>{30, 60, 60, 60, 60};
        QTest::newRow("drive of 3000 ties the defaults") << 2 << 0 << 3000 << drive << -1 << drive;
        QTest::newRow("drive of 3001") << 2 << 0 << 3001 << drive << 0 << QList<int>{3001, 3000, 3000, 3000, 3000};
        QTest::newRow("time at rank 0") << 1 << 45 << 0 << times << 0 << QList<int>{5, 10, 20, 30, 40};
        QTest::newRow("time at rank 1") << 1 << 35 << 0 << times << 1 << QList<int>{10, 15, 20, 30, 40};
        QTest::newRow("time at rank 2") << 1 << 25 << 0 << times << 2 << QList<int>{10, 20, 25, 30, 40};
        QTest::newRow("time at rank 3") << 1 << 15 << 0 << times << 3 << QList<int>{10, 20, 30, 35, 40};
        QTest::newRow("time at rank 4") << 1 << 5 << 0 << times << 4 << QList<int>{10, 20, 30, 40, 45};
        QTest::newRow("equal times: the new one goes below") << 1 << 30 << 0 << QList<int>{10, 20, 20, 30, 40} << 3
                                                            << QList<int>{10, 20, 20, 20, 30};
        QTest::newRow("equal to the fifth: nothing") << 1 << 0 << 0 << times << -1 << times;
        QTest::newRow("slower than all: nothing") << 0 << 0 << 0 << QList<int>{1, 2, 3, 4, 5} << -1
                                                  << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("drive at rank 1") << 2 << 0 << 4500 << runs << 1 << QList<int>{5000, 4500, 4000, 3000, 2000};
        QTest::newRow("equal drive goes below") << 2 << 0 << 4000 << runs << 2 << QList<int>{5000, 4000, 4000, 3000, 2000};
        QTest::newRow("drive at rank 4") << 2 << 0 << 1001 << runs << 4 << QList<int>{5000, 4000, 3000, 2000, 1001};
        QTest::newRow("drive equal to the fifth: nothing") << 2 << 0 << 1000 << runs << -1 << runs;
    }

    // While the window is open the new row shows its value and a name box, and keeps the name it
    // had (at rank 4 the name of the entry that dropped out) until the typed name replaces it.
    void resultEntersItsTable()
    {
        QFETCH(int, mode);
        QFETCH(int, clock);
        QFETCH(int, distance);
        QFETCH(QList<int>, table);
        QFETCH(int, rank);
        QFETCH(QList<int>, after);
        const int kind = mode == 2 ? 2 : 1, slot = mode == 1 ? 2 : 1;
        LoadScore();
        const QStringList names{"n0", "n1", "n2", "n3", "n4"};
        for (int i = 0; i < 5; ++i) {
            HScoreName[kind][slot][i] = names[i];
            HScoreVal[kind][slot][i] = table[i];
        }
        GameMode = int16_t(mode);
        TimeCount = clock;
        Distance = distance;

        MediaRecorder recorder;
        form_Main main;
        bool shownRight = false;
        WhileRankOpen whileOpen([&](form_Rank* window) {
            shownRight = RankMode == kind && RankStage == slot && window->txt_Nm[rank]->isVisible() &&
                         window->NameEntryShown() && !window->Option1[0]->isVisible() &&
                         !window->Option2[1]->isVisible() && window->cmd_Close->isEnabled() &&
                         window->lbl_Score[rank]->Caption() == QString::number(after[rank]) &&
                         window->lbl_Nm[rank]->Caption() == names[rank] &&
                         HScoreName[kind][slot][rank] == names[rank];
            for (int i = 0; i < 5; ++i)
                if (i != rank && !window->txt_Nm[i]->isHidden()) shownRight = false;
            typeText(window->txt_Nm[rank], QStringLiteral("NEW"));
            QTest::mouseClick(window->cmd_Close, Qt::LeftButton);
        });
        main.CheckRank();
        QVERIFY(!whileOpen.timedOut);
        QCOMPARE(whileOpen.opened, rank >= 0);

        QStringList expectedNames = names;
        if (rank >= 0) {
            expectedNames.insert(rank, QStringLiteral("NEW"));
            expectedNames.removeLast();
            QVERIFY(shownRight);
            QCOMPARE(effectNames(recorder), QStringList({"Click", "Click", "Claps", "Click"}));
            QCOMPARE(keysOnDisk().value(ScoreNameKey(kind, slot, rank)), QStringLiteral("NEW"));
        } else {
            QVERIFY(effectNames(recorder).isEmpty());
            QVERIFY(!QFile::exists(rankingFile()));
        }
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(HScoreVal[kind][slot][i], after[i]);
            QCOMPARE(HScoreName[kind][slot][i], expectedNames[i]);
        }
        // The other tables are left alone.
        for (const Entry& e : allEntries())
            if (e.kind != kind || e.slot != slot)
                QCOMPARE(HScoreName[e.kind][e.slot][e.rank], QStringLiteral("ぜんた"));
    }
};

int main(int argc, char* argv[])
{
    // Away from the player's settings before anything can look at them.
    scores_test::pointConfigAt(scores_test::configRoot().path());
    QApplication app(argc, argv);
    TestHighScores test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_high_scores.moc"
