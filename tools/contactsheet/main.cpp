// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// contactsheet: lays every picture of the game out on one PNG for a look-over.
//
//   contactsheet <folder with .svg files> <output .png> [pattern]
//
// With a pattern (a regular expression), only the pictures whose names match are
// laid out, which is handy while drawing one of them.
//
// The sheet shows, from the top: two road tiles side by side as the race screen
// joins them, the same strip with the cars, obstacles and the hero standing in
// their lanes, a close-up of the join beside the cross street's mouth at 2x, then
// every picture at 1x and 2x on a checkerboard (so transparent backgrounds show as
// such), and last the application icon at 16 to 64 px.

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace {

constexpr int kSheetWidth = 1260;
constexpr int kMargin = 16;
constexpr int kLabelHeight = 18;
constexpr int kGap = 14;

struct Picture {
    QString name;
    std::unique_ptr<QSvgRenderer> renderer;
    QSize size;
};

// Renders one picture at the given scale into a transparent image.
QImage render(QSvgRenderer &renderer, QSize size, int scale)
{
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(size * scale)));
    return image;
}

void drawChecker(QPainter &p, const QRect &r)
{
    p.save();
    p.setClipRect(r);
    const int cell = 8;
    for (int y = r.top(); y <= r.bottom(); y += cell) {
        for (int x = r.left(); x <= r.right(); x += cell) {
            const bool dark = (((x - r.left()) / cell) + ((y - r.top()) / cell)) % 2;
            p.fillRect(x, y, cell, cell, dark ? QColor(0xcc, 0xcc, 0xcc) : QColor(0xf4, 0xf4, 0xf4));
        }
    }
    p.restore();
}

void drawLabel(QPainter &p, int x, int y, const QString &text)
{
    p.setPen(QColor(0x20, 0x20, 0x20));
    p.drawText(QRect(x, y, kSheetWidth - x - kMargin, kLabelHeight), Qt::AlignLeft | Qt::AlignVCenter,
               text);
}

// Where each sprite stands on the two-tile road strip for the lane check: the
// tops are the lanes the race uses, the lefts just spread them out.
struct Placement {
    const char *name;
    int left;
    int top;
};

