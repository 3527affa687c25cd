// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "input/action_sink.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QWidget>
#include <algorithm>

#include "prefs/key_bindings.h"
#include "runtime/key_repeat.h"

namespace {
bool isArrow(int16_t code) { return code >= KeyLeft && code <= KeyDown; }
} // namespace

ActionSink::ActionSink(Deliver deliver, QObject* parent) : QObject(parent), deliver_(std::move(deliver))
{
    clock_.start();
}

ActionSink::~ActionSink()
{
    if (qApp) qApp->removeEventFilter(this);
}

void ActionSink::watchKeyboardOf(QWidget* window)
{
    window_ = window;
    qApp->installEventFilter(this);
}

void ActionSink::setOpen(std::function<bool()> open) { open_ = std::move(open); }

void ActionSink::setFullScreenToggle(std::function<void()> toggle) { fullScreen_ = std::move(toggle); }

void ActionSink::setSteers(std::function<bool()> steers) { steers_ = std::move(steers); }

void ActionSink::setSteadySteering(bool steady)
{
    heldArrows_.clear();
    delete steering_;
    steering_ = nullptr;
    if (!steady) return;
    // Each step goes to the game as the press did, while the window takes actions.
    steering_ = new KeyRepeat([this](int16_t code) { if (open()) deliver_(code, 0); }, this);
    steering_->setTiming(SteadyRepeatDelayMs, SteadyRepeatIntervalMs);
}

int16_t ActionSink::steeringArrow() const { return steering_ ? steering_->key() : 0; }

bool ActionSink::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool press = type == QEvent::KeyPress;
        if (keyHeld(key->key(), press, key->isAutoRepeat(), clock_.elapsed()) && press && !key->isAutoRepeat()) {
            // The press of a key still held goes on as the repeat it is, to whichever window.
            QKeyEvent again(QEvent::KeyPress, key->key(), key->modifiers(), key->nativeScanCode(), key->nativeVirtualKey(),
                            key->nativeModifiers(), key->text(), true, key->count(), key->device());
            QCoreApplication::sendEvent(watched, &again);
            event->setAccepted(again.isAccepted());
            return true;
        }
        auto* w = qobject_cast<QWidget*>(watched);
        // The menu bar has the keyboard only while the player walks its menus (Esc out of an
        // open menu leaves it there): its keys, Esc included, are the menus' own.
        const bool inMenus = qobject_cast<QMenuBar*>(w);
        if (window_ && w && !inMenus && (w == window_ || window_->isAncestorOf(w))) {
            const bool taken = press ? keyPressed(key->key(), key->modifiers(), key->isAutoRepeat())
                                     : keyReleased(key->key(), key->isAutoRepeat());
            if (taken) return true;
        }
    } else if (type == QEvent::WindowDeactivate && window_ && watched == window_) {
        focusLost();
    }
    return QObject::eventFilter(watched, event);
}

bool ActionSink::keyHeld(int qtKey, bool down, bool autoRepeat, qint64 atMs)
{
    if (autoRepeat) return down;
    if (!down) {
        keysDown_.remove(qtKey);
        // Only a key held as long as the system waits before it repeats can be repeating.
        if (atMs - downSince_.value(qtKey, atMs) >= RepeatAfterMs) letGo_.insert(qtKey, atMs);
        return false;
    }
    const auto letGo = letGo_.constFind(qtKey);
    // Text without a key (Qt::Key_unknown) is each time a new character.
    const bool held = qtKey != Qt::Key_unknown && letGo != letGo_.cend() && atMs - *letGo <= HeldKeyGapMs;
    letGo_.remove(qtKey);
    keysDown_.insert(qtKey);
    if (!held) downSince_.insert(qtKey, atMs);
    return held;
}

bool ActionSink::keyPressed(int qtKey, Qt::KeyboardModifiers modifiers, bool autoRepeat)
{
    if (!open()) return false;
    const bool altReturn = (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter) && (modifiers & Qt::AltModifier);
    if (qtKey == Qt::Key_F11 || altReturn) {
        if (!autoRepeat && fullScreen_) fullScreen_();
        return true;
    }
    const int16_t code = VirtualKeyOf(qtKey);
    // A held Return or pause key would start race after race, or flicker the pause.
    if ((code == KeyReturn || code == KeyPause || code == KeyP || code == KeyEscape || code == KeyT) && autoRepeat)
        return true;
    if (steering_ && isArrow(code)) {
        // The press of an arrow let go a moment ago is the window system's repeat (the held-key
        // record passes it on as a repeat): the steady repeat goes on where it was.
        if (arrowPressedAgain(code)) return true;
        if (!autoRepeat) {
            deliver_(code, 0);
            if (open()) arrowPressed(code);
        }
        return true;
    }
    if (code == 0) return false;
    int16_t shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= 1;
    if (modifiers & Qt::ControlModifier) shift |= 2;
    if (modifiers & Qt::AltModifier) shift |= 4;
    deliver_(code, shift);
    return true;
}

bool ActionSink::keyReleased(int qtKey, bool autoRepeat)
{
    const int16_t code = VirtualKeyOf(qtKey);
    if (!steering_ || !isArrow(code)) return false;
    if (!autoRepeat) arrowReleased(code);
    return true;
}

void ActionSink::focusLost()
{
    heldArrows_.clear();
    arrowLetGo_ = 0;
    if (steering_) steering_->stop();
}

void ActionSink::padAction(int16_t code)
{
    if (!open()) return;
    // A modal window above the race screen holds the pad's input, as it holds the keyboard's.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != window_) return;
    // So does an open menu.
    if (QApplication::activePopupWidget()) return;
    deliver_(code, 0);
}

void ActionSink::arrowPressed(int16_t code)
{
    heldArrows_.erase(std::remove(heldArrows_.begin(), heldArrows_.end(), code), heldArrows_.end());
    heldArrows_.push_back(code);
    steering_->start(code);
}

void ActionSink::arrowReleased(int16_t code)
{
    heldArrows_.erase(std::remove(heldArrows_.begin(), heldArrows_.end(), code), heldArrows_.end());
    if (steering_->key() != code) return;
    // An arrow still held takes over, at the same steady rate.
    if (heldArrows_.empty()) {
        // Only an arrow held past the steady delay can be the window system's repeat.
        arrowLetGo_ = steering_->repeated() ? code : 0;
        sinceArrowLetGo_.start();
        steering_->stop();
    } else {
        steering_->start(heldArrows_.back());
    }
}

bool ActionSink::arrowPressedAgain(int16_t code)
{
    if (code != arrowLetGo_ || steering_->key() || sinceArrowLetGo_.elapsed() > SteadyRepeatGapMs) return false;
    arrowLetGo_ = 0;
    heldArrows_.push_back(code);
    steering_->resume(code);
    return true;
}

int16_t VirtualKeyOf(int qtKey)
{
    // The player's keys first; the keys the game keeps for itself can be given to no action.
    GameAction action;
    if (ActionOfKey(qtKey, &action)) return KeyCodeOf(action);
    switch (qtKey) {
    case Qt::Key_Pause: return KeyPause;
    case Qt::Key_Escape: return KeyEscape;
    case Qt::Key_T: return KeyT;
    case Qt::Key_Return:
    case Qt::Key_Enter: return KeyReturn;
    default: return 0;
    }
}
