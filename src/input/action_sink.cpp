// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "input/action_sink.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <algorithm>

#include "prefs/key_bindings.h"
#include "runtime/key_repeat.h"

namespace {
bool isArrow(int16_t code) { return code >= KeyLeft && code <= KeyDown; }
} // namespace

ActionSink::ActionSink(Deliver deliver, QObject* parent) : QObject(parent), deliver_(std::move(deliver)) {}

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
        keyHeld(key->key(), press, key->isAutoRepeat());
        auto* w = qobject_cast<QWidget*>(watched);
        if (window_ && w && (w == window_ || window_->isAncestorOf(w))) {
            const bool taken = press ? keyPressed(key->key(), key->modifiers(), key->isAutoRepeat())
                                     : keyReleased(key->key(), key->isAutoRepeat());
            if (taken) return true;
        }
    } else if (type == QEvent::WindowDeactivate && window_ && watched == window_) {
        focusLost();
    }
    return QObject::eventFilter(watched, event);
}

void ActionSink::keyHeld(int qtKey, bool down, bool autoRepeat)
{
    if (autoRepeat) return;
    if (down)
        keysDown_.insert(qtKey);
    else
        keysDown_.remove(qtKey);
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
        if (!autoRepeat && !arrowPressedAgain(code)) {
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
    letGo_ = 0;
    if (steering_) steering_->stop();
}

void ActionSink::padAction(int16_t code)
{
    if (!open()) return;
    // A modal window above the race screen holds the pad's input, as it holds the keyboard's.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != window_) return;
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
        letGo_ = steering_->repeated() ? code : 0;
        sinceLetGo_.start();
        steering_->stop();
    } else {
        steering_->start(heldArrows_.back());
    }
}

bool ActionSink::arrowPressedAgain(int16_t code)
{
    if (code != letGo_ || steering_->key() || sinceLetGo_.elapsed() > SteadyRepeatGapMs) return false;
    letGo_ = 0;
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
