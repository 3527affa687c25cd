// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A window of any size showing a layout made for one size. The layout stays the designed one,
// in the designed pixels: the scene is drawn at the largest size that fits the window with its
// proportions kept, centred, on bars of the window's background colour. Every control is laid
// out afresh at that size with its text set at that size, and every picture is drawn afresh
// from its source once the size has settled, so nothing stays a blown-up bitmap. Pictures keep their Left and Top in
// the designed pixels, so whatever reads them reads the same at every size.
#pragma once

#include <QFont>
#include <QHash>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <functional>
#include <vector>

class Picture;
class PictureLayer;
class QWidget;

class ScaledScene : public QObject
{
    Q_OBJECT
public:
    // host: the widget the scene fills (a window, or a window's central widget); designed: the
    // size the scene's layout is made for.
    ScaledScene(QWidget* host, QSize designed);
    // Once the whole layout is in the host at its designed size: its controls, their fonts and
    // the picture layers among them are taken as they are now, and from then on the scene
    // follows the host's size.
    void takeLayout();

    // Shows the picture drawn by draw(device-pixel ratio), and draws it afresh whenever the
    // scene's size changes. A picture showing another's image then shows that image afresh too.
    void showDrawn(Picture* picture, std::function<QPixmap(qreal dpr)> draw);

    // Lays out a control that comes after the rest, at its designed place in the scene.
    static void place(QWidget* control, const QRect& designed);
    // The factor the scene that holds the widget is drawn at: 1 outside a scene and at the
    // designed size. Controls that draw themselves draw at this factor.
    static qreal factorOf(const QWidget* widget);

    qreal factor() const { return factor_; }
    // Where the scene lies in the host, in the host's pixels.
    QRect sceneRect() const { return sceneRect_; }
    // The size of the host at which the scene is drawn at factor times its designed size.
    QSize hostSizeAt(qreal factor) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Control {
        QPointer<QWidget> widget;
        QRect designed;
        bool ownFont;
        QFont font;
        bool onHost;  // a child of the host itself: placed in the centred scene
    };
    void take(QWidget* widget, bool onHost);
    void takeTree(QWidget* parent, bool onHost);
    void fit();
    void layOut(const Control& control) const;
    void redrawPictures();

    QWidget* host_;
    QSize designed_;
    QFont hostFont_;
    qreal factor_ = 1;
    QRect sceneRect_;
    std::vector<Control> controls_;
    std::vector<QPointer<PictureLayer>> layers_;
    struct Source {
        std::function<QPixmap(qreal)> draw;
        qint64 key;  // the image last drawn from it
    };
    std::vector<Source> sources_;
    QTimer redrawTimer_;
};
