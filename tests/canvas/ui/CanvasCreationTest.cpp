// Making objects: by a press with a tool, at a default place, with the invitation texts' settings,
// and the operations by identifier that the personal details use.
#include "CanvasFixture.h"

#include "model/GraphicInk.h"
#include "model/SKTImage.h"
#include "model/SKTText.h"

#include <QMimeData>
#include <QTemporaryDir>

using CanvasCreationTest = CanvasFixture;

TEST_P(CanvasCreationTest, ToolPressWithoutDraggingLeavesNoObjectAndNoHistory)
{
    host.chooseTool(3, SKTGraphic::Kind::Shape);
    drive().click(QPointF(60, 60));
    CanvasDriver::settle();
    EXPECT_TRUE(document.graphics().isEmpty());
    EXPECT_EQ(undo().undoCount(), 0);
    EXPECT_EQ(undo().redoCount(), 0);
    EXPECT_EQ(view->selectedGraphic(), nullptr);
    ASSERT_FALSE(host.inspected.isEmpty());
    EXPECT_EQ(host.inspected.last(), nullptr);
}

TEST_P(CanvasCreationTest, ToolDragMakesOneUndoableObjectAndAThinOneStays)
{
    host.chooseTool(4, SKTGraphic::Kind::Shape);
    drive().drag(QPointF(20, 20), QPointF(70, 50));
    CanvasDriver::settle();
    ASSERT_EQ(document.graphics().size(), 1);
    const GraphicPtr ellipse = document.graphics().first();
    EXPECT_EQ(ellipse->bounds(), QRectF(20, 20, 50, 30));
    EXPECT_EQ(ellipse->Get_shape_type(), QStringLiteral("C"));
    EXPECT_EQ(selected(), QList<int>{0});
    EXPECT_EQ(view->selectedGraphic(), ellipse);
    EXPECT_EQ(undo().undoCount(), 1);
    // Zero wide but ten high is an object.
    drive().drag(QPointF(100, 20), QPointF(100, 30));
    CanvasDriver::settle();
    ASSERT_EQ(document.graphics().size(), 2);
    EXPECT_EQ(document.graphics().first()->bounds(), QRectF(100, 20, 0, 10));
    view->undo();
    view->undo();
    EXPECT_TRUE(document.graphics().isEmpty());
}

TEST_P(CanvasCreationTest, ImmediateObjectsAreFiftySquareWithBothCornersOnTheSnappingGrid)
{
    host.chooseTool(3, SKTGraphic::Kind::Shape);
    const GraphicPtr first =
        view->createGraphicOfClass(SKTGraphic::Kind::Shape, false, QRectF(), "F", "", "");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->bounds(), QRectF(30, 30, 50, 50)); // the first new-object point
    EXPECT_EQ(view->selectedGraphic(), first);
    grid.setConstraining(true); // spacing 9
    const GraphicPtr second =
        view->createGraphicOfClass(SKTGraphic::Kind::Shape, false, QRectF(), "F", "", "");
    const QRectF b = second->bounds();
    for (double v : {b.left(), b.top(), b.right(), b.bottom()})
        EXPECT_EQ(std::fmod(v, 9.0), 0.0) << v;
    EXPECT_EQ(document.graphics().first(), second);
    EXPECT_EQ(selected(), QList<int>{0});
}

TEST_P(CanvasCreationTest, ANewObjectFromTheToolsLandsWhereNothingIsDrawn)
{
    // A text, then a barcode whose picture is larger than a text, then a shape: none is drawn over
    // another, though each next new-object place lies over the one before.
    const std::pair<int, SKTGraphic::Kind> tools[] = {
        {2, SKTGraphic::Kind::Text}, {10, SKTGraphic::Kind::Barcode}, {3, SKTGraphic::Kind::Shape}};
    QList<QRectF> drawn;
    for (const auto &[tool, kind] : tools) {
        host.chooseTool(tool, kind);
        const GraphicPtr g = view->createGraphicOfClass(kind, false, QRectF(), "F", "", "");
        ASSERT_TRUE(g);
        const QRectF box = GraphicInk::drawnBox(*g);
        EXPECT_TRUE(QRectF(QPointF(0, 0), view->cardSize()).contains(box)) << tool;
        for (const QRectF &other : drawn)
            EXPECT_FALSE(box.intersects(other)) << tool << " lies on " << other.x() << "," << other.y();
        drawn << box;
    }
}

