// The shape and line panels driven as a user would: what each edit writes into the selected
// objects, what loading an object shows, and that a load never writes back.
#include "PanelsFixture.h"

#include "model/SKTLine.h"
#include "panels/ui/LineTab.h"
#include "panels/ui/ShapeTab.h"
#include "platform/UndoManager.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainterPath>
#include <QRadioButton>
#include <QSet>

using ShapeLinePanels = PanelsFixture;

TEST_F(ShapeLinePanels, BorderOffKeepsItsColourAndWidthAndFillOffStillWritesItsSettings)
{
    const GraphicPtr shape = makeShape();
    load(shapes, shape);
    ShapeTab &t = shapes->shapeTab();
    pickColor(t.shape_bordr_clr, QColor(200, 0, 0));
    stepTo(t.shape_bor_Stepper, 4);
    EXPECT_EQ(shape->_strokeColor, QColor(200, 0, 0));
    EXPECT_EQ(shape->_strokeWidth, 4.0);

    t.Shape_border_chk->setChecked(true);
    t.Shape_border_chk->click(); // off
    EXPECT_FALSE(shape->_isDrawingStroke);
    EXPECT_EQ(shape->_strokeColor, QColor(200, 0, 0));
    EXPECT_EQ(shape->_strokeWidth, 4.0);
    EXPECT_FALSE(t.shape_bordr_clr->isEnabled());
    t.Shape_border_chk->click(); // on again: the panel's values come back
    EXPECT_TRUE(shape->_isDrawingStroke);
    EXPECT_EQ(shape->_strokeWidth, 4.0);
    // A border turned on where an older design stored no colour takes the colour shown.
    t.Shape_border_chk->click();
    shape->_strokeColor.reset();
    t.Shape_border_chk->click();
    EXPECT_EQ(shape->_strokeColor, t.shape_bordr_clr->color());

    // A pattern fill draws its first pattern at once; then a gradient, and fill off keeps it.
    t.Shape_fill_chk->setChecked(true);
    t.shape_hatch_style->addItems(
        {QStringLiteral("Bricks"), QStringLiteral("Waves")}); // the window's patterns
    t.shape_hatch_style->setCurrentIndex(-1);
    t.Shape_Style_fill_rd->click();
    EXPECT_EQ(shape->fill_type(), QStringLiteral("H"));
    EXPECT_EQ(t.shape_hatch_style->currentIndex(), 0);
    EXPECT_EQ(shape->_fill_hatch_type, t.shape_hatch_style->itemText(0));
    EXPECT_TRUE(t.shape_hatch_style->isEnabled());
    EXPECT_FALSE(t.shape_fill_clr->isEnabled());
    t.Shape_gradient_fill_rd->click();
    EXPECT_EQ(shape->fill_type(), QStringLiteral("G"));
    pickColor(t.shape_fill_Grd_2_clr, QColor(0, 0, 255));
    t.shape_hatch_style->setCurrentIndex(-1);
    t.Shape_fill_chk->click(); // off
    EXPECT_FALSE(shape->_isDrawingFill);
    EXPECT_EQ(shape->fill_type(), QStringLiteral("G"));
    EXPECT_EQ(shape->_fill_Grad_clr2, QColor(0, 0, 255));
    load(shapes, shape);
    t.Shape_fill_chk->click(); // on again: the gradient is back
    EXPECT_TRUE(shape->_isDrawingFill);
    EXPECT_EQ(shape->fill_type(), QStringLiteral("G"));
    // The check box writes no pattern: the shape keeps the one it had.
    EXPECT_EQ(shape->_fill_hatch_type, QStringLiteral("Bricks"));

    stepTo(t.shape_alpha_Stepper, 50);
    EXPECT_FLOAT_EQ(shape->alpha_val, 0.5f);
}

