// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's pictures: every one renders, at the size the screens lay it out at,
// sprites that move over the road leave the road visible at their corners, and the
// road tile repeats without a seam and has its cross street where the traffic uses it.

#include <QDir>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtMath>
#include <QtTest>

#include <algorithm>

#include "view/picture.h"
#include "view/picture_drawing.h"

#ifndef TAVOLNIK_PICTURES_DIR
#error "TAVOLNIK_PICTURES_DIR must name the folder of the game's .svg pictures"
#endif

namespace {

struct PictureEntry {
    const char *name;
    int width;
    int height;
    bool sprite; // moves over the road, so its background must be transparent
};

const PictureEntry kPictures[] = {
    {"road", 601, 303, false},
    {"car1", 117, 50, true},       {"car2", 117, 50, true},
    {"car3", 164, 96, true},       {"car4", 164, 96, true},
    {"car5", 63, 114, true},       {"car6", 63, 114, true},
    {"jetr1", 77, 77, true},       {"jetr2", 77, 77, true},      {"jetr3", 77, 77, true},
    {"jetr4", 77, 77, true},       {"jetr5", 77, 77, true},      {"jetr6", 77, 77, false},
    {"zenta1", 100, 120, false},   {"zenta2", 100, 120, false},
    {"zenta3", 100, 120, false},   {"zenta4", 100, 120, false},
    {"zenta5", 100, 120, false},   {"zenta6", 100, 120, false},  {"retsu_face", 100, 120, false},
    {"retsu1", 36, 66, true},      {"retsu2", 36, 66, true},     {"retsu_full", 81, 171, false},
    {"puddle", 66, 38, true},      {"cones", 79, 36, true},
    {"clear", 344, 254, false},    {"happyend", 344, 254, false},
    {"logo", 307, 19, false},      {"credit", 271, 12, false},
    {"icon", 256, 256, false},
};

QString picturePath(const QString &name)
{
    return QDir(QStringLiteral(TAVOLNIK_PICTURES_DIR)).filePath(name + QStringLiteral(".svg"));
}

QImage renderPicture(const QString &name, int scale)
{
    QSvgRenderer renderer(picturePath(name));
    if (!renderer.isValid())
        return {};
    QImage image(renderer.defaultSize() * scale, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(image.size())));
    p.end();
    return image;
}

int colourDistance(QRgb a, QRgb b)
{
    return qMax(qMax(qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b))),
                qMax(qAbs(qBlue(a) - qBlue(b)), qAbs(qAlpha(a) - qAlpha(b))));
}

// The commonest colour of a region: on the road tile's middle band that is the
// carriageway's own grey, whatever marks are painted over it.
QRgb commonestColour(const QImage &image, const QRect &region)
{
    QHash<QRgb, int> counts;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb best = 0;
    int bestCount = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > bestCount) {
            best = it.key();
            bestCount = it.value();
        }
    }
    return best;
}

// Share of the pixels in a region that are within a few levels of a colour.
double shareOf(const QImage &image, const QRect &region, QRgb colour)
{
    int hits = 0;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if (colourDistance(image.pixel(x, y), colour) <= 6)
                ++hits;
    return double(hits) / double(region.width() * region.height());
}

} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    void picturesRenderAtTheirLaidOutSize_data();
    void picturesRenderAtTheirLaidOutSize();
    void picturesUseOnlyWhatQtSvgDraws_data();
    void picturesUseOnlyWhatQtSvgDraws();
    void spritesLeaveTheRoadVisibleAtTheirCorners_data();
    void spritesLeaveTheRoadVisibleAtTheirCorners();
    void folderHoldsOnlyPicturesTheGameLoads();
    void roadTilesJoinWithoutASeam_data();
    void roadTilesJoinWithoutASeam();
    void crossStreetMouthCutsThroughBothPavements();
    void stopLinesFlankTheMouth();
    void picturesComeReadyDrawnAsTheGameDrawsThem_data();
    void picturesComeReadyDrawnAsTheGameDrawsThem();
    void picturesDrawnPixelForPixelAtAnyScale_data();
    void picturesDrawnPixelForPixelAtAnyScale();
};

void TestPictures::picturesRenderAtTheirLaidOutSize_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    for (const PictureEntry &entry : kPictures)
        QTest::newRow(entry.name) << QString::fromLatin1(entry.name) << QSize(entry.width, entry.height);
}

void TestPictures::picturesRenderAtTheirLaidOutSize()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);

    QVERIFY2(QFileInfo::exists(picturePath(name)), qPrintable(picturePath(name)));
    QSvgRenderer renderer(picturePath(name));
    QVERIFY(renderer.isValid());
    QCOMPARE(renderer.defaultSize(), size);
    QCOMPARE(renderer.viewBoxF(), QRectF(QPointF(0, 0), QSizeF(size)));

    // Something is drawn, and more than one flat colour of it.
    const QImage image = renderPicture(name, 1);
    QSet<QRgb> colours;
    for (int y = 0; y < image.height() && colours.size() < 3; ++y)
        for (int x = 0; x < image.width() && colours.size() < 3; ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                colours.insert(image.pixel(x, y));
    QVERIFY2(colours.size() >= 3, "the picture is blank or a single flat colour");
}

