// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/modern_look.h"

#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

#include "screens/form_main.h"
#include "screens/form_rank.h"
#include "view/scaled_scene.h"

namespace {

const char* const ClassicStyle = "tavolnikClassicStyle";
const QColor Ink(43, 34, 51);  // the outline colour of the game's sprites

// The panel's dark ground, lighter at the top.
QLinearGradient darkGround(qreal height)
{
    QLinearGradient ground(0, 0, 0, height);
    ground.setColorAt(0, QColor(46, 52, 68));
    ground.setColorAt(1, QColor(21, 24, 33));
    return ground;
}

// A rounded box: a soft fill and a hairline edge.
void roundedBox(QPainter& p, const QRectF& box, qreal radius, const QBrush& fill, const QColor& edge)
{
    p.setPen(edge.isValid() ? QPen(edge, 1) : QPen(Qt::NoPen));
    p.setBrush(fill);
    p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

// Where a control of a scene stands in the scene's designed pixels.
QRectF designedRect(const QWidget* control)
{
    const qreal factor = ScaledScene::factorOf(control);
    const QRectF at(control->geometry());
    return QRectF(at.topLeft() / factor, at.size() / factor);
}

// A caption on a plate of its colour, right-aligned against `right`, never left of `leftmost`.
void labelPlate(QPainter& p, const Label* label, qreal top, qreal right, qreal leftmost)
{
    const QColor colour = label->property("tavolnikColour").value<QColor>();
    const QFont font = GameFont(12);
    p.setFont(font);
    const qreal text = QFontMetricsF(font).horizontalAdvance(label->Caption());
    QRectF plate(right - text - 12, top, text + 12, 19);
    if (plate.left() < leftmost) plate.setLeft(leftmost);
    QLinearGradient fill(0, plate.top(), 0, plate.bottom());
    fill.setColorAt(0, colour.lighter(125));
    fill.setColorAt(1, colour);
    roundedBox(p, plate, 4, fill, colour.darker(160));
    // Dark text on the light colours (yellow, green), white on the deep ones (pink, blue).
    const double luminance = 0.299 * colour.red() + 0.587 * colour.green() + 0.114 * colour.blue();
    p.setPen(luminance > 140 ? QColor(20, 23, 31) : QColor(Qt::white));
    p.drawText(plate, Qt::AlignCenter, label->Caption());
}

void paintPanel(QPainter& p, QSizeF size, const form_Main& race)
{
    // The ground everywhere but the portrait, whose corners it rounds.
    QPainterPath ground;
    ground.addRect(QRectF(QPointF(), size));
    QPainterPath portrait;
    portrait.addRoundedRect(QRectF(500, 0, 100, 120), 7, 7);
    p.fillPath(ground.subtracted(portrait), darkGround(size.height()));
    p.fillRect(QRectF(0, 0, size.width(), 1), QColor(255, 255, 255, 40));

    // The gauge's well and the divider beside it.
    roundedBox(p, QRectF(4, 21, 49, 89), 5, QColor(0, 0, 0, 80), QColor(255, 255, 255, 22));
    p.fillRect(QRectF(63, 8, 1, 104), QColor(255, 255, 255, 30));

    labelPlate(p, race.Label2, 1, 57, 4);
    labelPlate(p, race.Label3, 3, 155, 67);
    labelPlate(p, race.Label5, 35, 155, 67);
    labelPlate(p, race.Label7, 67, 155, 67);

    // The value boxes, sunk into the panel.
    for (const Label* box : {race.lbl_Mode, race.lbl_Time, race.lbl_Dist}) {
        const QRectF r = designedRect(box);
        roundedBox(p, r, 5, QColor(10, 12, 18), QColor(255, 255, 255, 45));
        p.fillRect(QRectF(r.left() + 4, r.top() + 1.5, r.width() - 8, 1), QColor(0, 0, 0, 120));
    }

    // The message bubble, with a soft shadow.
    const QRectF bubble = designedRect(race.lbl_Msg).adjusted(0, 0, 0, -1);
    roundedBox(p, bubble.translated(1, 2), 8, QColor(0, 0, 0, 70), QColor());
    roundedBox(p, bubble, 8, QColor(253, 252, 247), QColor(190, 196, 208));
}

// A segment of the gauge: a rounded bar with a sheen, lit or dark as the design colours it.
void gaugeSegment(QPainter& p, const QRectF& box, const QColor& fill)
{
    const bool lit = BgrFromColor(fill) != GaugeDark;
    const QColor base = lit ? fill : QColor(58, 64, 80);
    const QRectF bar = box.adjusted(1, 1.5, -1, -0.5);
    QLinearGradient sheen(0, bar.top(), 0, bar.bottom());
    sheen.setColorAt(0, base.lighter(lit ? 150 : 120));
    sheen.setColorAt(1, lit ? base.darker(115) : base);
    roundedBox(p, bar, 2.5, sheen, lit ? base.darker(170) : QColor(0, 0, 0, 90));
}

// Sets a label's style sheet, keeping the designed one to go back to.
void restyle(Label* label, bool modern, const QString& modernStyle)
{
    if (!label->property(ClassicStyle).isValid()) {
        label->ensurePolished();
        label->setProperty(ClassicStyle, label->styleSheet());
        label->setProperty("tavolnikColour", label->palette().color(QPalette::WindowText));
    }
    label->setStyleSheet(modern ? modernStyle : label->property(ClassicStyle).toString());
}

// The colour of a ranking row's text on the modern window's dark ground: the design's colour,
// lifted where it is too deep to read there.
QColor rankRowColour(int row)
{
    switch (row) {
    case 0: return QColor(255, 92, 160);
    case 1: return QColor(120, 150, 255);
    case 2: return QColor(60, 235, 130);
    default: return QColor(200, 206, 218);
    }
}

void paintRankWindow(QPainter& p, QSizeF size, const form_Rank& rank)
{
    p.fillRect(QRectF(QPointF(), size), darkGround(size.height()));
    const int entry = EntryRowOf(rank);
    for (int row = 0; row < form_Rank::Rows; ++row) {
        const QRectF band(4, 5 + 24 * row, 321, 22);
        if (row == entry) {
            // The new result: a warm band that glows while its name is typed.
            roundedBox(p, band.adjusted(-1, -1, 1, 1), 6, QColor(255, 190, 40, 60), QColor());
            roundedBox(p, band, 5, QColor(255, 190, 40, 90), QColor(255, 200, 70));
        } else {
            roundedBox(p, band, 5, QColor(255, 255, 255, row % 2 ? 14 : 24), QColor());
        }
        const Medal medal = MedalOfRow(row);
        if (medal != Medal::None) PaintMedal(p, QRectF(9, 5 + 24 * row, 22, 22), medal);
    }
    p.fillRect(QRectF(232, 8, 1, 113), QColor(255, 255, 255, 40));
}

} // namespace

Backdrop::Backdrop(QWidget* parent, std::function<void(QPainter&, QSizeF)> paint)
    : QWidget(parent), paint_(std::move(paint))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Backdrop::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal factor = ScaledScene::factorOf(this);
    p.scale(factor, factor);
    paint_(p, QSizeF(width() / factor, height() / factor));
}