TEST_F(ShapeLinePanels, AShapeEditReachesEverySelectedObjectWithTheFieldAsOneUndoStep)
{
    const GraphicPtr a = makeShape();
    const GraphicPtr b = makeShape(ShapeCode::Circle);
    const GraphicPtr line = make(SKTGraphic::Kind::Line);
    select({0, 1, 2});
    load(shapes, a);
    QCoreApplication::processEvents();
    const QColor before = *a->_strokeColor;
    line->_strokeColor = QColor(200, 0, 0);
    pickColor(shapes->shapeTab().shape_bordr_clr, QColor(10, 20, 30));
    // A line has no border: its stroke is the line page's.
    for (const GraphicPtr &g : {a, b})
        EXPECT_EQ(g->_strokeColor, QColor(10, 20, 30));
    EXPECT_EQ(line->_strokeColor, QColor(200, 0, 0));
    QCoreApplication::processEvents();
    host->document().undoManager().undo();
    for (const GraphicPtr &g : {a, b})
        EXPECT_EQ(g->_strokeColor, before);
}

TEST_F(ShapeLinePanels, NothingIsWrittenWhileControlsAreLoading)
{
    const GraphicPtr shape = makeShape();
    load(shapes, shape);
    const int paints = canvas(0)->paintCount();
    {
        const Inspector::Filling filling(inspector());
        shapes->shapeTab().Shape_border_chk->click();
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(shape->_isDrawingStroke);
    EXPECT_EQ(canvas(0)->paintCount(), paints);
}

TEST_F(ShapeLinePanels, LoadingAShapeShowsTruncatedWidthsPercentAndTheFillCodesControls)
{
    const GraphicPtr shape = makeShape();
    shape->_strokeWidth = 2.9;
    shape->alpha_val = 0.5f;
    shape->_isDrawingFill = false;
    shape->_fill_type = QStringLiteral("S");
    shape->_fill_hatch_type = QString();
    shape->_stroke_border_type = QStringLiteral("DO");
    load(shapes, shape);
    ShapeTab &t = shapes->shapeTab();
    EXPECT_EQ(t.shape_bor_Stepper->value(), 2);
    EXPECT_EQ(t.shape_alpha_Stepper->value(), 50);
    EXPECT_EQ(t.shape_border_style->currentIndex(), 2);
    EXPECT_EQ(t.shape_hatch_style->currentIndex(), -1);
    // The box is off, yet solid fill's own well follows the fill code, which comes last.
    EXPECT_FALSE(t.Shape_solid_fill_rd->isEnabled());
    EXPECT_TRUE(t.shape_fill_clr->isEnabled());
    EXPECT_TRUE(t.Shape_solid_fill_rd->isChecked());

    // A new object holds 100: the field keeps what its range allows.
    const GraphicPtr fresh = makeShape();
    load(shapes, fresh);
    EXPECT_EQ(t.shape_alpha_Stepper->value(), 100);
    // An unknown border code leaves the combo as the last object set it.
    fresh->_stroke_border_type = QStringLiteral("ZZ");
    load(shapes, fresh);
    EXPECT_EQ(t.shape_border_style->currentIndex(), 0);
}

TEST_F(ShapeLinePanels, EachShapeShowsOnlyItsOwnExtraControls)
{
    const GraphicPtr shape = makeShape();
    ShapeTab &t = shapes->shapeTab();
    const auto shown = [&] {
        return QList<bool>{t.shape_cor_radius_Stepper->isVisibleTo(t.page),
                           t.double_star_Stepper->isVisibleTo(t.page),
                           t.polygon_Stepper->isVisibleTo(t.page)};
    };
    shape->_shape_type = QStringLiteral("RR");
    load(shapes, shape);
    EXPECT_EQ(shown(), (QList<bool>{true, false, false}));
    EXPECT_EQ(t.Shape_prop_title->text(), QStringLiteral("Rounded Rectangle Properties"));
    screenshot(InspectorTabs::shape_tab, QStringLiteral("inspector-shape.png"));
    shape->_shape_type = QStringLiteral("DS");
    load(shapes, shape);
    EXPECT_EQ(shown(), (QList<bool>{false, true, false}));
    shape->_shape_type = QStringLiteral("P");
    load(shapes, shape);
    EXPECT_EQ(shown(), (QList<bool>{false, false, true}));
    shape->ctrl_is_locked = true;
    load(shapes, shape);
    EXPECT_EQ(shown(), (QList<bool>{false, false, false}));
    shape->ctrl_is_locked = false;
    shape->_shape_type = QStringLiteral("Q");
    load(shapes, shape);
    EXPECT_EQ(t.Shape_prop_title->text(), QStringLiteral("Polygon Properties"));
    EXPECT_EQ(shown(), (QList<bool>{false, false, false}));
}

TEST_F(ShapeLinePanels, TheLinePanelWritesItsStrokeCapAndOpacity)
{
    const GraphicPtr line = make(SKTGraphic::Kind::Line);
    line->_strokeWidth = 3.7;
    line->alpha_val_stroke = 0.25f;
    line->_line_cap_style = 2;
    load(shapes, line);
    LineTab &t = shapes->lineTab();
    EXPECT_EQ(t.Line_Wdt_Stepper->value(), 3);
    EXPECT_EQ(t.Line_alpha_Stepper->value(), 25);
    EXPECT_EQ(t.Line_cap_style->currentIndex(), 2);
    screenshot(InspectorTabs::line_tab, QStringLiteral("inspector-line.png"));

    // The opacity writes the opacity alone.
    stepTo(t.Line_alpha_Stepper, 50);
    EXPECT_EQ(line->_strokeWidth, 3.7);
    EXPECT_EQ(line->_line_cap_style, 2);
    EXPECT_FLOAT_EQ(line->alpha_val_stroke, 0.5f);
    t.Line_border_style->setCurrentIndex(3);
    QTest::keyClick(t.Line_border_style, Qt::Key_Down);
    EXPECT_EQ(line->strokeBorderType(), QStringLiteral("DDD"));
}

// The polygon and double-star fields name the outline a choice draws, counted on the outline.
TEST_F(ShapeLinePanels, PolygonAndDoubleStarFieldsNameTheOutlineTheyDraw)
{
    ShapeTab &t = shapes->shapeTab();
    struct Case {
        const char *code;
        int choice;
        const char *shown;
        int corners; // distinct corners of the drawn outline
    };
    const Case cases[] = {{"P", 1, "4-point star", 8}, {"P", 2, "Pentagon", 5},   {"P", 3, "Hexagon", 6},
                          {"P", 4, "Heptagon", 7},     {"P", 5, "Octagon", 8},    {"DS", 1, "7 points", 7},
                          {"DS", 3, "11 points", 11},  {"DS", 5, "15 points", 15}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.shown);
        const GraphicPtr shape = makeShape(QString::fromLatin1(c.code));
        const bool polygon = shape->Get_shape_type() == ShapeCode::Polygon;
        (polygon ? shape->polygon_type : shape->double_star_type) = c.choice;
        load(shapes, shape);
        StepperField *field = polygon ? t.polygon_Stepper : t.double_star_Stepper;
        EXPECT_EQ(field->text(), QString::fromLatin1(c.shown));
        const std::optional<QPainterPath> outline = shape->bezierPathForDrawing();
        ASSERT_TRUE(outline.has_value());
        QSet<QPair<int, int>> corners;
        for (int i = 0; i < outline->elementCount(); ++i)
            corners.insert({qRound(outline->elementAt(i).x * 100), qRound(outline->elementAt(i).y * 100)});
        EXPECT_EQ(corners.size(), c.corners);
    }
    // Stepping shows the next outline and stores its choice as before.
    const GraphicPtr polygon = makeShape(ShapeCode::Polygon);
    polygon->polygon_type = 2;
    load(shapes, polygon);
    stepTo(t.polygon_Stepper, 3);
    EXPECT_EQ(polygon->polygon_type, 3);
    EXPECT_EQ(t.polygon_Stepper->text(), QStringLiteral("Hexagon"));
}