void TestPictures::picturesUseOnlyWhatQtSvgDraws_data()
{
    QTest::addColumn<QString>("name");
    for (const PictureEntry &entry : kPictures)
        QTest::newRow(entry.name) << QString::fromLatin1(entry.name);
}

void TestPictures::picturesUseOnlyWhatQtSvgDraws()
{
    // Qt SVG draws the Tiny profile: filters, masks, clip paths, style sheets and
    // embedded HTML are dropped without a word, so the picture would silently
    // look different from the drawing.
    QFETCH(QString, name);
    QFile file(picturePath(name));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString source = QString::fromUtf8(file.readAll());
    static const char *const unsupported[] = {"<filter", "<mask", "<clipPath", "<style", "<foreignObject",
                                              "<image", " class=", "filter=", "mask=", "clip-path="};
    for (const char *feature : unsupported)
        QVERIFY2(!source.contains(QLatin1String(feature)), feature);
}

void TestPictures::spritesLeaveTheRoadVisibleAtTheirCorners_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("scale");
    for (const PictureEntry &entry : kPictures) {
        if (!entry.sprite)
            continue;
        for (int scale : {1, 2})
            QTest::addRow("%s@%dx", entry.name, scale) << QString::fromLatin1(entry.name) << scale;
    }
}

void TestPictures::spritesLeaveTheRoadVisibleAtTheirCorners()
{
    QFETCH(QString, name);
    QFETCH(int, scale);

    const QImage image = renderPicture(name, scale);
    QVERIFY(!image.isNull());
    const int r = image.width() - 1;
    const int b = image.height() - 1;
    for (const QPoint &corner : {QPoint(0, 0), QPoint(r, 0), QPoint(0, b), QPoint(r, b)}) {
        QVERIFY2(qAlpha(image.pixel(corner)) == 0,
                 qPrintable(QStringLiteral("corner %1,%2 is painted").arg(corner.x()).arg(corner.y())));
    }
}

void TestPictures::folderHoldsOnlyPicturesTheGameLoads()
{
    QStringList known;
    for (const PictureEntry &entry : kPictures)
        known << QString::fromLatin1(entry.name) + QStringLiteral(".svg");
    const QStringList present =
        QDir(QStringLiteral(TAVOLNIK_PICTURES_DIR)).entryList({QStringLiteral("*.svg")}, QDir::Files);
    for (const QString &file : present)
        QVERIFY2(known.contains(file), qPrintable(file + QStringLiteral(" is not a picture of the game")));
}

void TestPictures::roadTilesJoinWithoutASeam_data()
{
    QTest::addColumn<int>("scale");
    QTest::newRow("1x") << 1;
    QTest::newRow("2x") << 2;
}

void TestPictures::roadTilesJoinWithoutASeam()
{
    QFETCH(int, scale);
    const QImage tile = renderPicture(QStringLiteral("road"), scale);
    QCOMPARE(tile.size(), QSize(601, 303) * scale);

    // The race lays the first column of one tile right after the last column of
    // the other: those two columns must carry the same bands.
    const int last = tile.width() - 1;
    int worst = 0;
    int worstRow = -1;
    for (int y = 0; y < tile.height(); ++y) {
        QCOMPARE(qAlpha(tile.pixel(0, y)), 255);
        const int d = colourDistance(tile.pixel(0, y), tile.pixel(last, y));
        if (d > worst) {
            worst = d;
            worstRow = y;
        }
    }
    QVERIFY2(worst <= 8, qPrintable(QStringLiteral("edges differ by %1 at row %2").arg(worst).arg(worstRow)));
}

void TestPictures::crossStreetMouthCutsThroughBothPavements()
{
    const QImage tile = renderPicture(QStringLiteral("road"), 1);
    const QRgb carriageway = commonestColour(tile, QRect(0, 100, 601, 40));

    // The pavements lie above y 38 and below y 264; the cross street's asphalt
    // crosses them only at its mouth, x 260..339.
    const QRect bands[] = {QRect(0, 0, 601, 34), QRect(0, 270, 601, 33)};
    for (const QRect &band : bands) {
        const QRect mouth(262, band.top(), 76, band.height());
        const QRect westOfMouth(0, band.top(), 240, band.height());
        const QRect eastOfMouth(362, band.top(), 239, band.height());
        QVERIFY2(shareOf(tile, mouth, carriageway) > 0.3, "no cross street in the pavement at x 260..339");
        QVERIFY2(shareOf(tile, westOfMouth, carriageway) < 0.02, "the pavement is broken west of the mouth");
        QVERIFY2(shareOf(tile, eastOfMouth, carriageway) < 0.02, "the pavement is broken east of the mouth");
    }
}

