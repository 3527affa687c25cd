// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the modern way paints over the road, apart from the pictures: the mark at the road's edge
// where a car let in will come in, until it is in sight. Drawing only: the race never reads it.
#pragma once

#include <QRect>

class QPainter;
class form_Main;

// How deep into the road an entry mark reaches from its edge.
constexpr int EntryMarkDepth = 14;

// The mark of a car on the road that is drawn at `car`: a band along the edge of `road` where it
// comes in, as long as the car is wide (or high); none (an empty rect) while it is in sight.
QRect EntryMarkOf(const QRect& car, const QRect& road);

// The road the race screen shows, in its designed pixels.
QRect RoadOnScreen(const form_Main& race);

// Paints the marks of the race as it stands.
void PaintModernMarks(const form_Main& race, QPainter& painter);
