// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "runtime/scene_wait.h"

#include <QCoreApplication>
#include <algorithm>
#include <vector>

namespace {
struct Waiting {
    QEventLoop* loop;
    bool cutOff;
};
std::vector<Waiting*> waits;
}

bool SceneWait::run(const std::function<bool()>& done)
{
    Waiting me{nullptr, false};
    QEventLoop loop;
    me.loop = &loop;
    waits.push_back(&me);
    bool result = false;
    while (true) {
        if (done()) {
            result = true;
            break;
        }
        if (me.cutOff || QCoreApplication::closingDown()) break;
        // exec() sleeps in the event dispatcher until an event arrives and a handler calls
        // wake() or cutOff(); an exit of the whole program also ends it.
        if (loop.exec() != 0) break;
    }
    waits.erase(std::find(waits.begin(), waits.end(), &me));
    return result;
}

void SceneWait::wake()
{
    for (Waiting* w : waits) w->loop->exit(0);
}

void SceneWait::cutOff()
{
    for (Waiting* w : waits) {
        w->cutOff = true;
        w->loop->exit(1);
    }
}

int SceneWait::depth() { return static_cast<int>(waits.size()); }
