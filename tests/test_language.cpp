// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// English beside Japanese, and the controls window: every text of the game has a finished
// English translation; Japanese is the game's language on any system locale; the language chosen
// from the race screen's menu is shown and kept in the settings file; F1 lists the player's keys.
#include <QAction>
#include <QDirIterator>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QXmlStreamReader>

#include "app/form_title.h"
#include "flow/race_screen_wiring.h"
#include "race/stages.h"
#include "prefs/key_bindings.h"
#include "prefs/language.h"
#include "storage/player_settings.h"
#include "screens/form_controls.h"
#include "window_fixture.h"

namespace {
struct Message {
    QString context, source, translation;
    bool unfinished = false;
};

QList<Message> readTs(const QString& path)
{
    QList<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message m;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        if (xml.name() == QLatin1String("name")) context = xml.readElementText();
        else if (xml.name() == QLatin1String("message")) m = Message{context, {}, {}, false};
        else if (xml.name() == QLatin1String("source")) m.source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation")) {
            m.unfinished = xml.attributes().value(QLatin1String("type")) == QLatin1String("unfinished");
            m.translation = xml.readElementText();
            messages << m;
        }
    }
    return messages;
}

QString settingOnDisk(const QString& key)
{
    QSettings file(scores_test::rankingFile(), QSettings::IniFormat);
    return file.value(key).toString();
}
} // namespace

class TestLanguage : public QObject
{
    Q_OBJECT
    WindowFixture fixture;

    static form_Main* openRace()
    {
        form_Main* race = NewRaceScreen();
        race->show();
        return race;
    }

private slots:
    void init()
    {
        fixture.init();
        ResetPlayerSettings();
        ShowLanguage(QStringLiteral("ja"));
    }
    void cleanup()
    {
        fixture.cleanup();
        ShowLanguage(QStringLiteral("ja"));
        ResetPlayerSettings();
        QLocale::setDefault(QLocale::c());
    }

