// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "view/screen_fit.h"


#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QWidget>
#include <QtMath>
#include <QtGui/private/qhighdpiscaling_p.h>
#include <algorithm>

namespace {
// What the game adds around the race window's client area: the menu bar, scaled with
// the window, and the window manager's frame (title bar and borders), which is not. The frame
// is taken generously, as the largest of the common desktops draws it.
constexpr int MenuBarHeight = 24;
constexpr int FrameWidth = 16;
constexpr int FrameHeight = 48;
constexpr int MaxScale = 4;

// The screen that holds the pointer, or else the primary one; none without a screen. Under
// Wayland the pointer's position is not told: the primary screen it is.
QScreen* screenUnderPointer()
{
    QScreen* screen = OnWayland() ? nullptr : QGuiApplication::screenAt(QCursor::pos());
    return screen ? screen : QGuiApplication::primaryScreen();
}

bool fits(const QSize& window, const QSize& area)
{
    return window.width() <= area.width() && window.height() <= area.height();
}

} // namespace

QSize RaceWindowSize(double scale)
{
    return QSize(qCeil(RaceClientWidth * scale) + FrameWidth,
                 qCeil((RaceClientHeight + MenuBarHeight) * scale) + FrameHeight);
}

ScaleChoice ChooseScale(int requested, const ScreenArea& screen)
{
    const QSize free = screen.available.size();
    ScaleChoice choice;
    if (requested > 0) {
        int scale = std::min(requested, MaxScale);
        while (scale > 1 && !fits(RaceWindowSize(scale), free)) --scale;
        choice.scale = scale;
        choice.lowered = scale < requested;
        return choice;
    }
    // Counted in steps, so that no sum of fractions falls short of a step that fits.
    const int steps = qRound((MaxScale - 1) / ScaleStep);
    const int openingHeight = qFloor(OpeningHeightShare * free.height());
    for (int step = 1; step <= steps; ++step) {
        const double larger = 1 + step * ScaleStep;
        const QSize window = RaceWindowSize(larger);
        if (window.height() > openingHeight || !fits(window, free)) break;
        choice.scale = larger;
    }
    return choice;
}

QString ScaleLoweredText(int requested, const ScaleChoice& choice, const ScreenArea& screen)
{
    return QStringLiteral("tavolnik: --scale %1 does not fit this screen (%2x%3 free); using --scale %4")
        .arg(requested)
        .arg(screen.available.width())
        .arg(screen.available.height())
        .arg(choice.scale);
}

std::optional<ScreenArea> PointerScreen()
{
    QScreen* screen = screenUnderPointer();
    if (!screen) return std::nullopt;
    // A scale the player set for Qt himself already shrinks the screen as the application sees
    // it; the choice is made in the desktop's pixels, before any scale of the game's.
    bool set = false;
    double own = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&set);
    if (!set || own <= 0) own = 1;
    auto desktop = [own](const QRect& r) {
        return QRect(qRound(r.x() * own), qRound(r.y() * own), qRound(r.width() * own), qRound(r.height() * own));
    };
    return ScreenArea{desktop(screen->geometry()), desktop(screen->availableGeometry())};
}

void SetWindowScale(double scale)
{
    // Qt's own factor, as QT_SCALE_FACTOR sets it at start: set here once the screens are known,
    // without a second connection to the window system before the application's.
    QHighDpiScaling::setGlobalFactor(scale);
}

bool OnWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void PlaceOnScreen(QWidget* window, const QWidget* over)
{
    if (OnWayland()) return;
    QScreen* screen = over ? over->screen() : screenUnderPointer();
    if (!screen) return;
    const QRect free = screen->availableGeometry();
    // The frame the window manager adds is known once a window is shown: it is taken from a
    // window on the screen already. Too large for the screen, the window keeps its title bar
    // on it, so it can always be grabbed and moved.
    QMargins frame;
    const QWidget* shown = over;
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (!shown && w != window && w->isVisible()) shown = w;
    if (shown) {
        const QRect outer = shown->frameGeometry(), inner = shown->geometry();
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    }
    QRect placed(QPoint(), window->size().grownBy(frame));
    placed.moveCenter(over ? over->frameGeometry().center() : free.center());
    if (placed.right() > free.right()) placed.moveRight(free.right());
    if (placed.bottom() > free.bottom()) placed.moveBottom(free.bottom());
    if (placed.left() < free.left()) placed.moveLeft(free.left());
    if (placed.top() < free.top()) placed.moveTop(free.top());
    window->move(placed.topLeft());
}
