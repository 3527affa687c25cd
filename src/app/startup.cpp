// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/startup.h"

#include <fontconfig/fontconfig.h>

#include <QApplication>
#include <QFontDatabase>
#include <QIcon>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <optional>
#include <thread>
#include <vector>

#include "app/close_on_signals.h"
#include "app/command_line.h"
#include "app/first_paint_probe.h"
#include "app/form_title.h"
#include "app/race_screen_input.h"
#include "audio/sound.h"
#include "input/gamepad.h"
#include "prefs/language.h"
#include "prefs/choices.h"
#include "view/picture.h"
#include "view/save_wait_note.h"
#include "storage/player_settings.h"
#include "runtime/random.h"
#include "view/screen_fit.h"
#include "scores/high_scores.h"
#include "screens/form_rank.h"

namespace {

// The title screen's first paint waits for the system's list of fonts, and reading it is a good
// share of the start-up: fontconfig parses its configuration and maps its caches, then Qt goes
// through every font, then the title's fonts are loaded. A second thread does the first part
// while the application connects to the window system, and the rest while the title screen is
// built.
class FontListReader
{
public:
    FontListReader()
    {
        thread_ = std::thread([ready = ready_.get_future()]() mutable {
            FcInit();
            // The font database belongs to the application object: only once it exists.
            if (!ready.get()) return;
            QFontDatabase::families();
            form_Title::WarmUpFonts();
        });
    }
    ~FontListReader() { finish(); }

    void applicationReady() { tell(true); }

    // Waits for the thread; before the application object goes.
    void finish()
    {
        tell(false);
        if (thread_.joinable()) thread_.join();
    }

private:
    void tell(bool ready)
    {
        if (told_) return;
        told_ = true;
        ready_.set_value(ready);
    }

    std::promise<bool> ready_;
    bool told_ = false;
    std::thread thread_;
};

// The scale the windows are drawn at, 0 to leave it to the window system. On a desktop (X or
// Wayland) the monitor the windows open on decides: --scale N is lowered until the race window
// fits it, and without --scale a large screen gets a larger game. Elsewhere --scale is taken as
// given.
double ChooseStartScale(const CommandLine& line)
{
    const bool onDesktop = QGuiApplication::platformName() == QLatin1String("xcb") || OnWayland();
    // A scale the player set for Qt himself stays his.
    const bool ownScale = qEnvironmentVariableIsSet("QT_SCALE_FACTOR");
    // --scale 1 is the classic size whatever the screen: nothing to ask.
    if (!onDesktop || line.scale == 1 || (line.scale == 0 && ownScale)) return line.scale;

    const std::optional<ScreenArea> screen = PointerScreen();
    if (!screen) return line.scale;

    ScaleChoice choice = ChooseScale(line.scale, *screen);
    if (choice.lowered)
        std::fprintf(stderr, "%s\n", qPrintable(ScaleLoweredText(line.scale, choice, *screen)));
    if (line.scale == 0 && choice.scale == 1) return 0;
    return choice.scale;
}

// True while the event loop runs: the only time the game can lose its display.
bool playing = false;

// The window system's library ends the program at once when the display goes away (the X
// server ended): the name being typed and any result still unsaved are kept as the close box
// would keep them, told on standard error, as no window can be shown any more.
void KeepResultsWhenTheDisplayGoes()
{
    if (!playing) return;
    playing = false;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* rank = qobject_cast<form_Rank*>(window)) rank->KeepTypedName();
    KeepResultsAtQuit(true);
}

std::function<void()>& gameStartedHook()
{
    static std::function<void()> started;
    return started;
}

} // namespace

void SetGameStartedHook(std::function<void()> started) { gameStartedHook() = std::move(started); }

