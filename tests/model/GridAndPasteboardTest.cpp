// The canvas grid's snapping, alignment and temporary showing, and objects through pasteboard data.
#include "ModelFixture.h"

#include "model/GraphicPasteboard.h"
#include "model/SKTGrid.h"
#include "model/SKTImage.h"
#include "model/SKTText.h"
#include "platform/PropertyList.h"

#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QTemporaryDir>
#include <QtCore/qtestsupport_core.h>

#include <algorithm>
#include <functional>

namespace
{
class GridAndPasteboardTest : public ModelTest
{
};
} // namespace

TEST_F(GridAndPasteboardTest, SnapsToTheNearestMultipleHalfWayUp)
{
    SKTGrid grid;
    grid.setConstraining(true);
    EXPECT_EQ(grid.constrainedPoint(QPointF(13.4, 13.5)), QPointF(9, 18));
    EXPECT_EQ(grid.constrainedPoint(QPointF(-4.5, -4.6)), QPointF(0, -9));
    EXPECT_EQ(grid.alignedRect(QRectF(4, 4, 10, 10)), QRectF(0, 0, 18, 18));
    EXPECT_EQ(grid.alignedRect(QRectF(10, 10, 3, 3)), QRectF(9, 9, 0, 0));
    grid.setConstraining(false);
    EXPECT_EQ(grid.constrainedPoint(QPointF(13.4, 13.5)), QPointF(13.4, 13.5));
    grid.setConstraining(true);
    grid.setSpacing(0);
    EXPECT_FALSE(grid.canAlign());
    EXPECT_EQ(grid.constrainedPoint(QPointF(13.4, 13.5)), QPointF(13.4, 13.5));
    EXPECT_FALSE(grid.isTemporarilyShown());
}

namespace
{
// A countdown the test winds by hand: no waiting for the second to pass.
class HandWoundTimer : public SKTGridTimer
{
public:
    void start(int milliseconds, std::function<void()> timeout) override
    {
        left = milliseconds;
        onTimeout = std::move(timeout);
    }
    void stop() override { left = -1; }
    int remainingTime() const override { return left; }
    // Lets time pass; the timeout runs once when the countdown reaches zero.
    void advance(int milliseconds)
    {
        if (left < 0)
            return;
        left = std::max(0, left - milliseconds);
        if (left == 0) {
            left = -1;
            onTimeout();
        }
    }

    int left = -1;
    std::function<void()> onTimeout;
};

class GridNotices : public ChangeObserver
{
public:
    void observeValueForKeyPath(const QString &, Observable *, const ObservedChange &, void *) override
    {
        ++count;
    }
    int count = 0;
};
} // namespace

TEST_F(GridAndPasteboardTest, SpacingChangesShowTheGridForAWhile)
{
    auto owned = std::make_unique<HandWoundTimer>();
    HandWoundTimer &timer = *owned;
    SKTGrid grid(std::move(owned));
    GridNotices notices;
    grid.addObserver(&notices, SKTGridAnyKey);
    grid.setSpacing(9); // unchanged: no showing
    EXPECT_FALSE(grid.isShowing());
    EXPECT_EQ(grid.hidingTimeLeft(), -1);
    grid.setSpacing(12);
    EXPECT_TRUE(grid.isTemporarilyShown());
    EXPECT_EQ(grid.hidingTimeLeft(), SKTGridTemporaryShowingTime);
    timer.advance(300);
    EXPECT_EQ(grid.hidingTimeLeft(), 700);
    grid.setSpacing(13); // a second change extends the showing to a full second from now
    EXPECT_EQ(grid.hidingTimeLeft(), SKTGridTemporaryShowingTime);
    timer.advance(999);
    EXPECT_TRUE(grid.isShowing());
    // When the second is over the grid hides, and its observers hear of it (the canvas redraws).
    const int before = notices.count;
    timer.advance(1);
    EXPECT_FALSE(grid.isShowing());
    EXPECT_EQ(grid.hidingTimeLeft(), -1);
    EXPECT_EQ(notices.count, before + 1);

    grid.setSpacing(14);
    grid.setAlwaysShown(true); // cancels the timer and stays visible
    EXPECT_FALSE(grid.isTemporarilyShown());
    EXPECT_TRUE(grid.isShowing());
    grid.setSpacing(15); // always shown: nothing to hide later
    EXPECT_FALSE(grid.isTemporarilyShown());
    grid.setAlwaysShown(false);
    EXPECT_FALSE(grid.isShowing());
    grid.setSpacing(10);
    grid.stopShowingGridForTimer();
    EXPECT_FALSE(grid.isShowing());
    grid.setSpacing(0); // an unusable spacing shows nothing
    EXPECT_FALSE(grid.isShowing());
    grid.removeObserver(&notices, SKTGridAnyKey);
}

