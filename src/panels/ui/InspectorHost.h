// What the inspector and its panels ask of the window they sit in: its tab pages (the panels build
// and own the controls on them), the document and its side canvases, the page settings, the edit buttons and
// the window commands a panel starts. The main window implements it; panel tests fake it.
#pragma once

#include "model/SKTGraphic.h"
#include "platform/FontDescriptor.h"

#include <QColor>
#include <QRectF>
#include <QSizeF>
#include <QString>

class Card_Property;
class InspectorTabs;
class SKTDocument;
class SKTGraphicView;
class QWidget;
class WindowRegistry;

class InspectorHost
{
public:
    virtual ~InspectorHost() = default;

    // The window the inspector sits in: owner of the panels, parent of their dialogs, holder of
    // the focus a typed value waits in.
    virtual QWidget &inspectorWindow() = 0;
    virtual InspectorTabs &inspectorTabs() const = 0;
    // The windows a panel opens (image library, series viewer, greeting texts, barcode window).
    virtual WindowRegistry &registry() const = 0;

    virtual SKTDocument &document() = 0;
    // Whether the inspector is filling its tabs from the design (Inspector::filling()).
    virtual bool inspectorFilling() const = 0;
    // The side being edited: 0 front, 1 back (the window's view state).
    virtual int Card_Front_Or_Back() const = 0;
    // The canvas of the front (0) or back (1) side, and the one of the side being edited.
    virtual SKTGraphicView *sideCanvas(int side) const = 0;
    virtual SKTGraphicView *liveCanvas() const = 0;
    // Whether the preview side is shown: its objects are not edited there.
    virtual bool previewShown() const = 0;
    // Page settings of the front (0) or back (1) side, and of the side being edited (null for none).
    virtual const Card_Property &cardProperty(int side) const = 0;
    virtual const Card_Property *liveCardProperty() const = 0;
    // The card area: the design's card size from (0, 0).
    virtual QRectF frontCanvasBounds() const = 0;
    virtual void Refresh_Canvas() = 0;
    virtual void set_Front_BG_Image(const QString &path) = 0;
    virtual void set_Back_BG_Image(const QString &path) = 0;
    // The background picture of the side being edited.
    void setLiveBackground(const QString &path)
    {
        if (Card_Front_Or_Back() != 0)
            set_Back_BG_Image(path);
        else
            set_Front_BG_Image(path);
    }

    // Showing anything in the inspector ends a tool: the arrow is chosen again.
    virtual void selectArrowTool() = 0;
    // The edit buttons for the card page, or for an object, locked or not.
    virtual void editButtonsForCard() = 0;
    virtual void editButtonsForObject(bool locked) = 0;
    // The window's Unlock command (the lock page's button).
    virtual void unlockSelection() = 0;
    virtual void Open_Barcode_Window(const GraphicPtr &graphic) = 0;
};