int RunTavolnik(int argc, char* argv[])
{
    // A closed standard error (the game piped into a program that has ended) only loses the
    // lines written to it, never the game.
    std::signal(SIGPIPE, SIG_IGN);

    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine line = ParseCommandLine(arguments);

    switch (line.action) {
    case CommandLine::Action::Help:
        std::fputs(qPrintable(UsageText()), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::printf("%s\n", qPrintable(VersionText()));
        return 0;
    case CommandLine::Action::Error:
        // One line, as the README promises: the usage is one --help away.
        std::fprintf(stderr, "%s%s\n", qPrintable(line.error), line.unknownOption ? " (--help lists the options)" : "");
        return 2;
    case CommandLine::Action::Run:
        break;
    }

    if (!line.displayGiven && DisplayMissing(line.platform)) {
        std::fprintf(stderr, "tavolnik: cannot open a display: neither DISPLAY nor WAYLAND_DISPLAY "
                             "is set (QT_QPA_PLATFORM=offscreen runs without one)\n");
        return 2;
    }

    // The font list is read while the application connects to the window system. Qt scales
    // every window and its fonts; the pictures are drawn from their SVG sources at the resulting
    // device-pixel ratio, so they stay sharp at any size.
    FontListReader fontList;

    // The application sees the program name and the window system's own options only.
    std::vector<QByteArray> kept;
    kept.emplace_back(argv[0]);
    for (const QString& arg : line.toolkitArguments) kept.push_back(arg.toLocal8Bit());
    std::vector<char*> qtArgv;
    for (QByteArray& arg : kept) qtArgv.push_back(arg.data());
    qtArgv.push_back(nullptr);
    int qtArgc = static_cast<int>(kept.size());

    QApplication app(qtArgc, qtArgv.data());
    // The screens are known now, and no window is open yet.
    if (const double scale = ChooseStartScale(line); scale > 0) SetWindowScale(scale);
    fontList.applicationReady();
    QApplication::setApplicationName(QStringLiteral("Tavolnik"));
    QApplication::setOrganizationName(QStringLiteral("Tavolnik"));
    QApplication::setApplicationVersion(QStringLiteral(TAVOLNIK_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tavolnik.Tavolnik"));
    if (line.hasSeed) SetFixedSeed(line.seed);
    CloseGameOnSignals();
    // A save that waits for another copy of the game shows the player a note.
    ShowSaveNotes();
    // The player's choices (language, motion, keys, volume) hold from the first window on.
    LoadPlayerSettings();
    // A choice given on the command line is the player's from now on: it holds at once, and is
    // written once the title is on the screen, all in one save, so that a wait for another
    // copy's save shows its note in a window. One the file already holds is not written again.
    PlayerChoices given;
    for (auto choice = line.choices.cbegin(); choice != line.choices.cend(); ++choice)
        given.append({OptionsGroup, choice.key(), choice.value()});
    const PlayerChoices changed = HoldPlayerSettings(given);
    QStringList flags;
    for (const PlayerChoice& choice : changed) flags << QStringLiteral("--%1 %2").arg(OptionRowOf(choice.key)->flag, choice.value);
    ShowLanguage(ChosenLanguage());
    // A signal heard while the game was starting ends it before its first window.
    if (const int code = EndedBySignal()) {
        fontList.finish();
        return code;
    }
    ApplyVolume();

    // The game opens on the title screen and ends when its last window closes.
    QApplication::setQuitOnLastWindowClosed(true);
    auto* title = new form_Title;
    title->show();

    // What the title screen does not need waits until it is on the screen: the command line's
    // choices are written, then come the window icon and the game controllers, whose start loads
    // SDL. A controller plays as the keyboard does;
    // without one (or without SDL's controller support on this machine) the game plays on the
    // keyboard alone.
    Gamepad pad;
    ConnectToRaceScreen(pad);
    WatchFirstPaint([&pad, changed, flags] {
        // The command line's choices are written first, in one save.
        if (QString failure; !WritePlayerSettings(changed, &failure))
            std::fprintf(stderr, "tavolnik: %s %s for this run only: %s\n", qPrintable(flags.join(QLatin1Char(' '))),
                         flags.size() == 1 ? "holds" : "hold", qPrintable(failure));
        // A signal or a close while that save waited ends the game: nothing more starts.
        if (EndedBySignal()) return;
        QTimer::singleShot(0, qApp, [&pad] {
            QIcon icon;
            for (int size : {16, 32, 64, 128, 256})
                icon.addPixmap(RenderPicture(QStringLiteral(":/pictures/icon.svg"), size, size, 1));
            QApplication::setWindowIcon(icon);
            pad.start();
            if (gameStartedHook()) gameStartedHook()();
        });
    });

    std::atexit(KeepResultsWhenTheDisplayGoes);
    playing = true;
    // A signal heard while the title was being made has ended no loop yet: it ends the game now.
    const int code = EndedBySignal() ? EndedBySignal() : app.exec();
    playing = false;
    // A result whose save failed gets one more try, or a recovery file, before the game ends;
    // a signal (status 128 + its number) is told on standard error, the player's close in a box.
    KeepResultsAtQuit(code > 128);
    fontList.finish();
    ShutdownSound();
    return code;
}
