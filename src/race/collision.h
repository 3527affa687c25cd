// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The one geometric test of the game: do two boxes touch or overlap? The race screen's
// IsClossed tests two pictures with it (the hero with his thin strip near the feet), and the
// tick plan tests where a long lane's car would be after its own step.
#pragma once

#include <cmath>
#include <cstdint>

// A box in whole pixels.
struct HitBox {
    int16_t left, right, top, bottom;
};

// The box of a picture at left, top of the given size: each edge rounded to the nearest whole
// pixel (halves to the even neighbour).
inline HitBox BoxAt(double left, double top, int width, int height)
{
    const auto edge = [](double value) { return static_cast<int16_t>(std::nearbyint(value)); };
    return {edge(left), edge(left + width), edge(top), edge(top + height)};
}

// The hero's hit box in the box of his picture: a thin strip near the board, 62 x 2 px, 60 px
// below the picture's top, so he can brush past a car's roof without a crash.
inline HitBox HeroStrip(HitBox picture)
{
    picture.left += 5;
    picture.right -= 10;
    picture.top += 60;
    picture.bottom -= 15;
    return picture;
}

// Edges that meet count as touching.
inline bool Touching(const HitBox& a, const HitBox& b)
{
    return b.left <= a.right && b.right >= a.left && b.top <= a.bottom && b.bottom >= a.top;
}
