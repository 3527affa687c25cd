// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The floor of the start-up measurements: the least a Qt Widgets program does to show a window
// of the title screen's size. It reports its first paint exactly as the game does.
#include <QApplication>
#include <QWidget>

#include "process_probe.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ExitAfterFirstPaintIfAsked();
    QWidget window;
    window.setFixedSize(305, 231);
    window.show();
    return app.exec();
}