Medal MedalOfRow(int row)
{
    switch (row) {
    case 0: return Medal::Gold;
    case 1: return Medal::Silver;
    case 2: return Medal::Bronze;
    default: return Medal::None;
    }
}

void PaintMedal(QPainter& p, const QRectF& box, Medal medal)
{
    if (medal == Medal::None) return;
    const int place = int(medal);
    static const QColor light[] = {{}, {255, 236, 140}, {248, 250, 252}, {246, 190, 140}};
    static const QColor deep[] = {{}, {212, 160, 23}, {160, 168, 178}, {160, 88, 42}};
    const QPointF c = box.center() + QPointF(0, 1.5);
    const qreal r = box.width() / 2 - 2;
    // The ribbon, behind the disc.
    p.setPen(QPen(Ink, 1));
    p.setBrush(QColor(232, 70, 58));
    p.drawPolygon(QPolygonF({c + QPointF(-r, -r - 2), c + QPointF(-r * 0.2, -r - 2), c + QPointF(0, 0), c + QPointF(-r * 0.5, 0)}));
    p.setBrush(QColor(60, 110, 230));
    p.drawPolygon(QPolygonF({c + QPointF(r, -r - 2), c + QPointF(r * 0.2, -r - 2), c + QPointF(0, 0), c + QPointF(r * 0.5, 0)}));
    QRadialGradient shine(c + QPointF(-r / 3, -r / 3), r * 1.4);
    shine.setColorAt(0, light[place]);
    shine.setColorAt(1, deep[place]);
    p.setBrush(shine);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(deep[place].darker(130), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r - 2.5, r - 2.5);
    QFont digits = GameFont(8.5);
    p.setFont(digits);
    p.setPen(Ink);
    p.drawText(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), Qt::AlignCenter, QString::number(place));
}

