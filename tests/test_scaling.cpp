// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Scaling: at scale 2 every window is twice as large, laid out exactly as at scale 1 in the
// game's own coordinates, and drawn sharp, from the SVG sources and the fonts, instead of a
// blown-up bitmap. Each scale is rendered by this same program in a process of its own (the
// scale is fixed when the application starts), which saves the three windows as PNG files
// and writes down their layout and what lies under a grid of points.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMainWindow>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

#include "app/form_title.h"
#include "audio/media_recorder.h"
#include "race/race_state.h"
#include "runtime/random.h"
#include "view/screen_fit.h"
#include "scores/high_scores.h"
#include "flow/race_screen_wiring.h"
#include "race/stages.h"
#include "screens/form_main.h"
#include "screens/form_rank.h"

namespace {

// --- the rendering process ---

void describe(QWidget* window, const QString& name, QTextStream& out)
{
    out << name << " size " << window->width() << 'x' << window->height() << '\n';
    const QRect free = window->screen()->availableGeometry();
    // A window larger than its screen opens at the screen's corner.
    const QRect placed = window->frameGeometry();
    const bool fits = placed.width() <= free.width() && placed.height() <= free.height();
    out << name << " on its screen "
        << (fits ? free.contains(placed) : placed.topLeft() == free.topLeft()) << '\n';
    const QList<QWidget*> children = window->findChildren<QWidget*>();
    for (QWidget* w : children) {
        if (!w->isVisibleTo(window)) continue;
        const QPoint at = w->mapTo(window, QPoint(0, 0));
        out << name << " widget " << w->metaObject()->className() << ' ' << at.x() << ',' << at.y()
            << ' ' << w->width() << 'x' << w->height() << '\n';
        if (auto* layer = qobject_cast<PictureLayer*>(w)) {
            for (const Picture* p : layer->pictures()) {
                const QRect r = p->rect();
                out << name << " picture " << p->name() << ' ' << r.x() << ',' << r.y() << ' '
                    << r.width() << 'x' << r.height() << ' ' << p->Visible() << '\n';
            }
        }
    }
    // What a click would land on, every 8 pixels of the game's coordinates.
    for (int y = 0; y < window->height(); y += 8) {
        out << name << " hit " << y << ':';
        for (int x = 0; x < window->width(); x += 8) {
            QWidget* under = window->childAt(x, y);
            out << ' ' << (under ? under->metaObject()->className() : "-");
        }
        out << '\n';
    }
}

int renderWindows(const QByteArray& scale, const QString& folder)
{
    int argc = 1;
    char name[] = "test_scaling";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    SetWindowScale(scale.toInt());
    MediaRecorder sound;
    ResetRaceState();
    SetFixedSeed(7);

    QFile file(folder + QStringLiteral("/layout.txt"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) return 3;
    QTextStream out(&file);
    out << "dpr " << qApp->devicePixelRatio() << '\n';

    auto* title = new form_Title;
    title->show();
    QTest::mouseMove(title->surface, QPoint(150, 120));  // over 烈: his hint
    out << "title hint " << title->lbl_Msg->Caption() << '\n';
    describe(title, QStringLiteral("title"), out);
    title->grab().save(folder + QStringLiteral("/title.png"));

    // The race screen mid-race: traffic, the hero, a lit gauge and a message.
    auto* main = NewRaceScreen();
    main->Init_Car();
    main->Init_Zenta();
    main->img_JetR[0]->move(300, 120);
    main->img_Car1->move(40, 72);
    main->img_Car5->move(420, 150);
    main->img_Shogai[1]->move(200, 200);
    for (int k = 0; k <= 5; ++k) main->bar_Speed[k]->setFillColor(GaugeLit);
    main->lbl_Msg->setCaption(QStringLiteral("アクセルは「A」\r\nブレーキは「B」"));
    main->show();
    describe(main, QStringLiteral("main"), out);
    main->grab().save(folder + QStringLiteral("/main.png"));

    RankMode = RankStory;
    RankStage = SlotStage1;
    form_Rank* rank = form_Rank::create(main);
    rank->Set_Form();
    rank->show();
    describe(rank, QStringLiteral("rank"), out);
    rank->grab().save(folder + QStringLiteral("/rank.png"));
    out.flush();
    file.close();
    // Nothing after the pictures is of interest: no tear-down.
    std::fflush(stdout);
    std::_Exit(0);
}

// --- measures on the pictures ---

QImage gray(const QImage& image) { return image.convertToFormat(QImage::Format_Grayscale8); }

// Mean squared brightness step between neighbouring pixels: how sharp the edges are.
double edgeEnergy(const QImage& image)
{
    const QImage g = gray(image);
    double sum = 0;
    for (int y = 0; y + 1 < g.height(); ++y) {
        const uchar* row = g.constScanLine(y);
        const uchar* below = g.constScanLine(y + 1);
        for (int x = 0; x + 1 < g.width(); ++x) {
            const double dx = row[x + 1] - row[x];
            const double dy = below[x] - row[x];
            sum += dx * dx + dy * dy;
        }
    }
    return sum / (double(g.width()) * g.height());
}

// Share of the aligned 2 x 2 blocks whose pixels differ: zero for a bitmap blown up pixel by
// pixel, plenty for a drawing made at the larger size.
double detailedBlocks(const QImage& image)
{
    const QImage g = gray(image);
    int detailed = 0, blocks = 0;
    for (int y = 0; y + 1 < g.height(); y += 2) {
        const uchar* a = g.constScanLine(y);
        const uchar* b = g.constScanLine(y + 1);
        for (int x = 0; x + 1 < g.width(); x += 2) {
            const int lo = std::min({a[x], a[x + 1], b[x], b[x + 1]});
            const int hi = std::max({a[x], a[x + 1], b[x], b[x + 1]});
            detailed += hi - lo > 24;
            ++blocks;
        }
    }
    return double(detailed) / blocks;
}

// Mean difference per colour channel (0..255) of two pictures of one size.
double meanDifference(const QImage& first, const QImage& second)
{
    const QImage a = first.convertToFormat(QImage::Format_RGB32);
    const QImage b = second.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        const QRgb* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const QRgb* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            sum += std::abs(qRed(ra[x]) - qRed(rb[x])) + std::abs(qGreen(ra[x]) - qGreen(rb[x]))
                   + std::abs(qBlue(ra[x]) - qBlue(rb[x]));
    }
    return sum / (3.0 * a.width() * a.height());
}

} // namespace