TEST_P(CanvasCreationTest, BoundRectKeepsItsPlaceOnlyWithAnIdentifier)
{
    host.chooseTool(2, SKTGraphic::Kind::Text);
    const GraphicPtr named = view->createGraphicOfClass(SKTGraphic::Kind::Text, true, QRectF(5, 6, 70, 20),
                                                        "F", "Ann", "Fup_Name");
    EXPECT_EQ(named->bounds(), QRectF(5, 6, 70, 20));
    const GraphicPtr plain =
        view->createGraphicOfClass(SKTGraphic::Kind::Text, true, QRectF(5, 6, 70, 20), "F", "", "");
    EXPECT_EQ(plain->bounds(), QRectF(30, 30, 70, 20));
    // An empty value keeps the text object's own defaults.
    EXPECT_EQ(plain->Text_Value.value_or(QString()), QStringLiteral("Text here"));
    EXPECT_TRUE(plain->_isDrawingStroke);
}

TEST_P(CanvasCreationTest, InvitationIdentifiersGiveTheirTextSettings)
{
    host.chooseTool(2, SKTGraphic::Kind::Text);
    auto make = [this](const QString &value, const QString &id) {
        return view->createGraphicOfClass(SKTGraphic::Kind::Text, true, QRectF(10, 10, 100, 30), "F", value,
                                          id);
    };
    const GraphicPtr title = make("Our Party", "PARTY_TITLE");
    EXPECT_EQ(title->text_alignmnet, 2);
    ASSERT_TRUE(title->text_ctrl_font);
    EXPECT_EQ(title->text_ctrl_font->postScriptName, QStringLiteral("TimesNewRomanPS-BoldItalicMT"));
    EXPECT_EQ(title->text_ctrl_font->size, 18.0);
    EXPECT_FALSE(title->_isDrawingStroke);
    EXPECT_FALSE(title->_isDrawingFill);
    const GraphicPtr from = make("Ann", "PARTY_FROM");
    EXPECT_EQ(from->text_alignmnet, 1);
    EXPECT_NE(from->text_ctrl_font.value_or(FontDescriptor()).postScriptName,
              QStringLiteral("TimesNewRomanPS-BoldItalicMT"));
    const GraphicPtr to = make("Bob", "PARTY_TO");
    EXPECT_EQ(to->text_alignmnet, 0);
    const GraphicPtr date = make("", "PARTY_DATE");
    EXPECT_EQ(date->text_alignmnet, 0);
    EXPECT_TRUE(date->_isDrawingStroke);
}

TEST_P(CanvasCreationTest, ReplacingByIdentifierUpdatesKeepsOrCreates)
{
    host.chooseTool(2, SKTGraphic::Kind::Text);
    const GraphicPtr name = view->ReplaceGraphicText(SKTGraphic::Kind::Text, true, QRectF(10, 10, 80, 20),
                                                     "F", "Ann", "Fup_Name");
    ASSERT_EQ(document.graphics().size(), 1);
    view->ReplaceGraphicText(SKTGraphic::Kind::Text, true, QRectF(10, 10, 80, 20), "F", "Bea", "Fup_Name");
    EXPECT_EQ(document.graphics().size(), 1);
    EXPECT_EQ(name->Text_contents().text, QStringLiteral("Bea"));
    // An empty value keeps the old text, and the object is still made current.
    view->changeSelectionIndexes({});
    view->setSelectedGraphic(nullptr);
    view->ReplaceGraphicText(SKTGraphic::Kind::Text, true, QRectF(), "F", "", "Fup_Name");
    EXPECT_EQ(name->Text_contents().text, QStringLiteral("Bea"));
    EXPECT_EQ(view->selectedGraphic(), name);
}

