// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// How the modern way dresses the race screen's panel and the ranking window: the same controls,
// labels, places and colours, drawn on a dark rounded panel with label plates and a gauge of
// rounded segments; the ranking's top three under gold, silver and bronze medals, and the row
// of a new result lit while its name is typed. The classic way keeps the designed drawing.
// Drawing only: nothing here is read by the race or the rankings.
#pragma once

#include <QRectF>
#include <QWidget>
#include <functional>

class QPainter;
class form_Main;
class form_Rank;

// The medal of a row of a ranking table (0 the best): the top three have one.
enum class Medal { None, Gold, Silver, Bronze };
Medal MedalOfRow(int row);
// Draws the medal, its ribbon and its place number in box (designed pixels).
void PaintMedal(QPainter& painter, const QRectF& box, Medal medal);

// The row whose name is being typed, lit in the modern ranking window; -1 when none is.
int EntryRowOf(const form_Rank& rank);

// Dresses the race screen's panel the modern way, or back to the designed look.
void DressPanel(form_Main& race, bool modern);
// Dresses a ranking window the modern way; a new window has the designed look.
void DressRankWindow(form_Rank& rank);

// Drawn under the controls of a panel or window, in the designed pixels at the scene's factor.
class Backdrop : public QWidget
{
    Q_OBJECT
public:
    Backdrop(QWidget* parent, std::function<void(QPainter&, QSizeF)> paint);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void(QPainter&, QSizeF)> paint_;
};
