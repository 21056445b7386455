// The document's lists and undo: insertions, removals and property changes of every side in one
// history, and the change notices that undo and the canvas rely on.
#include "ModelFixture.h"

#include "model/SKTDocument.h"
#include "model/SKTImage.h"
#include "model/SKTLine.h"
#include "model/SKTText.h"
#include "platform/UndoManager.h"

#include <functional>
#include <stdexcept>

namespace
{

class Recorder : public ChangeObserver
{
public:
    QStringList keys;
    void observeValueForKeyPath(const QString &keyPath, Observable *, const ObservedChange &, void *) override
    {
        keys << keyPath;
    }
};

class DocumentUndoTest : public ModelTest
{
protected:
    // One undo step made of the change.
    static void step(SKTDocument &doc, const std::function<void()> &change)
    {
        doc.undoManager().beginUndoGrouping();
        change();
        doc.undoManager().endUndoGrouping();
    }
    static GraphicPtr add(SKTDocument &doc, GraphicPtr g)
    {
        step(doc, [&] { doc.addInGraphics(g); });
        return g;
    }
    static GraphicPtr addShape(SKTDocument &doc)
    {
        return add(doc, SKTGraphic::create(SKTGraphic::Kind::Shape));
    }
};

} // namespace

TEST_F(DocumentUndoTest, ReplacingLastsWhileAnyScopeDoesAndEndsOnEveryWayOut)
{
    SKTDocument doc;
    EXPECT_FALSE(doc.isBeingReplaced());
    {
        const SKTDocument::Replacing outer(doc);
        {
            const SKTDocument::Replacing inner(doc);
            EXPECT_TRUE(doc.isBeingReplaced());
        }
        EXPECT_TRUE(doc.isBeingReplaced()); // the outer replacement is still running
    }
    EXPECT_FALSE(doc.isBeingReplaced());
    try {
        const SKTDocument::Replacing replacing(doc);
        throw std::runtime_error("read failed");
    } catch (const std::exception &) {
    }
    EXPECT_FALSE(doc.isBeingReplaced());
}

TEST_F(DocumentUndoTest, ListsStartEmpty)
{
    SKTDocument doc;
    EXPECT_TRUE(doc.graphics_back().isEmpty());
    EXPECT_TRUE(doc.graphics_temp().isEmpty());
}

// On a half-transparent object too: the colour stored comes back, not one with the opacity mixed in.
TEST_F(DocumentUndoTest, TwoChangesInOneGroupUndoToTheFirstValue)
{
    for (const float opacity : {1.0f, 0.5f}) {
        SKTDocument doc;
        GraphicPtr g = addShape(doc);
        g->alpha_val = g->alpha_val_stroke = opacity;
        g->_fillColor = QColor(10, 20, 30);
        g->_strokeColor = QColor(40, 50, 60);
        UndoManager &um = doc.undoManager();
        um.beginUndoGrouping();
        g->setValueForKey(SKTGraphicFillColorKey, QColor(255, 0, 0));
        g->setValueForKey(SKTGraphicFillColorKey, QColor(0, 255, 0));
        g->setValueForKey(SKTGraphicStrokeColorKey, QColor(0, 0, 255));
        um.endUndoGrouping();
        um.undo();
        EXPECT_EQ(g->_fillColor->rgba(), QColor(10, 20, 30).rgba()) << opacity;
        EXPECT_EQ(g->_strokeColor->rgba(), QColor(40, 50, 60).rgba()) << opacity;
        um.redo();
        EXPECT_EQ(g->_fillColor->rgba(), QColor(0, 255, 0).rgba()) << opacity;
        EXPECT_EQ(g->_strokeColor->rgba(), QColor(0, 0, 255).rgba()) << opacity;
    }
}

TEST_F(DocumentUndoTest, ChangeOutsideAnyGroupOpensItsOwnStep)
{
    SKTDocument doc;
    GraphicPtr g = addShape(doc);
    UndoManager &um = doc.undoManager();
    um.removeAllActions();
    g->setBounds(QRectF(5, 6, 7, 8));
    g->setBounds(QRectF(9, 9, 9, 9));
    um.undo(); // closes the step the first change opened
    EXPECT_EQ(g->bounds(), QRectF());
    EXPECT_EQ(um.undoCount(), 0);
}

