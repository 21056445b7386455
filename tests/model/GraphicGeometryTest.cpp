// Geometry of card objects: handles, resizing with flips, hit testing, natural size, copies, colours
// with opacity, unions of lists and placing pasted objects.
#include "ModelFixture.h"

#include "model/SKTBarcode.h"
#include "model/SKTImage.h"
#include "model/SKTLine.h"
#include "model/SKTText.h"
#include "model/Shape_Control.h"

namespace
{

// Counts the flips the handle drag asks for.
class CountingShape : public Shape_Control
{
public:
    int horizontal = 0;
    int vertical = 0;
    void flipHorizontally() override { ++horizontal; }
    void flipVertically() override { ++vertical; }
};

class GraphicGeometryTest : public ModelTest
{
};

} // namespace

TEST_F(GraphicGeometryTest, ResizingPastTheOppositeEdgeFlips)
{
    const struct {
        const char *what;
        int handle;
        QPointF to;
        int handleAfter; // 0: not asked
        QRectF bounds;
        int horizontal, vertical;
    } cases[] = {
        {"lower middle past the left", 8, QPointF(5, 40), 6, QRectF(5, 10, 5, 30), 1, 0},
        {"upper left past both", 1, QPointF(40, 50), 8, QRectF(30, 30, 10, 20), 1, 1},
        {"onto the opposite edge: width 0, no flip", 5, QPointF(10, 99), 5, QRectF(10, 10, 0, 20), 0, 0},
        {"middle handles keep the other dimension", 2, QPointF(99, 0), 0, QRectF(10, 0, 20, 30), 0, 0},
    };
    for (const auto &c : cases) {
        CountingShape s;
        s.setBounds(QRectF(10, 10, 20, 20));
        const int after = s.resizeByMovingHandle(c.handle, c.to);
        if (c.handleAfter) {
            EXPECT_EQ(after, c.handleAfter) << c.what;
        }
        EXPECT_EQ(s.bounds(), c.bounds) << c.what;
        EXPECT_EQ(s.horizontal, c.horizontal) << c.what;
        EXPECT_EQ(s.vertical, c.vertical) << c.what;
    }
}

TEST_F(GraphicGeometryTest, HandleHitsUseHalfOpenSquaresAndTheLowerNumberWins)
{
    Shape_Control s;
    s.setBounds(QRectF(10, 10, 20, 20));
    EXPECT_EQ(s.handleUnderPoint(QPointF(7, 7)), 1);
    EXPECT_EQ(s.handleUnderPoint(QPointF(13, 10)), 0);
    EXPECT_EQ(s.handleUnderPoint(QPointF(10, 13)), 0);
    EXPECT_EQ(s.handleUnderPoint(QPointF(30, 30)), 8);
    s.setBounds(QRectF(50, 50, 0, 0));
    EXPECT_EQ(s.handleUnderPoint(QPointF(50, 50)), 1);
    s.setBounds(QRectF(50, 50, 4, 4));
    EXPECT_EQ(s.handleUnderPoint(QPointF(52, 52)), 1);
}

TEST_F(GraphicGeometryTest, DrawingBoundsGrowByHandleOrHalfStroke)
{
    Shape_Control s;
    s.setBounds(QRectF(0, 0, 10, 10));
    s._strokeWidth = 10;
    EXPECT_EQ(s.drawingBounds(), QRectF(-5, -5, 21, 21));
    s._strokeWidth = 6;
    EXPECT_EQ(s.drawingBounds(), QRectF(-3, -3, 17, 17));
    s._strokeWidth = 10;
    s._isDrawingStroke = false;
    EXPECT_EQ(s.drawingBounds(), QRectF(-3, -3, 17, 17));
}

TEST_F(GraphicGeometryTest, NaturalSizeSquaresOnTheSmallerSide)
{
    Shape_Control s;
    s.setBounds(QRectF(0, 0, 30, 10));
    s.makeNaturalSize();
    EXPECT_EQ(s.bounds(), QRectF(0, 0, 10, 10));
    EXPECT_FALSE(s.canMakeNaturalSize());
    s.setBounds(QRectF(0, 0, 10, 30));
    s.makeNaturalSize();
    EXPECT_EQ(s.bounds(), QRectF(0, 0, 10, 10));

    SKTImage locked;
    locked.setBounds(QRectF(1, 2, 30, 40));
    locked._isFlippedHorizontally = true;
    locked.ctrl_is_locked = true;
    locked.makeNaturalSize();
    EXPECT_EQ(locked.bounds(), QRectF(1, 2, 30, 40));
    EXPECT_TRUE(locked._isFlippedHorizontally);

    // A barcode's natural size is its picture's: its bars keep their widths.
    SKTBarcode barcode;
    barcode.setBounds(QRectF(5, 6, 120, 60));
    EXPECT_FALSE(barcode.canMakeNaturalSize()); // no picture of its own yet
    QImage bars(261, 115, QImage::Format_RGB32);
    bars.fill(Qt::white);
    barcode.Set_Barcode_image(Picture(bars, QSizeF(130.5, 57.5)));
    EXPECT_TRUE(barcode.canMakeNaturalSize());
    barcode.makeNaturalSize();
    EXPECT_EQ(barcode.bounds(), QRectF(5, 6, 130.5, 57.5));
    EXPECT_FALSE(barcode.canMakeNaturalSize());
}