void TestPictures::stopLinesFlankTheMouth()
{
    const QImage tile = renderPicture(QStringLiteral("road"), 1);
    // A stop line is a column of near-white across most of the carriageway.
    auto hasStopLine = [&tile](int fromX, int toX) {
        for (int x = fromX; x <= toX; ++x) {
            int white = 0;
            for (int y = 60; y < 240; ++y) {
                const QRgb c = tile.pixel(x, y);
                if (qRed(c) > 235 && qGreen(c) > 235 && qBlue(c) > 235)
                    ++white;
            }
            if (white > 180 * 8 / 10)
                return true;
        }
        return false;
    };
    QVERIFY2(hasStopLine(220, 259), "no stop line west of the mouth");
    QVERIFY2(hasStopLine(340, 379), "no stop line east of the mouth");
    QVERIFY2(!hasStopLine(0, 200), "a line across the carriageway far from the junction");
}

// The build draws every picture ahead at its own size at 1x and 2x; what the game takes from
// there is what it would have drawn itself. Another size is still drawn from the SVG.
void TestPictures::picturesComeReadyDrawnAsTheGameDrawsThem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<qreal>("dpr");
    QTest::addColumn<bool>("ready");
    for (const PictureEntry &entry : kPictures) {
        const QSize size(entry.width, entry.height);
        for (int ratio : {1, 2})
            QTest::addRow("%s@%dx", entry.name, ratio) << QString::fromLatin1(entry.name) << size << qreal(ratio) << true;
    }
    QTest::newRow("car1, wider than its own size") << "car1" << QSize(130, 50) << qreal(1) << false;
    QTest::newRow("road at 1.5x") << "road" << QSize(601, 303) << qreal(1.5) << false;
}

void TestPictures::picturesComeReadyDrawnAsTheGameDrawsThem()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(qreal, dpr);
    QFETCH(bool, ready);
    const QString source = QStringLiteral(":/pictures/%1.svg").arg(name);
    if (ready) {
        const QString file = QStringLiteral(":/prerendered/") + PrerenderedFileName(name, int(dpr));
        QVERIFY2(QFile::exists(file), qPrintable(file));
    }
    const QPixmap taken = RenderPicture(source, size.width(), size.height(), dpr);
    QCOMPARE(taken.devicePixelRatio(), dpr);
    const QImage got = taken.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage drawn = DrawPicture(source, size.width(), size.height(), dpr);
    QCOMPARE(got.size(), drawn.size());
    // Stored as a PNG the colours of half-transparent edges may round by a step.
    int worst = 0;
    for (int y = 0; y < got.height(); ++y) {
        const QRgb *a = reinterpret_cast<const QRgb *>(got.constScanLine(y));
        const QRgb *b = reinterpret_cast<const QRgb *>(drawn.constScanLine(y));
        for (int x = 0; x < got.width(); ++x)
            worst = std::max({worst, std::abs(qRed(a[x]) - qRed(b[x])), std::abs(qGreen(a[x]) - qGreen(b[x])),
                              std::abs(qBlue(a[x]) - qBlue(b[x])), std::abs(qAlpha(a[x]) - qAlpha(b[x]))});
    }
    QVERIFY2(worst <= 2, qPrintable(QString::number(worst)));
}

// Drawn at the very size shown and copied pixel for pixel, at any scale of screen (x) and window (y).
void TestPictures::picturesDrawnPixelForPixelAtAnyScale_data()
{
    QTest::addColumn<QPointF>("scales");
    for (QPointF scales : {QPointF(1, 1), {1.75, 1}, {2, 1}, {2, 1.25}, {4, 1}, {1, 1.75}})
        QTest::addRow("screen %g, window %g", scales.x(), scales.y()) << scales;
}

void TestPictures::picturesDrawnPixelForPixelAtAnyScale()
{
    QFETCH(QPointF, scales);
    const qreal scale = scales.x() * scales.y();
    const QPixmap road = RenderPicture(QStringLiteral(":/pictures/road.svg"), 41, 23, scale);
    QCOMPARE(road.size(), QSize(qCeil(41 * scale), qCeil(23 * scale)));
    PictureLayer layer;
    layer.setDrawScale(scales.y());
    layer.add(QStringLiteral("road"), 13, 7, 41, 23, true)->setImage(road);
    QImage shot(layer.size() * scales.x(), QImage::Format_RGB32);
    shot.setDevicePixelRatio(scales.x());
    layer.render(&shot);
    shot.setDevicePixelRatio(scale);
    QCOMPARE(shot.copy(qRound(13 * scale), qRound(7 * scale), road.width(), road.height()), road.toImage().convertToFormat(QImage::Format_RGB32));
}

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
