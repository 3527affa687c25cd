// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The title screen and the way back to it: 烈's hints wherever the pointer goes, story and
// drive opening the race screen, every way the game ends, and the race screen's TITLE button
// and menu. The ranking window opened over the title is tested with the ranking window.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QWindow>
#include <QtTest>

#include "app/form_title.h"
#include "flow/race_screen_wiring.h"
#include "prefs/choices.h"
#include "prefs/language.h"
#include "storage/player_settings.h"
#include "screens/form_controls.h"
#include "screens/form_rank.h"
#include "screens/key_settings_dialog.h"
#include "race/race_state.h"
#include "runtime/message_box.h"
#include "scores/high_scores.h"
#include "screens/form_main.h"
#include "scores_test_support.h"
#include "player_driver.h"

namespace {
const QString question = QStringLiteral("「ストーリー」と「ドライブ」のどっちで遊ぶ？");
const QString storyHint = QStringLiteral("車や障害物を避けながら、制限時間内に走るんだよ！");
const QString driveHint = QStringLiteral("時間の制限はないけど、走るほど難しくなるよ！");
const QString rankingHint = QStringLiteral("「ストーリー」はクリア時間の短い順\r\n"
                                           "「ドライブ」は走行距離の長い順\r\n"
                                           "に上位5名が記録されるんだ");
const QString endHint = QStringLiteral("あんまり遊びすぎないようにね");
const QString retsuHint = QStringLiteral("僕は烈！このゲームで活躍するゼンタは友達だよ");
const QString logoHint = QStringLiteral("「Tavolnik」が正式なタイトルみたいだね");
const QString creditHint = QStringLiteral("タルベ君が作ったんだって");

} // namespace

class TitleTest : public QObject
{
    Q_OBJECT

private:
    WindowFixture f;

    form_Title* openTitle()
    {
        auto* title = new form_Title;
        title->show();
        return title;
    }

    // Clicks a mode button of the title screen and gives the race screen it opens.
    // A click on the button, or the keyboard: Tab until the button has the focus, then Return.
    static form_Main* raceFrom(QPushButton* button, bool keyboard = false)
    {
        if (keyboard) {
            QWidget* title = button->window();
            for (int tabs = 0; title->focusWidget() != button && tabs < 4; ++tabs)
                QTest::keyClick(title->focusWidget(), Qt::Key_Tab);
            if (title->focusWidget() != button) return nullptr;
            QTest::keyClick(button, Qt::Key_Return);
        } else {
            QTest::mouseClick(button, Qt::LeftButton);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return form_Main::current();
    }

private slots:
    void init() { f.init(); }
    void cleanup()
    {
        f.cleanup();
        ShowLanguage(QStringLiteral("ja"));
    }

    void opensWithTheQuestionAndStoryFocused()
    {
        form_Title* title = openTitle();
        QCOMPARE(title->lbl_Msg->Caption(), question);
        QCOMPARE(title->focusWidget(), static_cast<QWidget*>(title->Command1));
        QCOMPARE(title->size(), QSize(305, 231));
        // The ring shows on START from the first moment.
        QVERIFY(title->testAttribute(Qt::WA_KeyboardFocusChange));
        // The rankings were read from the store as the screen opened.
        QCOMPARE(HScoreName[1][1][0], DefaultScoreName());
        QCOMPARE(HScoreVal[2][1][4], DefaultScoreVal(2));
    }

    void hintFollowsThePointer_data()
    {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QString>("hint");
        const QPoint overEnd(56, 184);
        QTest::newRow("ストーリー") << overEnd << QPoint(56, 48) << storyHint;
        QTest::newRow("ドライブ") << overEnd << QPoint(20, 100) << driveHint;
        QTest::newRow("ランキング") << overEnd << QPoint(100, 150) << rankingHint;
        QTest::newRow("終了") << QPoint(148, 120) << overEnd << endHint;
        QTest::newRow("烈") << overEnd << QPoint(148, 120) << retsuHint;
        QTest::newRow("logo") << overEnd << QPoint(290, 14) << logoHint;
        QTest::newRow("credit") << overEnd << QPoint(150, 219) << creditHint;
        QTest::newRow("gap between buttons") << overEnd << QPoint(56, 68) << question;
        QTest::newRow("bare surface") << overEnd << QPoint(5, 215) << question;
        QTest::newRow("bubble's rim") << overEnd << QPoint(195, 100) << question;
        QTest::newRow("hint text itself") << overEnd << QPoint(240, 100) << endHint;
    }

    void hintFollowsThePointer()
    {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(QString, hint);
        form_Title* title = openTitle();
        player::PointerTo(title, from);
        QVERIFY(title->lbl_Msg->Caption() != hint || hint == endHint);
        player::PointerTo(title, to);
        QCOMPARE(title->lbl_Msg->Caption(), hint);
        // Leaving for nowhere in particular changes nothing: there is no reset on leaving.
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(title, &leave);
        QCOMPARE(title->lbl_Msg->Caption(), hint);
    }

    // The hint follows the keyboard's focus as it follows the pointer: Tab, and Shift+Tab back.
    void hintFollowsTab_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("hint");
        QTest::newRow("Tab") << QList<int>{Qt::Key_Tab} << driveHint;
        QTest::newRow("three Tabs") << QList<int>{Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab} << endHint;
        QTest::newRow("Tab, Shift+Tab") << QList<int>{Qt::Key_Tab, Qt::Key_Backtab} << storyHint;
    }
    void hintFollowsTab()
    {
        QFETCH(QList<int>, keys);
        form_Title* title = openTitle();
        QVERIFY(QTest::qWaitForWindowActive(title));
        for (int key : keys) QTest::keyClick(title->focusWidget(), Qt::Key(key));
        QTEST(title->lbl_Msg->Caption(), "hint");
    }