int EntryRowOf(const form_Rank& rank)
{
    for (int row = 0; row < form_Rank::Rows; ++row)
        if (!rank.txt_Nm[row]->isHidden()) return row;
    return -1;
}

void DressPanel(form_Main& race, bool modern)
{
    auto* backdrop = race.Frame1->findChild<Backdrop*>(QString(), Qt::FindDirectChildrenOnly);
    if (!backdrop && modern) {
        backdrop = new Backdrop(race.Frame1, [&race](QPainter& p, QSizeF size) { paintPanel(p, size, race); });
        ScaledScene::place(backdrop, QRect(0, 0, 601, 121));
        backdrop->lower();
    }
    if (backdrop) backdrop->setVisible(modern);

    // The captions are drawn on their plates; their labels stay, and hold the texts.
    for (Label* caption : {race.Label2, race.Label3, race.Label5, race.Label7})
        restyle(caption, modern, QStringLiteral("color: transparent; background: transparent;"));
    // The boxes and the bubble are drawn below their labels; the labels' texts stay in place.
    for (Label* box : {race.lbl_Mode, race.lbl_Time, race.lbl_Dist})
        restyle(box, modern, QStringLiteral("color: white; background: transparent; border: 1px solid transparent;"));
    restyle(race.lbl_Msg, modern, QStringLiteral("color: black; background: transparent; border: 1px solid transparent;"));
    race.Line1->setVisible(!modern);
    race.Line2->setVisible(!modern);
    for (Shape* bar : race.bar_Speed) bar->setLook(modern ? Shape::Look(gaugeSegment) : Shape::Look());
}

void DressRankWindow(form_Rank& rank)
{
    auto* backdrop = new Backdrop(&rank, [&rank](QPainter& p, QSizeF size) { paintRankWindow(p, size, rank); });
    ScaledScene::place(backdrop, QRect(0, 0, form_Rank::ClientWidth, rank.ClientHeight()));
    backdrop->lower();

    QPalette palette = rank.palette();
    palette.setColor(QPalette::Window, QColor(21, 24, 33));
    palette.setColor(QPalette::WindowText, QColor(232, 236, 244));
    rank.setPalette(palette);

    // The medals stand for the top three's places; the fourth and fifth keep theirs.
    Label* places[form_Rank::Rows] = {rank.Label1, rank.Label2, rank.Label3, rank.Label4, rank.Label5};
    for (int row = 0; row < form_Rank::Rows; ++row) {
        if (MedalOfRow(row) != Medal::None) places[row]->hide();
        for (QWidget* text : {static_cast<QWidget*>(places[row]), static_cast<QWidget*>(rank.lbl_Nm[row]),
                              static_cast<QWidget*>(rank.lbl_Score[row])}) {
            QPalette own = text->palette();
            own.setColor(QPalette::WindowText, rankRowColour(row));
            text->setPalette(own);
        }
        rank.txt_Nm[row]->setStyleSheet(QStringLiteral(
            "QLineEdit { border: 1px solid rgb(255, 200, 70); padding: 0px; background: rgb(255, 253, 245);"
            " color: black; }"));
    }
    rank.Line1->hide();
}