TEST_P(CanvasCreationTest, HidingPersonalDetailsTouchesOnlyTheirTextsAndPictures)
{
    const GraphicPtr name = add(SKTGraphic::Kind::Text, QRectF(10, 10, 50, 20));
    name->control_ID = QStringLiteral("Fup_Name");
    const GraphicPtr barcode = add(SKTGraphic::Kind::Barcode, QRectF(10, 40, 50, 20));
    barcode->control_ID = QStringLiteral("Fup_UniqueNo");
    const GraphicPtr party = add(SKTGraphic::Kind::Text, QRectF(10, 70, 50, 20));
    party->control_ID = QStringLiteral("PARTY_TITLE");
    const GraphicPtr shape = addShape(QRectF(70, 10, 30, 30));
    shape->control_ID = QStringLiteral("Fup_Title");
    view->Hide_all_Text_control_FUP_Control();
    EXPECT_FALSE(name->ctrl_is_visible);
    EXPECT_TRUE(barcode->ctrl_is_visible);
    EXPECT_TRUE(party->ctrl_is_visible);
    EXPECT_TRUE(shape->ctrl_is_visible);
    // Looking up by identifier skips the shape.
    EXPECT_EQ(view->Selcect_Ctrl_With_ID(QStringLiteral("Fup_Title")), nullptr);
    EXPECT_EQ(view->Selcect_Ctrl_With_ID(QStringLiteral("Fup_Name")), name);
    // Placing the detail again shows it.
    view->ReplaceGraphicText(SKTGraphic::Kind::Text, true, QRectF(), "F", "Ann", "Fup_Name");
    EXPECT_TRUE(name->ctrl_is_visible);
}

TEST_P(CanvasCreationTest, RemovingTextsAndEverythingGoesThroughUndo)
{
    add(SKTGraphic::Kind::Text, QRectF(10, 10, 50, 20));
    addShape(QRectF(70, 10, 30, 30));
    add(SKTGraphic::Kind::Image, QRectF(10, 40, 30, 30));
    view->delete_all_Text_control();
    ASSERT_EQ(document.graphics().size(), 1);
    EXPECT_EQ(document.graphics().first()->kind(), SKTGraphic::Kind::Shape);
    CanvasDriver::settle(); // each command is its own undo step
    view->delete_all_control();
    EXPECT_TRUE(document.graphics().isEmpty());
    CanvasDriver::settle();
    view->undo();
    EXPECT_EQ(document.graphics().size(), 1);
}

TEST_P(CanvasCreationTest, PictureFilesMakePictureObjectsAndOtherFilesNothing)
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("dot.png"));
    QImage image(20, 10, QImage::Format_ARGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(png));
    const QString text = dir.filePath(QStringLiteral("note.png.txt"));
    QFile(text).open(QIODevice::WriteOnly);
    EXPECT_FALSE(view->makeNewImageFromContentsOfFile(text, QPointF(50, 50)));
    EXPECT_FALSE(
        view->makeNewImageFromContentsOfFile(dir.filePath(QStringLiteral("missing.png")), QPointF(50, 50)));
    Library_Selected_Image = text; // the library's last choice is not this picture
    ASSERT_TRUE(view->makeNewImageFromContentsOfFile(png, QPointF(50, 50)));
    ASSERT_EQ(document.graphics().size(), 1);
    EXPECT_EQ(document.graphics().first()->kind(), SKTGraphic::Kind::Image);
    EXPECT_EQ(document.graphics().first()->FilePath(), png);
    EXPECT_EQ(selected(), QList<int>{0});
}

INSTANTIATE_TEST_SUITE_P(Zoom, CanvasCreationTest, ::testing::Values(1.0, 2.0),
                         [](const ::testing::TestParamInfo<double> &info) {
                             return QStringLiteral("At%1").arg(int(info.param * 100)).toStdString();
                         });

TEST_P(CanvasCreationTest, EmptyPressOnTheBackSideLeavesTheFrontHistoryAlone)
{
    // The back side records no undo: taking back an empty object there must not undo a front step.
    addShape(QRectF(10, 10, 20, 20));
    const GraphicPtr front = document.graphics().first();
    front->setBounds(QRectF(40, 40, 20, 20));
    CanvasDriver::settle();
    ASSERT_EQ(undo().undoCount(), 1);
    SideSelection backSelection(document, SKTDocument::Back);
    SKTGraphicView back;
    back.setHost(&host);
    back.bindGraphics(document, SKTDocument::Back);
    back.bindSelection(backSelection);
    back.setZoom(f());
    back.show();
    host.chooseTool(3, SKTGraphic::Kind::Shape);
    CanvasDriver backDriver(back);
    backDriver.click(QPointF(50, 50));
    CanvasDriver::settle();
    EXPECT_TRUE(document.graphics_back().isEmpty());
    EXPECT_EQ(front->bounds(), QRectF(40, 40, 20, 20));
    EXPECT_EQ(undo().undoCount(), 1);
    backDriver.drag(QPointF(50, 50), QPointF(80, 70));
    ASSERT_EQ(document.graphics_back().size(), 1);
    EXPECT_EQ(backSelection.selectionIndexes(), QList<int>{0});
}