class ScalingTest : public QObject
{
    Q_OBJECT
    QTemporaryDir folder;
    QString at1, at2;

    QStringList lines(const QString& dir)
    {
        QFile f(dir + QStringLiteral("/layout.txt"));
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
        return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(folder.isValid());
        for (int scale : {1, 2}) {
            const QString dir = folder.filePath(QString::number(scale));
            QVERIFY(QDir().mkpath(dir));
            QProcess render;
            render.setProcessChannelMode(QProcess::ForwardedChannels);
            render.start(QCoreApplication::applicationFilePath(),
                         {QStringLiteral("--render"), QString::number(scale), dir});
            QVERIFY(render.waitForFinished(60000));
            QCOMPARE(render.exitCode(), 0);
            (scale == 1 ? at1 : at2) = dir;
        }
    }

    // The device-pixel ratio is the scale; every size, position, picture and hit test in the
    // game's own coordinates is exactly what it is at scale 1.
    void sameLayoutInGameCoordinates()
    {
        QStringList one = lines(at1), two = lines(at2);
        QVERIFY(!one.isEmpty());
        QCOMPARE(one.takeFirst(), QStringLiteral("dpr 1"));
        QCOMPARE(two.takeFirst(), QStringLiteral("dpr 2"));
        QVERIFY(one.contains(QStringLiteral("title hint 僕は烈！このゲームで活躍するゼンタは友達だよ")));
        QVERIFY(one.contains(QStringLiteral("main picture img_JetR(0) 300,120 77x77 1")));
        // Also at scale 2, where the windows are larger than this test's small screen: each
        // opens at its corner rather than beyond it.
        for (const char* window : {"title", "main"})
            QVERIFY2(one.contains(QStringLiteral("%1 on its screen 1").arg(window)), window);
        QCOMPARE(two, one);
    }

