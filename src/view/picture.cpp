// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "view/picture.h"

#include "view/picture_drawing.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPaintEvent>
#include <QPainter>
#include <QtMath>
#include <cmath>

Picture::Picture(PictureLayer* layer, const QString& name, int left, int top, int width,
                 int height, bool visible)
    : layer_(layer), name_(name), left_(left), top_(top), width_(width), height_(height),
      visible_(visible)
{
}

QRect Picture::rect() const
{
    return QRect(static_cast<int>(std::lround(left_)), static_cast<int>(std::lround(top_)),
                 width_, height_);
}

QRect Picture::drawnRect() const
{
    return QRect(static_cast<int>(std::lround(left_ + drawnOffset_.x())),
                 static_cast<int>(std::lround(top_ + drawnOffset_.y())), width_, height_);
}

void Picture::changed(const QRect& before)
{
    if (layer_) layer_->pictureChanged(before.united(visible_ ? drawnRect() : QRect()));
}

QRect Picture::drawnBefore()
{
    const QRect before = visible_ ? drawnRect() : QRect();
    drawnOffset_ = QPointF();
    return before;
}

void Picture::setLeft(double left)
{
    if (left == left_) return;
    const QRect before = drawnBefore();
    left_ = left;
    changed(before);
}

void Picture::setTop(double top)
{
    if (top == top_) return;
    const QRect before = drawnBefore();
    top_ = top;
    changed(before);
}

void Picture::move(double left, double top)
{
    if (left == left_ && top == top_) return;
    const QRect before = drawnBefore();
    left_ = left;
    top_ = top;
    changed(before);
}

void Picture::setDrawnOffset(QPointF offset)
{
    if (offset == drawnOffset_) return;
    const QRect before = visible_ ? drawnRect() : QRect();
    drawnOffset_ = offset;
    // Only a change of the drawn pixels needs painting.
    if (visible_ && drawnRect() == before) return;
    changed(before);
}

void Picture::setVisible(bool visible)
{
    if (visible == visible_) return;
    const QRect before = visible_ ? drawnRect() : QRect();
    visible_ = visible;
    changed(before);
}

void Picture::setImage(const QPixmap& image)
{
    if (image.cacheKey() == image_.cacheKey()) return;
    image_ = image;
    if (visible_) changed(drawnRect());
}

PictureLayer::PictureLayer(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

PictureLayer::~PictureLayer()
{
    for (Picture* p : pictures_) delete p;
}

Picture* PictureLayer::add(const QString& name, int left, int top, int width, int height,
                           bool visible)
{
    auto* p = new Picture(this, name, left, top, width, height, visible);
    pictures_.push_back(p);
    return p;
}

void PictureLayer::setBackground(const QColor& color)
{
    background_ = color;
    update();
}

void PictureLayer::setDrawScale(qreal factor)
{
    if (factor == drawScale_) return;
    drawScale_ = factor;
    update();
}

void PictureLayer::pictureChanged(const QRect& dirty)
{
    // In the layer's own pixels. At a whole scale a picture covers exactly its scaled rectangle;
    // at any other (or shaken) it lands on the nearest screen pixel and may be a pixel larger: two
    // pixels more all round.
    const QTransform scaling = shift_ * QTransform::fromScale(drawScale_, drawScale_);
    const qreal device = devicePixelRatioF() * drawScale_;
    const QRect scaled = scaling.isIdentity() && device == std::round(device) ? dirty
        : scaling.mapRect(QRectF(dirty)).toAlignedRect().adjusted(-2, -2, 2, 2);
    const QRect shown = scaled.intersected(rect());
    if (shown.isEmpty()) return;
    if (held_)
        heldDirty_ |= shown;
    else
        update(shown);
}

void PictureLayer::setUpdatesHeld(bool held)
{
    held_ = held;
    if (!held) flushHeldUpdates();
}

void PictureLayer::flushHeldUpdates()
{
    if (heldDirty_.isEmpty()) return;
    update(heldDirty_);
    heldDirty_ = QRect();
}

QRect PlacedPicture(const QRect& designed, const QPixmap& image, qreal scale)
{
    const QPoint at(qRound(designed.x() * scale), qRound(designed.y() * scale));
    // A picture drawn for this scale is copied pixel for pixel; one drawn for another scale (the
    // window is being resized) is stretched over the place until it is drawn afresh.
    if (std::abs(image.devicePixelRatio() - scale) < 1e-6) return QRect(at, image.size());
    return QRect(at, QSize(qCeil(designed.width() * scale), qCeil(designed.height() * scale)));
}

namespace {
// The painter's place of its designed pixel (0, 0) on the screen, at a whole screen pixel.
QPoint screenOrigin(const QTransform& toScreen)
{
    return QPoint(qRound(toScreen.dx()), qRound(toScreen.dy()));
}
} // namespace

void DrawPicturePixels(QPainter& painter, const QRect& designed, const QPixmap& image)
{
    // Drawn in the screen's own pixels, each pixel of the picture onto one of the screen at a
    // whole place: a picture is drawn at its scale already, and copying it is all it costs.
    const QTransform toScreen = painter.deviceTransform();
    const QRect r = PlacedPicture(designed, image, toScreen.m11()).translated(screenOrigin(toScreen));
    painter.save();
    painter.setWorldTransform(toScreen.inverted() * painter.worldTransform());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, r.size() != image.size());
    painter.drawPixmap(r, image, image.rect());
    painter.restore();
}

