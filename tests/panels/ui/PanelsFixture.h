// The shape and line, text, and picture and signature panels of the inspector over a fake window
// (FakeHostFixture); objects are put on the front side and shown as the window shows a new one.
#pragma once

#include "FakeHostFixture.h"

#include "foundation/CardCodes.h"
#include "foundation/ui/ColorWell.h"
#include "foundation/ui/StepperField.h"
#include "model/SKTImage.h"
#include "model/SKTSignature.h"
#include "panels/ui/ImageSignPanel.h"
#include "panels/ui/InspectorTabs.h"
#include "panels/ui/ShapeLinePanel.h"
#include "panels/ui/TextPanel.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <cmath>

class PanelsFixture : public FakeHostFixture
{
protected:
    void SetUp() override
    {
        FakeHostFixture::SetUp();
        shapes = &inspector().shapeLinePanel();
        texts = &inspector().textPanel();
        pictures = &inspector().imageSignPanel();
    }

    // Puts an object on the front side in front of the others (index 0), as a new object lands;
    // it is then the only one selected and the inspector shows it. The event loop turns once, as
    // after the user's click that made it: the canvas has painted it, its undo group is closed.
    GraphicPtr add(const GraphicPtr &g)
    {
        g->setBounds(QRectF(20, 20, 50, 50));
        host->document().insertGraphicsIntoSide(0, {g}, {0});
        canvas(0)->changeSelectionIndexes({0});
        canvas(0)->setSelectedGraphic(g);
        inspect(g);
        QCoreApplication::processEvents();
        return g;
    }
    GraphicPtr make(SKTGraphic::Kind kind) { return add(SKTGraphic::create(kind)); }
    GraphicPtr makeShape(const QString &code = ShapeCode::Rectangle)
    {
        GraphicPtr g = SKTGraphic::create(SKTGraphic::Kind::Shape);
        g->Set_Shape_Type(code);
        return add(g);
    }
    // A picture object showing the file's picture.
    GraphicPtr makePictureFrom(const QString &path)
    {
        return add(SKTImage::initWithPath(QPointF(20, 20), path));
    }
    GraphicPtr makeSignature()
    {
        return add(SKTSignature::initWithPosition(QPointF(20, 20), host->sign_sample_img(),
                                                  SignatureCode::Signature));
    }
    void select(const QList<int> &indexes) { canvas(0)->changeSelectionIndexes(indexes); }
    // Loads a panel as the inspector does: while it fills its tabs.
    template <typename Panel> void load(Panel *panel, const GraphicPtr &graphic)
    {
        const Inspector::Filling filling(inspector());
        panel->loadFrom(*graphic);
    }
    // Shows one inspector page alone, as a reviewer would see it, and saves its picture.
    void screenshot(InspectorTabs::Item item, const QString &name)
    {
        tabs().Remove_All_Tab_Items();
        tabs().addItem(item);
        tabs().selectItem(item);
        QCoreApplication::processEvents();
        saveArtifact(tabs().sett_tab(), name);
    }
    // The user picks a colour in a well's chooser.
    void pickColor(ColorWell *well, const QColor &color)
    {
        choosers.nextColor = color;
        well->click();
    }
    // The user steps a field to a value with its arrows.
    static void stepTo(StepperField *field, double value)
    {
        field->stepBy(int(std::lround((value - field->value()) / field->singleStep())));
    }

    ShapeLinePanel *shapes = nullptr;
    TextPanel *texts = nullptr;
    ImageSignPanel *pictures = nullptr;
};
