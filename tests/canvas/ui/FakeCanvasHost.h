// The main window as a canvas sees it, for tests: a settable tool, and a record of every
// inspector, barcode-window, button and error call the canvas makes.
#pragma once

#include "canvas/ui/CanvasHost.h"
#include "model/Card_Property.h"

#include <QList>
#include <QStringList>

struct FakeCanvasHost : CanvasHost {
    std::optional<SKTGraphic::Kind> kind;
    int tool = 0;
    QList<GraphicPtr> inspected; // a null entry: the card page was shown
    QList<GraphicPtr> barcodeWindows;
    int undoButtonUpdates = 0;
    int pasteButtonUpdates = 0;
    QList<bool> sameSizeEnabled;
    QStringList errors;
    Card_Property page;

    void chooseTool(int number, std::optional<SKTGraphic::Kind> graphicClass)
    {
        tool = number;
        kind = graphicClass;
    }
    int cardPageShown() const { return int(inspected.count(nullptr)); }

    std::optional<SKTGraphic::Kind> currentGraphicClass() const override { return kind; }
    int Selected_Control_Tool() const override { return tool; }
    void Show_RHS_Properties(const GraphicPtr &graphic) override { inspected.append(graphic); }
    void Open_Barcode_Window(const GraphicPtr &graphic) override { barcodeWindows.append(graphic); }
    void Undo_Redo_Button_state() override { ++undoButtonUpdates; }
    void Set_Paste_Button_Status() override { ++pasteButtonUpdates; }
    void setSameSizeButtonsEnabled(bool enabled) override { sameSizeEnabled.append(enabled); }
    const Card_Property *liveCardProperty() const override { return &page; }
    void presentError(const QString &message) override { errors.append(message); }
};
