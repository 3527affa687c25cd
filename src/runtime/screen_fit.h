// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// How large the windows are drawn, and where they open. The scale is fixed before the
// application object exists (the window system scales everything from its start), so the
// screen is asked directly: the monitor that holds the pointer, its area free of panels, and
// the desktop's own scaling. The windows then open centred on that monitor, never beyond it.
#pragma once

#include <QRect>
#include <QString>
#include <optional>

class QWidget;
typedef struct xcb_connection_t xcb_connection_t;

// The screen a window opens on, in the desktop's own pixels (after its own scaling).
struct ScreenArea {
    QRect geometry;   // the whole monitor
    QRect available;  // without the desktop's panels
};

struct ScaleChoice {
    int scale = 1;
    bool lowered = false;  // the scale asked for does not fit: this is the largest that does
};

// The race window at a scale, frame and menu bar included: the largest of the three windows.
QSize RaceWindowSize(int scale);

// requested 0: the largest whole scale (up to 4) at which the race window takes at most half
// the screen's height and fits its free area. requested 1..4: the largest scale up to it at
// which the race window fits the free area; 1 always.
ScaleChoice ChooseScale(int requested, const ScreenArea& screen);

// Asks the X display the game will open on (displayName empty: DISPLAY) for the monitor under
// the pointer. The connection stays open as long as this does: an X server can drop a client
// that connects in the very instant another one leaves, so the application's own connection is
// made first and this one goes after it.
class PointerScreenOnX
{
public:
    explicit PointerScreenOnX(const QString& displayName);
    ~PointerScreenOnX();
    PointerScreenOnX(const PointerScreenOnX&) = delete;
    PointerScreenOnX& operator=(const PointerScreenOnX&) = delete;

    // Nothing when the display cannot be asked.
    const std::optional<ScreenArea>& area() const { return area_; }

private:
    xcb_connection_t* connection_ = nullptr;
    std::optional<ScreenArea> area_;
};

// The line said on standard error when a --scale is lowered to fit.
QString ScaleLoweredText(int requested, const ScaleChoice& choice, const ScreenArea& screen);

// Centres a top-level window over another one (over: a dialog over its window), or else on the
// screen that holds the pointer, and keeps it within that screen's free area.
void PlaceOnScreen(QWidget* window, const QWidget* over = nullptr);
