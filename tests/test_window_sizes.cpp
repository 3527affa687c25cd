// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Windows of any size: the scene keeps its designed layout and proportions, scaled to the
// largest size that fits, centred on bars of the window's colour, its pictures drawn afresh at
// that size; clicks and the pointer reach what is drawn under them; F11 and Alt+Return show the
// race screen on the whole screen and bring it back.
#include <QApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <QtTest>
#include <cmath>

#include "app/form_title.h"
#include "race/race_state.h"
#include "view/scaled_scene.h"
#include "flow/race_screen_wiring.h"
#include "prefs/choices.h"
#include "screens/form_main.h"
#include "player_driver.h"

namespace {
// A designed rectangle as the scene lays it out at a factor.
QRect scaled(const QRect& r, qreal f)
{
    const int left = qRound(r.x() * f), top = qRound(r.y() * f);
    return QRect(left, top, qRound((r.x() + r.width()) * f) - left, qRound((r.y() + r.height()) * f) - top);
}

// Resizes a window so that its scene's host (the race screen's client area, or the title
// window) is exactly `client`.
void resizeHost(QWidget* window, QWidget* host, QSize client)
{
    window->resize(window->size() + client - host->size());
    QTRY_COMPARE(host->size(), client);
}
} // namespace

class WindowSizesTest : public QObject
{
    Q_OBJECT

private:
    WindowFixture f;

private slots:
    void init() { f.init(); }
    void cleanup() { f.cleanup(); }

