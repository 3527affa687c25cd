// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Plays the game as a player would on a Wayland desktop (scripts/test-wayland runs it under a
// headless weston): the game starts as the program starts, on Qt's Wayland platform, and a
// drive is played from the title screen with full screen on and off on the way, to its end,
// back to the title and out. Every step is a real input event sent through Qt's test
// functions. Exits 0 when every step came in time and neither Qt nor the game warned of
// anything; otherwise 1, naming the step that did not come and every warning.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/form_title.h"
#include "app/startup.h"
#include "view/scaled_scene.h"
#include "screens/form_main.h"
#include "screens/form_rank.h"

namespace {

QStringList warnings;

void keepWarnings(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
    if (type != QtDebugMsg && type != QtInfoMsg) warnings << text;
}

bool shown(QWidget* window)
{
    return window && window->isVisible() && window->windowHandle() && window->windowHandle()->isExposed();
}

form_Rank* rankingWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* rank = qobject_cast<form_Rank*>(w); rank && rank->isVisible()) return rank;
    return nullptr;
}

// A step waits until the game is ready for it, then acts. An act may open a scene wait or a
// modal window whose own event loop carries on the play.
struct Step {
    const char* waitsFor;
    std::function<bool()> ready;
    std::function<void()> act;
};

class Player
{
public:
    explicit Player(std::vector<Step> steps) : steps_(std::move(steps))
    {
        poll_.setInterval(20);
        QObject::connect(&poll_, &QTimer::timeout, [this] { tick(); });
    }

    void start()
    {
        clock_.start();
        poll_.start();
    }

    bool finished() const { return next_ == steps_.size(); }
    const char* stuckAt() const { return stuck_; }

private:
    void tick()
    {
        if (stuck_ || finished()) return;
        const Step& step = steps_[next_];
        if (!step.ready()) {
            if (clock_.elapsed() > 60000) {
                stuck_ = step.waitsFor;
                // What the screen showed, to tell a slow machine from a wrong state.
                if (form_Main* race = form_Main::current())
                    std::fprintf(stderr, "wayland_player: stuck with the race %s, %s, the ranking %s, TITLE %s\n",
                                 race->RaceRunning() ? "running" : "stopped", race->isFullScreen() ? "full screen" : "in a window",
                                 rankingWindow() ? "open" : "closed", race->cmd_Title->isEnabled() ? "offered" : "off");
                // Ends the game: every window closes as its close box would close it.
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (w->isVisible() && w->windowHandle()) w->windowHandle()->close();
            }
            return;
        }
        std::fprintf(stderr, "wayland_player: %s\n", step.waitsFor);
        ++next_;
        clock_.restart();
        // Acted on from the event loop: a timer does not fire again while its own handler runs,
        // and the act may not come back until a later step has been played.
        QTimer::singleShot(0, qApp, step.act);
    }

    std::vector<Step> steps_;
    size_t next_ = 0;
    const char* stuck_ = nullptr;
    QTimer poll_;
    QElapsedTimer clock_;
};

} // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(keepWarnings);
    form_Main* race = nullptr;
    const std::vector<Step> steps = {
        {"the title screen is on a Wayland screen, at the opening scale of its 1080p screen (1.8)",
         [] { return QGuiApplication::platformName() == QLatin1String("wayland") && shown(form_Title::current()) && qAbs(form_Title::current()->devicePixelRatioF() - 1.8) < 1e-3; },
         [] { QTest::mouseClick(form_Title::current()->Command2, Qt::LeftButton); }},
        {"the drive's race screen is shown and the title screen gone",
         [&race] {
             race = form_Main::current();
             return shown(race) && !form_Title::current();
         },
         [&race] { QTest::keyClick(race, Qt::Key_F11); }},
        {"F11 shows the race screen on the whole screen, the scene scaled up to fill it",
         [&race] {
             return race->isFullScreen() && race->size() == race->screen()->size() && race->scene->factor() > 1;
         },
         [&race] { QTest::keyClick(race->cmd_Start, Qt::Key_F11); }},
        {"F11 again brings the window back to its opening size",
         [&race] {
             return !race->isFullScreen() && race->centralWidget()->size() == QSize(601, 425) &&
                    race->scene->factor() == 1;
         },
         [&race] { QTest::mouseClick(race->cmd_Start, Qt::LeftButton); }},
        {"START shows the opening message",
         [&race] { return race->Nextbox->isVisible(); },
         [&race] { QTest::keyClick(race->Text1, Qt::Key_Space); }},
        {"Space starts the race",
         [&race] { return race->RaceRunning(); },
         [&race] {
             QTest::keyClick(race, Qt::Key_Return, Qt::AltModifier);
             QTest::keyClick(race, Qt::Key_Up);
         }},
        {"Alt+Return shows the running race on the whole screen",
         // Left only once the compositor has made it whole: a busy one may still be on its way.
         [&race] { return race->isFullScreen() && race->size() == race->screen()->size() && race->RaceRunning(); },
         [&race] { QTest::keyClick(race, Qt::Key_Return, Qt::AltModifier); }},
        {"the drive ends with the board wrecked",
         [&race] { return !race->RaceRunning() && (rankingWindow() || race->cmd_Title->isEnabled()); },
         [] {
             // A distance good enough for the ranking asks for a name first.
             if (form_Rank* rank = rankingWindow()) {
                 for (QLineEdit* box : rank->txt_Nm)
                     if (box->isVisible()) QTest::keyClicks(box, QStringLiteral("Wayland"));
                 QTest::mouseClick(rank->cmd_Close, Qt::LeftButton);
             }
         }},
        {"TITLE is offered",
         [&race] { return !rankingWindow() && !race->isFullScreen() && race->cmd_Title->isEnabled(); },
         [&race] { QTest::mouseClick(race->cmd_Title, Qt::LeftButton); }},
        {"the title screen is back and the race screen gone",
         [] { return shown(form_Title::current()) && !form_Main::current(); },
         [] { QTest::mouseClick(form_Title::current()->Command4, Qt::LeftButton); }},
    };
    Player player(steps);
    SetGameStartedHook([&player] { player.start(); });

    const int code = RunTavolnik(argc, argv);
    int failures = 0;
    if (code != 0) {
        std::fprintf(stderr, "wayland_player: the game ended with exit code %d\n", code);
        ++failures;
    }
    if (!player.finished()) {
        std::fprintf(stderr, "wayland_player: FAIL: did not come: %s\n",
                     player.stuckAt() ? player.stuckAt() : "the title screen's first paint");
        ++failures;
    }
    for (const QString& w : warnings) {
        std::fprintf(stderr, "wayland_player: FAIL: warned: %s\n", qPrintable(w));
        ++failures;
    }
    if (failures == 0) std::fprintf(stderr, "wayland_player: played from the title into a drive and out again\n");
    return failures == 0 ? 0 : 1;
}
