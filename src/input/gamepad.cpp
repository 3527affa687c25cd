// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "input/gamepad.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyleHints>
#include <algorithm>
#include <cmath>

#include "input/action_sink.h"
#include "prefs/key_bindings.h"
#include "runtime/sdl_library.h"

namespace {

uint8_t bitOf(int16_t arrow) { return static_cast<uint8_t>(1u << (arrow - KeyLeft)); }
} // namespace

Gamepad::Gamepad(QObject* parent) : QObject(parent), repeat_([this](int16_t arrow) { send(arrow); })
{
    setSteadyRepeat(false);
    pollTimer_.setTimerType(Qt::CoarseTimer);
    connect(&pollTimer_, &QTimer::timeout, this, [this] { poll(); });
    connect(&deviceWatch_, &QFileSystemWatcher::directoryChanged, this, [this] { deviceFolderChanged(); });
}

Gamepad::~Gamepad()
{
    pollTimer_.stop();
    repeat_.stop();
    if (!running_) return;
    for (auto& [instance, pad] : pads_) sdl_->SDL_GameControllerClose(pad.controller);
    pads_.clear();
    sdl_->SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool Gamepad::start()
{
    if (running_) return true;
    sdl_ = Sdl();
    if (!sdl_) return false;
    // The game's window system handles Ctrl+C and the like, not SDL.
    sdl_->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl_->SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
    running_ = true;
    watching_ = watchDeviceFolders();
    // Controllers that are already plugged in arrive as events at the first poll.
    poll();
    return true;
}

bool Gamepad::watchDeviceFolders()
{
    bool any = false;
    for (const QString& folder : deviceFolders_) {
        if (deviceWatch_.directories().contains(folder)) {
            any = true;
            continue;
        }
        if (QFileInfo(folder).isDir() && deviceWatch_.addPath(folder)) any = true;
    }
    return any;
}

void Gamepad::deviceFolderChanged()
{
    if (!running_) return;
    // A device folder that has just appeared (/dev/input on a machine that had none) is
    // watched from now on.
    watching_ = watchDeviceFolders();
    lookForNew_.setRemainingTime(LookForNewMs);
    poll();
}

void Gamepad::setKeySink(KeySink sink) { sink_ = std::move(sink); }

void Gamepad::setSceneWaiting(std::function<bool()> waiting) { sceneWaiting_ = std::move(waiting); }

void Gamepad::setRaceSteers(std::function<bool()> steers) { raceSteers_ = std::move(steers); }

void Gamepad::setRepeat(double delayMs, double intervalMs) { repeat_.setTiming(delayMs, intervalMs); }

void Gamepad::setSteadyRepeat(bool steady)
{
    steady_ = steady;
    if (steady) {
        setRepeat(SteadyRepeatDelayMs, SteadyRepeatIntervalMs);
        return;
    }
    int intervalMs = 33;
    if (qApp) {
        const int rate = QGuiApplication::styleHints()->keyboardAutoRepeatRate();
        if (rate > 0) intervalMs = std::max(1, 1000 / rate);
    }
    setRepeat(RepeatDelayMs, intervalMs);
}

void Gamepad::followSteadyRepeat(std::function<bool()> steady)
{
    steadyNow_ = std::move(steady);
    setSteadyRepeat(steadyNow_());
}

int Gamepad::repeatDelay() const { return static_cast<int>(std::lround(repeat_.delay())); }

int Gamepad::repeatInterval() const { return static_cast<int>(std::lround(repeat_.interval())); }

void Gamepad::poll()
{
    if (!running_) return;
    SDL_Event event;
    while (sdl_->SDL_PollEvent(&event)) handle(event);
    choosePollRate();
}

void Gamepad::choosePollRate()
{
    // Steering wants every movement of the stick at once; a message or a stopped race only
    // waits for a button, where a tenth of a second goes unnoticed. With no controller, the
    // poll runs only while a device may just have come, or where nothing tells of new ones.
    const bool steering = (raceSteers_ && raceSteers_()) || !order_.empty();
    int wanted = 0;
    if (!pads_.empty())
        wanted = steering ? FastPollMs : IdlePollMs;
    else if (!lookForNew_.hasExpired())
        wanted = IdlePollMs;
    else if (!watching_)
        wanted = SlowPollMs;
    if (wanted == 0) {
        pollTimer_.stop();
        return;
    }
    if (pollTimer_.interval() != wanted) pollTimer_.setInterval(wanted);
    if (!pollTimer_.isActive()) pollTimer_.start();
}

void Gamepad::handle(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        opened(event.cdevice.which);
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        removed(event.cdevice.which);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        button(event.cbutton.which, event.cbutton.button, event.type == SDL_CONTROLLERBUTTONDOWN);
        break;
    case SDL_CONTROLLERAXISMOTION:
        axis(event.caxis.which, event.caxis.axis, event.caxis.value);
        break;
    default:
        break; // raw joystick, audio device and other events are none of the pad's business
    }
}

