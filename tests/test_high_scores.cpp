// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The ranking tables, at the store's own functions (LoadScore, KeepUnsavedResult, SaveScore,
// KeepResultsAtQuit): a fresh store shows the defaults and a save writes every key; names and
// values come back exactly as they were saved; values that are not whole numbers, damaged files,
// links, locks and failed saves never stop the game nor lose an entry that could be read; copies
// of the game saving at once lose nothing. Windows only for their wiring: the message the player
// sees when a save fails, the note while a save waits, a signal while the ranking window waits,
// and a finished race entering its table with the player's name taken by the ranking window.
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QThread>
#include <csignal>
#include <cstring>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <sys/stat.h>

#include "app/close_on_signals.h"
#include "race/race_state.h"
#include "runtime/message_box.h"
#include "scores/high_scores.h"
#include "storage/player_settings.h"
#include "scores_test_support.h"
#include "screens/form_main.h"
#include "view/save_wait_note.h"

using namespace scores_test;

namespace {

// Every one of the twenty entries, as (kind, slot, rank).
struct Entry {
    int kind, slot, rank;
};
QList<Entry> allEntries()
{
    QList<Entry> entries;
    for (int kind = 1; kind <= RankKinds(); ++kind)
        for (int slot = 1; slot <= RankSlots(); ++slot)
            for (int rank = 0; rank < RanksKept; ++rank) entries.append({kind, slot, rank});
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

// The name copy "results" gives a distance: which copy saved it, and as which of its twenty.
QString copyResultName(int distance)
{
    const int order = distance - 3001;  // 0..159, shuffled over the copies' saves
    for (int c = 0; c < 8; ++c)
        for (int i = 0; i < 20; ++i)
            if ((i * 8 + c) * 37 % 160 == order) return QStringLiteral("c%1-%2").arg(c).arg(i);
    return QString();
}

// Another copy of the game: this test program run again as one of the copies below (see
// runCopy), in the test's settings folder, telling on standard output how far it has come.
class Copy
{
public:
    explicit Copy(const QStringList& arguments,
                  QProcess::ProcessChannelMode channels = QProcess::ForwardedErrorChannel)
    {
        process.setProcessChannelMode(channels);
        process.start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--copy")} + arguments);
    }
    ~Copy()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
    bool waitFor(const QByteArray& word)
    {
        while (!seen_.contains(word + '\n')) {
            if (!process.waitForReadyRead(10000)) return false;
            seen_ += process.readAll();
        }
        return true;
    }
    void go() { process.write("go\n"); }
    // Everything the copy has said on standard output so far.
    QString said()
    {
        seen_ += process.readAllStandardOutput();
        return QString::fromUtf8(seen_);
    }
    bool finished()
    {
        if (process.state() != QProcess::NotRunning) process.waitForFinished(20000);
        return process.state() == QProcess::NotRunning && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }

    QProcess process;

private:
    QByteArray seen_;
};

void say(const char* word)
{
    std::printf("%s\n", word);
    std::fflush(stdout);
}

// One copy of the game, as the tests above start it:
//   race <distance> <name>   reads the tables as the title does, says "ready", waits for "go" on
//                            standard input, then keeps a drive of that distance under the name
//                            and saves, as the ranking window does; fails when the save failed
//   results <copy>           saves twenty drives one after another, each as soon as it is kept
//   lock                     takes the lock of a save, says "locked" and waits to be killed
//   wait <distance> <name>   with the game's signal handling, finishes a drive, types the name,
//                            says "typed" and leaves the ranking window waiting; ends as the
//                            event loop ends
//   quit <distance> <name> <ending>
//                            with the game's signal handling, keeps a drive under the name and
//                            says "typed", then ends as the game does, trying the unsaved results
//                            once more at the end; every message box is told on standard output
//                            as "box <text>". Ending "signal" waits for one; "close" saves, says
//                            "failed" when that failed, and ends; "fix" too but waits for "go"
//                            on standard input before it ends; "wait-signal" saves and waits for
//                            a signal meanwhile
//   stale                    leaves what a save killed inside the settings library leaves, as an
//                            earlier copy with this copy's process number would have, then saves
//                            a drive of 4242 M; fails when that took two seconds or more
int runCopy(int argc, char* argv[])
{
    const QString mode = QString::fromLocal8Bit(argv[2]);
    // Copies without a window start faster without the window system.
    const bool windows = mode == QLatin1String("wait") || mode == QLatin1String("quit");
    const std::unique_ptr<QCoreApplication> app(windows ? new QApplication(argc, argv) : new QCoreApplication(argc, argv));
    const QStringList args = QCoreApplication::arguments().mid(2);
    if (mode == QLatin1String("lock")) {
        const SettingsLock lock(QStringLiteral("Tavolnik"));
        say("locked");
        QThread::sleep(60);
        return 1;
    }
    if (mode == QLatin1String("stale")) {
        const QString target = SettingsStore::filePath(QStringLiteral("Tavolnik"));
        QDir().mkpath(QFileInfo(target).path());
        const QString leftover = target + QStringLiteral(".%1-1.new.lock").arg(QCoreApplication::applicationPid());
        {
            QLockFile made(leftover + QStringLiteral(".made"));
            if (!made.lock() || !QFile::copy(leftover + QStringLiteral(".made"), leftover)) return 1;
        }
        KeepUnsavedResult(2, 1, 4242, QStringLiteral("stale"));
        QElapsedTimer clock;
        clock.start();
        const bool saved = SaveScore();
        std::printf("took %lld\n", clock.elapsed());
        return saved && clock.elapsed() < 2000 ? 0 : 1;
    }
    LoadScore();
    if (mode == QLatin1String("results")) {
        const int c = args.value(1).toInt();
        for (int i = 0; i < 20; ++i) {
            const int distance = 3001 + (i * 8 + c) * 37 % 160;
            KeepUnsavedResult(2, 1, distance, copyResultName(distance));
            if (!SaveScore()) return 1;
        }
        return 0;
    }
    const QString name = args.value(2);
    if (mode == QLatin1String("race")) {
        say("ready");
        char line[16];
        if (!std::fgets(line, sizeof line, stdin)) return 1;
        KeepUnsavedResult(RankDrive, SlotDrive, args.value(1).toInt(), name);
        return SaveScore() ? 0 : 1;
    }
    CloseGameOnSignals();
    if (mode == QLatin1String("quit")) {
        const QString ending = args.value(3);
        SetMsgBoxHook([&](const QString& text, const QString&) {
            std::printf("box %s\n", qPrintable(QString(text).replace(QLatin1Char('\n'), QLatin1Char('|'))));
            std::fflush(stdout);
        });
        QTimer::singleShot(0, [&] {
            KeepUnsavedResult(RankDrive, SlotDrive, args.value(1).toInt(), name);
            say("typed");
            if (ending == QLatin1String("signal") || SaveScore()) return;
            say("failed");
            char line[16];
            if (ending == QLatin1String("fix") && !std::fgets(line, sizeof line, stdin)) std::exit(1);
            if (ending != QLatin1String("wait-signal")) QCoreApplication::quit();
        });
        const int code = app->exec();
        KeepResultsAtQuit(code > 128);
        return code;
    }
    GameMode = ModeDrive;
    Distance = args.value(1).toInt();
    const std::unique_ptr<form_Main> main = std::make_unique<form_Main>();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* window = qobject_cast<form_Rank*>(QApplication::activeModalWidget());
        if (!window) return;
        poll.stop();
        typeText(window->txt_Nm[0], name);
        say("typed");
    });
    poll.start(10);
    QTimer::singleShot(0, main.get(), [&] { main->CheckRank(); });
    return app->exec();
}

}  // namespace

