// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "runtime/picture.h"

#include "runtime/picture_drawing.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPaintEvent>
#include <QPainter>
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

void Picture::changed(const QRect& before)
{
    if (layer_) layer_->pictureChanged(before.united(visible_ ? rect() : QRect()));
}

void Picture::setLeft(double left)
{
    if (left == left_) return;
    const QRect before = visible_ ? rect() : QRect();
    left_ = left;
    changed(before);
}

void Picture::setTop(double top)
{
    if (top == top_) return;
    const QRect before = visible_ ? rect() : QRect();
    top_ = top;
    changed(before);
}

void Picture::move(double left, double top)
{
    if (left == left_ && top == top_) return;
    const QRect before = visible_ ? rect() : QRect();
    left_ = left;
    top_ = top;
    changed(before);
}

void Picture::setVisible(bool visible)
{
    if (visible == visible_) return;
    const QRect before = visible_ ? rect() : QRect();
    visible_ = visible;
    changed(before);
}

void Picture::setImage(const QPixmap& image)
{
    if (image.cacheKey() == image_.cacheKey()) return;
    image_ = image;
    if (visible_) changed(rect());
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
    // In the layer's own pixels; a pixel more all round where the scale's rounding may reach.
    const QRect scaled = drawScale_ == 1 ? dirty
        : QRectF(dirty.x() * drawScale_, dirty.y() * drawScale_, dirty.width() * drawScale_,
                 dirty.height() * drawScale_).toAlignedRect().adjusted(-1, -1, 1, 1);
    const QRect shown = scaled.intersected(rect());
    if (!shown.isEmpty()) update(shown);
}

void PictureLayer::paintEvent(QPaintEvent* event)
{
    ++paintCount_;
    QPainter painter(this);
    const QRect clip = event->rect();
    painter.fillRect(clip, background_.isValid() ? background_ : palette().window().color());
    if (drawScale_ != 1) {
        // A scaled scene: drawn in the designed pixels, onto pictures drawn at this scale.
        painter.scale(drawScale_, drawScale_);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    }
    const QRect designedClip = drawScale_ == 1 ? clip : painter.transform().inverted().mapRect(clip).adjusted(-1, -1, 1, 1);
    for (const Picture* p : pictures_) {
        if (!p->Visible() || p->image().isNull()) continue;
        const QRect r = p->rect();
        if (!r.intersects(designedClip)) continue;
        painter.drawPixmap(r, p->image());
    }
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
    const QPixmap tile = RenderPicture(tileResource, tileWidth, height, dpr);
    QPixmap strip(QSize(tile.width() * 2, tile.height()));
    strip.fill(Qt::transparent);
    strip.setDevicePixelRatio(dpr);
    QPainter painter(&strip);
    painter.drawPixmap(QRectF(0, 0, tileWidth, height), tile, QRectF(tile.rect()));
    painter.drawPixmap(QRectF(tileWidth, 0, tileWidth, height), tile, QRectF(tile.rect()));
    painter.end();
    return strip;
}