void PictureLayer::paintEvent(QPaintEvent* event)
{
    ++paintCount_;
    QPainter painter(this);
    const QRect clip = event->rect();
    const QRect screenClip = painter.deviceTransform().mapRect(QRectF(clip)).toAlignedRect();
    // The pictures lie in the designed pixels, drawn at the scene's scale (and shaken with the road).
    const QTransform scaling = shift_ * QTransform::fromScale(drawScale_, drawScale_);
    painter.setWorldTransform(scaling);
    const QTransform toScreen = painter.deviceTransform();
    const QRect designedClip =
        scaling.isIdentity() ? clip : scaling.inverted().mapRect(clip).adjusted(-1, -1, 1, 1);
    // The background shows only where no opaque picture at the bottom covers it.
    const Picture* bottom = pictures_.empty() ? nullptr : pictures_.front();
    const bool covered = bottom && bottom->Visible() && !bottom->image().isNull() &&
                         !bottom->image().hasAlphaChannel() &&
                         PlacedPicture(bottom->drawnRect(), bottom->image(), toScreen.m11())
                             .translated(screenOrigin(toScreen)).contains(screenClip);
    if (!covered) {
        painter.save();
        painter.resetTransform();
        painter.fillRect(clip, background_.isValid() ? background_ : palette().window().color());
        painter.restore();
    }
    for (const Picture* p : pictures_) {
        if (!p->Visible() || p->image().isNull()) continue;
        const QRect r = p->drawnRect();
        if (!r.intersects(designedClip)) continue;
        if (p == beneathOf_ && beneath_) beneath_(painter);
        DrawPicturePixels(painter, r, p->image());
    }
    if (overlay_) overlay_(painter);
}

namespace {

// A picture the build drew ahead, when it was drawn at this very size and ratio.
QImage prerendered(const QString& resource, int width, int height, qreal dpr)
{
    const int ratio = static_cast<int>(std::lround(dpr));
    if (ratio < 1 || std::abs(dpr - ratio) > 1e-9 || !resource.endsWith(QLatin1String(".svg")))
        return {};
    const QString name = QFileInfo(resource).completeBaseName();
    QImageReader reader(QStringLiteral(":/prerendered/") + PrerenderedFileName(name, ratio));
    if (reader.size() != QSize(width * ratio, height * ratio)) return {};
    return reader.read();
}

bool Opaque(const QImage& argb)
{
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(line[x]) != 255) return false;
    }
    return true;
}

} // namespace

QPixmap RenderPicture(const QString& resource, int width, int height, qreal dpr)
{
    QImage image = prerendered(resource, width, height, dpr);
    if (image.isNull()) image = DrawPicture(resource, width, height, dpr);
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(dpr);
    return pixmap;
}

QPixmap RenderRoadStrip(const QString& tileResource, int tileWidth, int height, qreal dpr)
{
    // The two copies side by side pixel for pixel, whatever the ratio.
    const QPixmap tile = RenderPicture(tileResource, tileWidth, height, dpr);
    QPixmap strip(QSize(tile.width() * 2, tile.height()));
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    painter.drawPixmap(tile.rect(), tile, tile.rect());
    painter.drawPixmap(tile.rect().translated(tile.width(), 0), tile, tile.rect());
    painter.end();
    strip.setDevicePixelRatio(dpr);
    // A road without a see-through pixel is kept opaque: drawn many times a second, it is then
    // copied instead of blended, to the same pixels.
    QImage image = strip.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (Opaque(image)) {
        image.convertTo(QImage::Format_RGB32);
        strip = QPixmap::fromImage(image);
        strip.setDevicePixelRatio(dpr);
    }
    return strip;
}