class TestHighScores : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // As the game does at start-up: a save that waits shows the player a note.
        ShowSaveNotes();
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
        // Written after an escaped character, it starts the text the INI reader reads next.
        QTest::newRow("zero-width space after a quote") << (QStringLiteral("\"") + QChar(0xFEFF) + QStringLiteral("ぜ")) << 12;
        QTest::newRow("zero-width space after a control character") << (QString(QChar(6)) + QChar(0xFEFF) + QStringLiteral("n")) << 12;
        QTest::newRow("longest kept") << QString(MaxNameLength - 3, QChar(0x70C8)) + QStringLiteral("=;\"") << 12;
    }

    void namesAndValuesComeBackExactly()
    {
        QFETCH(QString, name);
        QFETCH(int, value);
        LoadScore();
        const int kind = value < 60 ? 1 : 2;  // a table the result enters at the top
        KeepUnsavedResult(kind, 2, value, name);
        QVERIFY(SaveScore());
        QCOMPARE(HScoreName[kind][2][0], name);

        moveToCopyOfRankingFile();
        ResetHighScores();
        LoadScore();
        QCOMPARE(HScoreName[kind][2][0], name);
        QCOMPARE(HScoreVal[kind][2][0], value);
        QCOMPARE(HScoreName[kind][2][1], QStringLiteral("ぜんた"));
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
        saveTablesAsTheyAre();
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

    void failedSaveLeavesTheFileTellsTheCauseAndKeepsTheResult_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("words");  // the cause, in the player's words
        QTest::newRow("full disk") << "full" << "ディスクがいっぱい";
        QTest::newRow("a disk of 64 KiB with 8 KiB free") << "nearly full" << "ディスクがいっぱい";
        QTest::newRow("a 400 KB value that writes back past the read limit") << "large" << "1 MiB";
        QTest::newRow("read-only folder") << "read-only" << "設定のフォルダーに書き込めません";
        QTest::newRow("a file where the folder should be") << "no folder" << "設定のフォルダーを作れません";
        QTest::newRow("the lock is a folder") << "lock folder" << "（Tavolnik.conf.lock）が、ふつうのファイルでなく";
        QTest::newRow("the lock is a link to a file") << "lock link" << "（Tavolnik.conf.lock）が、ふつうのファイルでなく";
        QTest::newRow("another program holds the lock") << "held" << "ほかのプログラムが設定のロック";
    }

    // A drive of 9999 M is saved while the save cannot succeed: the real cause is told, on
    // standard error with the file's path too, the file stays as it was, nothing a link names is
    // written to, the result is kept, and the first save once the fault is gone writes it beside
    // everything the file held.
    void failedSaveLeavesTheFileTellsTheCauseAndKeepsTheResult()
    {
        QFETCH(QString, fault);
        QFETCH(QString, words);
        const QString folder = QFileInfo(rankingFile()).path();
        const QString lock = rankingFile() + QStringLiteral(".lock");
        const QString other = configRoot().path() + QStringLiteral("/not-the-players%1").arg(QCoreApplication::applicationPid());
        fillTables();
        saveTablesAsTheyAre();
        QByteArray before = readRaw(rankingFile());
        ResetHighScores();
        LoadScore();

        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        std::unique_ptr<Copy> holder;
        const QString filler = folder + QStringLiteral("/filler");
        const auto unmount = qScopeGuard([&] { if (fault == "nearly full") ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH); });
        if (fault == "nearly full") {
            // The settings library keeps a file that the full disk cut off, and says nothing.
            if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=64k") != 0)
                QSKIP("this user may not mount a small disk (not root)");
            before += "[Options]\nLanguage=en\nMotion=classic\nNote=" + QByteArray(3500, 'n') + "\n";  // past one page
            writeRaw(rankingFile(), before);
            struct statvfs disk {};
            QVERIFY(::statvfs(QFile::encodeName(folder).constData(), &disk) == 0);
            writeRaw(filler, QByteArray(qint64(disk.f_bavail * disk.f_bsize) - 8192, 'f'));
        } else if (fault == "large") {
            // Control characters take one byte each in the file as read, and three as written.
            before += "[Options]\nLanguage=en\nBig=" + QByteArray(400000, '\x01') + "\n";
            writeRaw(rankingFile(), before);
        } else if (fault == "full") {
            // Files may grow no larger than a few hundred bytes, as on a disk that is full.
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit full{600, limit.rlim_max};
            setrlimit(RLIMIT_FSIZE, &full);
        } else if (fault == "read-only") {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
            QFile probe(folder + QStringLiteral("/probe"));
            if (probe.open(QIODevice::WriteOnly)) {
                probe.remove();
                QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                QSKIP("this user may write into read-only folders (root)");
            }
        } else if (fault == "no folder") {
            QVERIFY(QDir(folder).removeRecursively());
            writeRaw(folder, "a file, not a folder");
        } else if (fault == "lock folder") {
            QVERIFY(QDir().mkpath(lock));
        } else if (fault == "lock link") {
            writeRaw(other, "someone's");
            QVERIFY(QFile::link(other, lock));
        } else {
            holder = std::make_unique<Copy>(QStringList{QStringLiteral("lock")});
            QVERIFY(holder->waitFor("locked"));
        }
        KeepUnsavedResult(RankDrive, SlotDrive, 9999, QStringLiteral("烈"));
        QString failure;
        bool saved = true;
        const QString said = catchStderr([&] { saved = SaveScore(&failure, 300); });
        setrlimit(RLIMIT_FSIZE, &limit);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QVERIFY(!saved);
        QVERIFY2(failure.contains(words), qPrintable(failure));
        QVERIFY2(said.contains(QStringLiteral("could not save")) && said.contains(rankingFile()), qPrintable(said));
        if (fault == "no folder") QCOMPARE(readRaw(folder), QByteArray("a file, not a folder"));
        else QCOMPARE(readRaw(rankingFile()), before);
        if (fault == "lock link") QCOMPARE(readRaw(other), QByteArray("someone's"));
        QVERIFY(HasUnsavedResults());  // nothing left memory
        QCOMPARE(HScoreVal[2][1][0], 2100);

        // The fault gone, the next save writes the result.
        holder.reset();
        if (fault == "no folder") {
            QFile::remove(folder);
            before.clear();
        } else if (fault == "lock folder") {
            QVERIFY(QDir(lock).removeRecursively());
        } else if (fault == "lock link") {
            QVERIFY(QFile::remove(lock));
        } else if (fault == "nearly full") {
            QVERIFY(QFile::remove(filler));
        } else if (fault == "large") {
            writeRaw(rankingFile(), before.left(before.indexOf("[Options]")));
        }
        QVERIFY(SaveScore());
        QCOMPARE(HScoreName[2][1][0], QStringLiteral("烈"));
        QCOMPARE(HScoreVal[2][1][0], 9999);
        const QMap<QString, QString> keys = keysOnDisk();
        QCOMPARE(keys.value(ScoreNameKey(2, 1, 0)), QStringLiteral("烈"));
        QCOMPARE(keys.value(ScoreValKey(2, 1, 0)), QStringLiteral("9999"));
        QCOMPARE(keys.value(ScoreValKey(2, 1, 1)), before.isEmpty() ? QStringLiteral("3000") : QStringLiteral("2100"));
        QCOMPARE(keys.value(ScoreValKey(1, 2, 4)), before.isEmpty() ? QStringLiteral("60") : QStringLiteral("1204"));
        if (fault == "lock link") QCOMPARE(readRaw(other), QByteArray("someone's"));
    }

    void failedSaveIsToldOverTheRankingWindow_data()
    {
        QTest::addColumn<bool>("result");  // a new result, or a ranking only looked at
        QTest::newRow("a new result, a file where the folder should be") << true;
        QTest::newRow("a ranking looked at, the file a link to a FIFO") << false;
    }

    // The one window a failed save needs: the player is told over the ranking window, in one
    // box that names the cause and the file, and promises a new result to the next save.
    void failedSaveIsToldOverTheRankingWindow()
    {
        QFETCH(bool, result);
        const QString folder = QFileInfo(rankingFile()).path();
        QString words;
        if (result) {
            writeRaw(folder, "a file, not a folder");
            words = QStringLiteral("設定のフォルダーを作れません");
        } else {
            const QString fifo = configRoot().path() + QStringLiteral("/fifo%1").arg(QCoreApplication::applicationPid());
            QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
            QVERIFY(QDir().mkpath(folder) && QFile::link(fifo, rankingFile()));
            words = QStringLiteral("ふつうのファイルでないもの");
        }
        QStringList boxes;
        SetMsgBoxHook([&](const QString& text, const QString& title) {
            boxes << title + QLatin1Char('|') + text;
            // Told over the ranking window, which is still open.
            if (!qobject_cast<form_Rank*>(QApplication::activeModalWidget())) boxes << QStringLiteral("no window");
        });
        LoadScore();
        if (result) {
            GameMode = ModeDrive;
            Distance = 9999;
            form_Main main;
            WhileRankOpen whileOpen([](form_Rank* window) {
                typeText(window->txt_Nm[0], QStringLiteral("烈"));
                QTest::mouseClick(window->cmd_Close, Qt::LeftButton);
            });
            catchStderr([&] { main.CheckRank(); });
            QVERIFY(!whileOpen.timedOut);
        } else {
            RankMode = 2;
            RankStage = 1;
            form_Rank* rank = form_Rank::create();
            rank->Set_Form();
            WhileRankOpen whileOpen([](form_Rank* window) { QTest::mouseClick(window->cmd_Close, Qt::LeftButton); });
            catchStderr([&] { rank->exec(); });
            QVERIFY(!whileOpen.timedOut);
        }
        SetMsgBoxHook({});
        QFile::remove(folder);

        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].startsWith(QStringLiteral("Tavolnik|ランキングを保存できませんでした。")), qPrintable(boxes[0]));
        QVERIFY(boxes[0].contains(rankingFile()));
        QVERIFY2(boxes[0].contains(words), qPrintable(boxes[0]));
        QCOMPARE(boxes[0].contains(QStringLiteral("この記録")), result);
        if (!result) return;
        QCOMPARE(HScoreName[2][1][0], QStringLiteral("烈"));  // the window shows what was typed
        QCOMPARE(HScoreVal[2][1][0], 9999);
        QVERIFY(HasUnsavedResults());
    }

    void damagedFileIsSetAsideAndAFreshOneWritten_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<bool>("regular");  // a regular file: set aside with its bytes
        QTest::newRow("10 MB of random bytes") << "random" << true;
        QTest::newRow("the lines [] and =x") << "[]=x" << true;
        QTest::newRow("2 MB of text") << "text" << true;
        QTest::newRow("1 GB of NUL bytes") << "nul" << true;
        QTest::newRow("a FIFO") << "fifo" << false;
        QTest::newRow("a folder") << "folder" << false;
    }

    // Nothing of these can be written back as it was: the start neither hangs nor reads it, and
    // the first save puts it aside under a dated name and writes a fresh file with the result.
    void damagedFileIsSetAsideAndAFreshOneWritten()
    {
        QFETCH(QString, damage);
        QFETCH(bool, regular);
        const QString file = rankingFile();
        QDir().mkpath(QFileInfo(file).path());
        if (damage == "random") writeRaw(file, garbage(10 << 20, 3));
        else if (damage == "[]=x") writeRaw(file, "[]\n=x\n");
        else if (damage == "text") writeRaw(file, QByteArray(2 << 20, 'a') + "\n[Setting]\nHScore_Nm_2_1_0=x\n");
        else if (damage == "nul") {
            QFile nul(file);
            QVERIFY(nul.open(QIODevice::WriteOnly) && nul.resize(qint64(1) << 30));  // sparse
        } else if (damage == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        else QVERIFY(QDir().mkpath(file));
        const qint64 size = QFileInfo(file).size();

        QElapsedTimer clock;
        clock.start();
        LoadScore();
        QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(HScoreVal[2][1][0], 3000);

        KeepUnsavedResult(2, 1, 5000, QStringLiteral("烈"));
        QStringList boxes;
        SetMsgBoxHook([&](const QString& text, const QString&) { boxes << text; });
        QVERIFY(SaveScore());
        SetMsgBoxHook({});
        const QStringList aside = QDir(QFileInfo(file).path()).entryList({QStringLiteral("Tavolnik.conf.damaged-*")},
                                                                         QDir::AllEntries | QDir::System);
        QCOMPARE(aside.size(), 1);
        QVERIFY2(QRegularExpression(QStringLiteral("^Tavolnik\\.conf\\.damaged-\\d{8}-\\d{6}$")).match(aside[0]).hasMatch(),
                 qPrintable(aside[0]));
        const QFileInfo kept(QFileInfo(file).path() + QLatin1Char('/') + aside[0]);
        QCOMPARE(kept.isFile(), regular);
        if (regular) QCOMPARE(kept.size(), size);
        QCOMPARE(boxes.size(), 1);  // the player is told where it went
        QVERIFY2(boxes[0].contains(kept.filePath()), qPrintable(boxes.join('|')));
        const QMap<QString, QString> keys = keysOnDisk();
        QCOMPARE(keys.size(), 40);
        QCOMPARE(keys.value(ScoreNameKey(2, 1, 0)), QStringLiteral("烈"));
        QCOMPARE(keys.value(ScoreValKey(2, 1, 0)), QStringLiteral("5000"));
        QCOMPARE(HScoreName[2][1][0], QStringLiteral("烈"));
    }

    // What a save leaves is the file alone: the temporary and lock files of a save that was
    // killed midway go at the next save, a stale lock does not hold it up, a settings file that
    // is a symbolic link stays one and its target gets the new text, and a name with half of a
    // surrogate pair is still saved.
    void savesLeaveTheFileAloneAndFollowItsLink()
    {
        const QString folder = QFileInfo(rankingFile()).path();
        const QString target = configRoot().path() + QStringLiteral("/dotfiles%1.conf").arg(QCoreApplication::applicationPid());
        QVERIFY(QDir().mkpath(folder));
        writeRaw(target, "[Setting]\nHScore_Nm_1_1_0=linked\nHScore_Val_1_1_0=7\n");
        QVERIFY(QFile::link(target, rankingFile()));
        // A save killed midway: its lock, and its staged and checked copies.
        Copy killed({QStringLiteral("lock")});
        QVERIFY(killed.waitFor("locked"));
        const QByteArray pid = QByteArray::number(killed.process.processId());
        killed.process.kill();
        QVERIFY(killed.process.waitForFinished());
        QVERIFY(QFile::exists(rankingFile() + QStringLiteral(".lock")));
        writeRaw(target + "." + pid + "-1.new", "[Setting]\n");
        writeRaw(target + "." + pid + "-2.check", "[Setting]\n");
        // The player's own files beside the target, named much like the leftovers.
        const QStringList players{target + ".old-2024.newest-notes.txt", target.toLower() + ".v1-final.check-later",
                                  target + "." + pid + "-3.new.txt", target + ".1-1.check.bak"};
        for (const QString& file : players) writeRaw(file, "mine");

        LoadScore();
        QCOMPARE(HScoreName[1][1][0], QStringLiteral("linked"));
        const QString broken = QStringLiteral("烈") + QChar(0xD800) + QStringLiteral("x");
        KeepUnsavedResult(1, 1, 5, broken);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(SaveScore());
        QVERIFY(clock.elapsed() < 2000);

        QVERIFY(QFileInfo(rankingFile()).isSymLink());
        QSettings saved(target, QSettings::IniFormat);
        QCOMPARE(saved.value(QStringLiteral("Setting/HScore_Nm_1_1_0")).toString(),
                 QStringLiteral("烈") + QChar(QChar::ReplacementCharacter) + QStringLiteral("x"));
        QCOMPARE(saved.value(QStringLiteral("Setting/HScore_Nm_1_1_1")).toString(), QStringLiteral("linked"));
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8(readRaw(target));
        QVERIFY(!utf8.hasError());
        QCOMPARE(HScoreName[1][1][0], saved.value(QStringLiteral("Setting/HScore_Nm_1_1_0")).toString());
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("Tavolnik.conf")});
        QVERIFY(!QFile::exists(target + "." + pid + "-1.new"));
        QVERIFY(!QFile::exists(target + "." + pid + "-2.check"));
        for (const QString& file : players) QCOMPARE(readRaw(file), QByteArray("mine"));
    }

    // --- copies of the game at once, as real processes sharing one settings folder ---

    // Copy A opens its title (reads the tables), copy B drives 4000 M and saves, then A drives
    // 5000 M and saves: both entries are in the file, in rank order.
    void twoCopiesKeepBothEntries()
    {
        Copy a({QStringLiteral("race"), QStringLiteral("5000"), QStringLiteral("A")});
        QVERIFY(a.waitFor("ready"));
        Copy b({QStringLiteral("race"), QStringLiteral("4000"), QStringLiteral("B")});
        QVERIFY(b.waitFor("ready"));
        b.go();
        QVERIFY(b.finished());
        a.go();
        QVERIFY(a.finished());
        const QMap<QString, QString> keys = keysOnDisk();
        QCOMPARE(keys.value(ScoreNameKey(2, 1, 0)), QStringLiteral("A"));
        QCOMPARE(keys.value(ScoreValKey(2, 1, 0)), QStringLiteral("5000"));
        QCOMPARE(keys.value(ScoreNameKey(2, 1, 1)), QStringLiteral("B"));
        QCOMPARE(keys.value(ScoreValKey(2, 1, 1)), QStringLiteral("4000"));
        QCOMPARE(keys.value(ScoreValKey(2, 1, 2)), QStringLiteral("3000"));
    }

    // Eight copies save twenty drives each, all at once, the distances shuffled among them: the
    // five longest of all 160 end up in the table, and the file parses whenever it is looked at.
    void eightCopiesSavingAtOnceLoseNothing()
    {
        std::vector<std::unique_ptr<Copy>> copies;
        for (int c = 0; c < 8; ++c)
            copies.push_back(std::make_unique<Copy>(QStringList{QStringLiteral("results"), QString::number(c)}));
        int looks = 0;
        bool running = true;
        while (running) {
            running = false;
            for (auto& copy : copies) running |= copy->process.state() != QProcess::NotRunning;
            if (QFile::exists(rankingFile())) {
                ++looks;
                const QMap<QString, QString> keys = keysOnDisk();
                QCOMPARE(keys.size(), 40);
                for (int rank = 0; rank <= 4; ++rank) QVERIFY(ParseWholeNumber(keys.value(ScoreValKey(2, 1, rank)), nullptr));
            }
            QTest::qWait(5);
        }
        for (auto& copy : copies) QVERIFY(copy->finished());
        QVERIFY(looks > 0);
        const QMap<QString, QString> keys = keysOnDisk();
        for (int rank = 0; rank <= 4; ++rank) {
            const int distance = 3001 + 159 - rank;
            QCOMPARE(keys.value(ScoreValKey(2, 1, rank)), QString::number(distance));
            QCOMPARE(keys.value(ScoreNameKey(2, 1, rank)), copyResultName(distance));
        }
    }

    void signalWhileTheRankingWindowWaitsSavesTheName_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }

    void signalWhileTheRankingWindowWaitsSavesTheName()
    {
        QFETCH(int, number);
        Copy copy({QStringLiteral("wait"), QStringLiteral("7000"), QStringLiteral("烈 くん")});
        QVERIFY(copy.waitFor("typed"));
        QElapsedTimer clock;
        clock.start();
        ::kill(pid_t(copy.process.processId()), number);
        QVERIFY(copy.process.waitForFinished(5000));
        QVERIFY(clock.elapsed() < 2000);
        QCOMPARE(copy.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(copy.process.exitCode(), 128 + number);
        const QMap<QString, QString> keys = keysOnDisk();
        QCOMPARE(keys.value(ScoreNameKey(2, 1, 0)), QStringLiteral("烈 くん"));
        QCOMPARE(keys.value(ScoreValKey(2, 1, 0)), QStringLiteral("7000"));
    }

    // --- nothing lost, nothing outside the folder touched, never frozen ---

    void pastedNamesLeaveAFileTheNextStartReads_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<bool>("fullFile");  // the file already holds exactly the bytes the game reads
        const QString a99(MaxNameLength - 1, QLatin1Char('a'));
        QTest::newRow("1,100,000 characters") << QString(1100000, QChar(0x70C8)) << QString(MaxNameLength, QChar(0x70C8)) << false;
        QTest::newRow("exactly the limit") << QString(MaxNameLength, QLatin1Char('z')) << QString(MaxNameLength, QLatin1Char('z')) << false;
        QTest::newRow("an emoji across the limit") << a99 + QStringLiteral("🛹zz") << a99 << false;
        QTest::newRow("an accent across the limit") << a99 + QStringLiteral("e\u0301zz") << a99 << false;
        QTest::newRow("a file of exactly the read limit") << QStringLiteral("烈") << QStringLiteral("烈") << true;
    }

    // A name pasted into the name box, however long, is saved so that the next start reads the
    // file and shows it, cut at the end of a whole character. (The ranking window keeps what is
    // typed as it is; the rankings cut it.) A file already at the read limit, read whole, stays
    // as it is: the save that would take it past the limit fails, and the result waits.
    void pastedNamesLeaveAFileTheNextStartReads()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, kept);
        QFETCH(bool, fullFile);
        if (fullFile) {
            QByteArray bytes = "[Setting]\nHScore_Nm_2_1_0=old\nHScore_Val_2_1_0=3500\n[Other]\nPad=";
            bytes += QByteArray(SettingsStore::MaxFileSize - bytes.size() - 1, 'p') + '\n';
            QCOMPARE(bytes.size(), SettingsStore::MaxFileSize);
            writeRaw(rankingFile(), bytes);
        }
        const QByteArray before = readRaw(rankingFile());
        LoadScore();
        KeepUnsavedResult(RankDrive, SlotDrive, 9999, pasted);
        QString failure;
        QCOMPARE(catchStderr([&] { QCOMPARE(SaveScore(&failure), !fullFile); }).isEmpty(), !fullFile);
        QVERIFY(QFileInfo(rankingFile()).size() <= SettingsStore::MaxFileSize);
        if (fullFile) {
            QVERIFY2(failure.contains(QStringLiteral("1 MiB")), qPrintable(failure));
            QCOMPARE(readRaw(rankingFile()), before);
            QVERIFY(HasUnsavedResults());
            QCOMPARE(HScoreVal[2][1][0], 3500);
            return;
        }
        QCOMPARE(HScoreName[2][1][0], kept);

        moveToCopyOfRankingFile();
        ResetHighScores();
        LoadScore();
        QCOMPARE(HScoreName[2][1][0], kept);
        QCOMPARE(HScoreVal[2][1][0], 9999);
    }

    void linkToWhatIsNotAFileIsLeftAlone_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("result");  // a new result, or a ranking only looked at
        QTest::newRow("a FIFO, ranking looked at") << "fifo" << false;
        QTest::newRow("a FIFO, new result") << "fifo" << true;
        QTest::newRow("a folder, new result") << "folder" << true;
        QTest::newRow("a damaged file, new result") << "damaged" << true;
    }

    // Tavolnik.conf is a link into another folder. Whatever it names stays where and what it is;
    // a save through a link to anything but a regular file fails and says why, and the result
    // outlives the game in the recovery file that the next start shows, the player told where. A
    // damaged file it names stays as it was, and the link itself goes aside.
    void linkToWhatIsNotAFileIsLeftAlone()
    {
        QFETCH(QString, what);
        QFETCH(bool, result);
        const QString elsewhere = configRoot().path() + QStringLiteral("/elsewhere%1").arg(QTest::currentDataTag());
        const QString target = elsewhere + QStringLiteral("/thing");
        QVERIFY(QDir().mkpath(elsewhere) && QDir().mkpath(QFileInfo(rankingFile()).path()));
        if (what == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
        else if (what == "folder") QVERIFY(QDir().mkpath(target));
        else writeRaw(target, "[]\n=x\n");
        QVERIFY(QFile::link(target, rankingFile()));
        struct stat before {};
        QCOMPARE(::lstat(QFile::encodeName(target).constData(), &before), 0);

        QStringList boxes;
        SetMsgBoxHook([&](const QString& text, const QString&) { boxes << text; });
        LoadScore();
        if (result) KeepUnsavedResult(RankDrive, SlotDrive, 9999, QStringLiteral("烈"));
        QString failure;
        bool saved = false;
        catchStderr([&] {
            saved = SaveScore(&failure);
            KeepResultsAtQuit(false);
        });
        SetMsgBoxHook({});

        struct stat after {};
        QCOMPARE(::lstat(QFile::encodeName(target).constData(), &after), 0);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(QDir(elsewhere).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("thing")});
        if (what == "damaged") {
            QVERIFY(saved);
            QCOMPARE(readRaw(target), QByteArray("[]\n=x\n"));
            QCOMPARE(boxes.size(), 1);  // no failure: where the link went
            QVERIFY2(boxes[0].contains(rankingFile() + ".damaged-"), qPrintable(boxes[0]));
            QVERIFY(!QFileInfo(rankingFile()).isSymLink());
            QCOMPARE(keysOnDisk().value(ScoreNameKey(2, 1, 0)), QStringLiteral("烈"));
            return;
        }
        QCOMPARE(QFileInfo(rankingFile()).symLinkTarget(), target);
        QVERIFY(!saved);
        QVERIFY2(failure.contains(QStringLiteral("ふつうのファイルでないもの")), qPrintable(failure));
        QCOMPARE(boxes.size(), result ? 1 : 0);
        if (!result) return;
        const QString recovery = RecoveryFiles().value(0);
        QVERIFY2(boxes[0].contains(QStringLiteral("ふつうのファイルでないもの")) && boxes[0].contains(recovery),
                 qPrintable(boxes[0]));
        ResetHighScores();
        LoadScore();  // the next start shows it
        QCOMPARE(HScoreName[2][1][0], QStringLiteral("烈"));
        QCOMPARE(HScoreVal[2][1][0], 9999);
    }

    void recoveryFilesAreReadFirstAndEnteredOnce_data()
    {
        QTest::addColumn<QString>("found");  // what the two recovery folders hold
        QTest::addColumn<QString>("table");  // the drive table after two saves
        QTest::addColumn<int>("left");       // the files that stay, each told
        QTest::newRow("one in each folder, one named as before") << "both" << "7002 7001" << 0;
        QTest::newRow("a newer version's file") << "newer" << "7001 3000" << 1;
        QTest::newRow("a damaged file") << "damaged" << "3000 3000" << 1;
        QTest::newRow("a table this version lacks") << "lacks" << "7002 3000" << 1;
        QTest::newRow("a link to the other folder's file") << "link" << "7002 3000" << 0;
        QTest::newRow("a file that outlives its removal") << "kept" << "7001 3000" << 0;
        QTest::newRow("a quit beside a file a save will remove") << "quit" << "7003 7001" << 0;
    }
    // Recovery files (7001 under the former name, 7002 in the state folder) at two saves: all are
    // read before any goes, one not read whole stays as it was and is told, a file enters once,
    // and a quit keeping a result (7003) never takes the place of a file already there.
    void recoveryFilesAreReadFirstAndEnteredOnce()
    {
        QFETCH(QString, found);
        const QString mine = RecoveryFolders()[0] + "/Tavolnik.unsaved", other = RecoveryFolders()[1] + "/Tavolnik-1-2-3.unsaved";
        QByteArray drives[2] = {R"([{"kind": 2, "slot": 1, "value": 7001, "name": "r"}])",
                                found == "newer" ? R"({"version": 2, "results": []})" : R"([{"kind": 2, "slot": 1, "value": 7002, "name": "r"}])"};
        if (found == "damaged") drives[0].chop(9);
        if (found == "lacks") drives[1].replace("]", R"(, {"kind": 9, "slot": 1, "value": 1, "name": "x"}])");
        if (found != "lacks" && found != "link") writeRaw(mine, drives[0]);
        if (found == "both" || found == "lacks" || found == "link" || found == "newer") writeRaw(other, drives[1]);
        if (found == "link") QVERIFY(QDir().mkpath(RecoveryFolders()[0]) && QFile::link(other, mine));
        if (found == "quit") QVERIFY(QFile::link(QStringLiteral("/dev/null"), rankingFile()));  // no save can succeed
        QStringList boxes;
        SetMsgBoxHook([&](const QString& text, const QString&) { boxes << text; });
        catchStderr([&] {
            if (found == "quit") { KeepUnsavedResult(RankDrive, SlotDrive, 7003, QStringLiteral("q")); KeepResultsAtQuit(true); QFile::remove(rankingFile()); }
            LoadScore();
            QVERIFY(SaveScore());
            if (found == "kept") writeRaw(mine, drives[0]);
            QVERIFY(SaveScore());
            QCoreApplication::processEvents();
        });
        SetMsgBoxHook({});
        QTEST(keysOnDisk().value(ScoreValKey(2, 1, 0)) + ' ' + keysOnDisk().value(ScoreValKey(2, 1, 1)), "table");
        QTEST(int(RecoveryFiles().size()), "left");
        QTEST(int(boxes.size()), "left");
        for (const QString& path : RecoveryFiles()) QCOMPARE(readRaw(path), drives[path == mine ? 0 : 1]);
    }

    // The start reads the player's choices and the rankings in a time in proportion to the
    // file's size, however many keys one group holds: 60,000 in [Controls] (540 KB).
    void readingTakesTimeInProportionToTheFile()
    {
        QByteArray bytes = "[Controls]\n";
        for (int i = 0; i < 60000; ++i) bytes += "K" + QByteArray::number(i) + "=x\n";
        writeRaw(rankingFile(), bytes);
        QElapsedTimer clock;
        clock.start();
        LoadPlayerSettings();
        LoadScore();
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(PlayerSetting(ControlsGroup, QStringLiteral("K59999"), QString()), QStringLiteral("x"));
        ResetPlayerSettings();
    }

    // Without HOME the path told is the one really used, not "//.config/...".
    void pathWithoutHomeIsTheRealOne()
    {
        const QByteArray home = qgetenv("HOME"), config = qgetenv("XDG_CONFIG_HOME");
        qunsetenv("HOME");
        qunsetenv("XDG_CONFIG_HOME");
        const QString path = rankingFile();
        qputenv("HOME", home);
        qputenv("XDG_CONFIG_HOME", config);
        QCOMPARE(path, QStringLiteral("/.config/Tavolnik/Tavolnik.conf"));
    }

    void resultWhoseSaveFailedOutlivesTheQuit_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("ending");
        QTest::addColumn<int>("recovery");  // which of RecoveryFolders() holds it; -1 none
        QTest::newRow("lock held by another program, SIGTERM") << "held" << "signal" << 0;
        QTest::newRow("SIGTERM while the save waits for the lock") << "held" << "wait-signal" << 0;
        QTest::newRow("a file where the folder should be, closed") << "no folder" << "close" << 1;
        QTest::newRow("the fault gone before the quit, closed") << "no folder" << "fix" << -1;
    }

    // A copy of the game keeps a drive of 7000 M while its save cannot succeed, and ends: one
    // more try at the end, else the recovery file, told where (over a box when the player closed
    // the game, on standard error at a signal); the next copy's first save puts the result in its
    // table and the recovery file goes. (What the ranking window says of the failed save is
    // failedSaveIsToldOverTheRankingWindow's.)
    void resultWhoseSaveFailedOutlivesTheQuit()
    {
        QFETCH(QString, fault);
        QFETCH(QString, ending);
        QFETCH(int, recovery);
        const QString folder = QFileInfo(rankingFile()).path();
        std::unique_ptr<Copy> holder;
        if (fault == "held") {
            holder = std::make_unique<Copy>(QStringList{QStringLiteral("lock")});
            QVERIFY(holder->waitFor("locked"));
        } else {
            writeRaw(folder, "a file");
        }
        Copy copy({QStringLiteral("quit"), QStringLiteral("7000"), QStringLiteral("烈 くん"), ending},
                  QProcess::SeparateChannels);
        QVERIFY(copy.waitFor("typed"));
        QElapsedTimer clock;
        clock.start();
        if (ending.endsWith("signal")) {
            if (ending == "wait-signal") QTest::qWait(1000);
            clock.restart();
            ::kill(pid_t(copy.process.processId()), SIGTERM);
        } else if (ending == "fix") {
            QVERIFY(copy.waitFor("failed"));
            QFile::remove(folder);
            copy.go();
        }
        QVERIFY(copy.process.waitForFinished(20000));
        QVERIFY2(clock.elapsed() < 2500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(copy.process.exitCode(), ending.endsWith("signal") ? 128 + SIGTERM : 0);
        const QString out = copy.said();
        const QString err = QString::fromLocal8Bit(copy.process.readAllStandardError());
        const QStringList files = RecoveryFiles();
        QCOMPARE(files.size(), recovery < 0 ? 0 : 1);
        if (recovery >= 0) QVERIFY(files[0].startsWith(RecoveryFolders()[recovery] + '/'));
        if (recovery < 0) {
            QCOMPARE(out.count(QStringLiteral("box ")), 0);
        } else if (ending.endsWith("signal")) {
            QVERIFY2(err.contains(files[0]), qPrintable(err));
        } else {
            QVERIFY2(out.count(QStringLiteral("box ")) == 1 && out.contains(files[0]), qPrintable(out));
        }

        // The next start, the fault gone.
        holder.reset();
        QFile::remove(folder);
        Copy next({QStringLiteral("race"), QStringLiteral("3500"), QStringLiteral("B")});
        QVERIFY(next.waitFor("ready"));
        next.go();
        QVERIFY(next.finished());
        const QMap<QString, QString> keys = keysOnDisk();
        QCOMPARE(keys.value(ScoreNameKey(2, 1, 0)), QStringLiteral("烈 くん"));
        QCOMPARE(keys.value(ScoreValKey(2, 1, 0)), QStringLiteral("7000"));
        QVERIFY2(keys.value(ScoreNameKey(2, 1, 1)) == QStringLiteral("B"), readRaw(rankingFile()).constData());
        QVERIFY(RecoveryFiles().isEmpty());
    }

    // Another program holds the lock for five seconds while a result is saved: the window goes on
    // painting, the "保存中…" note shows after half a second, and the save goes through once the
    // lock is free, the note gone.
    void windowsAnswerWhileAnotherProgramHoldsTheLock()
    {
        Copy holder({QStringLiteral("lock")});
        QVERIFY(holder.waitFor("locked"));
        QWidget window;
        window.resize(320, 240);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QElapsedTimer clock, gap;
        qint64 longestGap = 0, noteAt = -1;
        int paints = 0;
        struct PaintCount : QObject {
            int* count;
            bool eventFilter(QObject*, QEvent* event) override
            {
                if (event->type() == QEvent::Paint) ++*count;
                return false;
            }
        } counter;
        counter.count = &paints;
        window.installEventFilter(&counter);
        QTimer beat;
        QObject::connect(&beat, &QTimer::timeout, [&] {
            longestGap = std::max(longestGap, gap.restart());
            if (noteAt < 0)
                for (QWidget* w : QApplication::allWidgets())
                    if (w->objectName() == QLatin1String("savingNote") && w->isVisible()) noteAt = clock.elapsed();
            window.update();
        });
        KeepUnsavedResult(RankDrive, SlotDrive, 7000, QStringLiteral("烈"));
        QTimer::singleShot(5000, [&holder] { holder.process.kill(); });
        clock.start();
        gap.start();
        beat.start(20);
        QVERIFY(SaveScore());
        const qint64 took = clock.elapsed();
        beat.stop();
        QVERIFY2(took >= 4500 && took < 9000, qPrintable(QString::number(took)));
        QVERIFY2(longestGap < 500, qPrintable(QString::number(longestGap)));
        QVERIFY2(paints >= 20, qPrintable(QString::number(paints)));
        QVERIFY2(noteAt >= 450 && noteAt < 1500, qPrintable(QString::number(noteAt)));
        QCOMPARE(keysOnDisk().value(ScoreNameKey(2, 1, 0)), QStringLiteral("烈"));
        for (QWidget* w : QApplication::allWidgets()) QVERIFY(w->objectName() != QLatin1String("savingNote"));
    }

    // A save killed inside the settings library leaves that library's lock; a later copy with
    // the same process number (as in containers) saves at once all the same.
    void staleLeftoverOfAKilledSaveCostsNothing()
    {
        Copy copy({QStringLiteral("stale")});
        QVERIFY(copy.process.waitForFinished(60000));
        const QByteArray out = copy.process.readAllStandardOutput();
        QVERIFY2(copy.process.exitCode() == 0, out.constData());
        QCOMPARE(keysOnDisk().value(ScoreValKey(2, 1, 0)), QStringLiteral("4242"));
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
        saveTablesAsTheyAre();
        const QByteArray before = readRaw(rankingFile());
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
            QCOMPARE(readRaw(rankingFile()), before);
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
    if (argc > 2 && std::strcmp(argv[1], "--copy") == 0) return runCopy(argc, argv);
    // Away from the player's settings before anything can look at them.
    scores_test::pointConfigAt(scores_test::configRoot().path());
    QApplication app(argc, argv);
    TestHighScores test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_high_scores.moc"
