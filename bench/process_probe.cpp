// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "process_probe.h"

#include <QApplication>
#include <QWidget>
#include <QFile>
#include <cstdio>
#include <cstdlib>

#include "app/first_paint_probe.h"

namespace {
long statusField(const char* name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    const QByteArray prefix = QByteArray(name) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith(prefix)) continue;
        const QByteArray digits = line.mid(prefix.size()).trimmed().split(' ').value(0);
        bool ok = false;
        const long kb = digits.toLong(&ok);
        return ok ? kb : -1;
    }
    return -1;
}
} // namespace

void ExitAfterFirstPaintIfAsked()
{
    if (qEnvironmentVariableIsEmpty("TAVOLNIK_EXIT_AFTER_FIRST_PAINT")) return;
    WatchFirstPaint([] {
        // The painted window's size in the screen's own pixels tells the scale it was drawn at.
        QSize window;
        for (const QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible()) window = w->size() * w->devicePixelRatioF();
        std::printf("first-paint vmhwm_kb=%ld window=%dx%d\n", PeakMemoryKb(), window.width(), window.height());
        std::fflush(stdout);
        // Nothing after the first paint is being measured: no tear-down.
        std::_Exit(0);
    });
}

long PeakMemoryKb() { return statusField("VmHWM"); }

long ResidentMemoryKb() { return statusField("VmRSS"); }
