// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "view/controls.h"
#include "view/scaled_scene.h"

#include <QMouseEvent>
#include <QPainter>

QColor ColorFromBgr(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

int BgrFromColor(const QColor& color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

QFont GameFont(double pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    font.setBold(true);
    font.setPointSizeF(pointSize);
    return font;
}

Label::Label(QWidget* parent, const QString& caption) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setCaption(caption);
}

void Label::setCaption(const QString& caption)
{
    caption_ = caption;
    QString shown = caption;
    shown.replace(CRLF, QStringLiteral("\n"));
    setText(shown);
}

void Label::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        emit clicked();
        event->accept();
        return;
    }
    QLabel::mousePressEvent(event);
}

void Label::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Passed on, it would come back as a press (the widget's default) and click a second time.
    if (event->button() == Qt::LeftButton) {
        event->accept();
        return;
    }
    QLabel::mouseDoubleClickEvent(event);
}

Shape::Shape(QWidget* parent, int fillBgr, int cornerRadius)
    : QWidget(parent), fill_(fillBgr), radius_(cornerRadius)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::setFillColor(int bgr)
{
    if (bgr == fill_) return;
    fill_ = bgr;
    update();
}

void Shape::setLook(Look draw)
{
    look_ = std::move(draw);
    update();
}

void Shape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // In a scene drawn larger than designed the border and the corners grow with it.
    const qreal factor = ScaledScene::factorOf(this);
    painter.scale(factor, factor);
    const QRectF box(0, 0, width() / factor, height() / factor);
    if (look_) {
        painter.setRenderHint(QPainter::Antialiasing);
        look_(painter, box, ColorFromBgr(fill_));
    } else if (radius_ > 0) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(ColorFromBgr(fill_));
        painter.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), radius_, radius_);
    } else {
        // A solid fill inside a one-pixel black border, so stacked gauge bars stay apart.
        painter.fillRect(box, Qt::black);
        painter.fillRect(box.adjusted(1, 1, -1, -1), ColorFromBgr(fill_));
    }
}

Line::Line(QWidget* parent, QPoint from, QPoint to, int bgr)
    : QWidget(parent), color_(ColorFromBgr(bgr))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const QRect box = QRect(from, to).normalized().adjusted(0, 0, 1, 1);
    setGeometry(box);
    from_ = from - box.topLeft();
    to_ = to - box.topLeft();
}

void Line::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const qreal factor = ScaledScene::factorOf(this);
    painter.scale(factor, factor);
    painter.setPen(QPen(color_, 1));
    painter.drawLine(from_, to_);
}

OptionButton::OptionButton(const QString& caption, QWidget* parent, std::function<void()> onClick)
    : QRadioButton(caption, parent), onClick_(std::move(onClick))
{
    connect(this, &QRadioButton::toggled, this, [this](bool on) {
        if (on && onClick_) onClick_();
    });
}

void OptionButton::setValue(bool marked)
{
    setChecked(marked);
}
