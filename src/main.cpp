// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up only: the application, the command line, the first window.
#include <QApplication>

#include "app/startup.h"

int main(int argc, char* argv[])
{
    return RunTavolnik(argc, argv);
}