TEST_F(DocumentUndoTest, ChangesToObjectsInsertedInTheSameGroupAreNotRecorded)
{
    SKTDocument doc;
    UndoManager &um = doc.undoManager();
    GraphicPtr g = SKTGraphic::create(SKTGraphic::Kind::Shape);
    um.beginUndoGrouping();
    doc.addInGraphics(g);
    g->setBounds(QRectF(1, 2, 3, 4));
    um.endUndoGrouping();
    um.undo();
    EXPECT_TRUE(doc.graphics().isEmpty());
    um.redo();
    ASSERT_EQ(doc.graphics().size(), 1);
    EXPECT_EQ(doc.graphics().first()->bounds(), QRectF(1, 2, 3, 4));
}

TEST_F(DocumentUndoTest, SettingTheSameValueRecordsNothing)
{
    SKTDocument doc;
    GraphicPtr g = addShape(doc);
    const int before = doc.undoManager().undoCount();
    step(doc, [&] { g->setValueForKey(SKTGraphicStrokeWidthKey, g->strokeWidth()); });
    EXPECT_EQ(doc.undoManager().undoCount(), before);
}

TEST_F(DocumentUndoTest, DisabledRegistrationLeavesNoInsertedSet)
{
    SKTDocument doc;
    doc.Enable_Disable_Undo_Registraion(0);
    doc.undoManager().beginUndoGrouping();
    doc.addInGraphics(SKTGraphic::create(SKTGraphic::Kind::Text));
    EXPECT_TRUE(doc.undoGroupInsertedGraphics().isEmpty());
    doc.undoManager().endUndoGrouping();
    doc.Enable_Disable_Undo_Registraion(1);
    EXPECT_FALSE(doc.undoManager().canUndo());
}

TEST_F(DocumentUndoTest, RemovalUndoesAndClearingForgetsEverything)
{
    SKTDocument doc;
    GraphicPtr a = addShape(doc);
    GraphicPtr b = addShape(doc);
    step(doc, [&] { doc.removeGraphicAtIndex(0); });
    EXPECT_EQ(doc.graphics(), GraphicList{b});
    doc.undoManager().undo();
    EXPECT_EQ(doc.graphics(), (GraphicList{a, b}));

    doc.insertGraphicsIntoSide(SKTDocument::Back, {SKTGraphic::create(SKTGraphic::Kind::Line)}, {0});
    doc.Clear_All_Undo_Redo();
    EXPECT_TRUE(doc.graphics().isEmpty());
    EXPECT_EQ(doc.graphics_back().size(), 1);
    EXPECT_FALSE(doc.undoManager().canUndo());
    EXPECT_TRUE(doc.undoManager().isUndoRegistrationEnabled());
    // A removed object is no longer watched: its changes record nothing.
    step(doc, [&] { a->setBounds(QRectF(9, 9, 9, 9)); });
    EXPECT_FALSE(doc.undoManager().canUndo());
}

TEST_F(DocumentUndoTest, EverySideRecordsItsStepsUnderItsSide)
{
    SKTDocument doc;
    UndoManager &um = doc.undoManager();
    const GraphicPtr g = SKTGraphic::create(SKTGraphic::Kind::Shape);
    const auto step = [&um](const std::function<void()> &change) {
        um.beginUndoGrouping();
        change();
        um.endUndoGrouping();
    };
    step([&] { doc.insertGraphicsIntoSide(SKTDocument::Back, {g}, {0}); });
    EXPECT_EQ(um.undoActionName(), QStringLiteral("Insert Object"));
    EXPECT_EQ(um.undoActionTag(), int(SKTDocument::Back));
    // Shown on the preview as well (unrecorded), the object's change is one step, of its own side.
    doc.Enable_Disable_Undo_Registraion(0);
    doc.insertGraphicsIntoSide(SKTDocument::Temp, {g}, {0});
    doc.Enable_Disable_Undo_Registraion(1);
    step([&] { g->setBounds(QRectF(5, 6, 7, 8)); });
    EXPECT_EQ(um.undoCount(), 2);
    EXPECT_EQ(um.undoActionTag(), int(SKTDocument::Back));
    // Still watched after leaving the preview: it is on the back.
    doc.Enable_Disable_Undo_Registraion(0);
    doc.removeAllGraphicsFromSide(SKTDocument::Temp);
    doc.Enable_Disable_Undo_Registraion(1);
    step([&] { g->setBounds(QRectF(1, 1, 7, 8)); });
    um.undo();
    EXPECT_EQ(g->bounds(), QRectF(5, 6, 7, 8));
    EXPECT_EQ(um.redoActionTag(), int(SKTDocument::Back));
    step([&] { doc.removeGraphicsFromSide(SKTDocument::Back, {0}); });
    EXPECT_TRUE(doc.graphics_back().isEmpty());
    um.undo();
    EXPECT_EQ(doc.graphics_back(), GraphicList{g});
    EXPECT_TRUE(doc.graphics().isEmpty());
}

