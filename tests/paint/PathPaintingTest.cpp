#include "paint/PathPainting.h"
#include "paint/PaintingScope.h"
#include "paint/ResourcePictures.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QPainter>
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using testsupport::darkRuns;

namespace
{

QImage blank(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::white);
    return img;
}

} // namespace

TEST(PathPainting, DashLengthsAreInPointsAtEveryWidth)
{
    for (double width : {1.0, 4.0}) {
        QImage img = blank(200, 20);
        QPainter p(&img);
        p.setPen(PathPainting::borderPen(Qt::black, width, "DA"));
        p.drawLine(QPointF(0, 10), QPointF(200, 10));
        p.end();
        const QList<int> runs = darkRuns(img, 10, 0, 200);
        ASSERT_GE(runs.size(), 10) << width;
        for (int i = 1; i < runs.size() - 1; ++i)
            EXPECT_NEAR(runs[i], 8, 1) << "width " << width;
        // Gaps: 2 points between the starts of neighbouring dashes 10 points apart.
        int gapStart = -1, gaps = 0;
        for (int x = 20; x < 180; ++x)
            if (qGray(img.pixel(x, 10)) >= 128) {
                if (gapStart < 0)
                    gapStart = x;
            } else if (gapStart >= 0) {
                EXPECT_NEAR(x - gapStart, 2, 1) << "width " << width;
                gapStart = -1, ++gaps;
            }
        EXPECT_GT(gaps, 5);
    }
    const QPen pen = PathPainting::borderPen(Qt::black, -3, "S");
    EXPECT_EQ(pen.widthF(), 0.0);
    EXPECT_EQ(pen.capStyle(), Qt::FlatCap);
    EXPECT_EQ(pen.joinStyle(), Qt::MiterJoin);
    EXPECT_EQ(pen.miterLimit(), 10.0);
    EXPECT_TRUE(PathPainting::dashPattern("XYZ").isEmpty());
    EXPECT_EQ(PathPainting::dashPattern("DDD"), (QList<qreal>{24, 8, 8, 8, 8, 8}));

    // A hairline's dashes stay in points on a 300-dpi device: starts 10 points (41.7 px) apart.
    QImage fine = blank(900, 40);
    QPainter p(&fine);
    p.scale(300 / 72.0, 300 / 72.0);
    QPainterPath line;
    line.moveTo(0, 5);
    line.lineTo(200, 5);
    PathPainting::strokeBorder(p, line, Qt::black, -3, "DA");
    p.end();
    QList<int> starts;
    for (int x = 1; x < 830; ++x)
        if (qGray(fine.pixel(x, 20)) < 200 && qGray(fine.pixel(x - 1, 20)) >= 200)
            starts.append(x);
    ASSERT_GT(starts.size(), 15);
    for (int i = 1; i < starts.size(); ++i)
        EXPECT_NEAR(starts[i] - starts[i - 1], 41.7, 2);
    // Dashes run on across corners and restart on each subpath; a huge path stays bounded.
    QPainterPath corner;
    corner.moveTo(0, 0);
    corner.lineTo(5, 0);
    corner.lineTo(5, 10);
    const QPainterPath pieces = PathPainting::dashSegments(corner, {8, 2});
    // 5 along x and 3 down make the first dash; a gap of 2; the next dash starts 5 down.
    ASSERT_EQ(pieces.elementCount(), 6);
    EXPECT_EQ(QPointF(pieces.elementAt(3)), QPointF(5, 3));
    EXPECT_EQ(QPointF(pieces.elementAt(4)), QPointF(5, 5));
    QPainterPath huge;
    huge.moveTo(0, 0);
    huge.lineTo(1e12, 0);
    EXPECT_LT(PathPainting::dashSegments(huge, {1, 1}).elementCount(), 500000);
}

TEST(PathPainting, RoundAndSquareCapsKeepTheDashesAndGaps)
{
    // Along the middle of the line: a dash shows its length, or the width where that is longer
    // (a dot); a gap shows its length. Four pixels a point.
    const struct {
        Qt::PenCapStyle cap;
        const char *code;
        double width, dash, gap;
    } cases[] = {
        {Qt::RoundCap, "DA", 2, 8, 2}, {Qt::RoundCap, "DA", 6, 8, 2}, {Qt::SquareCap, "DA", 6, 8, 2},
        {Qt::RoundCap, "DO", 1, 4, 6}, {Qt::RoundCap, "DO", 6, 6, 6}, {Qt::SquareCap, "DO", 10, 10, 6},
    };
    for (const auto &c : cases) {
        QImage img = blank(880, 80);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(4, 4);
        QPainterPath line;
        line.moveTo(5, 10);
        line.lineTo(215, 10);
        PathPainting::strokeBorder(p, line, Qt::black, c.width, c.code, c.cap);
        p.end();
        const QString what = QStringLiteral("cap %1, %2, width %3").arg(int(c.cap)).arg(c.code).arg(c.width);
        const QList<int> runs = darkRuns(img, 40, 0, 880);
        ASSERT_GE(runs.size(), 8) << what.toStdString();
        for (int i = 1; i < runs.size() - 1; ++i)
            EXPECT_NEAR(runs[i], c.dash * 4, 3) << what.toStdString();
        // Gaps between whole dashes, from the first dash on.
        int gapStart = -1, gaps = 0;
        bool seenDash = false;
        for (int x = 0; x < 840; ++x) {
            const bool dark = qGray(img.pixel(x, 40)) < 128;
            if (!dark && seenDash && gapStart < 0) {
                gapStart = x;
            } else if (dark && gapStart >= 0) {
                EXPECT_NEAR(x - gapStart, c.gap * 4, 3) << what.toStdString();
                gapStart = -1, ++gaps;
            }
            seenDash = seenDash || dark;
        }
        EXPECT_GE(gaps, 6) << what.toStdString();
    }
}

