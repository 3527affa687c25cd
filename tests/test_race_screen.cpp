// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The race screen as laid out, the race start with its opening wait, and closing the window
// while a message waits.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "audio/media_recorder.h"
#include "audio/sound.h"
#include "prefs/choices.h"
#include "race/countdown.h"
#include "race/race_state.h"
#include "storage/player_settings.h"
#include "runtime/message_box.h"
#include "runtime/random.h"
#include "runtime/scene_wait.h"
#include "flow/race_screen_wiring.h"
#include "screens/form_main.h"
#include "player_driver.h"

class RaceScreenTest : public QObject
{
    Q_OBJECT

private:
    form_Main* form = nullptr;

    QWidget* widgetNamed(const QString& name)
    {
        const QHash<QString, QWidget*> widgets = {
            {"Label2", form->Label2},     {"Label3", form->Label3},   {"lbl_Mode", form->lbl_Mode},
            {"Label5", form->Label5},     {"lbl_Time", form->lbl_Time}, {"Label7", form->Label7},
            {"lbl_Dist", form->lbl_Dist}, {"cmd_Start", form->cmd_Start},
            {"cmd_Title", form->cmd_Title}, {"lbl_Msg", form->lbl_Msg}, {"Nextbox", form->Nextbox},
            {"Frame1", form->Frame1},     {"Text1", form->Text1}};
        return widgets.value(name);
    }

    // Runs START and, while its opening waits, calls during() once; then presses Space.
    void startWithOpening(const std::function<void()>& during)
    {
        bool ran = false;
        player::PressStart(form, [&] {
            during();
            ran = true;
        });
        QVERIFY(ran);
    }

private slots:
    void init()
    {
        ResetRaceState();
        SetFixedSeed(7);
        form = NewRaceScreen();
        form->Init_Car();
    }

    void cleanup()
    {
        // The recorder of a test has gone: nothing is open on the real sound device.
        BgmOpen = VbFalse;
        ResetPlayerSettings();
        if (form) {
            form->setAttribute(Qt::WA_DeleteOnClose, false);
            form->close();
            delete form;
        }
        form = nullptr;
    }

