// The inspector over a fake window (FakeInspectorHost) for every test, with the seams of a window
// test; helpers put objects on a side, select them as the canvas does and make a user's choice in a
// combo box.
#pragma once

#include "FakeInspectorHost.h"

#include "model/ModelGlobals.h"
#include "support/WindowFixture.h"

#include <QComboBox>
#include <QTabWidget>
#include <QTest>

#include <memory>

class FakeHostFixture : public testsupport::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        ModelGlobals::instance().reset();
        host = std::make_unique<FakeInspectorHost>();
        host->window().show();
        // The active window, as the program's is: a field takes the focus a typed value needs.
        host->window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host->window()));
        inspect(nullptr);
    }
    void TearDown() override
    {
        host.reset();
        ModelGlobals::instance().reset();
        WindowFixture::TearDown();
    }

    // A new object of a kind on a side, selected there and shown by the inspector.
    GraphicPtr place(SKTGraphic::Kind kind, int side = 0, bool shown = true)
    {
        GraphicPtr g = SKTGraphic::create(kind);
        g->setBounds(QRectF(20, 20, 80, 30));
        const GraphicList &list = side == 0 ? host->document().graphics() : host->document().graphics_back();
        const int index = int(list.size());
        host->document().insertGraphicsIntoSide(side, {g}, {index});
        canvas(side)->changeSelectionIndexes({index});
        canvas(side)->setSelectedGraphic(g);
        if (shown)
            inspect(g);
        return g;
    }
    void inspect(const GraphicPtr &g) { inspector().Show_RHS_Properties(g); }
    SKTGraphicView *canvas(int side) { return host->sideCanvas(side); }
    InspectorTabs &tabs() { return host->inspectorTabs(); }
    Inspector &inspector() { return host->inspector(); }
    QList<InspectorTabs::Item> shownTabs() { return tabs().shownItems(); }
    QString shownLabel(int index) { return tabs().sett_tab()->tabText(index); }

    // What a user's pick in a closed combo does: the index changes, then "activated".
    static void choose(QComboBox *combo, int index)
    {
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    static void choose(QComboBox *combo, const QString &text) { choose(combo, combo->findText(text)); }
    // The message boxes' texts as the user reads them (boxes start with a blank line).
    QStringList shown() const
    {
        QStringList texts;
        for (const QString &m : messages.messages())
            texts << (m.startsWith(QLatin1Char('\n')) ? m.mid(1) : m);
        return texts;
    }

    std::unique_ptr<FakeInspectorHost> host;
};
