// A main window with helpers to put objects on a side, select them as the canvas does and make a
// user's choice in a combo box.
#pragma once

#include "editor/ui/MainWindowFixture.h"

#include "editor/ui/MainWindowLayout.h"
#include "panels/ui/Inspector.h"
#include "panels/ui/InspectorTabs.h"
#include "support/IndicatorClick.h"

#include <QComboBox>

class InspectorFixture : public MainWindowFixture
{
protected:
    // A new object of a kind on a side, selected there and shown by the inspector.
    GraphicPtr place(SKTGraphic::Kind kind, int side = 0, bool show = true)
    {
        GraphicPtr g = SKTGraphic::create(kind);
        g->setBounds(QRectF(20, 20, 80, 30));
        const GraphicList &list = side == 0 ? front() : back();
        const int index = int(list.size());
        window->document().insertGraphicsIntoSide(side, {g}, {index});
        canvas(side)->changeSelectionIndexes({index});
        canvas(side)->setSelectedGraphic(g);
        if (show)
            window->Show_RHS_Properties(g);
        return g;
    }
    // What a user's pick in a closed combo does: the index changes, then "activated".
    static void choose(QComboBox *combo, int index)
    {
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    static void choose(QComboBox *combo, const QString &text) { choose(combo, combo->findText(text)); }

    // Brings a tab to the front, as a user does before working its controls.
    void showTab(InspectorTabs::Item item)
    {
        // An empty side shows the card page once it has painted: let that happen first, or it
        // would take the tab away again. The show is posted from the paint, so it comes a turn later.
        for (int side = 0; side < 3; ++side) {
            SKTGraphicView *view = canvas(side);
            if (view->isVisible()) {
                EXPECT_TRUE(QTest::qWaitFor([view] { return view->paintCount() > 0; }));
            }
        }
        for (int turn = 0; turn < 3; ++turn)
            QCoreApplication::processEvents();
        tabs().selectItem(item);
        QCoreApplication::processEvents();
    }
    // A click on a check box's indicator (its middle may lie past the label, outside the hit area).
    static void tick(QAbstractButton *box) { testsupport::clickIndicator(box); }
    InspectorTabs &tabs() { return window->inspectorTabs(); }
    MainWindowLayout &ui() { return window->ui(); }
    Inspector &inspector() { return window->inspector(); }
    QList<InspectorTabs::Item> shownTabs() { return tabs().shownItems(); }
    QString shownLabel(int index) { return tabs().sett_tab()->tabText(index); }
};