TEST_F(DocumentUndoTest, GroupNameFollowsOneOrManyProperties)
{
    SKTDocument doc;
    auto image = std::make_shared<SKTImage>();
    add(doc, image);
    doc.undoManager().beginUndoGrouping();
    image->setFlippedHorizontally(true);
    EXPECT_EQ(doc.undoGroupPresentablePropertyName(), QStringLiteral("Horizontal Flipping"));
    image->setFlippedVertically(true);
    EXPECT_TRUE(doc.undoGroupHasChangesToMultipleProperties());
    EXPECT_TRUE(doc.undoGroupPresentablePropertyName().isEmpty());
    doc.undoManager().endUndoGrouping();
    EXPECT_FALSE(doc.undoGroupHasChangesToMultipleProperties());
    doc.undoManager().undo();
    EXPECT_FALSE(image->_isFlippedHorizontally || image->_isFlippedVertically);
}

TEST_F(DocumentUndoTest, LineEndPointsUndoExactly)
{
    SKTDocument doc;
    auto line = std::make_shared<SKTLine>();
    line->setBeginPoint(QPointF(0, 100));
    line->setEndPoint(QPointF(100, 0));
    add(doc, line);
    // The begin point crosses over the end point.
    step(doc, [&] { line->resizeByMovingHandle(1, QPointF(200, 150)); });
    doc.undoManager().undo();
    EXPECT_EQ(line->beginPoint(), QPointF(0, 100));
    EXPECT_EQ(line->endPoint(), QPointF(100, 0));
}

TEST_F(DocumentUndoTest, TextHeightFittingIsNotRecorded)
{
    SKTDocument doc;
    auto text = std::make_shared<SKTText>();
    text->setBounds(QRectF(0, 0, 100, 1));
    add(doc, text);
    EXPECT_EQ(text->keysForValuesToObserveForUndo(),
              SKTGraphic::create(SKTGraphic::Kind::Shape)->keysForValuesToObserveForUndo());
    step(doc, [&] { text->setHeightToMatchContents(); });
    EXPECT_GT(text->bounds().height(), 1);
    EXPECT_EQ(doc.undoManager().undoCount(), 1);
    // Once fitted, bounds are watched again.
    step(doc, [&] { text->setBounds(QRectF(5, 5, 5, 5)); });
    EXPECT_EQ(doc.undoManager().undoCount(), 2);
}

TEST_F(DocumentUndoTest, DependentKeysAreNotified)
{
    Recorder r;
    auto g = SKTGraphic::create(SKTGraphic::Kind::Shape);
    for (const QString &k : {SKTGraphicXPositionKey, SKTGraphicWidthKey, SKTGraphicDrawingBoundsKey,
                             SKTGraphicDrawingContentsKey})
        g->addObserver(&r, k);
    g->setWidth(50);
    EXPECT_TRUE(r.keys.contains(SKTGraphicWidthKey));
    EXPECT_TRUE(r.keys.contains(SKTGraphicXPositionKey));
    EXPECT_TRUE(r.keys.contains(SKTGraphicDrawingBoundsKey));
    r.keys.clear();
    g->setValueForKey(SKTGraphicStrokeWidthKey, 4.0);
    EXPECT_EQ(r.keys, QStringList{SKTGraphicDrawingBoundsKey});
    r.keys.clear();
    g->setValueForKey(SKTGraphicFillColorKey, QColor(1, 2, 3));
    EXPECT_EQ(r.keys, QStringList{SKTGraphicDrawingContentsKey});
    g->removeAllObservers(&r);
    EXPECT_EQ(SKTGraphic::presentablePropertyNameForKey(SKTGraphic::Kind::Shape, SKTGraphicBoundsKey),
              QString(""));
}

TEST_F(DocumentUndoTest, ColourCommandTurnsTheFillOnAsTwoChanges)
{
    SKTDocument doc;
    GraphicPtr g = addShape(doc);
    g->_isDrawingFill = false;
    step(doc, [&] { g->setColor(QColor(0, 0, 255)); });
    EXPECT_TRUE(g->isDrawingFill());
    doc.undoManager().undo();
    EXPECT_FALSE(g->_isDrawingFill);

    auto image = std::make_shared<SKTImage>();
    const auto before = image->_fillColor;
    image->setColor(QColor(0, 0, 255));
    EXPECT_EQ(image->_fillColor, before);
}
