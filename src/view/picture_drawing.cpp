// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "view/picture_drawing.h"

#include <QPainter>
#include <QSvgRenderer>
#include <cmath>

QImage DrawPicture(const QString& source, int width, int height, qreal dpr)
{
    QImage image(QSize(static_cast<int>(std::ceil(width * dpr)), static_cast<int>(std::ceil(height * dpr))),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(source);
    QPainter painter(&image);
    if (renderer.isValid()) {
        renderer.render(&painter, QRectF(0, 0, image.width(), image.height()));
    } else {
        painter.fillRect(image.rect(), QColor(255, 0, 255));
    }
    painter.end();
    return image;
}

QString PrerenderedFileName(const QString& name, int ratio)
{
    return QStringLiteral("%1@%2x.png").arg(name).arg(ratio);
}
