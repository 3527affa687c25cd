// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "runtime/screen_fit.h"

#include "runtime/game_constants.h"

#include <xcb/randr.h>
#include <xcb/xcb.h>

#include <QCursor>
#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {
// What the game adds around the race window's client area: the menu bar, scaled with
// the window, and the window manager's frame (title bar and borders), which is not. The frame
// is taken generously, as the largest of the common desktops draws it.
constexpr int MenuBarHeight = 24;
constexpr int FrameWidth = 16;
constexpr int FrameHeight = 48;
constexpr int MaxScale = 4;

bool fits(const QSize& window, const QSize& area)
{
    return window.width() <= area.width() && window.height() <= area.height();
}

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> owned(T* reply)
{
    return Reply<T>(reply, &std::free);
}

// Xft.dpi in the resource database: the desktop's own scaling, which the window system applies
// before the game's (96 is none).
double desktopDpi(xcb_connection_t* c, xcb_window_t root)
{
    auto reply = owned(xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0, 16384),
        nullptr));
    if (!reply) return 0;
    const QByteArray resources(static_cast<const char*>(xcb_get_property_value(reply.get())),
                               xcb_get_property_value_length(reply.get()));
    for (const QByteArray& line : resources.split('\n')) {
        if (!line.startsWith("Xft.dpi:")) continue;
        bool ok = false;
        const double dpi = line.mid(8).trimmed().toDouble(&ok);
        return ok && dpi > 0 ? dpi : 0;
    }
    return 0;
}
} // namespace

QSize RaceWindowSize(int scale)
{
    return QSize(RaceClientWidth * scale + FrameWidth, (RaceClientHeight + MenuBarHeight) * scale + FrameHeight);
}

ScaleChoice ChooseScale(int requested, const ScreenArea& screen)
{
    const QSize free = screen.available.size();
    ScaleChoice choice;
    if (requested > 0) {
        choice.scale = std::min(requested, MaxScale);
        while (choice.scale > 1 && !fits(RaceWindowSize(choice.scale), free)) --choice.scale;
        choice.lowered = choice.scale < requested;
        return choice;
    }
    while (choice.scale < MaxScale) {
        const QSize larger = RaceWindowSize(choice.scale + 1);
        if (2 * larger.height() > screen.geometry.height() || !fits(larger, free)) break;
        ++choice.scale;
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

namespace {
std::optional<ScreenArea> monitorUnderPointer(xcb_connection_t* c, int screenNumber)
{
    if (xcb_connection_has_error(c)) return std::nullopt;

    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && it.rem; ++i) xcb_screen_next(&it);
    if (!it.rem) return std::nullopt;
    const xcb_screen_t* root = it.data;

    // All questions go out at once: one round trip for the lot, then one for the monitors.
    const auto versionCookie = xcb_randr_query_version(c, 1, 5);
    const auto pointerCookie = xcb_query_pointer(c, root->root);
    static const char workAreaName[] = "_NET_WORKAREA";
    const auto atomCookie = xcb_intern_atom(c, 1, sizeof workAreaName - 1, workAreaName);

    QRect monitor(0, 0, root->width_in_pixels, root->height_in_pixels);
    QRect workArea = monitor;

    auto pointer = owned(xcb_query_pointer_reply(c, pointerCookie, nullptr));
    const QPoint at = pointer ? QPoint(pointer->root_x, pointer->root_y) : monitor.center();

    auto version = owned(xcb_randr_query_version_reply(c, versionCookie, nullptr));
    auto atom = owned(xcb_intern_atom_reply(c, atomCookie, nullptr));
    const bool hasMonitors =
        version && (version->major_version > 1 || (version->major_version == 1 && version->minor_version >= 5));
    xcb_randr_get_monitors_cookie_t monitorsCookie{};
    if (hasMonitors) monitorsCookie = xcb_randr_get_monitors(c, root->root, 1);
    xcb_get_property_cookie_t workCookie{};
    if (atom && atom->atom != XCB_ATOM_NONE)
        workCookie = xcb_get_property(c, 0, root->root, atom->atom, XCB_ATOM_CARDINAL, 0, 4);

    if (hasMonitors) {
        auto monitors = owned(xcb_randr_get_monitors_reply(c, monitorsCookie, nullptr));
        if (monitors) {
            // The monitor under the pointer; else the primary one; else the first.
            std::optional<QRect> under, primary, first;
            for (auto m = xcb_randr_get_monitors_monitors_iterator(monitors.get()); m.rem;
                 xcb_randr_monitor_info_next(&m)) {
                const QRect r(m.data->x, m.data->y, m.data->width, m.data->height);
                if (r.isEmpty()) continue;
                if (!first) first = r;
                if (m.data->primary && !primary) primary = r;
                if (!under && r.contains(at)) under = r;
            }
            if (under)
                monitor = *under;
            else if (primary)
                monitor = *primary;
            else if (first)
                monitor = *first;
        }
    }
    if (atom && atom->atom != XCB_ATOM_NONE) {
        auto work = owned(xcb_get_property_reply(c, workCookie, nullptr));
        // The first desktop's work area spans every monitor; each monitor keeps its share.
        if (work && work->format == 32 && xcb_get_property_value_length(work.get()) >= 16) {
            const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(work.get()));
            workArea = QRect(int(v[0]), int(v[1]), int(v[2]), int(v[3]));
        }
    }

    QRect available = monitor.intersected(workArea);
    if (available.isEmpty()) available = monitor;

    // The desktop's own scaling shrinks what the game's pixels can fill.
    const double dpi = desktopDpi(c, root->root);
    const double factor = dpi > 0 ? dpi / 96.0 : 1.0;
    auto logical = [factor](const QRect& r) {
        return QRect(qRound(r.x() / factor), qRound(r.y() / factor), int(r.width() / factor),
                     int(r.height() / factor));
    };
    return ScreenArea{logical(monitor), logical(available)};
}

} // namespace

PointerScreenOnX::PointerScreenOnX(const QString& displayName)
{
    int screenNumber = 0;
    const QByteArray name = displayName.toLocal8Bit();
    connection_ = xcb_connect(name.isEmpty() ? nullptr : name.constData(), &screenNumber);
    area_ = monitorUnderPointer(connection_, screenNumber);
}

PointerScreenOnX::~PointerScreenOnX()
{
    xcb_disconnect(connection_);
}

void PlaceOnScreen(QWidget* window, const QWidget* over)
{
    QScreen* screen = over ? over->screen() : QGuiApplication::screenAt(QCursor::pos());
    if (!screen) screen = QGuiApplication::primaryScreen();
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