    void panelControlsAreLaidOut_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("caption");
        QTest::newRow("panel") << "Frame1" << QRect(0, 304, 601, 121) << true << QString();
        QTest::newRow("SPEED") << "Label2" << QRect(3, 3, 56, 18) << true << "SPEED";
        QTest::newRow("MODE") << "Label3" << QRect(104, 3, 53, 18) << true << "MODE";
        QTest::newRow("mode") << "lbl_Mode" << QRect(160, 0, 137, 25) << true << QString();
        QTest::newRow("TIME") << "Label5" << QRect(112, 35, 45, 18) << true << "TIME";
        QTest::newRow("time") << "lbl_Time" << QRect(160, 32, 137, 25) << true << QString();
        QTest::newRow("DISTANCE") << "Label7" << QRect(70, 67, 87, 18) << true << "DISTANCE";
        QTest::newRow("distance") << "lbl_Dist" << QRect(160, 64, 137, 25) << true << QString();
        QTest::newRow("START") << "cmd_Start" << QRect(72, 96, 97, 25) << true << "START";
        QTest::newRow("TITLE") << "cmd_Title" << QRect(200, 96, 97, 25) << true << "TITLE";
        QTest::newRow("message") << "lbl_Msg" << QRect(304, 0, 193, 121) << true << QString();
        QTest::newRow("next") << "Nextbox" << QRect(320, 103, 175, 15) << false
                              << "Click or SpaceKey to Next";
        QTest::newRow("focus box") << "Text1" << QRect(480, 432, 10, 25) << true << QString();
    }

    void panelControlsAreLaidOut()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(bool, shown);
        QFETCH(QString, caption);
        form->show();
        QWidget* w = widgetNamed(name);
        QVERIFY(w);
        QCOMPARE(w->geometry(), geometry);
        QCOMPARE(w->isVisible(), shown);
        if (auto* label = qobject_cast<Label*>(w)) QCOMPARE(label->Caption(), caption);
        if (auto* button = qobject_cast<QPushButton*>(w)) QCOMPARE(button->text(), caption);
    }

    void textColoursAndFonts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<double>("points");
        QTest::newRow("SPEED") << "Label2" << QColor(255, 255, 0) << 12.0;
        QTest::newRow("MODE") << "Label3" << QColor(255, 15, 123) << 12.0;
        QTest::newRow("TIME") << "Label5" << QColor(23, 64, 255) << 12.0;
        QTest::newRow("DISTANCE") << "Label7" << QColor(2, 255, 97) << 12.0;
        QTest::newRow("mode") << "lbl_Mode" << QColor(Qt::white) << 9.75;
        QTest::newRow("time") << "lbl_Time" << QColor(Qt::white) << 12.0;
        QTest::newRow("message") << "lbl_Msg" << QColor(Qt::black) << 12.0;
        QTest::newRow("next") << "Nextbox" << QColor(0, 0, 255) << 9.75;
    }

    void textColoursAndFonts()
    {
        QFETCH(QString, name);
        QFETCH(QColor, text);
        QFETCH(double, points);
        // The designed colours are the classic way's; the modern way draws the captions on
        // plates of these colours.
        QVERIFY(ChooseStyle(Style::Classic));
        const auto modernAgain = qScopeGuard([] { ChooseStyle(Style::Modern); });
        PlayChosenStyle(form);
        form->show();
        QWidget* w = widgetNamed(name);
        QCOMPARE(w->palette().color(QPalette::WindowText), text);
        QCOMPARE(w->font().pointSizeF(), points);
        QVERIFY(w->font().bold());
        QVERIFY(w->font().families().contains(QStringLiteral("IPAPGothic")));
    }

    void windowOpensWithClientAreaBelowTheMenu()
    {
        form->show();
        QCOMPARE(form->windowTitle(), QStringLiteral("Tavolnik"));
        QCOMPARE(form->centralWidget()->size(), QSize(601, 425));
        QCOMPARE(form->centralWidget()->y(), form->menuBar()->height());
        // The player may make it larger.
        QVERIFY(form->maximumSize().width() > form->width() && form->maximumSize().height() > form->height());
    }

    void speedGaugeStacksTenDarkBars()
    {
        for (int k = 0; k < 10; ++k) {
            QCOMPARE(form->bar_Speed[k]->geometry(), QRect(8, 96 - 8 * k, 41, 9));
            QCOMPARE(form->bar_Speed[k]->FillColor(), GaugeDark);
        }
    }

    void picturesStackInTheirLaidOutOrder()
    {
        // From the lowest to the topmost, with start positions, sizes and visibility.
        struct Row { const char* name; int left, top, w, h; bool visible; };
        const Row rows[] = {
            {"img_Road", -344, 0, 1202, 303, true},   {"img_Retsu(0)", 216, 0, 36, 66, false},
            {"img_Shogai(1)", -79, 200, 79, 36, true}, {"img_Shogai(0)", -79, 216, 66, 38, true},
            {"img_Shogai(3)", -79, 56, 79, 36, true},  {"img_Shogai(2)", -79, 216, 66, 38, true},
            {"img_Car3", -164, 48, 164, 96, true},     {"img_Zenta(1)", 0, 512, 100, 120, false},
            {"img_Zenta(2)", 104, 512, 100, 120, false}, {"img_Zenta(3)", 208, 512, 100, 120, false},
            {"img_Zenta(4)", 312, 512, 100, 120, false}, {"img_JetR(1)", 0, 432, 77, 77, false},
            {"img_JetR(2)", 80, 432, 77, 77, false},   {"img_JetR(3)", 160, 432, 77, 77, false},
            {"img_JetR(4)", 240, 432, 77, 77, false},  {"img_JetR(5)", 320, 432, 77, 77, false},
            {"img_Car1", -117, 72, 117, 50, true},     {"img_Car5", 524, -114, 63, 114, true},
            {"img_Car6", 524, 307, 63, 114, true},     {"img_JetR(0)", 448, 112, 77, 77, false},
            {"img_Retsu(1)", 416, 512, 36, 66, false}, {"img_Retsu(2)", 456, 512, 36, 66, false},
            {"img_JetR(6)", 408, 432, 77, 77, false},  {"img_Car2", 601, 184, 117, 50, true},
            {"img_Car4", 601, 152, 164, 96, true},     {"img_Clear", 128, 24, 344, 254, false},
            {"img_HappyEnd", 128, 24, 344, 254, false}, {"img_Face(5)", 416, 512, 100, 120, false},
            {"img_Face(6)", 520, 512, 100, 120, false}, {"img_Face(7)", 624, 512, 100, 120, false},
        };
        const auto& pictures = form->roadLayer->pictures();
        QCOMPARE(pictures.size(), std::size(rows));
        for (size_t i = 0; i < pictures.size(); ++i) {
            const Picture* p = pictures[i];
            const Row& r = rows[i];
            QCOMPARE(p->name(), QString::fromLatin1(r.name));
            // Init_Car has parked the traffic, as the title screen does before showing it.
            QCOMPARE(p->rect(), QRect(r.left, r.top, r.w, r.h));
            QCOMPARE(p->Visible(), r.visible);
            QVERIFY2(!p->image().isNull(), r.name);
        }
        QCOMPARE(form->img_Zenta[0]->rect(), QRect(500, 0, 100, 120));
        QCOMPARE(form->img_Zenta[0]->imageKey(), form->img_Zenta[1]->imageKey());
        QCOMPARE(form->img_JetR[0]->imageKey(), form->img_JetR[1]->imageKey());
        QCOMPARE(form->img_Shogai[2]->imageKey(), form->img_Shogai[0]->imageKey());
        QCOMPARE(form->img_Shogai[3]->imageKey(), form->img_Shogai[1]->imageKey());
    }

    void timersStartAsLaidOut()
    {
        const struct { Timer* t; int interval; bool on; } timers[] = {
            {form->timer_Main, 1000, false}, {form->timer_Zenta, 500, false},
            {form->timer_Crush, 200, false}, {form->timer_Clear, 200, false},
            {form->timer_BGM, 100, true}};
        for (const auto& t : timers) {
            QCOMPARE(t.t->Interval(), t.interval);
            QCOMPARE(t.t->Enabled(), t.on);
        }
    }

    void menuTreeHasCaptionsAndMarks()
    {
        const QList<QAction*> top = form->menuBar()->actions();
        QCOMPARE(top.size(), 3);
        QCOMPARE(top[0]->text(), QStringLiteral("ファイル(&F)"));
        QCOMPARE(top[1]->text(), QStringLiteral("サウンド(&S)"));
        QCOMPARE(top[2]->text(), QStringLiteral("ヘルプ(&H)"));
        QCOMPARE(form->mtitle->text(), QStringLiteral("タイトル画面へ(&T)"));
        QCOMPARE(form->mend->text(), QStringLiteral("終了(&X)"));
        QCOMPARE(form->mbgm->title(), QStringLiteral("BGM"));
        QCOMPARE(form->meff->title(), QStringLiteral("効果音"));
        QCOMPARE(form->mabout->text(), QStringLiteral("バージョン情報(&A)"));
        QVERIFY(form->mon1->isChecked() && !form->moff1->isChecked());
        QVERIFY(form->mon2->isChecked() && !form->moff2->isChecked());
        // Choosing the item that already bears the mark switches the setting, too.
        form->mon1->trigger();
        QVERIFY(!form->mon1->isChecked() && form->moff1->isChecked());
        form->mon1->trigger();
        QVERIFY(form->mon1->isChecked() && !form->moff1->isChecked());
        form->moff2->trigger();
        QVERIFY(!form->mon2->isChecked() && form->moff2->isChecked());
    }

    void startShowsTheOpeningAndWaits_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("portrait");
        QTest::addColumn<QString>("opening");
        QTest::addColumn<int>("time");
        QTest::addColumn<int>("distance");
        QTest::newRow("stage 1") << 0 << 3
            << "今日は烈とデートなんだ！\r\nもうすぐ待ち合わせの時間だから、そろそろ出発しようぜ！"
            << 70 << 3000;
        QTest::newRow("stage 2") << 1 << 4
            << "やべー！寝坊しちまった！！\r\nせっかくのデートに何やってんだ俺はー\r\nおっと、急がなきゃ"
            << 50 << 2000;
        QTest::newRow("drive") << 2 << 3 << "準備はばっちりだ\r\n早く出発しようぜ！" << 0 << 0;
    }

    void startShowsTheOpeningAndWaits()
    {
        QFETCH(int, mode);
        QFETCH(int, portrait);
        QFETCH(QString, opening);
        QFETCH(int, time);
        QFETCH(int, distance);
        MediaRecorder recorder;
        GameMode = static_cast<int16_t>(mode);
        form->show();
        form->img_Road->setLeft(-100);
        form->bar_Speed[3]->setFillColor(GaugeLit);
        TimeCount = 12345;
        startWithOpening([&] {
            QVERIFY(!form->cmd_Start->isEnabled());
            QVERIFY(!form->cmd_Title->isEnabled());
            QVERIFY(!form->mfile->menuAction()->isEnabled());
            QVERIFY(!form->msound->menuAction()->isEnabled());
            QVERIFY(!form->mhelp->menuAction()->isEnabled());
            QCOMPARE(form->img_Road->Left(), -344.0);
            QCOMPARE(form->bar_Speed[3]->FillColor(), GaugeDark);
            QCOMPARE(form->lbl_Msg->Caption(), opening);
            QCOMPARE(form->img_Zenta[0]->imageKey(), form->img_Zenta[portrait]->imageKey());
            QVERIFY(form->Nextbox->isVisible());
            QVERIFY(form->Text1->hasFocus() || !form->isActiveWindow());
            // Nothing moves and nothing is set until the player goes on.
            QVERIFY(!form->timer_Main->Enabled());
            QVERIFY(!form->timer_Zenta->Enabled());
            QCOMPARE(InputEnabled, VbFalse);
            QCOMPARE(TimeCount, 12345);
            QVERIFY(recorder.commands().isEmpty());
            // No music yet: the music poll stays enabled but rests, so the waiting game sleeps.
            QTRY_VERIFY(!form->timer_BGM->Running());
            QVERIFY(form->timer_BGM->Enabled());
            // The steering keys do nothing while the opening waits.
            form->Form_KeyDown(65, 0);
            form->Form_KeyDown(37, 0);
            QCOMPARE(Speed, int16_t(0));
            QCOMPARE(form->img_JetR[0]->Left(), 448.0);
        });
        QVERIFY(!form->Nextbox->isVisible());
        QCOMPARE(NextFlag, VbFalse);
        QCOMPARE(form->lbl_Msg->Caption(),
                 QStringLiteral("アクセルは「A」\r\nブレーキは「B」\r\n上下左右への移動は「矢印キー」だぜ"));
        QCOMPARE(form->img_Zenta[0]->imageKey(), form->img_Zenta[1]->imageKey());
        QCOMPARE(TimeCount, time);
        QCOMPARE(Distance, distance);
        QCOMPARE(Speed, int16_t(0));
        QCOMPARE(InputEnabled, VbTrue);
        QVERIFY(form->timer_Main->Enabled());
        QVERIFY(form->timer_Zenta->Enabled());
        QVERIFY(form->timer_BGM->Enabled());
        QVERIFY(form->timer_BGM->Running());
        // The stage's music starts once the player has gone on.
        QVERIFY(!recorder.commands().isEmpty());
        QVERIFY(recorder.commands().first().startsWith(QStringLiteral("open \"")));
        const QString file = mode == 0 ? "BGM1.mid" : mode == 1 ? "BGM2.mid" : "";
        QVERIFY(BgmFile.endsWith(file));
        QVERIFY(BgmFile.contains(QStringLiteral("/sound/BGM")));
    }

    void aClickOnNextboxAlsoGoesOn()
    {
        QTimer::singleShot(50, form, [&] { QTest::mouseClick(form->Nextbox, Qt::LeftButton); });
        form->show();
        form->cmd_Start_Click();
        QVERIFY(form->CountingDown());  // the modern way's countdown follows the opening
    }

    void spaceDuringARaceIsForgottenByTheNextWait()
    {
        form->show();
        startWithOpening([] {});
        form->Form_KeyDown(32, 0); // Space during the race
        QCOMPARE(NextFlag, VbTrue);
        bool stillWaiting = false;
        QTimer::singleShot(50, form, [&] {
            stillWaiting = form->Nextbox->isVisible();
            form->Form_KeyDown(32, 0);
        });
        form->Waitfun();
        QVERIFY(stillWaiting);
    }

    void musicOffStartsNoMusicAndDrawsNothing()
    {
        MediaRecorder recorder;
        form->mon1_Click(); // music off
        GameMode = ModeDrive;
        BgmFile = QStringLiteral("earlier");
        form->show();
        startWithOpening([] {});
        QCOMPARE(BgmFile, QStringLiteral("earlier"));
        QVERIFY(recorder.commands().isEmpty());
        // No draw was taken for the music: the next draw is the seed's first after Init.
        const double next = Rnd();
        SetFixedSeed(7);
        QCOMPARE(next, Rnd());
    }

    void closingWhileAMessageWaitsEndsCleanly()
    {
        QPointer<form_Main> watched(form);
        form->setAttribute(Qt::WA_DeleteOnClose, true);
        form->show();
        bool closed = false;
        QTimer::singleShot(50, form, [&] { closed = form->close(); });
        form->cmd_Start_Click();
        QVERIFY(closed);
        QCOMPARE(SceneWait::depth(), 0);
        QCOMPARE(InputEnabled, VbFalse);
        QVERIFY(watched);
        for (Timer* t : {watched->timer_Main, watched->timer_Zenta, watched->timer_Crush,
                         watched->timer_Clear, watched->timer_BGM})
            QVERIFY(!t->Enabled());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!watched);
        form = nullptr;
    }

    // The modern way's start: "3", "2", "1", "GO" in under two seconds over the controls help,
    // the clock standing; the accelerator cuts it short, a pause holds it. Classic has none.
    void countdownBeforeTheClock_data()
    {
        QTest::addColumn<QString>("how");
        for (const char* row : {"runs out", "accelerator", "pause", "classic"}) QTest::newRow(row) << QString(row);
    }
    void countdownBeforeTheClock()
    {
        QFETCH(QString, how);
        QVERIFY(ChooseStyle(how == "classic" ? Style::Classic : Style::Modern));
        form->show();
        player::PressStart(form, {}, true);
        QVERIFY(form->lbl_Msg->Caption().contains(QStringLiteral("「A」")));  // the controls help
        QCOMPARE(form->CountingDown(), how != "classic");
        QCOMPARE(form->timer_Main->Enabled() || InputEnabled == VbTrue, how == "classic");
        QVERIFY(CountdownSteps * CountdownStepMs < 2000 && (form->timer_Count->Interval() == CountdownStepMs || how == "classic"));
        QStringList shown{CountdownText(form->CountStep)};
        if (how == "pause") {
            QTest::keyClick(form, Qt::Key_P);
            QTest::keyClick(form, Qt::Key_A);  // skips nothing while paused
            QVERIFY(form->CountingDown() && form->timer_Count->Paused() && !form->timer_Main->Enabled());
            return;
        }
        for (; how == "runs out" && form->CountingDown() && shown.size() < 9; shown << CountdownText(form->CountStep)) form->timer_Count->fire();
        if (how == "accelerator") QTest::keyClick(form, Qt::Key_A);
        if (how != "classic") QCOMPARE(shown.join(' '), how == "runs out" ? "3 2 1 GO " : "3");
        QVERIFY(!form->CountingDown() && form->timer_Zenta->Enabled() && InputEnabled == VbTrue && Speed == 0);
    }

    void closingMidRaceStopsEveryTimer()
    {
        form->show();
        startWithOpening([] {});
        form->setAttribute(Qt::WA_DeleteOnClose, false);
        form->close();
        for (Timer* t : {form->timer_Main, form->timer_Zenta, form->timer_Crush, form->timer_Clear,
                         form->timer_BGM})
            QVERIFY(!t->Enabled());
        QCOMPARE(InputEnabled, VbFalse);
    }
};

int main(int argc, char** argv)
{
    // Never the player's own settings.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    SetMsgBoxHook([](const QString& text, const QString&) { qWarning("message box: %s", qPrintable(text)); });
    RaceScreenTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_race_screen.moc"