    // Every window has a title for the task bar and the window lists, in the language shown.
    void everyWindowHasATitle()
    {
        ShowLanguage(QStringLiteral("en"));
        form_Title* title = openTitle();
        form_Main* race = NewRaceScreen();
        KeySettingsDialog keys(race);
        QStringList titles;
        for (QWidget* w : QList<QWidget*>{title, race, form_Rank::create(title), form_Controls::Open(race), &keys})
            titles << w->windowTitle();
        QCOMPARE(titles, (QStringList{"Tavolnik", "Tavolnik", "Ranking", "Controls", "Keys"}));
    }

    // The title's language link: English offered loudly to a player whose system speaks
    // another language until a language is chosen, and a click switches and keeps it.
    void languageLink_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("standsOut");
        QTest::addColumn<QString>("kept");
        QTest::newRow("first start") << QString() << QStringLiteral("English") << true << QStringLiteral("en");
        QTest::newRow("Japanese chosen") << QStringLiteral("ja") << QStringLiteral("English") << false << QStringLiteral("en");
        QTest::newRow("English chosen") << QStringLiteral("en") << QStringLiteral("日本語") << false << QStringLiteral("ja");
    }

    void languageLink()
    {
        QFETCH(QString, stored);
        QFETCH(QString, kept);
        if (!stored.isEmpty()) QVERIFY(SetPlayerSetting(OptionsGroup, LanguageKey, stored));
        ShowLanguage(ChosenLanguage());
        form_Title* title = openTitle();
        const QRect start = title->Command1->geometry();
        QTEST(title->cmd_Language->text(), "link");
        QTEST(!title->cmd_Language->isFlat(), "standsOut");
        QTest::mouseClick(title->cmd_Language, Qt::LeftButton);
        QCOMPARE(PlayerSetting(OptionsGroup, LanguageKey, QString()), kept);
        QCOMPARE(ShownLanguage(), kept);
        QTRY_VERIFY(title->cmd_Language->isFlat());
        QCOMPARE(title->Command1->geometry(), start);
    }

    void modeButtonOpensTheRaceScreen_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("keyboard");
        QTest::newRow("story") << 1 << 0 << QStringLiteral("ストーリー STAGE1") << false;
        QTest::newRow("drive") << 2 << 2 << QStringLiteral("ドライブ") << false;
        QTest::newRow("story, Return") << 1 << 0 << QStringLiteral("ストーリー STAGE1") << true;
        QTest::newRow("drive, Tab and Return") << 2 << 2 << QStringLiteral("ドライブ") << true;
    }

    void modeButtonOpensTheRaceScreen()
    {
        QFETCH(int, button);
        QFETCH(int, mode);
        QFETCH(QString, caption);
        QFETCH(bool, keyboard);
        // What an earlier visit may have left behind: stage 2 reached, traffic on the road.
        GameMode = ModeStage2;
        for (int n = 1; n <= 6; ++n) CarFlag[n] = VbTrue;
        for (int n = 1; n <= 4; ++n) ShogaiFlag[n] = VbTrue;

        QPointer<form_Title> title = openTitle();
        form_Main* race = raceFrom(button == 1 ? title->Command1 : title->Command2, keyboard);

        QVERIFY(race);
        QVERIFY(race->isVisible());
        QCOMPARE(GameMode, int16_t(mode));
        QCOMPARE(race->lbl_Mode->Caption(), caption);
        const QRect road(0, 0, 601, 303);
        for (Picture* car : {race->img_Car1, race->img_Car2, race->img_Car3, race->img_Car4,
                             race->img_Car5, race->img_Car6})
            QVERIFY2(!car->rect().intersects(road), qPrintable(car->name()));
        for (Picture* obstacle : race->img_Shogai)
            QVERIFY2(!obstacle->rect().intersects(road), qPrintable(obstacle->name()));
        for (int n = 1; n <= 6; ++n) QCOMPARE(CarFlag[n], VbFalse);
        for (int n = 1; n <= 4; ++n) QCOMPARE(ShogaiFlag[n], VbFalse);
        QVERIFY(race->cmd_Start->isEnabled());
        QVERIFY(race->focusWidget() == race->cmd_Start && race->testAttribute(Qt::WA_KeyboardFocusChange));  // the ring
        QVERIFY(race->mon1->isChecked());
        QVERIFY(race->mon2->isChecked());

        QVERIFY(title.isNull());
        QVERIFY(!form_Title::current());
        QCOMPARE(f.shownWindows(), QList<QWidget*>{race});
        QCOMPARE(f.sound->effects().size(), 1);
        QCOMPARE(f.effectNames(), QStringList{QStringLiteral("Click")});
        QCOMPARE(f.sound->effects().first().flags, SND_NOSTOP | SND_SYNC);
    }

    void everyTitleReadsTheRankingsAgain()
    {
        openTitle();
        HScoreName[1][2][0] = QStringLiteral("れつ");
        HScoreVal[1][2][0] = 21;
        scores_test::saveTablesAsTheyAre();
        f.discardWindows();
        HScoreName[1][2][0] = QStringLiteral("まだ保存されていない");
        HScoreVal[1][2][0] = 3;

        openTitle();
        QCOMPARE(HScoreName[1][2][0], QStringLiteral("れつ"));
        QCOMPARE(HScoreVal[1][2][0], 21);
    }

    void gameEnds_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("title's 終了 button") << QStringLiteral("end button");
        QTest::newRow("title's close box") << QStringLiteral("title close box");
        QTest::newRow("race screen's 終了(&X)") << QStringLiteral("menu end");
        QTest::newRow("race screen's close box") << QStringLiteral("race close box");
    }

    void gameEnds()
    {
        QFETCH(QString, way);
        QPointer<form_Title> title = openTitle();
        QPointer<form_Main> race;
        if (way.startsWith(QLatin1String("race")) || way.startsWith(QLatin1String("menu")))
            race = raceFrom(title->Command1);
        f.sound->calls.clear();

        QTimer::singleShot(0, [&] {
            if (way == QLatin1String("end button"))
                QTest::mouseClick(title->Command4, Qt::LeftButton);
            else if (way == QLatin1String("title close box"))
                player::CloseBox(title);
            else if (way == QLatin1String("menu end"))
                race->mend->trigger();
            else
                player::CloseBox(race);
        });
        QTimer guard;
        guard.callOnTimeout([] { QCoreApplication::exit(99); });
        guard.start(10000);
        QCOMPARE(QApplication::exec(), 0);

        QVERIFY(f.shownWindows().isEmpty());
        QVERIFY(title.isNull());
        QVERIFY(race.isNull());
        if (way == QLatin1String("end button")) {
            // The click is started, not waited for.
            QCOMPARE(f.effectNames(), QStringList{QStringLiteral("Click")});
            QCOMPARE(f.sound->effects().first().flags, SND_ASYNC);
        } else {
            QVERIFY(f.sound->effects().isEmpty());
        }
    }

    void aboutBoxShowsTheVersion()
    {
        form_Title* title = openTitle();
        form_Main* race = raceFrom(title->Command2);
        QStringList shown;
        SetMsgBoxHook([&](const QString& text, const QString& caption) {
            shown << caption << text;
        });
        race->mabout->trigger();
        QCOMPARE(shown, (QStringList{QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"),
                                     QStringLiteral("Tavolnik Ver.1.00")}));
        QVERIFY(race->isVisible());
    }

    void titleGivesAFreshTitleScreen_data()
    {
        QTest::addColumn<bool>("byMenu");
        QTest::addColumn<bool>("effectsOn");
        QTest::newRow("TITLE") << false << true;
        QTest::newRow("TITLE, effects off") << false << false;
        QTest::newRow("タイトル画面へ(&T)") << true << true;
    }

    void titleGivesAFreshTitleScreen()
    {
        QFETCH(bool, byMenu);
        QFETCH(bool, effectsOn);
        form_Title* first = openTitle();
        QPointer<form_Main> race = raceFrom(first->Command1);
        GameMode = ModeStage2;  // stage 2 reached
        race->moff1->trigger();
        if (!effectsOn) race->moff2->trigger();
        QVERIFY(!race->mon1->isChecked());
        f.sound->calls.clear();

        if (byMenu)
            race->mtitle->trigger();
        else
            QTest::mouseClick(race->cmd_Title, Qt::LeftButton);

        QCOMPARE(f.effectNames(), effectsOn ? QStringList{QStringLiteral("Click")} : QStringList{});
        form_Title* title = form_Title::current();
        QVERIFY(title);
        QVERIFY(title->isVisible());
        QCOMPARE(title->lbl_Msg->Caption(), question);
        QVERIFY(!race->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(race.isNull());
        QVERIFY(!form_Main::current());
        QCOMPARE(f.shownWindows(), QList<QWidget*>{title});
        QCOMPARE(GameMode, int16_t(1));

        // The next race screen starts as laid out: music and effects on, START enabled.
        form_Main* next = raceFrom(title->Command1);
        QVERIFY(next);
        QCOMPARE(GameMode, int16_t(0));
        QVERIFY(next->mon1->isChecked());
        QVERIFY(next->mon2->isChecked());
        QVERIFY(next->cmd_Start->isEnabled());
        QCOMPARE(next->lbl_Mode->Caption(), QStringLiteral("ストーリー STAGE1"));
    }
};

WINDOW_TEST_MAIN(TitleTest)
#include "test_title.moc"