TEST(PathPainting, GradientEndsFollowTheAngle)
{
    const QRectF r(0, 0, 100, 50);
    QPainterPath path;
    path.addRect(r);
    auto paint = [&](double angle) {
        QImage img = blank(100, 50);
        QPainter p(&img);
        PathPainting::fillGradient(p, path, Qt::red, Qt::blue, angle);
        return img;
    };
    const QImage a0 = paint(0);
    EXPECT_GT(qRed(a0.pixel(0, 25)), 240);
    EXPECT_GT(qBlue(a0.pixel(99, 25)), 240);
    const QImage a90 = paint(90); // y runs down: 90 starts at the top
    EXPECT_GT(qRed(a90.pixel(50, 0)), 240);
    EXPECT_GT(qBlue(a90.pixel(50, 49)), 240);
    const QImage a180 = paint(180);
    EXPECT_GT(qBlue(a180.pixel(0, 25)), 240);
    EXPECT_GT(qRed(a180.pixel(99, 25)), 240);
    const QLineF l = PathPainting::gradientLine(r, 45);
    EXPECT_NEAR(l.p1().x(), 12.5, 1e-9); // the top-left corner projects onto the start
}

TEST(PathPainting, HatchAndPictures)
{
    const QString res = QStringLiteral(TESSALY_SOURCE_RESOURCES);
    QPainterPath path;
    path.addRect(0, 0, 48, 48);
    QImage img = blank(48, 48);
    QPainter p(&img);
    EXPECT_TRUE(PathPainting::fillHatch(p, path, Qt::yellow, res, "Horizontal"));
    p.end();
    EXPECT_EQ(img.pixel(2, 2), QColor(Qt::yellow).rgb());
    EXPECT_LT(qGray(img.pixel(2, 6)), 100); // the line through the middle of the 12-point tile

    // A missing pattern (or one whose name leaves the folder) keeps the background colour.
    QImage missing = blank(20, 20);
    QPainter q(&missing);
    EXPECT_FALSE(PathPainting::fillHatch(q, path, Qt::green, res, "NoSuchPattern"));
    EXPECT_FALSE(PathPainting::fillHatch(q, path, Qt::green, res, "../no"));
    q.end();
    EXPECT_EQ(missing.pixel(10, 10), QColor(Qt::green).rgb());

    ASSERT_TRUE(ResourcePictures::sample(res, ResourcePictures::SignatureSample));
    ASSERT_TRUE(ResourcePictures::sample(res, ResourcePictures::FingerprintSample));
    ASSERT_TRUE(ResourcePictures::sample(res, ResourcePictures::BarcodeSample));
    ASSERT_TRUE(ResourcePictures::sample(res, ResourcePictures::NoImage));

    // Vector pictures draw from a private copy; zero-sized ones draw nothing.
    QPicture rec;
    QPainter rp(&rec);
    rp.fillRect(QRectF(0, 0, 10, 10), Qt::blue);
    rp.end();
    const Picture vec = Picture::fromVector(rec, QSizeF(10, 10));
    QImage out = blank(20, 20);
    QPainter op(&out);
    PathPainting::drawPicture(op, vec, QRectF(0, 0, 20, 20));
    QImage red(4, 4, QImage::Format_ARGB32);
    red.fill(Qt::red);
    PathPainting::drawPicture(op, Picture(red).withSize(QSizeF(0, 4)), QRectF(0, 0, 20, 20));
    op.end();
    EXPECT_EQ(out.pixel(19, 19), QColor(Qt::blue).rgb());
}

TEST(PaintingScope, RequestsAreDroppedWhilePaintingAndPostedFromWorkers)
{
    int calls = 0;
    PaintingScope::requestRefresh([&] { ++calls; });
    EXPECT_EQ(calls, 1);
    {
        PaintingScope painting;
        PaintingScope::requestRefresh([&] { ++calls; });
    }
    EXPECT_EQ(calls, 1);

    std::thread worker([&] {
        for (int i = 0; i < 50; ++i)
            PaintingScope::requestRefresh([&] { ++calls; });
    });
    worker.join();
    EXPECT_EQ(calls, 1); // not run on the worker
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 2); // fifty queued requests made one redraw
}

TEST(PaintingScope, ARequestRunsOnTheGuiThreadWhileItsWorkerGoesOn)
{
    // The worker is still running when its request is served: the hand-over itself must carry
    // the request's data to the GUI thread.
    const std::thread::id gui = std::this_thread::get_id();
    std::atomic<bool> ranOnGui{false};
    std::atomic<bool> served{false};
    std::atomic<bool> gaveUp{false};
    std::thread worker([&] {
        QString label = QStringLiteral("side %1").arg(1); // data made on the worker
        PaintingScope::requestRefresh([&served, &ranOnGui, gui, label] {
            ranOnGui = std::this_thread::get_id() == gui && label == QLatin1String("side 1");
            served = true;
        });
        // Still running until served, or until the test gives up waiting.
        while (!served && !gaveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return served.load(); }, 60000));
    gaveUp = true;
    worker.join();
    EXPECT_TRUE(served);
    EXPECT_TRUE(ranOnGui);
}