TEST_F(GridAndPasteboardTest, TheProgramsGridHidesByItselfAfterItsSecond)
{
    SKTGrid grid; // on its own QTimer
    grid.setSpacing(12);
    EXPECT_TRUE(grid.isTemporarilyShown());
    EXPECT_GT(grid.hidingTimeLeft(), 0); // a coarse QTimer may shift it by a few per cent either way
    EXPECT_TRUE(QTest::qWaitFor([&] { return !grid.isShowing(); }, 30000));
    EXPECT_EQ(grid.hidingTimeLeft(), -1);
}

TEST_F(GridAndPasteboardTest, GridLinesLieOnMultiplesOfTheSpacing)
{
    SKTGrid grid;
    grid.setAlwaysShown(true);
    QImage img(40, 10, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    grid._color = Qt::black;
    grid.drawRect(p, QRectF(10, 0, 20, 10));
    p.end();
    EXPECT_NE(img.pixelColor(18, 5), QColor(Qt::white));
    EXPECT_NE(img.pixelColor(27, 5), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(22, 5), QColor(Qt::white));
}

TEST_F(GridAndPasteboardTest, ObjectsTravelThroughPasteboardDataInOrder)
{
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("p.png"));
    QImage(20, 10, QImage::Format_RGB32).save(picture);
    auto text = std::make_shared<SKTText>();
    text->Text_contents().text = QStringLiteral("Hello");
    auto image = SKTImage::initWithPath(QPointF(50, 50), picture);
    auto gone = SKTImage::initWithPath(QPointF(50, 50), dir.filePath(QStringLiteral("gone.png")));
    const QByteArray data = SKTGraphic::pasteboardDataWithGraphics({text, image, gone});

    // The data is a binary property list: an array of one archive per object.
    const PropertyList::ReadResult r = PropertyList::read(data);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.format, PropertyList::Format::Binary);
    EXPECT_EQ(r.value.toArray().size(), 3);

    int code = 0;
    const std::optional<GraphicList> back = SKTGraphic::graphicsWithPasteboardData(data, &code);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 3);
    EXPECT_EQ(back->at(0)->kind(), SKTGraphic::Kind::Text);
    EXPECT_EQ(back->at(0)->_Text_contents->text, QStringLiteral("Hello"));
    auto pastedImage = std::static_pointer_cast<SKTImage>(back->at(1));
    ASSERT_TRUE(pastedImage->_contents);
    EXPECT_EQ(pastedImage->_contents->size(), QSizeF(20, 10));
    EXPECT_FALSE(std::static_pointer_cast<SKTImage>(back->at(2))->_contents);

    plist::Dict dict;
    EXPECT_FALSE(
        SKTGraphic::graphicsWithPasteboardData(PropertyList::writeBinary(plist::Value(dict)), &code));
    EXPECT_EQ(code, 2);
    // A damaged element is skipped; the others come through.
    plist::Array mixed{plist::Value(QByteArray("junk")), plist::Value(text->archivedData())};
    EXPECT_EQ(SKTGraphic::graphicsWithPasteboardData(PropertyList::writeBinary(plist::Value(mixed)))->size(),
              1);
}

TEST_F(GridAndPasteboardTest, MimeDataCarriesThePrivateType)
{
    auto shape = SKTGraphic::create(SKTGraphic::Kind::Shape);
    std::unique_ptr<QMimeData> mime(GraphicPasteboard::mimeDataWithGraphics({shape}));
    EXPECT_TRUE(mime->hasFormat(QStringLiteral("application/x-tessaly-card-objects")));
    EXPECT_EQ(GraphicPasteboard::graphicsFromMimeData(mime.get())->size(), 1);
    QMimeData plain;
    plain.setText(QStringLiteral("hi"));
    int code = 0;
    EXPECT_FALSE(GraphicPasteboard::graphicsFromMimeData(&plain, &code));
    EXPECT_EQ(code, 2);
}