    void raceSceneFillsTheWindowWithItsProportions_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QRect>("scene");
        QTest::newRow("opening size") << QSize(601, 425) << QRect(0, 0, 601, 425);
        QTest::newRow("twice") << QSize(1202, 850) << QRect(0, 0, 1202, 850);
        QTest::newRow("wide: bars left and right") << QSize(1920, 1000) << QRect(253, 0, 1414, 1000);
        QTest::newRow("tall: bars above and below") << QSize(700, 1000) << QRect(0, 252, 700, 495);
        QTest::newRow("smaller") << QSize(450, 425) << QRect(0, 53, 450, 318);
    }

    // The panel's captions and the note under the message, in the classic way's labels, show their
    // whole text at any size.
    void captionsHoldTheirWholeText_data()
    {
        QTest::addColumn<double>("factor");
        for (double factor : {1.0, 1.5, 1.8, 2.0, 3.0}) QTest::addRow("x%g", factor) << factor;
    }

    void captionsHoldTheirWholeText()
    {
        QFETCH(double, factor);
        QVERIFY(ChooseStyle(Style::Classic));
        const auto modernAgain = qScopeGuard([] { ChooseStyle(Style::Modern); });
        auto* race = NewRaceScreen();
        race->show();
        resizeHost(race, race->centralWidget(), race->scene->hostSizeAt(factor));
        for (const Label* caption : {race->Label2, race->Label3, race->Label5, race->Label7, race->Nextbox}) {
            const QFontMetrics metrics(caption->font());
            QVERIFY2(metrics.horizontalAdvance(caption->text()) <= caption->width(), qPrintable(caption->text()));
            QVERIFY2(metrics.height() <= caption->height(), qPrintable(caption->text()));
        }
        delete race;
    }

    void raceSceneFillsTheWindowWithItsProportions()
    {
        QFETCH(QSize, client);
        QFETCH(QRect, scene);
        auto* race = NewRaceScreen();
        race->Init_Car();
        race->show();
        QWidget* stage = race->centralWidget();
        resizeHost(race, stage, client);
        const qreal factor = scene.width() / 601.0;

        QCOMPARE(race->roadLayer->geometry(), scene);
        QVERIFY(std::abs(race->scene->factor() - factor) < 0.002);
        const qreal f = race->scene->factor();
        // The designed layout, scaled: the panel, a button in it, a gauge bar, the text size.
        QCOMPARE(race->Frame1->geometry(), scaled(QRect(0, 304, 601, 121), f));
        QCOMPARE(race->cmd_Start->geometry(), scaled(QRect(72, 96, 97, 25), f));
        QCOMPARE(race->bar_Speed[9]->geometry(), scaled(QRect(8, 24, 41, 9), f));
        QVERIFY(std::abs(race->lbl_Time->font().pointSizeF() - 12 * f) < 1e-6);
        // The race's own positions stay in the designed pixels.
        QCOMPARE(race->img_Car5->rect(), QRect(524, -114, 63, 114));
        // Every picture drawn afresh for this size, once the size has settled: as many pixels
        // as it covers on the screen.
        const qreal dpr = qApp->devicePixelRatio() * f;
        QTRY_VERIFY(std::abs(race->img_Road->image().devicePixelRatio() - dpr) < 1e-9);
        for (const Picture* p : {race->img_Car1, race->img_Zenta[0], race->img_Road}) {
            QVERIFY2(std::abs(p->image().devicePixelRatio() - dpr) < 1e-9, qPrintable(p->name()));
            QVERIFY2(std::abs(p->image().width() - p->Width() * dpr) <= 2, qPrintable(p->name()));
        }
        QCOMPARE(race->img_Zenta[0]->imageKey(), race->img_Zenta[1]->imageKey());
        // The bars have the window's background colour; the scene is drawn inside them.
        const QImage shot = stage->grab().toImage();
        const QColor window = race->palette().color(QPalette::Window);
        if (scene.x() > 0) QCOMPARE(shot.pixelColor(scene.x() / 2, client.height() / 2), window);
        if (scene.y() > 0) QCOMPARE(shot.pixelColor(client.width() / 2, scene.y() / 2), window);
        const QPoint panel = scene.topLeft() + QPoint(scene.width() / 2, scene.height() - 2);
        QVERIFY(shot.pixelColor(panel * shot.devicePixelRatio()) != window);
    }

    // The player's clicks and pointer, through the window, at the scaled place of what he sees.
    void pointerReachesWhatIsDrawnUnderIt_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QPoint>("designed");
        QTest::addColumn<QString>("reaches");
        const QPoint drive(56, 88), title(248, 412), retsu(148, 120);
        QTest::newRow("title twice, ドライブ") << "title" << QSize(610, 462) << drive << "drive";
        QTest::newRow("title wide, ドライブ") << "title" << QSize(1000, 462) << drive << "drive";
        QTest::newRow("title tall, 烈's hint") << "title" << QSize(400, 900) << retsu << "retsu";
        QTest::newRow("race wide, TITLE") << "race" << QSize(1500, 700) << title << "title";
        QTest::newRow("race small, TITLE") << "race" << QSize(320, 300) << title << "title";
    }

    void pointerReachesWhatIsDrawnUnderIt()
    {
        QFETCH(QString, window);
        QFETCH(QSize, client);
        QFETCH(QPoint, designed);
        QFETCH(QString, reaches);
        QWidget* shown = nullptr;
        QWidget* host = nullptr;
        ScaledScene* scene = nullptr;
        if (window == "title") {
            auto* t = new form_Title;
            shown = host = t;
            scene = t->scene;
        } else {
            // TITLE opens a fresh title screen, as the game's first title screen arranges.
            form_Main::SetTitleScreenOpener([] { (new form_Title)->show(); });
            auto* race = NewRaceScreen();
            shown = race;
            host = race->centralWidget();
            scene = race->scene;
        }
        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        resizeHost(shown, host, client);
        QVERIFY(scene->factor() != 1);
        const QPointF inHost = QPointF(scene->sceneRect().topLeft()) + QPointF(designed) * scene->factor();
        const QPoint at = host->mapTo(shown, inHost.toPoint());

        if (reaches == "retsu") {
            player::PointerTo(shown, at);
            QCOMPARE(static_cast<form_Title*>(shown)->lbl_Msg->Caption(),
                     QStringLiteral("僕は烈！このゲームで活躍するゼンタは友達だよ"));
            return;
        }
        QTest::mouseClick(shown->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (reaches == "drive") {
            QVERIFY(form_Main::current());
            QCOMPARE(GameMode, int16_t(2));
            QVERIFY(!form_Title::current());
        } else {
            QVERIFY(form_Title::current());
            QVERIFY(!form_Main::current());
        }
    }

    void fullScreenKeysShowTheRaceOnTheWholeScreen_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("F11") << int(Qt::Key_F11) << int(Qt::NoModifier);
        QTest::newRow("Alt+Return") << int(Qt::Key_Return) << int(Qt::AltModifier);
        QTest::newRow("Alt+Enter") << int(Qt::Key_Enter) << int(Qt::AltModifier | Qt::KeypadModifier);
    }

    void fullScreenKeysShowTheRaceOnTheWholeScreen()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        auto* race = NewRaceScreen();
        race->show();
        QVERIFY(QTest::qWaitForWindowExposed(race));
        QWidget* stage = race->centralWidget();
        // Were the key taken for Return, the opening message would wait for Space.
        QTimer answer;
        answer.setInterval(10);
        connect(&answer, &QTimer::timeout, race, [race] {
            if (player::MessageWaits(race)) player::PressSpace(race);
        });
        answer.start();
        const auto press = [&] {
            QTest::keyClick(race->Text1, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        };

        press();
        QTRY_VERIFY(race->isFullScreen());
        QTRY_COMPARE(race->size(), race->screen()->size());
        // The scene as large as the screen allows with its proportions, centred on it.
        const QSize room = stage->size();
        const qreal factor = std::min(room.width() / 601.0, room.height() / 425.0);
        QVERIFY(std::abs(race->scene->factor() - factor) < 1e-9);
        QVERIFY(race->scene->factor() > 1);
        QVERIFY((race->roadLayer->geometry().center() - stage->rect().center()).manhattanLength() <= 1);
        // The key did nothing else: no race started, no sound played.
        QVERIFY(!race->RaceRunning());
        QVERIFY(race->cmd_Start->isEnabled());
        QVERIFY(f.effectNames().isEmpty());

        press();
        QTRY_VERIFY(!race->isFullScreen());
        QTRY_COMPARE(stage->size(), QSize(601, 425));
        QCOMPARE(race->scene->factor(), 1.0);
        QCOMPARE(race->roadLayer->geometry(), QRect(0, 0, 601, 425));
    }
};

WINDOW_TEST_MAIN(WindowSizesTest)
#include "test_window_sizes.moc"
