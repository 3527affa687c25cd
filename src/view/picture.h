// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Windowless pictures: a picture is a position, a size, a visibility and an image. It takes no
// input; a PictureLayer paints its pictures in their stacking order and repaints only the
// rectangles that change.
#pragma once

#include <QPixmap>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QTransform>
#include <QWidget>
#include <functional>
#include <vector>

class PictureLayer;

class Picture
{
public:
    Picture(PictureLayer* layer, const QString& name, int left, int top, int width, int height,
            bool visible);

    const QString& name() const { return name_; }

    double Left() const { return left_; }
    double Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Visible() const { return visible_; }

    void setLeft(double left);
    void setTop(double top);
    void move(double left, double top);
    void setVisible(bool visible);

    // The image the picture shows; a copy of a pixmap is cheap (shared data).
    const QPixmap& image() const { return image_; }
    void setImage(const QPixmap& image);
    // The picture takes over the image another picture holds at this moment.
    void takePictureOf(const Picture& source) { setImage(source.image()); }
    // Identity of the shown image: two pictures showing the same image give the same key.
    qint64 imageKey() const { return image_.cacheKey(); }

    QRect rect() const;

    // Where the layer draws the picture, relative to its Left and Top: smooth motion draws a
    // picture ahead of its place between two race ticks. The place itself, which the race reads
    // and writes, stays Left and Top; any change of them draws the picture at its place again.
    QPointF drawnOffset() const { return drawnOffset_; }
    void setDrawnOffset(QPointF offset);
    // The rectangle the picture is drawn in: rect() moved by the drawn offset.
    QRect drawnRect() const;

private:
    void changed(const QRect& before);
    // Puts the drawing back at the picture's place; returns the rectangle it was drawn in.
    QRect drawnBefore();

    PictureLayer* layer_;
    QString name_;
    double left_;
    double top_;
    int width_;
    int height_;
    bool visible_;
    QPixmap image_;
    QPointF drawnOffset_;
};

// Paints the pictures that belong to it, lowest first, over its own background.
class PictureLayer : public QWidget
{
    Q_OBJECT
public:
    explicit PictureLayer(QWidget* parent = nullptr);
    ~PictureLayer() override;

    // Pictures are added from the lowest to the topmost; the layer owns them.
    Picture* add(const QString& name, int left, int top, int width, int height, bool visible);
    const std::vector<Picture*>& pictures() const { return pictures_; }

    void setBackground(const QColor& color);
    void pictureChanged(const QRect& dirty);
    // While held, the changes of the pictures are gathered instead of drawn at once, and drawn
    // together at flushHeldUpdates() or when let go: smooth motion draws the race's changes with
    // its next frame, instead of in a paint of their own just before it.
    void setUpdatesHeld(bool held);
    void flushHeldUpdates();
    // Draws the pictures at factor times their size, as a scene drawn larger or smaller than
    // designed; the pictures keep their places and sizes in the designed pixels. Each picture
    // is drawn pixel for pixel from an image drawn at that size (DrawPicturePixels).
    void setDrawScale(qreal factor);
    // What is painted over the pictures, in the designed pixels: marks that are no picture of
    // their own. Nothing until set; the owner asks for the repaint when they change.
    void setOverlay(std::function<void(QPainter&)> paint) { overlay_ = std::move(paint); }
    // What is painted just below one picture, in the designed pixels: a shadow under it. Nothing
    // for a null paint.
    void setBeneath(const Picture* picture, std::function<void(QPainter&)> paint)
    {
        beneathOf_ = picture;
        beneath_ = std::move(paint);
    }
    // How the pictures and what is painted with them are drawn moved, in the designed pixels: a
    // shake of the road. The identity until set; the owner asks for the repaint.
    void setShift(const QTransform& shift) { shift_ = shift; }
    qreal drawScale() const { return drawScale_; }
    // Number of paint events served; benchmarks and tests read it.
    int paintCount() const { return paintCount_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<Picture*> pictures_;
    QColor background_;
    int paintCount_ = 0;
    qreal drawScale_ = 1;
    bool held_ = false;
    QRect heldDirty_;
    std::function<void(QPainter&)> overlay_;
    const Picture* beneathOf_ = nullptr;
    std::function<void(QPainter&)> beneath_;
    QTransform shift_;
};

// Where a picture of the designed rectangle is drawn, in screen pixels from the designed pixel
// (0, 0), at scale screen pixels per designed pixel: at the nearest whole place, as large as
// its image when the image is drawn for that scale, else stretched over the scaled rectangle.
QRect PlacedPicture(const QRect& designed, const QPixmap& image, qreal scale);
// Draws a picture at the designed rectangle of the painter's coordinates, its pixels copied one
// to one onto the screen's at the place PlacedPicture gives: never through a scaled painter.
void DrawPicturePixels(QPainter& painter, const QRect& designed, const QPixmap& image);

// Renders a picture source (an SVG resource) at the given size in logical pixels, sharp at the
// given device-pixel ratio. An unreadable source gives a magenta box, so a missing picture is
// plain to see instead of crashing. The build draws every picture ahead at its own size at 1x and
// 2x; such a picture is taken ready-drawn (reading a small PNG costs a fraction of drawing the
// SVG, which counts at start-up), any other size or ratio is drawn from the SVG.
QPixmap RenderPicture(const QString& resource, int width, int height, qreal dpr);
// The road strip: two copies of the tile side by side.
QPixmap RenderRoadStrip(const QString& tileResource, int tileWidth, int height, qreal dpr);
