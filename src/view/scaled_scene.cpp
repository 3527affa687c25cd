// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "view/scaled_scene.h"

#include "view/picture.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <algorithm>

namespace {
// The property by which a host names its scene.
constexpr const char* SceneProperty = "tavolnikScaledScene";

// A designed rectangle at a factor. Both edges are rounded, so controls that touch in the
// designed layout touch at every size.
QRect scaledRect(const QRect& r, qreal factor)
{
    const int left = qRound(r.x() * factor), top = qRound(r.y() * factor);
    return QRect(left, top, qRound((r.x() + r.width()) * factor) - left,
                 qRound((r.y() + r.height()) * factor) - top);
}

QFont scaledFont(QFont font, qreal factor)
{
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * factor);
    else if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, qRound(font.pixelSize() * factor)));
    return font;
}

const ScaledScene* sceneOf(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->isWindow() ? nullptr : w->parentWidget())
        if (auto* scene = qobject_cast<const ScaledScene*>(w->property(SceneProperty).value<QObject*>()))
            return scene;
    return nullptr;
}
} // namespace

ScaledScene::ScaledScene(QWidget* host, QSize designed)
    : QObject(host), host_(host), designed_(designed), sceneRect_(QPoint(), designed)
{
    host_->setProperty(SceneProperty, QVariant::fromValue<QObject*>(this));
    redrawTimer_.setSingleShot(true);
    redrawTimer_.setInterval(150);
    connect(&redrawTimer_, &QTimer::timeout, this, &ScaledScene::redrawPictures);
}

void ScaledScene::takeLayout()
{
    hostFont_ = host_->font();
    takeTree(host_, true);
    host_->installEventFilter(this);
}

void ScaledScene::take(QWidget* widget, bool onHost)
{
    const QRect designed = onHost ? widget->geometry().translated(-sceneRect_.topLeft()) : widget->geometry();
    controls_.push_back({widget, designed, widget->testAttribute(Qt::WA_SetFont), widget->font(), onHost});
    if (auto* layer = qobject_cast<PictureLayer*>(widget)) layers_.push_back(layer);
}

void ScaledScene::takeTree(QWidget* parent, bool onHost)
{
    for (QObject* child : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow()) continue;
        take(widget, onHost);
        // A control is laid out whole; a picture layer or a bare frame holds controls of its own.
        if (qobject_cast<PictureLayer*>(widget) || widget->metaObject() == &QWidget::staticMetaObject)
            takeTree(widget, false);
    }
}

void ScaledScene::showDrawn(Picture* picture, std::function<QPixmap(qreal dpr)> draw)
{
    const QPixmap image = draw(qApp->devicePixelRatio() * factor_);
    picture->setImage(image);
    sources_.push_back({std::move(draw), image.cacheKey()});
}

void ScaledScene::place(QWidget* control, const QRect& designed)
{
    auto* scene = const_cast<ScaledScene*>(sceneOf(control->parentWidget()));
    if (!scene) {
        control->setGeometry(designed);
        return;
    }
    const bool onHost = control->parentWidget() == scene->host_;
    scene->controls_.push_back({control, designed, control->testAttribute(Qt::WA_SetFont), control->font(), onHost});
    if (scene->factor_ != 1 && scene->controls_.back().ownFont)
        control->setFont(scaledFont(scene->controls_.back().font, scene->factor_));
    scene->layOut(scene->controls_.back());
}

qreal ScaledScene::factorOf(const QWidget* widget)
{
    const ScaledScene* scene = sceneOf(widget);
    return scene ? scene->factor_ : 1.0;
}

QSize ScaledScene::hostSizeAt(qreal factor) const
{
    return QSize(qRound(designed_.width() * factor), qRound(designed_.height() * factor));
}

bool ScaledScene::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == host_ && event->type() == QEvent::Resize) fit();
    return QObject::eventFilter(watched, event);
}

void ScaledScene::layOut(const Control& control) const
{
    if (!control.widget) return;
    QRect r = scaledRect(control.designed, factor_);
    if (control.onHost) r.translate(sceneRect_.topLeft());
    control.widget->setGeometry(r);
}

void ScaledScene::fit()
{
    const QSize area = host_->size();
    if (area.isEmpty() || designed_.isEmpty()) return;
    const qreal factor = std::min(qreal(area.width()) / designed_.width(), qreal(area.height()) / designed_.height());
    const bool rescaled = factor != factor_;
    factor_ = factor;
    const QSize size = hostSizeAt(factor);
    sceneRect_ = QRect(QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2), size);
    if (rescaled) {
        // The text is set at the new size: the host's font for the controls that take it, each
        // control's own font for the rest.
        host_->setFont(scaledFont(hostFont_, factor_));
        for (const Control& c : controls_)
            if (c.widget && c.ownFont) c.widget->setFont(scaledFont(c.font, factor_));
    }
    for (const Control& c : controls_) layOut(c);
    if (!rescaled) return;
    for (PictureLayer* layer : layers_)
        if (layer) layer->setDrawScale(factor_);
    // Drawing every picture afresh takes a moment at a large size (half a second for the race
    // screen on a 4K screen): while the window is being dragged larger the pictures already
    // drawn are shown stretched, and they are drawn afresh once the size has settled.
    redrawTimer_.start();
}

void ScaledScene::redrawPictures()
{
    const qreal dpr = qApp->devicePixelRatio() * factor_;
    QHash<qint64, QPixmap> redrawn;
    for (Source& source : sources_) {
        const QPixmap image = source.draw(dpr);
        redrawn.insert(source.key, image);
        source.key = image.cacheKey();
    }
    for (PictureLayer* layer : layers_) {
        if (!layer) continue;
        for (Picture* p : layer->pictures()) {
            const auto found = redrawn.constFind(p->imageKey());
            if (found != redrawn.constEnd()) p->setImage(*found);
        }
    }
}
