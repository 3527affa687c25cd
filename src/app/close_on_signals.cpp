// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/close_on_signals.h"

#include <QApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int wakeFds[2] = {-1, -1};  // the signal handler writes the signal's number to [1]
int endedBy = 0;            // the status of the first signal heard, 0 before any

void onSignal(int number)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t written = ::write(wakeFds[1], &byte, 1);
    errno = saved;
}

}  // namespace

void CloseGameOnSignals()
{
    if (wakeFds[0] >= 0) return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, wakeFds) != 0) return;
    // A handler never blocks, however many signals come.
    ::fcntl(wakeFds[1], F_SETFL, ::fcntl(wakeFds[1], F_GETFL) | O_NONBLOCK);

    auto* notifier = new QSocketNotifier(wakeFds[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        unsigned char number = 0;
        if (::read(wakeFds[0], &number, 1) != 1) return;
        // The first signal decides the status. Each one ends every event loop running then, the
        // modal windows', the scene waits' and a save's wait for the lock included, so that
        // nothing the closing windows do can wait for the player; one that comes while the game
        // is still starting (no loop of its own yet) ends the game before its first window.
        if (endedBy == 0) endedBy = 128 + number;
        QCoreApplication::exit(endedBy);
        QApplication::closeAllWindows();
    });

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(number, &action, nullptr);
}

int EndedBySignal() { return endedBy; }
