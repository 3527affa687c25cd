// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the modern way paints over the road, apart from the pictures: the mark at the road's edge
// where a car let in will come in, until it is in sight, and the board's trail, which grows with
// the speed. Drawing only: the race never reads it.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPixmap>
#include <QRect>
#include <QTimer>
#include <QTransform>

class QPainter;
class form_Main;
class Picture;

// How deep into the road an entry mark reaches from its edge.
constexpr int EntryMarkDepth = 14;

// The mark of a car on the road that is drawn at `car`: a band along the edge of `road` where it
// comes in, as long as the car is wide (or high); none (an empty rect) while it is in sight.
QRect EntryMarkOf(const QRect& car, const QRect& road);

// The road the race screen shows, in its designed pixels.
QRect RoadOnScreen(const form_Main& race);

// Paints the marks of the race as it stands.
void PaintModernMarks(const form_Main& race, QPainter& painter);

// The strip the cars hit (the hero's hit box) where his picture is drawn, gliding or not.
QRectF HeroStripDrawn(const Picture& hero);
// Paints the soft shadow under the hero's board that shows that strip; drawn below his picture.
void PaintHeroShadow(const form_Main& race, QPainter& painter);

// How the road is drawn `ms` into a crash's shake: moved a few pixels to and fro, dying away, and
// drawn just large enough about its middle that the shaken road still fills `road` to every edge.
QTransform RoadShake(qint64 ms, const QRectF& road);

// The moment of a crash, shown the modern way: a burst at the point of contact and a short shake
// of the road, and an obstacle that was hit drawn where it lay while the tumble plays. Drawing
// only: the race has parked the obstacle already.
class HitShow : public QObject
{
    Q_OBJECT
public:
    explicit HitShow(form_Main* race);
    // The hero (`hero`, his picture's place) has run into `other`; `kept` is drawn there while
    // the tumble plays, when not null.
    void hit(const QRect& hero, const QRect& other, const QPixmap& kept);
    void paint(QPainter& painter) const;
    // How long the burst and the shake last.
    static constexpr int BurstMs = 450;
    static constexpr int ShakeMs = 300;

private:
    void frame();

    form_Main* race_;
    QTimer timer_;
    QElapsedTimer since_;
    QPoint at_;
    QRect keptAt_;
    QPixmap kept_;
};
