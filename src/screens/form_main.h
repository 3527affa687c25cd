// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The race screen: the road, every sprite of the race, the status panel and the menu.
// This file declares the window and lays out its controls (form_main.cpp); its handlers are
// defined beside the subsystem they belong to: the clock and the race tick in race/, the race
// start, the clear scene, the game over, the menu and the music poll in flow/, the ranking
// entry in scores/.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <functional>

#include "runtime/controls.h"
#include "runtime/game_constants.h"
#include "runtime/picture.h"
#include "runtime/timer.h"
#include "runtime/vbool.h"

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

    QMenu* mfile = nullptr;
    QAction* mtitle = nullptr;
    QAction* mend = nullptr;
    QMenu* msound = nullptr;
    QMenu* mbgm = nullptr;
    QAction* mon1 = nullptr;
    QAction* moff1 = nullptr;
    QMenu* meff = nullptr;
    QAction* mon2 = nullptr;
    QAction* moff2 = nullptr;
    QMenu* mhelp = nullptr;
    QAction* mabout = nullptr;

    // Step counters of the crash and the clear scene; they start at 0 with every new screen.
    int16_t CrushStep = 0;
    int16_t ClearStep = 0;

    // --- handlers and procedures, under the file that defines each ---

    // screens/form_main.cpp: the window itself.
    void Form_Load();
    // Car n is img_Car<n> (n = 1 to 6); null for any other n.
    Picture* car(int n) const;
    // Shows the race screen on the whole screen, or brings it back to its window (F11,
    // Alt+Return).
    void toggleFullScreen();
    // Enables or disables the three top menus together.
    void setTopMenusEnabled(bool enabled);
    // True once the window has begun to close: every timer is stopped, waits are cut off and
    // a handler that comes back from a wait must return at once.
    bool closing() const { return closing_; }

    // race/clock.cpp
    void timer_Main_Timer();
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
    void changeEvent(QEvent* event) override;      // race/pause.cpp
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // screens/form_main.cpp
    void layOutRoad();
    void layOutPanel();
    void buildMenu();
    void stopEverything();

    bool closing_ = false;
    bool paused_ = false;
    int nestedLoops_ = 0;
    bool discardWhenUnwound_ = false;
};

// Maps a key of the keyboard onto the classic virtual-key code the key handler expects
// (KeyLeft and the others in runtime/game_constants.h); 0 for keys the game does not know.
// The key, not the character it types, decides, so "a", "A" and Caps Lock act alike.
int16_t VirtualKeyOf(int qtKey);