TEST_F(GraphicGeometryTest, CopyTakesBoundsAndStyleOnly)
{
    Shape_Control s;
    s.setBounds(QRectF(1, 2, 3, 4));
    s.alpha_val = 0.5f;
    s._fill_type = QStringLiteral("G");
    s._strokeColor = QColor(1, 2, 3);
    s.ctrl_is_locked = true;
    GraphicPtr c = s.copy();
    EXPECT_EQ(c->kind(), SKTGraphic::Kind::Shape);
    EXPECT_EQ(c->bounds(), s.bounds());
    EXPECT_EQ(c->alpha_val, 100.0f);
    EXPECT_EQ(c->fill_type(), QStringLiteral("G"));
    EXPECT_EQ(c->_strokeColor, s._strokeColor);
    EXPECT_FALSE(c->ctrl_is_locked);

    SKTLine line;
    line.setBeginPoint(QPointF(0, 10));
    line.setEndPoint(QPointF(10, 0));
    auto lc = std::static_pointer_cast<SKTLine>(line.copy());
    EXPECT_EQ(lc->beginPoint(), line.beginPoint());

    // A clone is the whole record, e.g. for painting a snapshot on a worker.
    GraphicPtr clone = s.clone();
    EXPECT_EQ(clone->alpha_val, 0.5f);
    EXPECT_TRUE(clone->ctrl_is_locked);
}

TEST_F(GraphicGeometryTest, ColoursTakeTheOpacityWithoutChangingTheRecord)
{
    Shape_Control s;
    s._fillColor = QColor::fromRgbF(1, 0, 0, 0.3f);
    s.alpha_val = 0.5f;
    s.alpha_val_stroke = 0.25f;
    EXPECT_NEAR(s.fillColor()->alphaF(), 0.5, 1e-4);
    EXPECT_NEAR(s.fill_hatch_bk_clr()->alphaF(), 0.5, 1e-4);
    EXPECT_NEAR(s.fill_Grad_clr1()->alphaF(), 0.5, 1e-4);
    EXPECT_NEAR(s.strokeColor()->alphaF(), 0.25, 1e-4);
    EXPECT_NEAR(s._fillColor->alphaF(), 0.3, 1e-4); // the stored colour is untouched
    s.alpha_val = 100.0f;
    EXPECT_NEAR(s.fillColor()->alphaF(), 1.0, 1e-4);
}

TEST_F(GraphicGeometryTest, ShapeOutlinesAndHits)
{
    Shape_Control s;
    s.setBounds(QRectF(0, 0, 100, 50));
    s.Set_Shape_Type(QStringLiteral("S"));
    const QPainterPath star = *s.bezierPathForDrawing();
    EXPECT_EQ(star.elementAt(0).x, 50.0);
    EXPECT_EQ(star.elementAt(0).y, 0.0);
    EXPECT_TRUE(s.isContentsUnderPoint(QPointF(50, 25))); // central pentagon: non-zero winding

    s.Set_Shape_Type(QStringLiteral("DS"));
    s.double_star_type = 0;
    EXPECT_TRUE(s.bezierPathForDrawing()->isEmpty());
    EXPECT_FALSE(s.isContentsUnderPoint(QPointF(50, 25)));

    s.Set_Shape_Type(QStringLiteral("P"));
    s.polygon_type = 1;
    EXPECT_FALSE(s.isContentsUnderPoint(QPointF(50, 3))); // between the top tips of the four-pointed star
    EXPECT_TRUE(s.isContentsUnderPoint(QPointF(50, 25)));

    s.Set_Shape_Type(QStringLiteral("?"));
    EXPECT_FALSE(s.isContentsUnderPoint(QPointF(50, 25)));
    EXPECT_EQ(s.handleUnderPoint(QPointF(0, 0)), 1);

    s.Set_Shape_Type(QStringLiteral("R"));
    s._isDrawingFill = false;
    EXPECT_TRUE(s.isContentsUnderPoint(QPointF(50, 25)));
}

