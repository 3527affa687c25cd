// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The command line: what each option means, the one-line complaints and exit code 2 for bad
// ones, help and version without a display, and a plain message instead of a crash when there
// is no display at all.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "app/command_line.h"

using Action = CommandLine::Action;
Q_DECLARE_METATYPE(CommandLine::Action)

class CommandLineTest : public QObject
{
    Q_OBJECT

    static QString programPath() { return QStringLiteral(TAVOLNIK_BUILD_DIR "/tavolnik"); }
    // The same game with the measuring hooks beside it, which can tell when the title is painted.
    static QString measuredPath() { return QStringLiteral(TAVOLNIK_BUILD_DIR "/tavolnik_measured"); }

    struct Run {
        int code = -1;
        QString out, err;
    };
    static Run run(const QStringList& arguments, const QProcessEnvironment& env,
                   const QString& program = programPath())
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(program, arguments);
        Run r;
        if (!p.waitForFinished(30000)) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
        r.err = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }
    // No display of any kind: no X server, no Wayland, no platform chosen.
    static QProcessEnvironment headless()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        return env;
    }

private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Action>("action");
        QTest::addColumn<int>("scale");
        QTest::addColumn<qulonglong>("seed");  // 0 with no seed given
        QTest::addColumn<QString>("error");
        QTest::addColumn<QStringList>("toolkit");
        const QStringList none;
        QTest::newRow("nothing") << none << Action::Run << 0 << 0ull << "" << none;
        QTest::newRow("--help") << QStringList{"--help"} << Action::Help << 0 << 0ull << "" << none;
        QTest::newRow("-h") << QStringList{"-h"} << Action::Help << 0 << 0ull << "" << none;
        QTest::newRow("--version") << QStringList{"--version"} << Action::Version << 0 << 0ull << "" << none;
        QTest::newRow("-v") << QStringList{"-v"} << Action::Version << 0 << 0ull << "" << none;
        QTest::newRow("help before a bad option") << QStringList{"--help", "--bogus"} << Action::Help << 0
                                                  << 0ull << "" << none;
        QTest::newRow("seed") << QStringList{"--seed", "42"} << Action::Run << 0 << 42ull << "" << none;
        QTest::newRow("seed=") << QStringList{"--seed=7"} << Action::Run << 0 << 7ull << "" << none;
        QTest::newRow("largest seed") << QStringList{"--seed", "18446744073709551615"} << Action::Run << 0
                                      << 18446744073709551615ull << "" << none;
        QTest::newRow("scale 2") << QStringList{"--scale", "2"} << Action::Run << 2 << 0ull << "" << none;
        QTest::newRow("scale=4 and seed") << QStringList{"--scale=4", "--seed", "3"} << Action::Run << 4
                                          << 3ull << "" << none;
        QTest::newRow("scale 1") << QStringList{"--scale", "1"} << Action::Run << 1 << 0ull << "" << none;
        QTest::newRow("window system's own")
            << QStringList{"-platform", "offscreen", "--scale", "3", "-style", "Fusion"} << Action::Run << 3
            << 0ull << "" << QStringList{"-platform", "offscreen", "-style", "Fusion"};

        const auto bad = [](const char* row, const QStringList& args, const char* error) {
            QTest::newRow(row) << args << Action::Error << 0 << 0ull << error << QStringList();
        };
        bad("unknown option", {"--fullscreen"}, "tavolnik: unknown option '--fullscreen'");
        bad("single-dash seed", {"-seed", "3"}, "tavolnik: unknown option '-seed'");
        bad("stray argument", {"race"}, "tavolnik: unexpected argument 'race'");
        bad("scale 0", {"--scale", "0"}, "tavolnik: --scale needs a whole number from 1 to 4, not '0'");
        bad("scale 5", {"--scale", "5"}, "tavolnik: --scale needs a whole number from 1 to 4, not '5'");
        bad("scale 1.5", {"--scale=1.5"}, "tavolnik: --scale needs a whole number from 1 to 4, not '1.5'");
        bad("scale word", {"--scale", "big"}, "tavolnik: --scale needs a whole number from 1 to 4, not 'big'");
        bad("scale empty", {"--scale="}, "tavolnik: --scale needs a whole number from 1 to 4, not ''");
        bad("scale missing", {"--scale"}, "tavolnik: --scale needs a value");
        bad("seed negative", {"--seed", "-1"}, "tavolnik: --seed needs a whole number, not '-1'");
        bad("seed too large", {"--seed", "18446744073709551616"},
            "tavolnik: --seed needs a whole number, not '18446744073709551616'");
        bad("seed word", {"--seed", "abc"}, "tavolnik: --seed needs a whole number, not 'abc'");
        bad("seed missing", {"--seed"}, "tavolnik: --seed needs a value");
        bad("platform missing", {"-platform"}, "tavolnik: -platform needs a value");
        bad("language the game lacks", {"--language", "xx"}, "tavolnik: --language needs one of ja, en, not 'xx'");
        bad("language by its name", {"--language=English"},
            "tavolnik: --language needs one of ja, en, not 'English'");
    }
    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Action, action);
        QFETCH(int, scale);
        QFETCH(qulonglong, seed);
        QFETCH(QString, error);
        QFETCH(QStringList, toolkit);
        const CommandLine line = ParseCommandLine(arguments);
        QCOMPARE(line.action, action);
        QCOMPARE(line.error, error);
        QCOMPARE(line.scale, scale);
        QCOMPARE(line.hasSeed, seed != 0);
        QCOMPARE(qulonglong(line.seed), seed);
        QCOMPARE(line.toolkitArguments, toolkit);
    }

    // --play (or the former --motion) chooses the way to play, --language the game's language; anything else
    // is a one-line complaint.
    void choiceOption_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("key");  // in [Options]
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("error");
        QTest::newRow("no style") << QStringList{} << "Style" << "" << "";
        QTest::newRow("style classic") << QStringList{"--play", "classic"} << "Style" << "classic" << "";
        QTest::newRow("style=modern") << QStringList{"--play=modern"} << "Style" << "modern" << "";
        QTest::newRow("style smooth") << QStringList{"--play", "smooth"} << "Style" << ""
                                      << "tavolnik: --play needs modern or classic, not 'smooth'";
        QTest::newRow("classic") << QStringList{"--motion", "classic"} << "Style" << "classic" << "";
        QTest::newRow("smooth=") << QStringList{"--motion=smooth"} << "Style" << "modern" << "";
        QTest::newRow("unknown") << QStringList{"--motion", "fast"} << "Style" << ""
                                 << "tavolnik: --motion needs smooth or classic, not 'fast'";
        QTest::newRow("capitals") << QStringList{"--motion=Classic"} << "Style" << ""
                                  << "tavolnik: --motion needs smooth or classic, not 'Classic'";
        QTest::newRow("missing") << QStringList{"--motion"} << "Style" << "" << "tavolnik: --motion needs a value";
        QTest::newRow("no language") << QStringList{} << "Language" << "" << "";
        QTest::newRow("en") << QStringList{"--language", "en"} << "Language" << "en" << "";
        QTest::newRow("ja=") << QStringList{"--language=ja"} << "Language" << "ja" << "";
    }
    void choiceOption()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, error);
        const CommandLine line = ParseCommandLine(arguments);
        QCOMPARE(line.choices.value(key), value);
        QCOMPARE(line.error, error);
        QCOMPARE(line.action, error.isEmpty() ? Action::Run : Action::Error);
    }

    // A choice given on the command line (--play, --motion, --language) is the player's: the settings
    // file's [Options] keeps it for the next start, over what it held, beside the rankings,
    // which stay as they were.
    void choiceGivenIsKept_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("kept");  // the key and value the file then holds
        QTest::newRow("--play classic") << "play" << "classic" << QByteArray("Style=modern\n") << "Style=classic";
        QTest::newRow("--motion classic") << "motion" << "classic" << QByteArray("Motion=smooth\n") << "Style=classic";
        QTest::newRow("--motion smooth") << "motion" << "smooth" << QByteArray("Style=classic\n") << "Style=modern";
        QTest::newRow("--language en") << "language" << "en" << QByteArray() << "Language=en";
        QTest::newRow("--language ja, back from English") << "language" << "ja" << QByteArray("Language=en\n") << "Language=ja";
    }
    void choiceGivenIsKept()
    {
        QFETCH(QString, option);
        QFETCH(QString, value);
        QFETCH(QByteArray, before);
        QFETCH(QString, kept);
        QTemporaryDir config;
        QVERIFY(config.isValid());
        QDir().mkpath(config.filePath(QStringLiteral("Tavolnik")));
        const QString path = config.filePath(QStringLiteral("Tavolnik/Tavolnik.conf"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Options]\n" + before + "[Setting]\nHScore_Nm_2_1_0=\xe3\x81\x82\nHScore_Val_2_1_0=4321\n");
        file.close();
        QProcessEnvironment env = headless();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        env.insert(QStringLiteral("TAVOLNIK_EXIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));
        const Run r = run({QStringLiteral("--") + option, value}, env, measuredPath());
        QCOMPARE(r.code, 0);
        QSettings stored(path, QSettings::IniFormat);
        QCOMPARE(QStringLiteral("%1=%2").arg(kept.section('=', 0, 0), stored.value("Options/" + kept.section('=', 0, 0)).toString()), kept);
        QCOMPARE(stored.value(QStringLiteral("Setting/HScore_Val_2_1_0")).toString(), QStringLiteral("4321"));
        QCOMPARE(stored.value(QStringLiteral("Setting/HScore_Nm_2_1_0")).toString(), QStringLiteral("あ"));
    }

    // A bad option ends the program with exit code 2 and one line, as the README promises.
    void aBadOptionSaysSoInOneLine()
    {
        const Run r = run({QStringLiteral("--bogus")}, headless());
        QCOMPARE(r.code, 2);
        QCOMPARE(r.err.count(QLatin1Char('\n')), 1);
        QVERIFY2(r.err.startsWith(QLatin1String("tavolnik: unknown option '--bogus'")), qPrintable(r.err));
    }

    // A signal while the start-up save of --language waits for another program's lock ends the
    // game at once, as the close box would; the save waits with the title on the screen.
    void signalWhileStartingEndsTheGame()
    {
        QTemporaryDir config;
        QVERIFY(QDir().mkpath(config.filePath(QStringLiteral("Tavolnik"))));
        const int lock = ::open(QFile::encodeName(config.filePath(QStringLiteral("Tavolnik/Tavolnik.conf.lock"))).constData(), O_RDWR | O_CREAT, 0600);
        QVERIFY(lock >= 0 && ::flock(lock, LOCK_EX) == 0);
        QProcessEnvironment env = headless();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        QProcess game;
        game.setProcessEnvironment(env);
        game.start(programPath(), {QStringLiteral("--language"), QStringLiteral("en")});
        QTest::qWait(1500);  // well into the wait for the lock
        QVERIFY2(game.state() == QProcess::Running, game.readAllStandardError().constData());
        ::kill(pid_t(game.processId()), SIGTERM);
        const bool ended = game.waitForFinished(2000);
        ::close(lock);
        QVERIFY(ended || (game.kill(), game.waitForFinished(), false));
        QCOMPARE(game.exitCode(), 128 + SIGTERM);
    }

    // The measuring hooks go into the measured program only: the game itself reads none of their
    // variables, so nothing a player sets in his environment can make it quit or act on its own.
    void onlyTheMeasuredProgramHasTheHooks()
    {
        auto bytesOf = [](const QString& path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QByteArray game = bytesOf(programPath()), measured = bytesOf(measuredPath());
        QVERIFY(!game.isEmpty() && !measured.isEmpty());
        for (const char* name : {"TAVOLNIK_EXIT_AFTER_FIRST_PAINT", "TAVOLNIK_BENCH_SCRIPT"}) {
            QVERIFY2(measured.contains(name), name);
            QVERIFY2(!game.contains(name), name);
        }
    }

    // On an X screen the title opens at the scale chosen for it: larger on a large screen, and a
    // --scale that does not fit is lowered, with one line saying so.
    void choosesTheScaleForTheScreen_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QSize>("title");  // the title window, in the screen's pixels
        QTest::addColumn<QString>("err");
        // Without --scale: 1.7, 1.8 and 3.7 times, the race window at most 80 % of the free height.
        QTest::newRow("SXGA") << "1280x1024" << QStringList{} << QSize(518, 393) << "";
        QTest::newRow("1080p") << "1920x1080" << QStringList{} << QSize(549, 416) << "";
        QTest::newRow("4K") << "3840x2160" << QStringList{} << QSize(1128, 855) << "";
        QTest::newRow("4K, --scale 1") << "3840x2160" << QStringList{"--scale", "1"} << QSize(305, 231) << "";
        QTest::newRow("SXGA, --scale 3") << "1280x1024" << QStringList{"--scale", "3"} << QSize(610, 462)
                                         << "tavolnik: --scale 3 does not fit this screen (1280x1024 free); using --scale 2";
    }
    void choosesTheScaleForTheScreen()
    {
        QFETCH(QString, screen);
        QFETCH(QStringList, arguments);
        QFETCH(QSize, title);
        QFETCH(QString, err);
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) QSKIP("no Xvfb");

        // An X server of this test's own, on the first free display number.
        QProcess server;
        QString display;
        for (int n = 180 + int(QCoreApplication::applicationPid() % 300); display.isEmpty() && n < 900; ++n) {
            if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n))) continue;
            server.start(QStringLiteral("Xvfb"), {QStringLiteral(":%1").arg(n), QStringLiteral("-screen"),
                                                  QStringLiteral("0"), screen + QStringLiteral("x24"),
                                                  QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                                                  QStringLiteral("-noreset")});
            QVERIFY(server.waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) ||
                                         server.state() == QProcess::NotRunning, 10000);
            if (server.state() == QProcess::Running) display = QStringLiteral(":%1").arg(n);
        }
        QVERIFY(!display.isEmpty());

        QProcessEnvironment env = headless();
        env.insert(QStringLiteral("DISPLAY"), display);
        env.remove(QStringLiteral("QT_SCALE_FACTOR"));
        env.insert(QStringLiteral("TAVOLNIK_EXIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));
        const Run r = run(arguments, env, measuredPath());
        server.terminate();
        server.waitForFinished();
        QCOMPARE(r.code, 0);
        const QString window = QStringLiteral("window=%1x%2").arg(title.width()).arg(title.height());
        QVERIFY2(r.out.contains(window), qPrintable(r.out + QLatin1String(" (wanted ") + window + QLatin1Char(')')));
        QCOMPARE(r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts).filter(QLatin1String("tavolnik:")).join(QLatin1Char('\n')), err);
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_command_line.moc"
