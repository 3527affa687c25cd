// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The small controls the game's windows are made of, with the behaviours the game relies on:
// captions that show CR LF as a line break, filled shapes with a fill colour, and option
// buttons whose marking from code runs their click handler exactly once.
#pragma once

#include <QLabel>
#include <QRadioButton>
#include <QWidget>
#include <functional>

// The line break between the lines of a caption or a message.
inline const QString CRLF = QStringLiteral("\r\n");

// A colour as the classic 0x00BBGGRR value: red is 0x0000FF, dark grey 0x404040.
QColor ColorFromBgr(int bgr);
int BgrFromColor(const QColor& color);

// The font of every window: the proportional gothic face the layouts were measured in, then its
// metric-compatible stand-in.
QFont GameFont(double pointSize = 12.0);

class QPainter;

class Label : public QLabel
{
    Q_OBJECT
public:
    explicit Label(QWidget* parent, const QString& caption = QString());
    // The caption as the game wrote it (lines joined by CR LF).
    const QString& Caption() const { return caption_; }
    void setCaption(const QString& caption);

signals:
    void clicked();

protected:
    // A press of the left button is a click. The second press of a double click is not: it
    // arrives as a double-click event, which a label ignores.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QString caption_;
};

// A filled rectangle, such as one bar of the speed gauge.
class Shape : public QWidget
{
    Q_OBJECT
public:
    explicit Shape(QWidget* parent, int fillBgr = 0x404040, int cornerRadius = 0);
    int FillColor() const { return fill_; }
    void setFillColor(int bgr);
    // Draws the shape another way: draw(painter, box, fill) in the designed pixels of the box,
    // in place of the solid fill in its border. None: the designed look.
    using Look = std::function<void(QPainter&, const QRectF&, const QColor&)>;
    void setLook(Look draw);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int fill_;
    int radius_;
    Look look_;
};

// A line drawn in one colour; it takes no mouse input.
class Line : public QWidget
{
    Q_OBJECT
public:
    Line(QWidget* parent, QPoint from, QPoint to, int bgr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPoint from_;
    QPoint to_;
    QColor color_;
};

// An option button. Becoming marked, by a click or from code, runs the click handler once;
// marking a button that is already marked runs nothing.
class OptionButton : public QRadioButton
{
    Q_OBJECT
public:
    OptionButton(const QString& caption, QWidget* parent, std::function<void()> onClick = {});
    // The handler a marking runs; set by whoever wires the window to its handlers.
    void setOnClick(std::function<void()> onClick) { onClick_ = std::move(onClick); }
    bool Value() const { return isChecked(); }
    void setValue(bool marked);

private:
    std::function<void()> onClick_;
};
