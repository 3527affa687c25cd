// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The race screen: the road, every sprite of the race, the status panel and the menu.
// This file declares the window and lays out its controls (form_main.cpp); its handlers are
// defined beside the subsystem they belong to: the clock and the race tick in race/, the race
// start, the clear scene, the game over, the menu and the music poll in flow/, the ranking
// entry in scores/. The window knows none of them: flow/race_screen_wiring.cpp, above them all,
// makes the window and connects its controls, timers, keys and the ends of a race to them.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <cstdint>
#include <functional>
#include <optional>

#include "view/controls.h"
#include "view/screen_fit.h"
#include "prefs/choices.h"
#include "prefs/key_bindings.h"
#include "screens/faces.h"
#include "view/picture.h"
#include "runtime/timer.h"
#include "runtime/vbool.h"

// The speed gauge's bars (0x00BBGGRR): lit up to the speed step, dark above it.
constexpr int GaugeLit = 0x0000FF;
constexpr int GaugeDark = 0x404040;

class FrameClock;
class QAction;
class QLineEdit;
class QMenu;
class QPushButton;
class ScaledScene;

class form_Main : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr int ClientWidth = RaceClientWidth;
    static constexpr int ClientHeight = RaceClientHeight;

    explicit form_Main(QWidget* parent = nullptr);
    ~form_Main() override;

    // The race screen that exists now, or null.
    static form_Main* current();

    // The scene below the menu bar, scaled to the window's size; it redraws every picture
    // from its source at that size.
    ScaledScene* scene = nullptr;
    // Road layer: every picture of the road, in stacking order.
    PictureLayer* roadLayer = nullptr;
    Picture* img_Road = nullptr;
    Picture* img_Retsu[3] = {};
    Picture* img_Shogai[4] = {};
    Picture* img_Car1 = nullptr;
    Picture* img_Car2 = nullptr;
    Picture* img_Car3 = nullptr;
    Picture* img_Car4 = nullptr;
    Picture* img_Car5 = nullptr;
    Picture* img_Car6 = nullptr;
    Picture* img_JetR[7] = {};
    Picture* img_Zenta[5] = {};
    Picture* img_Clear = nullptr;
    // The modern way's: the faces it adds to the hero's four (hidden sources, as img_Zenta's
    // are): relieved, flustered, and his friend 烈; and the happy end's picture of the two,
    // where img_Clear stands, hidden until the story's last scene is over.
    Picture* img_Face[FaceCount - 4] = {};
    Picture* img_HappyEnd = nullptr;

    // The panel, drawn above every picture of the road.
    PictureLayer* Frame1 = nullptr;
    Label* Label2 = nullptr;
    Shape* bar_Speed[10] = {};
    Line* Line1 = nullptr;
    Line* Line2 = nullptr;
    Label* Label3 = nullptr;
    Label* lbl_Mode = nullptr;
    Label* Label5 = nullptr;
    Label* lbl_Time = nullptr;
    Label* Label7 = nullptr;
    Label* lbl_Dist = nullptr;
    QPushButton* cmd_Start = nullptr;
    QPushButton* cmd_Title = nullptr;
    Label* lbl_Msg = nullptr;
    Label* Nextbox = nullptr;
    QLineEdit* Text1 = nullptr;

    Timer* timer_Main = nullptr;
    Timer* timer_Zenta = nullptr;
    Timer* timer_Crush = nullptr;
    Timer* timer_Clear = nullptr;
    Timer* timer_BGM = nullptr;
    Timer* timer_Count = nullptr;  // the modern way's countdown before the race

    QMenu* mfile = nullptr;
    QAction* mtitle = nullptr;
    QAction* mkeys = nullptr;
    QAction* mend = nullptr;
    QMenu* msound = nullptr;
    QMenu* mbgm = nullptr;
    QAction* mon1 = nullptr;
    QAction* moff1 = nullptr;
    QMenu* meff = nullptr;
    QAction* mon2 = nullptr;
    QAction* moff2 = nullptr;
    // サウンド > 音量: a submenu for each volume.
    QMenu* mvolume = nullptr;
    QMenu* mhelp = nullptr;
    QAction* mcontrols = nullptr;  // 操作方法 (F1): the controls window
    // The submenu of each choice of prefs/choices.h that the menus offer (サウンド > 音量 > BGM
    // and 効果音, ヘルプ > 言語), in the order of its rows, with an item a value; the item of the
    // player's value is checked.
    struct ChoiceItems {
        const OptionRow* row;
        QMenu* menu;
        QList<QAction*> items;
    };
    QList<ChoiceItems> choiceMenus;
    // Items of those by name: the volume steps of VolumeSteps (off to 100 %) for the BGM and
    // the effects, and the languages 日本語 and English.
    QAction* mvolBgm[VolumeStepCount] = {};
    QAction* mvolEff[VolumeStepCount] = {};
    QAction* mja = nullptr;
    QAction* men = nullptr;
    QAction* mabout = nullptr;

    // Step counters of the crash and the clear scene; they start at 0 with every new screen.
    int16_t CrushStep = 0;
    int16_t ClearStep = 0;
    // The steps of the countdown gone (race/countdown.h).
    int16_t CountStep = 0;

    // --- handlers and procedures, under the file that defines each ---

    // screens/form_main.cpp: the window itself.
    void Form_Load();
    // Car n is img_Car<n> (n = 1 to 6); null for any other n.
    Picture* car(int n) const;
    // The hidden source of a face of race/stages.h: img_Zenta(face) for the hero's four.
    const Picture* PortraitOf(int face) const;
    // Sets the menus' texts in the language shown now.
    void translateMenu();
    // Checks the item of the player's value in each choice's submenu.
    void markChoices();
    // Shows the race screen on the whole screen, or brings it back to its window (F11,
    // Alt+Return).
    void toggleFullScreen();
    // Enables or disables the three top menus together.
    void setTopMenusEnabled(bool enabled);
    // The button Return presses: START or TITLE, whichever has the focus, else START while it
    // is enabled, else TITLE while it is (the happy end); null during a race.
    QPushButton* ReturnButton() const;
    // Gives the focus ring to START, or to TITLE when START is off, once the buttons come back.
    void FocusReturnButton();
    // True once the window has begun to close: every timer is stopped, waits are cut off and
    // a handler that comes back from a wait must return at once.
    bool closing() const { return closing_; }

    // How a race ends, handed up to the race flow: the stage is cleared, or the game is over
    // (a GameOverKind). The wiring sets both; the race calls them and knows no more.
    std::function<void()> StageClearedHook;
    std::function<void(int16_t)> GameOverHook;
    void raceCleared() { if (StageClearedHook) StageClearedHook(); }
    void raceOver(int16_t kind) { if (GameOverHook) GameOverHook(kind); }
    // What T (or the gamepad's Back) does in a paused race: leave it for the title screen, as
    // TITLE does between races. Set by the wiring.
    std::function<void()> LeaveRaceHook;
    // The keys held down now (Qt::Key values), in any window of the game: a window that opens
    // over the race (the ranking's name box) ignores them until they are let go. The game's
    // input keeps them; the wiring tells the window where to ask.
    std::function<QSet<int>()> KeysDownHook;
    QSet<int> KeysDown() const { return KeysDownHook ? KeysDownHook() : QSet<int>(); }

    // race/clock.cpp
    void timer_Main_Timer();
    // The race begins: the keys steer, the clock and the race tick run.
    void StartRaceClock();
    // race/countdown.cpp: the modern way's "3, 2, 1, GO" before the race; at its end, or when the
    // accelerator cuts it short, the race clock starts.
    void StartCountdown();
    bool CountingDown() const;
    void timer_Count_Timer();
    void SkipCountdown();
    // race/race_tick.cpp
    void timer_Zenta_Timer();
    void Init_Zenta();
    // race/keyboard.cpp
    void Form_KeyDown(int16_t KeyCode, int16_t Shift);
    // race/traffic.cpp
    void SetCar();
    void Init_Car();
    // race/collision.cpp
    VBool IsClossed(const Picture* first, const Picture* second) const;
    // race/smooth_motion.cpp. With smooth motion the race screen is drawn at the display's rate
    // while the race tick runs: each frame slides the pictures the coming tick moves towards
    // where it will put them; when the race tick stops, everything is drawn where it stands.
    // The frame clock is null with classic motion.
    FrameClock* frameClock = nullptr;
    // Where the hero was last drawn gliding between his steps (the modern way's frames); none
    // before the first frame.
    std::optional<QPointF> heroDrawnAt;
    void DrawBetweenTicks(double sinceLastMs, double untilTickMs);
    void DrawWhereTheRaceStands();
    void GlideHero(double sinceLastMs);

    // race/crash.cpp
    void Crushfun(int16_t kind);
    void timer_Crush_Timer();
    // race/pause.cpp (and changeEvent below). Pause: P, the Pause key and the gamepad's Start
    // hold a running race where it stands (the clock, the race tick, a crash, the music, the
    // steering) under a dimmed road with a pause sign, and the same keys let it go on. A race
    // also pauses when its window loses the focus. The timers keep what was left of their
    // intervals.
    bool RaceRunning() const;
    bool Paused() const { return paused_; }
    void PauseRace();
    void ResumeRace();
    QWidget* pauseSign = nullptr;

    // flow/race_start.cpp
    void cmd_Start_Click();
    void Waitfun();
    void Nextbox_Click();
    // flow/stage_clear.cpp
    void WinGame();
    void timer_Clear_Timer();
    // flow/game_over.cpp
    void GameOver(int16_t kind);
    // flow/main_menu.cpp (and closeEvent below)
    void cmd_Title_Click();
    void mtitle_Click();
    void mend_Click();
    void mabout_Click();
    // flow/help_menu.cpp: the controls window, and the language chosen shown in this screen.
    void mcontrols_Click();
    void ShowChosenLanguage();
    // flow/choice_menu.cpp: a value of a choice chosen in its submenu; kept for good.
    void mchoice_Click(const OptionRow& row, int value);
    // ファイル > キー設定…: the player's key for each action.
    void mkeys_Click();
    // Leaves a paused race for the title screen, as TITLE does between races.
    void LeaveRace();
    // How TITLE opens a fresh title screen; the title screen hands it in when it is made.
    static void SetTitleScreenOpener(std::function<void()> open);
    // flow/sound_menu.cpp
    void timer_BGM_Timer();
    void mon1_Click();
    void moff1_Click();
    void mon2_Click();
    void moff2_Click();

    // scores/check_rank.cpp
    void CheckRank();

    // Held by a handler of this window while it runs a nested event loop (a scene wait, the
    // modal ranking window). A window closed meanwhile is discarded only once every such
    // handler has come back, so none of them returns into a window that is gone.
    class NestedLoop
    {
    public:
        explicit NestedLoop(form_Main* window);
        ~NestedLoop();
        NestedLoop(const NestedLoop&) = delete;
        NestedLoop& operator=(const NestedLoop&) = delete;

    private:
        QPointer<form_Main> window_;
    };

protected:
    void closeEvent(QCloseEvent* event) override;  // flow/main_menu.cpp
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;      // race/pause.cpp
    void resizeEvent(QResizeEvent* event) override;

private:
    // screens/form_main.cpp
    void layOutRoad();
    void layOutPanel();
    void buildMenu();
    // Adds a submenu for each choice offered in that place.
    void addChoiceMenus(QMenu* into, ChoiceMenu place);
    QAction* choiceItem(const QString& key, int value) const;
    void stopEverything();

    bool closing_ = false;
    bool paused_ = false;
    int nestedLoops_ = 0;
    bool discardWhenUnwound_ = false;
    // The size the window was shown at, or had before full screen, while the window system may
    // still hand it back a pixel off (resizeEvent).
    QSize askedSize_;
    bool settling_ = false;
};