    // lupdate run over the code as it is now finds no text the English file lacks, and every
    // text has a finished translation that keeps the source's placeholders and access key.
    void everyTextHasAnEnglishTranslation()
    {
        const QString committed = QStringLiteral(TAVOLNIK_SOURCE_DIR "/translations/tavolnik_en.ts");
        QTemporaryDir dir;
        const QString current = dir.filePath(QStringLiteral("current.ts"));
        QVERIFY(QFile::copy(committed, current));
        QFile::setPermissions(current, QFile::ReadOwner | QFile::WriteOwner);
        QProcess lupdate;
        lupdate.start(QStringLiteral(TAVOLNIK_LUPDATE),
                      {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                       QStringLiteral("-no-obsolete"), QStringLiteral(TAVOLNIK_SOURCE_DIR "/src"),
                       QStringLiteral("-ts"), current});
        QVERIFY(lupdate.waitForFinished(120000));
        QCOMPARE(lupdate.exitCode(), 0);

        const QList<Message> messages = readTs(current);
        QVERIFY(messages.size() > 100);
        QStringList faults;
        static const QRegularExpression placeholder(QStringLiteral("%\\d"));
        for (const Message& m : messages) {
            const QString where = m.context + QLatin1Char('/') + m.source;
            if (m.unfinished || m.translation.trimmed().isEmpty())
                faults << QStringLiteral("untranslated: ") + where;
            QStringList wanted, given;
            for (auto it = placeholder.globalMatch(m.source); it.hasNext();) wanted << it.next().captured();
            for (auto it = placeholder.globalMatch(m.translation); it.hasNext();) given << it.next().captured();
            wanted.sort();
            given.sort();
            if (wanted != given) faults << QStringLiteral("placeholders differ: ") + where;
            if (m.source.contains(QLatin1Char('&')) != m.translation.contains(QLatin1Char('&')))
                faults << QStringLiteral("access key lost: ") + where;
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n')) +
                                              "\n(cmake --build build --target update_translations, "
                                              "then translate in translations/tavolnik_en.ts)"));
    }

    // A Japanese text written straight into the code, past tr(), would stay Japanese in English.
    void noJapaneseTextBypassesTranslation()
    {
        // Names that are the same in every language: the font's, the language's own name, the
        // default ranking name (a stored name, like any the player types).
        const QStringList kept = {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("日本語"),
                                  QStringLiteral("ぜんた")};
        static const QRegularExpression literal(
            QStringLiteral("(?:QStringLiteral|QLatin1String|QString::fromUtf8)\\(\"([^\"]*)\"\\)"));
        static const QRegularExpression japanese(QStringLiteral("[\\x{3040}-\\x{30ff}\\x{4e00}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
        QStringList faults;
        QDirIterator files(QStringLiteral(TAVOLNIK_SOURCE_DIR "/src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                           QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
            for (int i = 0; i < lines.size(); ++i)
                for (auto it = literal.globalMatch(lines[i]); it.hasNext();) {
                    const QString text = it.next().captured(1);
                    if (text.contains(japanese) && !kept.contains(text))
                        faults << QStringLiteral("%1:%2: %3").arg(file.fileName()).arg(i + 1).arg(text);
                }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // Japanese is the game's language whatever the system's locale; English only when chosen.
    void japaneseOnEveryLocaleEnglishWhenChosen_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("menus");
        QTest::addColumn<QString>("story");
        const QStringList japanese = {"ファイル(&F)", "サウンド(&S)", "ヘルプ(&H)"};
        const QStringList english = {"&File", "&Sound", "&Help"};
        QTest::newRow("English system") << "en_US" << "" << japanese << "ストーリー";
        QTest::newRow("German system") << "de_DE" << "" << japanese << "ストーリー";
        QTest::newRow("English chosen") << "ja_JP" << "en" << english << "Story";
        QTest::newRow("English chosen, spaces around") << "ja_JP" << " en " << english << "Story";
        QTest::newRow("unknown choice") << "en_GB" << "fr" << japanese << "ストーリー";
    }
    void japaneseOnEveryLocaleEnglishWhenChosen()
    {
        QFETCH(QString, locale);
        QFETCH(QString, chosen);
        QFETCH(QStringList, menus);
        QFETCH(QString, story);
        QLocale::setDefault(QLocale(locale));
        if (!chosen.isEmpty()) SetPlayerSetting(OptionsGroup, QStringLiteral("Language"), chosen);
        ShowLanguage(ChosenLanguage());

        auto* title = new form_Title;
        title->show();
        QCOMPARE(title->Command1->text(), story);
        QTest::mouseClick(title->Command1, Qt::LeftButton);
        form_Main* race = form_Main::current();
        QVERIFY(race);
        QCOMPARE((QStringList{race->mfile->title(), race->msound->title(), race->mhelp->title()}), menus);
    }

    // The ヘルプ menu's language item: the menus change at once, the settings file keeps the
    // choice, the next screen opens in it, and 日本語 takes it all back.
    void theLanguageChosenInTheMenuIsShownAndKept()
    {
        form_Main* race = openRace();
        race->lbl_Mode->setCaption(StageText(RaceModeOf(ModeStage1).caption));
        race->men->trigger();
        QCOMPARE(race->mfile->title(), QStringLiteral("&File"));
        QCOMPARE(race->mabout->text(), QStringLiteral("&About"));
        QCOMPARE(race->lbl_Mode->Caption(), QStringLiteral("Story STAGE1"));
        QVERIFY(race->men->isChecked() && !race->mja->isChecked());
        QCOMPARE(settingOnDisk(QStringLiteral("Options/Language")), QStringLiteral("en"));
        // Read afresh, as at the next start.
        LoadPlayerSettings();
        QCOMPARE(ChosenLanguage(), QStringLiteral("en"));

        race->mja->trigger();
        QCOMPARE(race->mfile->title(), QStringLiteral("ファイル(&F)"));
        QCOMPARE(race->lbl_Mode->Caption(), QStringLiteral("ストーリー STAGE1"));
        QVERIFY(race->mja->isChecked() && !race->men->isChecked());
        QCOMPARE(settingOnDisk(QStringLiteral("Options/Language")), QStringLiteral("ja"));
    }

    // F1 and ヘルプ > 操作方法 open the controls window with the keys the player has chosen, in the
    // language shown, also while a race holds the menus.
    void theControlsWindowListsThePlayersKeys_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("fromMenu");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("accelerate");
        QTest::newRow("F1, Japanese") << "ja" << false << "操作方法" << "アクセル";
        QTest::newRow("F1, English") << "en" << false << "Controls" << "Accelerate";
        QTest::newRow("menu, English") << "en" << true << "Controls" << "Accelerate";
    }
    void theControlsWindowListsThePlayersKeys()
    {
        QFETCH(QString, language);
        QFETCH(bool, fromMenu);
        QFETCH(QString, title);
        QFETCH(QString, accelerate);
        ShowLanguage(language);
        SetPlayerSetting(ControlsGroup, QStringLiteral("Accelerate"), QStringLiteral("W"));
        form_Main* race = openRace();
        QVERIFY(QTest::qWaitForWindowActive(race));
        race->setTopMenusEnabled(false);  // as during a race
        if (fromMenu)
            race->mcontrols->trigger();
        else
            QTest::keyClick(race, Qt::Key_F1);

        form_Controls* controls = form_Controls::current();
        QVERIFY(controls);
        QVERIFY(controls->isVisible());
        QCOMPARE(controls->windowTitle(), title);
        const auto rows = controls->rows();
        QCOMPARE(rows[0].what, accelerate);
        QCOMPARE(rows[0].keys, QStringLiteral("W"));
        QCOMPARE(rows[1].keys, QStringLiteral("B"));
        QCOMPARE(rows[2].keys, QStringLiteral("← → ↑ ↓"));
        // Every key the game answers is listed, those it keeps for itself included.
        QStringList keys;
        for (const auto& row : rows) keys << row.keys.split(QRegularExpression(QStringLiteral("[ /]+")));
        for (int key : {int(Qt::Key_Escape), int(Qt::Key_Pause), int(Qt::Key_T), int(Qt::Key_F1), int(Qt::Key_F11),
                        (Qt::ALT | Qt::Key_Return).toCombined()})
            QVERIFY2(keys.contains(KeyName(key)), qPrintable(KeyName(key)));
        // What the player reads is what the rows say.
        QStringList shown;
        for (QLabel* label : controls->findChildren<QLabel*>()) shown << label->text();
        QVERIFY(shown.contains(accelerate));
        QVERIFY(shown.contains(QStringLiteral("W")));
    }
};

WINDOW_TEST_MAIN(TestLanguage)
#include "test_language.moc"
