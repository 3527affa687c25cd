// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The gamepad: any game controller SDL knows plays the race screen as the keyboard does. The
// d-pad and the left stick are the arrow keys and repeat while held, as a held key does; the
// south face button is "A" and the east one "B"; while a scene waits for the next message,
// Start and the south button are Space as well. Otherwise Start pauses a running race and
// resumes it, and presses START when START can be pressed; Back (Select) leaves a paused race
// for the title. The pad sends the actions' codes, whichever keys the player has given them.
// Every press goes into a key sink, which the game points at the race screen's input
// (app/race_screen_input.h, input/action_sink.h), so whether an action is delivered, and what
// it does, is decided there and by the key handler, as for the keyboard.
//
// SDL is asked for its events from a timer on the user-interface thread: often while a race
// is being steered with a controller connected, less often while it only has to notice a
// button (a message waits, the race is stopped). While none is connected the game does not wake
// at all: it watches the system's device folders, and only when a device appears there does it
// ask SDL for a few seconds whether a controller came (where the folders cannot be watched, it
// asks now and then). Controllers come and go at any time; the race never notices.
#pragma once

#include <QDeadlineTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "runtime/key_repeat.h"

union SDL_Event;
struct _SDL_GameController;
struct SdlLibrary;

class Gamepad : public QObject
{
    Q_OBJECT
public:
    using KeySink = std::function<void(int16_t keyCode)>;

    // Poll periods: while a controller is open and the race takes input or an arrow is held;
    // while a controller is open otherwise, or a device has just appeared; while waiting for
    // one to be plugged in where no device folder can be watched.
    static constexpr int FastPollMs = 33;
    static constexpr int IdlePollMs = 100;
    static constexpr int SlowPollMs = 500;
    // How long the poll looks for a controller after a device appeared: the system may take a
    // moment to make a new device usable.
    static constexpr int LookForNewMs = 3000;
    // The left stick counts as a pushed arrow beyond StickPress and as let go again inside
    // StickRelease (of 32767), so a stick resting near the edge does not flutter.
    static constexpr int StickPress = 16000;
    static constexpr int StickRelease = 10000;
    // How long an arrow is held before it starts repeating; the keyboard's own rate follows.
    static constexpr int RepeatDelayMs = 500;

    explicit Gamepad(QObject* parent = nullptr);
    ~Gamepad() override;

    // The folders where new input devices appear: /dev/input, and /dev for when that folder
    // itself appears. Set before start(); tests point it at a folder of their own.
    void setDeviceFolders(const QStringList& folders) { deviceFolders_ = folders; }

    // Starts SDL's game-controller subsystem and the poll. Returns false when it cannot start
    // (no input devices, a headless machine): the game then simply plays without a pad.
    bool start();
    bool running() const { return running_; }

    // Where the presses go; until one is set, nowhere.
    void setKeySink(KeySink sink);
    // Whether a scene waits for the next message; until one is set, none does.
    void setSceneWaiting(std::function<bool()> waiting);
    // Whether the race takes the steering now, when the pad reads its stick often; until one is
    // set, it does not.
    void setRaceSteers(std::function<bool()> steers);

    // Hold time before an arrow repeats, and the time between repeats.
    void setRepeat(double delayMs, double intervalMs);
    // Steady steering repeats a held arrow at the pace the keyboard's arrows then keep
    // (input/action_sink.h, smooth motion); otherwise the arrows repeat as the keyboard's keys
    // do, after its delay at its rate.
    void setSteadyRepeat(bool steady);
    // Asks before each repeat that begins whether it is steady (the player's way to play, which
    // may change while the game runs), and takes the steady or the keyboard's timing when the
    // answer has changed.
    void followSteadyRepeat(std::function<bool()> steady);
    int repeatDelay() const;
    int repeatInterval() const;

    // One pass of the poll: takes every pending SDL event and acts on it.
    void poll();
    int controllerCount() const { return static_cast<int>(pads_.size()); }
    // The poll timer's period now; 0 while it does not run.
    int pollInterval() const { return pollTimer_.isActive() ? pollTimer_.interval() : 0; }
    // The arrow (37..40) that repeats now, 0 when none is held.
    int16_t heldArrow() const { return order_.empty() ? 0 : order_.back(); }

private:
    struct Pad {
        _SDL_GameController* controller = nullptr;
        uint8_t dpad = 0;   // arrow bits held on the d-pad
        uint8_t stick = 0;  // arrow bits held by the left stick
    };

    void handle(const SDL_Event& event);
    void opened(int deviceIndex);
    void removed(int32_t instance);
    void button(int32_t instance, uint8_t button, bool down);
    void axis(int32_t instance, uint8_t axis, int16_t value);
    // Compares the arrows held by any controller with those held before: a newly held arrow
    // is pressed at once and becomes the one that repeats; a let-go arrow stops repeating.
    void arrowsChanged();
    void send(int16_t keyCode);
    void choosePollRate();
    // Watches the device folders; false when none can be watched.
    bool watchDeviceFolders();
    void deviceFolderChanged();

    const SdlLibrary* sdl_ = nullptr;  // loaded by start()
    bool running_ = false;
    KeySink sink_;
    std::function<bool()> sceneWaiting_;
    std::function<bool()> raceSteers_;
    std::function<bool()> steadyNow_;
    bool steady_ = false;
    std::map<int32_t, Pad> pads_;
    uint8_t heldBits_ = 0;
    std::vector<int16_t> order_;  // held arrows, the most recently pressed last
    QTimer pollTimer_;
    KeyRepeat repeat_;
    QStringList deviceFolders_{QStringLiteral("/dev/input"), QStringLiteral("/dev")};
    QFileSystemWatcher deviceWatch_;
    bool watching_ = false;
    QDeadlineTimer lookForNew_;  // until when the poll looks for a new controller
};
