// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The one geometric test of the game: do two pictures touch or overlap? The hero only counts
// with a thin strip near his feet, so he can brush past a car's roof without a crash.
#include <cmath>

#include "screens/form_main.h"

namespace {
// An edge as a whole pixel, rounded to the nearest (halves to the even neighbour).
int16_t Edge(double value) { return static_cast<int16_t>(std::nearbyint(value)); }
} // namespace

VBool form_Main::IsClossed(const Picture* first, const Picture* second) const
{
    int16_t aL = Edge(first->Left());
    int16_t aR = Edge(first->Left() + first->Width());
    int16_t aT = Edge(first->Top());
    int16_t aB = Edge(first->Top() + first->Height());
    const int16_t bL = Edge(second->Left());
    const int16_t bR = Edge(second->Left() + second->Width());
    const int16_t bT = Edge(second->Top());
    const int16_t bB = Edge(second->Top() + second->Height());

    if (first == img_JetR[0]) {
        // The hero's hit box: 62 x 2 px, 60 px below the top of his sprite.
        aL += 5;
        aR -= 10;
        aT += 60;
        aB -= 15;
    }

    // Edges that meet count as touching.
    return (bL <= aR && bR >= aL && bT <= aB && bB >= aT) ? VbTrue : VbFalse;
}