void Gamepad::opened(int deviceIndex)
{
    SDL_GameController* controller = sdl_->SDL_GameControllerOpen(deviceIndex);
    if (!controller) return;
    const int32_t instance = sdl_->SDL_JoystickInstanceID(sdl_->SDL_GameControllerGetJoystick(controller));
    if (pads_.count(instance)) {
        // Already open (announced twice): let go of the second hold on it.
        sdl_->SDL_GameControllerClose(controller);
        return;
    }
    pads_[instance].controller = controller;
}

void Gamepad::removed(int32_t instance)
{
    auto it = pads_.find(instance);
    if (it == pads_.end()) return;
    sdl_->SDL_GameControllerClose(it->second.controller);
    pads_.erase(it);
    // Whatever the pad held is let go with it.
    arrowsChanged();
}

void Gamepad::button(int32_t instance, uint8_t button, bool down)
{
    auto it = pads_.find(instance);
    if (it == pads_.end()) return;
    Pad& pad = it->second;
    int16_t arrow = 0;
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: arrow = KeyLeft; break;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: arrow = KeyUp; break;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: arrow = KeyRight; break;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: arrow = KeyDown; break;
    default: break;
    }
    if (arrow) {
        if (down)
            pad.dpad |= bitOf(arrow);
        else
            pad.dpad &= static_cast<uint8_t>(~bitOf(arrow));
        arrowsChanged();
        return;
    }
    if (!down) return;
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
        if (sceneWaiting_ && sceneWaiting_()) send(KeySpace);
        send(KeyA);
        break;
    case SDL_CONTROLLER_BUTTON_B:
        send(KeyB);
        break;
    case SDL_CONTROLLER_BUTTON_START:
        // The next message while a scene waits; else the Pause key (a running race) and
        // Return (START), of which the race screen heeds the one that applies.
        if (sceneWaiting_ && sceneWaiting_()) {
            send(KeySpace);
        } else {
            send(KeyPause);
            send(KeyReturn);
        }
        break;
    case SDL_CONTROLLER_BUTTON_BACK:
        // Back (Select, Share) leaves a paused race for the title, as T does.
        send(KeyT);
        break;
    default:
        break;
    }
}

void Gamepad::axis(int32_t instance, uint8_t axis, int16_t value)
{
    auto it = pads_.find(instance);
    if (it == pads_.end()) return;
    int16_t lower = 0, upper = 0;
    if (axis == SDL_CONTROLLER_AXIS_LEFTX) {
        lower = KeyLeft;
        upper = KeyRight;
    } else if (axis == SDL_CONTROLLER_AXIS_LEFTY) {
        lower = KeyUp; // the stick's y grows downwards
        upper = KeyDown;
    } else {
        return;
    }
    uint8_t& stick = it->second.stick;
    const uint8_t both = bitOf(lower) | bitOf(upper);
    if (value <= -StickPress)
        stick = static_cast<uint8_t>((stick & ~both) | bitOf(lower));
    else if (value >= StickPress)
        stick = static_cast<uint8_t>((stick & ~both) | bitOf(upper));
    else if (value > -StickRelease && value < StickRelease)
        stick = static_cast<uint8_t>(stick & ~both);
    // between the two thresholds the stick keeps what it held
    arrowsChanged();
}

void Gamepad::arrowsChanged()
{
    uint8_t now = 0;
    for (const auto& [instance, pad] : pads_) now |= pad.dpad | pad.stick;
    if (now == heldBits_) return;
    const uint8_t before = heldBits_;
    heldBits_ = now;

    const int16_t repeatingBefore = heldArrow();
    for (int16_t arrow = KeyLeft; arrow <= KeyDown; ++arrow) {
        if ((before & bitOf(arrow)) && !(now & bitOf(arrow)))
            order_.erase(std::remove(order_.begin(), order_.end(), arrow), order_.end());
    }
    std::vector<int16_t> pressed;
    for (int16_t arrow = KeyLeft; arrow <= KeyDown; ++arrow) {
        if (!(before & bitOf(arrow)) && (now & bitOf(arrow))) pressed.push_back(arrow);
    }
    for (int16_t arrow : pressed) {
        order_.push_back(arrow);
        send(arrow);
    }
    // Only the latest arrow repeats, after the hold delay, as on a keyboard. When it is let
    // go while another is still held, that one takes over after a fresh delay.
    if (order_.empty()) {
        repeat_.stop();
    } else if (heldArrow() != repeatingBefore) {
        if (steadyNow_ && steadyNow_() != steady_) setSteadyRepeat(!steady_);
        repeat_.start(heldArrow());
    }
}

void Gamepad::send(int16_t keyCode)
{
    if (sink_) sink_(keyCode);
}
