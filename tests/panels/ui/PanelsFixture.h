// A main window with the shape and line, text, and picture and signature panels on its inspector
// pages; objects are made with the tools and shown in a panel as the inspector shows them.
#pragma once

#include "editor/ui/MainWindowFixture.h"

#include "foundation/ui/ColorWell.h"
#include "foundation/ui/StepperField.h"
#include "model/BulkLoadGuard.h"
#include "panels/ui/ImageSignPanel.h"
#include "panels/ui/InspectorTabs.h"
#include "panels/ui/ShapeLinePanel.h"
#include "panels/ui/TextPanel.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>

class PanelsFixture : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        shapes = panel<ShapeLinePanel>();
        texts = panel<TextPanel>();
        pictures = panel<ImageSignPanel>();
    }
    // The window's own panel when its inspector made one, else a new one on its pages.
    template <typename Panel> Panel *panel()
    {
        if (auto *own = window->findChild<Panel *>())
            return own;
        return new Panel(*window);
    }

    // Makes an object with a tool on the front side; it lands in front of the others (index 0)
    // and is then the only one selected.
    GraphicPtr make(int tool)
    {
        clickTool(tool);
        return front().first();
    }
    void select(const QList<int> &indexes) { canvas(0)->changeSelectionIndexes(indexes); }
    // Loads a panel as the inspector does: under the bulk-load mark.
    template <typename Panel> void load(Panel *panel, const GraphicPtr &graphic)
    {
        BulkLoadGuard loading;
        panel->loadFrom(*graphic);
    }
    // Shows one inspector page alone, as a reviewer would see it, and saves its picture.
    void screenshot(InspectorTabs::Item item, const QString &name)
    {
        InspectorTabs &tabs = window->inspectorTabs();
        tabs.Remove_All_Tab_Items();
        tabs.addItem(item);
        tabs.selectItem(item);
        QCoreApplication::processEvents();
        saveArtifact(tabs.sett_tab(), name);
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