TEST_F(GraphicGeometryTest, LinePointsHandlesAndHits)
{
    SKTLine line;
    line.setBounds(QRectF(10, 10, 30, 30));
    // Both flags start off: the line runs from the far corner to the near one.
    EXPECT_EQ(line.beginPoint(), QPointF(40, 40));
    line.setBeginPoint(line.endPoint());
    EXPECT_EQ(line.bounds().size(), QSizeF(0, 0));
    EXPECT_FALSE(line._pointsRight || line._pointsDown);

    line.setBeginPoint(QPointF(0, 100));
    line.setEndPoint(QPointF(100, 0));
    EXPECT_EQ(line.beginPoint(), QPointF(0, 100));
    EXPECT_EQ(line.handleUnderPoint(QPointF(1, 99)), 1);
    EXPECT_EQ(line.handleUnderPoint(QPointF(99, 1)), 2);
    EXPECT_EQ(line.resizeByMovingHandle(8, QPointF(5, 5)), 8);
    EXPECT_EQ(line.bounds(), QRectF(0, 0, 100, 100));

    line._strokeWidth = 0;
    EXPECT_TRUE(line.isContentsUnderPoint(QPointF(50, 52)));
    EXPECT_FALSE(line.isContentsUnderPoint(QPointF(50, 52.5)));
    line._strokeWidth = 10;
    EXPECT_TRUE(line.isContentsUnderPoint(QPointF(50, 57)));

    line.setBeginPoint(QPointF(0, 50));
    line.setEndPoint(QPointF(100, 50)); // flat: an empty rectangle, reached only by its handles
    EXPECT_FALSE(line.isContentsUnderPoint(QPointF(50, 50)));
}

TEST_F(GraphicGeometryTest, UnionsTreatEmptyRectanglesAsAbsent)
{
    auto a = SKTGraphic::create(SKTGraphic::Kind::Shape);
    auto b = SKTGraphic::create(SKTGraphic::Kind::Shape);
    auto c = SKTGraphic::create(SKTGraphic::Kind::Shape);
    a->setBounds(QRectF(0, 0, 0, 10));
    b->setBounds(QRectF(10, 10, 10, 10));
    c->setBounds(QRectF(30, 5, 5, 5));
    EXPECT_EQ(SKTGraphic::boundsOfGraphics({a, b, c}), QRectF(10, 5, 25, 15));
    b->setBounds(QRectF(1, 1, 5, 0));
    EXPECT_EQ(SKTGraphic::boundsOfGraphics({a, b}), QRectF());
    EXPECT_EQ(SKTGraphic::boundsOfGraphics({a}), QRectF(0, 0, 0, 10));
    EXPECT_EQ(SKTGraphic::boundsOfGraphics({}), QRectF());

    host.canvas = QRectF(0, 0, 300, 200);
    EXPECT_EQ(SKTGraphic::drawingBoundsOfGraphics({}), QRectF(0, 0, 300, 200));
}

TEST_F(GraphicGeometryTest, LockedObjectsStayPut)
{
    auto a = SKTGraphic::create(SKTGraphic::Kind::Shape);
    a->setBounds(QRectF(1, 1, 5, 5));
    a->ctrl_is_locked = true;
    SKTGraphic::translateGraphics({a}, 10, 10);
    EXPECT_EQ(a->bounds(), QRectF(1, 1, 5, 5));
}

TEST_F(GraphicGeometryTest, NewObjectPlaceStepsAndWraps)
{
    ModelGlobals &g = ModelGlobals::instance();
    EXPECT_EQ(g.Control_New_Point(QStringLiteral("F"), 3, 0, QSizeF(243, 154)), QPointF(30, 30));
    g.last_ctrl_X = g.last_ctrl_Y = 90;
    EXPECT_EQ(g.Control_New_Point(QStringLiteral("F"), 3, 0, QSizeF(243, 154)), QPointF(110, 10));
    g.last_ctrl_X = g.last_ctrl_Y = 10;
    EXPECT_EQ(g.Control_New_Point(QStringLiteral("F"), 25, 0, QSizeF(243, 154)), QPointF(35, 35));
    g.last_ctrl_X = g.last_ctrl_Y = 10;
    EXPECT_EQ(g.Control_New_Point(QStringLiteral("B"), 25, 0, QSizeF(243, 154)), QPointF(30, 30));
}

TEST_F(GraphicGeometryTest, TextNaturalSizeRespectsTheLock)
{
    SKTText t;
    t.setBounds(QRectF(5, 6, 200, 3));
    t.ctrl_is_locked = true;
    t.makeNaturalSize();
    EXPECT_EQ(t.bounds(), QRectF(5, 6, 200, 3));
    t.ctrl_is_locked = false;
    t.makeNaturalSize();
    EXPECT_EQ(t.bounds().topLeft(), QPointF(5, 6));
    EXPECT_GT(t.bounds().height(), 3);
}
