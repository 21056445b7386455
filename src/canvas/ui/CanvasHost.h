// What a card canvas asks of the main window: the current tool, the inspector, the barcode window,
// the state of its buttons and the page settings of the side being edited. Tests fake it.
#pragma once

#include "model/SKTGraphic.h"
#include "platform/Picture.h"

#include <QPointF>
#include <QString>

#include <optional>

class Card_Property;

class CanvasHost
{
public:
    virtual ~CanvasHost() = default;

    // The kind of object the current tool makes; none for the arrow.
    virtual std::optional<SKTGraphic::Kind> currentGraphicClass() const { return std::nullopt; }
    // The current tool number (0 arrow, 1 line, 2 text, 3-7 and 13-15 shapes, 8 and 9 pictures,
    // 10 barcode, 11 signature, 12 fingerprint).
    virtual int Selected_Control_Tool() const { return 0; }

    // Shows the object in the inspector; a null object shows the card page of the side.
    virtual void Show_RHS_Properties(const GraphicPtr &graphic) {}
    // Whether the inspector is filling its tabs: it then stays as it is.
    virtual bool inspectorFilling() const { return false; }
    // Opens the barcode window on the object (the canvas's current graphic).
    virtual void Open_Barcode_Window(const GraphicPtr &graphic) {}
    // Gives the keyboard to the words of a text the user means to type into (a double-clicked one).
    virtual void editTextOf(const GraphicPtr &text) {}
    virtual void Undo_Redo_Button_state() {}
    virtual void Set_Paste_Button_Status() {}
    // The same-width, same-height and natural-size buttons follow the size of the selection.
    virtual void setSameSizeButtonsEnabled(bool enabled) {}

    // The side being edited: 0 front, 1 back.
    virtual int Card_Front_Or_Back() const { return 0; }
    // Page settings of the side being edited, painted under the objects; null paints a white page.
    virtual const Card_Property *liveCardProperty() const { return nullptr; }
    // Place for the next new object on side "F" or "B".
    virtual QPointF Control_New_Point(const QString &side);
    // Pictures new objects start with: the missing-file placeholder and the samples.
    virtual Picture no_image() const;
    virtual Picture barcode_sample_img() const;
    virtual Picture sign_sample_img() const;
    virtual Picture fp_sample_img() const;
    // An error the user must read (damaged pasteboard data).
    virtual void presentError(const QString &message);
};