    // Each window's picture is twice as large and shows the same thing: shrunk back, it
    // matches the picture drawn at scale 1.
    void twiceAsLargeSameContent_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("race screen") << "main";
        QTest::newRow("title screen") << "title";
        QTest::newRow("ranking window") << "rank";
    }
    void twiceAsLargeSameContent()
    {
        QFETCH(QString, window);
        const QImage one(at1 + '/' + window + ".png");
        const QImage two(at2 + '/' + window + ".png");
        QVERIFY(!one.isNull() && !two.isNull());
        QCOMPARE(two.size(), one.size() * 2);
        const QImage shrunk = two.scaled(one.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const double difference = meanDifference(shrunk, one);
        qInfo("%s: mean difference after shrinking %.2f of 255", qPrintable(window), difference);
        QVERIFY2(difference < 8, qPrintable(QString::number(difference)));
    }

    // The scale the game picks for a screen: without --scale the largest, in twentieths, at
    // which the race window takes at most 80 % of the screen's free height; --scale N lowered
    // until the window fits the screen's free area; --scale 1 always.
    void scaleForScreen_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QSize>("free");
        QTest::addColumn<int>("requested");
        QTest::addColumn<double>("scale");
        QTest::addColumn<bool>("lowered");
        const QSize hd(1920, 1080), uhd(3840, 2160), sxga(1280, 1024), laptop(1366, 768);
        QTest::newRow("SXGA") << sxga << QSize(1280, 994) << 0 << 1.65 << false;
        QTest::newRow("1080p") << hd << QSize(1920, 1053) << 0 << 1.75 << false;
        QTest::newRow("1440p") << QSize(2560, 1440) << QSize(2560, 1410) << 0 << 2.4 << false;
        QTest::newRow("4K") << uhd << QSize(3840, 2120) << 0 << 3.65 << false;
        QTest::newRow("8K: at most 4") << QSize(7680, 4320) << QSize(7680, 4280) << 0 << 4.0 << false;
        QTest::newRow("VGA: never below 1") << QSize(640, 480) << QSize(640, 450) << 0 << 1.0 << false;
        QTest::newRow("1080p --scale 2") << hd << QSize(1920, 1053) << 2 << 2.0 << false;
        QTest::newRow("SXGA --scale 3") << sxga << QSize(1280, 994) << 3 << 2.0 << true;
        QTest::newRow("laptop --scale 2") << laptop << QSize(1366, 740) << 2 << 1.0 << true;
        QTest::newRow("tall narrow --scale 2") << QSize(1080, 1920) << QSize(1080, 1890) << 2 << 1.0 << true;
        QTest::newRow("4K --scale 4") << uhd << QSize(3840, 2120) << 4 << 4.0 << false;
        QTest::newRow("4K --scale 1") << uhd << QSize(3840, 2120) << 1 << 1.0 << false;
        QTest::newRow("VGA --scale 1") << QSize(640, 480) << QSize(640, 450) << 1 << 1.0 << false;
    }
    void scaleForScreen()
    {
        QFETCH(QSize, screen);
        QFETCH(QSize, free);
        QFETCH(int, requested);
        QFETCH(double, scale);
        QFETCH(bool, lowered);
        const ScaleChoice choice = ChooseScale(requested, {QRect(QPoint(), screen), QRect(QPoint(0, 30), free)});
        QCOMPARE(choice.scale, scale);
        QCOMPARE(choice.lowered, lowered);
    }

    // Drawn sharp: the edges are much steeper than those of the scale-1 picture blown up
    // smoothly, and the picture has detail a pixel-by-pixel enlargement could not have.
    void sharpNotBlownUp_data() { twiceAsLargeSameContent_data(); }
    void sharpNotBlownUp()
    {
        QFETCH(QString, window);
        const QImage one(at1 + '/' + window + ".png");
        const QImage two(at2 + '/' + window + ".png");
        const QImage smooth = one.scaled(two.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QImage blocky = one.scaled(two.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
        const double sharp = edgeEnergy(two), blurred = edgeEnergy(smooth);
        const double detail = detailedBlocks(two);
        qInfo("%s: edge energy %.1f at scale 2, %.1f blown up smoothly; detailed blocks %.3f "
              "(%.3f blown up pixel by pixel)",
              qPrintable(window), sharp, blurred, detail, detailedBlocks(blocky));
        QVERIFY(sharp > 1.4 * blurred);
        QCOMPARE(detailedBlocks(blocky), 0.0);
        QVERIFY(detail > 0.01);
    }

    // The pictures themselves: a picture drawn for scale 2 has twice the pixels and sharper
    // edges than its scale-1 drawing enlarged.
    void picturesDrawnAtTheScale_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QSize>("size");
        QTest::newRow("hero") << "jetr1" << QSize(77, 77);
        QTest::newRow("car") << "car3" << QSize(164, 96);
        QTest::newRow("portrait") << "zenta3" << QSize(100, 120);
        QTest::newRow("logo") << "logo" << QSize(307, 19);
    }
    void picturesDrawnAtTheScale()
    {
        QFETCH(QString, picture);
        QFETCH(QSize, size);
        const QString source = QStringLiteral(":/pictures/%1.svg").arg(picture);
        const QPixmap one = RenderPicture(source, size.width(), size.height(), 1);
        const QPixmap two = RenderPicture(source, size.width(), size.height(), 2);
        QCOMPARE(two.size(), size * 2);
        QCOMPARE(two.deviceIndependentSize(), QSizeF(size));
        const QImage smooth = one.toImage().scaled(two.size(), Qt::IgnoreAspectRatio,
                                                   Qt::SmoothTransformation);
        QVERIFY(edgeEnergy(two.toImage()) > 1.4 * edgeEnergy(smooth));
    }
};

int main(int argc, char* argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--render") == 0)
        return renderWindows(argv[2], QString::fromLocal8Bit(argv[3]));
    QApplication app(argc, argv);
    ScalingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_scaling.moc"
