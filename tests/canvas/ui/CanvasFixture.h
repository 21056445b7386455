// A front canvas in its scroll view on a shown window, bound to a document, a selection, a grid
// and a zoom, with a fake main window and a message recorder. Parameterised by the zoom factor.
#pragma once

#include "CanvasDriver.h"
#include "FakeCanvasHost.h"

#include "canvas/ui/SKTGraphicView.h"
#include "canvas/ui/SKTZoomingScrollView.h"
#include "canvas/ui/SideSelection.h"
#include "canvas/ui/ZoomFactor.h"
#include "foundation/FoundationState.h"
#include "model/ModelGlobals.h"
#include "model/SKTDocument.h"
#include "model/SKTGrid.h"
#include "platform/MessageAnswerer.h"
#include "platform/UndoManager.h"

#include <QApplication>
#include <QClipboard>
#include <gtest/gtest.h>

#include <memory>

class CanvasFixture : public ::testing::TestWithParam<double>
{
protected:
    void SetUp() override
    {
        ModelGlobals::instance().reset();
        FoundationState::instance().setResourcePath(QStringLiteral(TESSALY_SOURCE_RESOURCES));
        QApplication::clipboard()->clear();
        selection = std::make_unique<SideSelection>(document, SKTDocument::Front);
        scroll = std::make_unique<SKTZoomingScrollView>();
        scroll->resize(700, 500);
        view = new SKTGraphicView;
        view->setHost(&host);
        view->bindGraphics(document, SKTDocument::Front);
        view->bindSelection(*selection);
        view->setGrid(&grid);
        scroll->setDocumentView(view);
        scroll->bindFactor(zoom);
        zoom.setFactor(GetParam());
        scroll->show();
        driver = std::make_unique<CanvasDriver>(*view);
        CanvasDriver::settle();
        host.inspected.clear();
    }

    void TearDown() override
    {
        scroll.reset();
        ModelGlobals::instance().reset();
    }

    double f() const { return GetParam(); }

    // An object put straight into the front list (outside any undo step the test looks at).
    GraphicPtr add(SKTGraphic::Kind kind, const QRectF &bounds, bool locked = false)
    {
        GraphicPtr g = SKTGraphic::create(kind);
        g->_bounds = bounds;
        g->ctrl_is_locked = locked;
        document.insertGraphics({g}, {int(document.graphics().size())});
        CanvasDriver::settle();
        document.undoManager().removeAllActions();
        return g;
    }
    GraphicPtr addShape(const QRectF &bounds, bool locked = false)
    {
        return add(SKTGraphic::Kind::Shape, bounds, locked);
    }
    void select(const QList<int> &indexes) { view->changeSelectionIndexes(indexes); }
    QList<int> selected() const { return view->selectionIndexes(); }
    UndoManager &undo() { return document.undoManager(); }

    MessageAnswerer messages;
    FakeCanvasHost host;
    SKTDocument document;
    SKTGrid grid;
    ZoomFactor zoom;
    std::unique_ptr<SideSelection> selection;
    std::unique_ptr<SKTZoomingScrollView> scroll;
    SKTGraphicView *view = nullptr; // owned by the scroll view
    std::unique_ptr<CanvasDriver> driver;
    CanvasDriver &drive() { return *driver; }
};