// Lowest first, in the race screen's stacking order.
const Placement kScene[] = {
    {"retsu1", 1040, 0},   {"puddle", 150, 216}, {"cones", 520, 136},  {"puddle", 1100, 216},
    {"cones", 980, 48},    {"car3", 640, 48},    {"car1", 30, 72},     {"car5", 268, -40},
    {"car6", 869, 200},    {"jetr1", 380, 110},  {"car2", 420, 184},   {"car4", 1000, 152},
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: contactsheet <svg folder> <output png> [name pattern]\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QString outPath = QString::fromLocal8Bit(argv[2]);
    const QRegularExpression pattern(argc == 4 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral(".*"));

    std::vector<Picture> pictures;
    std::map<QString, Picture *> byName;
    int failures = 0;
    const QStringList files = folder.entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name);
    for (const QString &file : files) {
        Picture pic;
        pic.name = QFileInfo(file).completeBaseName();
        if (!pattern.match(pic.name).hasMatch())
            continue;
        pic.renderer = std::make_unique<QSvgRenderer>(folder.filePath(file));
        if (!pic.renderer->isValid()) {
            std::fprintf(stderr, "contactsheet: %s does not render\n", qPrintable(file));
            ++failures;
            continue;
        }
        pic.size = pic.renderer->defaultSize();
        pictures.push_back(std::move(pic));
    }
    for (Picture &pic : pictures)
        byName[pic.name] = &pic;
    if (pictures.empty()) {
        std::fprintf(stderr, "contactsheet: no pictures in %s\n", argv[1]);
        return 1;
    }

    // Lay the grid out first, to know how tall the sheet must be.
    struct Cell {
        const Picture *pic;
        QPoint at;
    };
    std::vector<Cell> cells;
    const Picture *road = byName.count("road") ? byName["road"] : nullptr;
    int y = kMargin;
    if (road) {
        y += kLabelHeight + road->size.height() + kGap;     // the two tiles
        y += kLabelHeight + road->size.height() + kGap;     // the lanes
        y += kLabelHeight + 2 * road->size.height() + kGap; // the join, close up
    }
    int x = kMargin;
    int rowHeight = 0;
    for (const Picture &pic : pictures) {
        if (&pic == road)
            continue;
        const int w = pic.size.width() * 3 + 8;
        const int h = kLabelHeight + pic.size.height() * 2;
        const int cw = std::max(w, 150);
        if (x + cw > kSheetWidth - kMargin && x > kMargin) {
            x = kMargin;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        cells.push_back({&pic, QPoint(x, y)});
        x += cw + kGap;
        rowHeight = std::max(rowHeight, h);
    }
    // The application icon also goes out small: it must still read at 16 px.
    const Picture *icon = byName.count("icon") ? byName["icon"] : nullptr;
    const int iconSizes[] = {16, 24, 32, 48, 64};
    const int iconRowTop = y + rowHeight + kGap;
    if (icon)
        y = iconRowTop + kLabelHeight + 64 - rowHeight;
    const int sheetHeight = y + rowHeight + kMargin;

    QImage sheet(kSheetWidth, sheetHeight, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(0xfa, 0xfa, 0xf6));
    QPainter p(&sheet);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    p.setFont(font);

    y = kMargin;
    if (road) {
        const QImage tile = render(*road->renderer, road->size, 1);
        const int tw = tile.width();
        const int th = tile.height();
        drawLabel(p, kMargin, y, QStringLiteral("road x2, as the race joins it (the join is at x %1)").arg(tw));
        y += kLabelHeight;
        p.drawImage(kMargin, y, tile);
        p.drawImage(kMargin + tw, y, tile);
        y += th + kGap;

        drawLabel(p, kMargin, y, QStringLiteral("lanes: cars, obstacles and the hero at the tops the race uses"));
        y += kLabelHeight;
        QImage strip(2 * tw, th, QImage::Format_ARGB32_Premultiplied);
        strip.fill(Qt::transparent);
        {
            QPainter sp(&strip);
            sp.drawImage(0, 0, tile);
            sp.drawImage(tw, 0, tile);
            for (const Placement &pl : kScene) {
                auto it = byName.find(QString::fromLatin1(pl.name));
                if (it == byName.end())
                    continue;
                sp.drawImage(pl.left, pl.top, render(*it->second->renderer, it->second->size, 1));
            }
        }
        p.drawImage(kMargin, y, strip);
        y += th + kGap;

        drawLabel(p, kMargin, y, QStringLiteral("the join, 2x (nearest pixels), and the cross street's mouth rendered at 2x"));
        y += kLabelHeight;
        // Left: 150 px either side of the join, blown up 2x without smoothing.
        QImage join(300, th, QImage::Format_ARGB32_Premultiplied);
        {
            QPainter jp(&join);
            jp.drawImage(0, 0, tile, tw - 150, 0, 150, th);
            jp.drawImage(150, 0, tile, 0, 0, 150, th);
        }
        p.drawImage(QRect(kMargin, y, 600, th * 2), join);
        // Right: the mouth of the cross street (x 260..339) rendered at 2x.
        const QImage tile2 = render(*road->renderer, road->size, 2);
        p.drawImage(QPoint(kMargin + 620, y), tile2.copy(2 * 222, 0, 600, 2 * th));
        y += 2 * th + kGap;
    }

    for (const Cell &cell : cells) {
        const Picture &pic = *cell.pic;
        drawLabel(p, cell.at.x(), cell.at.y(),
                  QStringLiteral("%1  %2x%3").arg(pic.name).arg(pic.size.width()).arg(pic.size.height()));
        const int top = cell.at.y() + kLabelHeight;
        const QRect one(QPoint(cell.at.x(), top), pic.size);
        const QRect two(QPoint(cell.at.x() + pic.size.width() + 8, top), pic.size * 2);
        drawChecker(p, one);
        drawChecker(p, two);
        p.drawImage(one.topLeft(), render(*pic.renderer, pic.size, 1));
        p.drawImage(two.topLeft(), render(*pic.renderer, pic.size, 2));
    }
    if (icon) {
        drawLabel(p, kMargin, iconRowTop, QStringLiteral("icon at 16, 24, 32, 48 and 64 px"));
        int ix = kMargin;
        for (int px : iconSizes) {
            QImage small(px, px, QImage::Format_ARGB32_Premultiplied);
            small.fill(Qt::transparent);
            QPainter ip(&small);
            ip.setRenderHint(QPainter::Antialiasing);
            icon->renderer->render(&ip, QRectF(0, 0, px, px));
            ip.end();
            p.drawImage(ix, iconRowTop + kLabelHeight, small);
            ix += px + kGap;
        }
    }
    p.end();

    if (!sheet.save(outPath)) {
        std::fprintf(stderr, "contactsheet: cannot write %s\n", qPrintable(outPath));
        return 1;
    }
    std::printf("contactsheet: %zu pictures -> %s\n", pictures.size(), qPrintable(outPath));
    return failures ? 1 : 0;
}
