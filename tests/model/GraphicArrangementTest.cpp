// Arranging card objects: each edge and centre line against the card and against the first object,
// centring, one size for several, the grid, and where a reordered selection lands. Locked objects
// stay, and an object already in place is not set again (the document would record it).
#include "ModelFixture.h"

#include "model/GraphicArrangement.h"
#include "model/SKTGrid.h"
#include "model/Shape_Control.h"

#include <memory>

using namespace GraphicArrangement;

namespace
{

// Counts the bounds it is given, so that a test sees which objects were set at all.
class SetCountingShape : public Shape_Control
{
public:
    int sets = 0;
    void setBounds(const QRectF &bounds) override
    {
        ++sets;
        Shape_Control::setBounds(bounds);
    }
};

std::shared_ptr<SetCountingShape> shape(const QRectF &bounds, bool locked = false)
{
    auto s = std::make_shared<SetCountingShape>();
    s->_bounds = bounds;
    s->ctrl_is_locked = locked;
    return s;
}

const QRectF Card(0, 0, 243, 154);

struct EdgeCase {
    Edge edge;
    QRectF againstCard;   // a 40 x 30 object at (50, 50) on the card
    QRectF againstObject; // a 20 x 10 object at (100, 90) against one at (30, 20, 60, 40)
};

const EdgeCase EdgeCases[] = {
    {Edge::Left, QRectF(0, 50, 40, 30), QRectF(30, 90, 20, 10)},
    {Edge::Right, QRectF(203, 50, 40, 30), QRectF(70, 90, 20, 10)},
    {Edge::Top, QRectF(50, 0, 40, 30), QRectF(100, 20, 20, 10)},
    {Edge::Bottom, QRectF(50, 124, 40, 30), QRectF(100, 50, 20, 10)},
    {Edge::HorizontalCenter, QRectF(101.5, 50, 40, 30), QRectF(50, 90, 20, 10)},
    {Edge::VerticalCenter, QRectF(50, 62, 40, 30), QRectF(100, 35, 20, 10)},
};

class GraphicArrangementTest : public ModelTest
{
};

} // namespace

TEST_F(GraphicArrangementTest, EachEdgeAgainstTheCardAndAgainstTheFirstObject)
{
    for (const EdgeCase &c : EdgeCases) {
        SCOPED_TRACE(int(c.edge));
        EXPECT_EQ(alignedBounds(QRectF(50, 50, 40, 30), Card, c.edge), c.againstCard);
        EXPECT_EQ(alignedBounds(QRectF(100, 90, 20, 10), QRectF(30, 20, 60, 40), c.edge), c.againstObject);

        const auto alone = shape(QRectF(50, 50, 40, 30));
        EXPECT_TRUE(alignGraphics({alone}, Card, c.edge));
        EXPECT_EQ(alone->bounds(), c.againstCard);

        // Several: the first is the reference and is never moved, even when it lies off the card.
        const auto first = shape(QRectF(30, 20, 60, 40));
        const auto second = shape(QRectF(100, 90, 20, 10));
        EXPECT_TRUE(alignGraphics({first, second}, Card, c.edge));
        EXPECT_EQ(first->bounds(), QRectF(30, 20, 60, 40));
        EXPECT_EQ(first->sets, 0);
        EXPECT_EQ(second->bounds(), c.againstObject);
    }
}

TEST_F(GraphicArrangementTest, AligningSkipsLockedObjectsAndThoseAlreadyInPlace)
{
    const auto first = shape(QRectF(30, 20, 60, 40), true); // a locked reference still leads
    const auto locked = shape(QRectF(100, 90, 20, 10), true);
    const auto inPlace = shape(QRectF(30, 120, 20, 10));
    const auto moving = shape(QRectF(80, 5, 20, 10));
    EXPECT_TRUE(alignGraphics({first, locked, inPlace, moving}, Card, Edge::Left));
    EXPECT_EQ(locked->bounds(), QRectF(100, 90, 20, 10));
    EXPECT_EQ(locked->sets, 0);
    EXPECT_EQ(inPlace->sets, 0);
    EXPECT_EQ(moving->bounds(), QRectF(30, 5, 20, 10));
    EXPECT_EQ(moving->sets, 1);

    // Nothing to do: no objects, or one locked object (the caller leaves its undo buttons alone).
    EXPECT_FALSE(alignGraphics({}, Card, Edge::Left));
    const auto alone = shape(QRectF(50, 50, 40, 30), true);
    EXPECT_FALSE(alignGraphics({alone}, Card, Edge::Right));
    EXPECT_EQ(alone->bounds(), QRectF(50, 50, 40, 30));
    // One unlocked object already against the edge counts as done without being set.
    const auto atEdge = shape(QRectF(0, 50, 40, 30));
    EXPECT_TRUE(alignGraphics({atEdge}, Card, Edge::Left));
    EXPECT_EQ(atEdge->sets, 0);
}

