// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Where the game's actions come in. The keyboard, the gamepad and the steady repeat of a held
// arrow all hand the race screen's key handler the actions' codes (KeyA, KeyLeft and the others
// in prefs/key_bindings.h) through the race screen's sink, which decides what is delivered:
// nothing once the window has begun to close, nothing from the pad while a modal window above
// the race holds the input, no system repeat of Return or of a pause key. Every press and
// release of the keyboard passes here, so the sink also knows which keys are held down, in any
// window of the game, and which arrows are held for the steady repeat.
//
// The sink reads the keyboard as the window's key preview: it sees every key before the control
// that has the focus. Its work is done by plain calls (keyPressed, keyReleased, padAction and the
// rest), which the key preview and the gamepad make and a test can make without a window.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QElapsedTimer>
#include <QHash>
#include <QPointer>
#include <QSet>
#include <cstdint>
#include <functional>
#include <vector>

#include "prefs/choices.h"

class KeyRepeat;
class QWidget;

// The steady repeat of a held arrow (the modern way), on the keyboard and the gamepad alike: the
// press steps at once, the first repeat comes SteadyRepeatDelayMs after it, so that a person's
// tap (up to 130 ms) is one step, then one every SteadyRepeatIntervalMs.
constexpr double SteadyRepeatDelayMs = 170;
constexpr double SteadyRepeatIntervalMs = 1000 / SteadyStepsPerSecond;
// A key held down this long (the least the systems wait before they repeat a held key) and let
// go and pressed again within HeldKeyGapMs was never let go: no player taps a key that way, and
// the system's repeat of a held key comes as such a pair on some window systems.
constexpr qint64 RepeatAfterMs = 150;
constexpr qint64 HeldKeyGapMs = 40;
// The steps an arrow held for `heldMs` makes with the steady repeat, the press's own included.
constexpr int SteadyStepsHeld(double heldMs)
{
    return heldMs < SteadyRepeatDelayMs ? 1 : 2 + static_cast<int>((heldMs - SteadyRepeatDelayMs) / SteadyRepeatIntervalMs);
}
// A window system may repeat a held key as a release and a press a few milliseconds apart: a
// press of the arrow that steered past the steady delay, this soon after its release, goes on
// with its repeat, as if the arrow had never been let go.
constexpr qint64 SteadyRepeatGapMs = HeldKeyGapMs;

class ActionSink : public QObject
{
    Q_OBJECT
public:
    // Hands the game an action's code and the shift state (1 Shift, 2 Ctrl, 4 Alt).
    using Deliver = std::function<void(int16_t code, int16_t shift)>;

    explicit ActionSink(Deliver deliver, QObject* parent = nullptr);
    ~ActionSink() override;

    // Reads the keys of the whole game from now on: the presses in `window`, whichever of its
    // controls has the focus, are the game's; those of every window count for keysDown().
    void watchKeyboardOf(QWidget* window);
    // Whether the window still takes actions: false once it has begun to close. Open until set.
    void setOpen(std::function<bool()> open);
    // What F11 and Alt+Return do: the whole screen and back, at any moment of the game.
    void setFullScreenToggle(std::function<void()> toggle);
    // Whether the race takes the steering now (the gamepad then reads its stick often).
    void setSteers(std::function<bool()> steers);
    bool steers() const { return steers_ && steers_(); }

    // Smooth motion steers at its own steady rate: the press of an arrow steps at once and the
    // latest arrow held repeats at the steady repeat's pace from it; the system's repeat is not
    // heeded. Otherwise each press and system repeat of an arrow is one step.
    void setSteadySteering(bool steady);
    bool steadySteering() const { return steering_ != nullptr; }
    // The arrow that steps at the steady rate now, 0 when none.
    int16_t steeringArrow() const;

    // A key (a Qt::Key value) pressed or let go in the race screen; true when it is the game's,
    // which then does nothing else: the hidden text box neither types nor moves its cursor, and
    // a focused button is not pressed by Space.
    bool keyPressed(int qtKey, Qt::KeyboardModifiers modifiers, bool autoRepeat);
    bool keyReleased(int qtKey, bool autoRepeat);
    // The race screen has lost the keyboard to another window: no release would come.
    void focusLost();
    // A key pressed or let go in any window of the game, atMs on a steady clock; true for a
    // press that repeats a held key. A key held RepeatAfterMs or longer, let go and pressed again
    // within HeldKeyGapMs is still held, whatever the window system calls the pair (X11 under load sends the system's
    // repeat as a release and a press that Qt does not pair): every window of the game gets that
    // press as a repeat. The keys held down now: a window that opens over the race (the
    // ranking's name box) ignores them until they are let go, and the repeats of keys it never
    // saw pressed.
    bool keyHeld(int qtKey, bool down, bool autoRepeat, qint64 atMs);
    const QSet<int>& keysDown() const { return keysDown_; }

    // An action of the gamepad (its own repeat of a held arrow included).
    void padAction(int16_t code);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool open() const { return !open_ || open_(); }
    void arrowPressed(int16_t code);
    void arrowReleased(int16_t code);
    // A press of the arrow just let go, within SteadyRepeatGapMs: its repeat goes on (true).
    bool arrowPressedAgain(int16_t code);

    Deliver deliver_;
    std::function<bool()> open_;
    std::function<void()> fullScreen_;
    std::function<bool()> steers_;
    QPointer<QWidget> window_;
    QSet<int> keysDown_;
    QHash<int, qint64> downSince_;  // when each key was last pressed (not as a repeat)
    QHash<int, qint64> letGo_;      // when each key held long enough to repeat was last let go
    QElapsedTimer clock_;
    KeyRepeat* steering_ = nullptr;  // null unless steady
    std::vector<int16_t> heldArrows_;  // the arrows held on the keyboard, the latest last
    int16_t arrowLetGo_ = 0;           // the arrow whose release last stopped the steady repeat
    QElapsedTimer sinceArrowLetGo_;
};

// Maps a key of the keyboard onto the classic virtual-key code the key handler expects
// (KeyLeft and the others in prefs/key_bindings.h); 0 for keys the game does not know.
// A key the player has given an action (prefs/key_bindings.h) gives that action's code, so
// the accelerator is KeyA whichever key it is; Return, Escape, Pause and T keep their own.
// The key, not the character it types, decides, so "a", "A" and Caps Lock act alike.
int16_t VirtualKeyOf(int qtKey);
