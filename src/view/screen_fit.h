// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// How large the windows are drawn, and where they open. The scale is chosen for the monitor the
// windows open on (on X the one that holds the pointer), its area free of panels, after the desktop's own scaling, and set before
// the first window opens. The windows then open centred on that monitor, never beyond it.
#pragma once

#include <QRect>
#include <QString>
#include <optional>

// The race window's client area in pixels at scale 1: the road above, the panel below.
constexpr int RaceClientWidth = 601;
constexpr int RaceClientHeight = 425;

class QWidget;

// The screen a window opens on, in the desktop's own pixels (after its own scaling).
struct ScreenArea {
    QRect geometry;   // the whole monitor
    QRect available;  // without the desktop's panels
};

struct ScaleChoice {
    double scale = 1;
    bool lowered = false;  // the scale asked for does not fit: this is the largest that does
};

// The race window at a scale, frame and menu bar included: the largest of the three windows.
QSize RaceWindowSize(double scale);

// requested 0: the largest scale, in steps of ScaleStep from 1 up to 4, at which the race window
// takes at most OpeningHeightShare of the screen's free height and fits its free area (about 1.75
// on a 1080p screen). requested 1..4: the largest whole scale up to it at which the race window
// fits the free area; 1 always.
constexpr double ScaleStep = 0.05;
constexpr double OpeningHeightShare = 0.8;
ScaleChoice ChooseScale(int requested, const ScreenArea& screen);

// The monitor the windows open on, as the application sees it: in the desktop's own pixels,
// its panels left out. On X the one that holds the pointer; Wayland tells no application where
// the pointer is, and there it is the one the compositor names first. Nothing when there is no
// screen.
std::optional<ScreenArea> PointerScreen();

// True under a Wayland compositor, which places every window itself.
bool OnWayland();

// Draws every window at scale (1 to 4, fractions included) from now on, its pictures from their
// sources at that size and its text with it. Only before the first window opens.
void SetWindowScale(double scale);

// The line said on standard error when a --scale is lowered to fit.
QString ScaleLoweredText(int requested, const ScaleChoice& choice, const ScreenArea& screen);

// Centres a top-level window over another one (over: a dialog over its window), or else on the
// screen that holds the pointer, and keeps it within that screen's free area. Under Wayland the
// compositor alone places windows: there it leaves the window where the compositor puts it.
void PlaceOnScreen(QWidget* window, const QWidget* over = nullptr);