TEST_F(GraphicArrangementTest, CentringPutsEveryUnlockedObjectInTheMiddleOfTheCard)
{
    EXPECT_EQ(centredBounds(QRectF(10, 10, 40, 20), Card.size()), QRectF(101.5, 67, 40, 20));
    EXPECT_EQ(centredBounds(QRectF(-5, 300, 243, 154), Card.size()), Card);

    const auto a = shape(QRectF(10, 10, 40, 20));
    const auto locked = shape(QRectF(3, 4, 10, 10), true);
    const auto centred = shape(QRectF(111.5, 72, 20, 10));
    EXPECT_TRUE(centreGraphics({a, locked, centred}, Card.size()));
    EXPECT_EQ(a->bounds(), QRectF(101.5, 67, 40, 20));
    EXPECT_EQ(locked->bounds(), QRectF(3, 4, 10, 10));
    EXPECT_EQ(locked->sets, 0);
    EXPECT_EQ(centred->sets, 0);

    // Only a single locked object is nothing done; an empty selection still counts.
    EXPECT_FALSE(centreGraphics({locked}, Card.size()));
    EXPECT_TRUE(centreGraphics({}, Card.size()));
    EXPECT_TRUE(centreGraphics({a, locked}, Card.size()));
}

TEST_F(GraphicArrangementTest, SameWidthOrHeightFollowsTheFirstAndKeepsTheCorner)
{
    struct Case {
        Dimension dimension;
        QRectF expected; // (100, 10, 10, 10) after taking from (10, 10, 40, 20)
    };
    const Case cases[] = {{Dimension::Width, QRectF(100, 10, 40, 10)},
                          {Dimension::Height, QRectF(100, 10, 10, 20)}};
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.dimension));
        EXPECT_EQ(sameSizeBounds(QRectF(100, 10, 10, 10), QRectF(10, 10, 40, 20), c.dimension), c.expected);

        const auto first = shape(QRectF(10, 10, 40, 20));
        const auto other = shape(QRectF(100, 10, 10, 10));
        const auto locked = shape(QRectF(60, 10, 30, 50), true);
        const auto alike = shape(QRectF(0, 100, 40, 20));
        makeGraphicsSameSize({first, other, locked, alike}, c.dimension);
        EXPECT_EQ(other->bounds(), c.expected);
        EXPECT_EQ(locked->bounds(), QRectF(60, 10, 30, 50));
        EXPECT_EQ(locked->sets + alike->sets + first->sets, 0);

        // A single object has nothing to follow.
        const auto alone = shape(QRectF(100, 10, 10, 10));
        makeGraphicsSameSize({alone}, c.dimension);
        EXPECT_EQ(alone->sets, 0);
    }
    // Only the asked dimension counts: same width, other height is left alone for Width.
    const auto first = shape(QRectF(10, 10, 40, 20));
    const auto tall = shape(QRectF(100, 10, 40, 90));
    makeGraphicsSameSize({first, tall}, Dimension::Width);
    EXPECT_EQ(tall->sets, 0);
    EXPECT_EQ(tall->bounds(), QRectF(100, 10, 40, 90));
}

TEST_F(GraphicArrangementTest, GridSnapsEveryCornerOfUnlockedObjects)
{
    SKTGrid grid; // spacing 9
    struct Case {
        QRectF from, to;
    };
    const Case cases[] = {
        {QRectF(10, 10, 40, 20), QRectF(9, 9, 45, 18)},
        {QRectF(4.5, 13.4, 9, 9), QRectF(9, 9, 9, 9)}, // half-way goes up
        {QRectF(-4, -5, 3, 3), QRectF(0, -9, 0, 9)},
        {QRectF(18, 27, 9, 18), QRectF(18, 27, 9, 18)},
    };
    GraphicList objects;
    for (const Case &c : cases)
        objects.append(shape(c.from));
    const auto locked = shape(QRectF(3, 4, 10, 10), true);
    objects.append(locked);
    alignGraphicsWithGrid(objects, grid);
    for (qsizetype i = 0; i < qsizetype(std::size(cases)); ++i)
        EXPECT_EQ(objects.at(i)->bounds(), cases[i].to) << i;
    EXPECT_EQ(locked->bounds(), QRectF(3, 4, 10, 10));
    EXPECT_EQ(locked->sets, 0);
}

TEST_F(GraphicArrangementTest, ReorderedSelectionLandsAtTheFrontOrAfterTheRest)
{
    EXPECT_EQ(reorderedIndexes(4, 2, true), (QList<int>{0, 1}));
    EXPECT_EQ(reorderedIndexes(4, 2, false), (QList<int>{4, 5}));
    EXPECT_EQ(reorderedIndexes(0, 3, false), (QList<int>{0, 1, 2}));
    EXPECT_TRUE(reorderedIndexes(5, 0, true).isEmpty());
}