TEST_F(ShapeLinePanels, OrientationTurnsTheSelectedLineAboutItsMiddleAndKeepsIt)
{
    const GraphicPtr g = make(SKTGraphic::Kind::Line);
    auto &line = static_cast<SKTLine &>(*g);
    QComboBox *orientation = shapes->lineTab().Line_ori_style;
    struct Case {
        QPointF begin, end;
        const char *choice;
        QPointF wantBegin, wantEnd;
    };
    // A line 100 long around (60, 50): it keeps its middle, its length and its way round.
    const Case cases[] = {
        {{20, 80}, {100, 20}, "Horizontal", {10, 50}, {110, 50}},
        {{100, 20}, {20, 80}, "Horizontal", {110, 50}, {10, 50}},
        {{20, 80}, {100, 20}, "Vertical", {60, 100}, {60, 0}},
        {{10, 50}, {110, 50}, "Vertical", {60, 0}, {60, 100}},
        {{20, 80}, {100, 20}, "Free", {20, 80}, {100, 20}},
    };
    for (const Case &c : cases) {
        line.setBeginPoint(c.begin);
        line.setEndPoint(c.end);
        choose(orientation, QString::fromLatin1(c.choice));
        EXPECT_EQ(line.beginPoint(), c.wantBegin) << c.choice;
        EXPECT_EQ(line.endPoint(), c.wantEnd) << c.choice;
        EXPECT_EQ(line._line_ori, orientation->currentIndex());
    }

    // Dragging an end keeps a vertical line upright, a horizontal one level; a free one follows.
    choose(orientation, QStringLiteral("Vertical"));
    line.resizeByMovingHandle(LineHandle::End, QPointF(90, 130));
    EXPECT_EQ(line.endPoint(), QPointF(60, 130));
    choose(orientation, QStringLiteral("Horizontal"));
    line.resizeByMovingHandle(LineHandle::Begin, QPointF(0, 0));
    EXPECT_EQ(line.beginPoint().y(), line.endPoint().y());
    choose(orientation, QStringLiteral("Free"));
    line.resizeByMovingHandle(LineHandle::End, QPointF(90, 130));
    EXPECT_EQ(line.endPoint(), QPointF(90, 130));

    // Undo of a turn brings back the line and its orientation, so its ends drag freely again.
    QCoreApplication::processEvents();
    const QPointF begin = line.beginPoint();
    choose(orientation, QStringLiteral("Vertical"));
    QCoreApplication::processEvents();
    host->document().undoManager().undo();
    EXPECT_EQ(line.beginPoint(), begin);
    EXPECT_EQ(line.endPoint(), QPointF(90, 130));
    EXPECT_EQ(line._line_ori, LineOrientation::Free);
    host->document().undoManager().redo();
    EXPECT_EQ(line._line_ori, LineOrientation::Vertical);
}

TEST_F(ShapeLinePanels, AStarsSolidFillCoversItsPointsAndItsMiddle)
{
    const GraphicPtr star = makeShape(ShapeCode::Star);
    star->setBounds(QRectF(20, 20, 100, 100));
    ShapeTab &t = shapes->shapeTab();
    t.Shape_fill_chk->setChecked(false);
    t.Shape_fill_chk->click();
    t.Shape_solid_fill_rd->click();
    pickColor(t.shape_fill_clr, QColor(255, 0, 0));
    QCoreApplication::processEvents();
    const QImage shown = canvas(0)->grab().toImage();
    saveArtifact(canvas(0), QStringLiteral("star-filled.png"));
    // The top point (70, 20) down to the middle pentagon's top edge near y 54; the middle; and a
    // corner of the bounds outside the star.
    for (const QPoint &inside : {QPoint(70, 40), QPoint(70, 70), QPoint(110, 58), QPoint(54, 92)})
        EXPECT_EQ(shown.pixelColor(inside), QColor(255, 0, 0)) << inside.x() << "," << inside.y();
    EXPECT_NE(shown.pixelColor(QPoint(24, 24)), QColor(255, 0, 0));
}
