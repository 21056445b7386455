// What the personal-details dialogs and commands ask of the main window: its records of the three
// sides, their canvases and page settings, the binding-table choices and the windows they open.
// The main window implements it.
#pragma once

class Card_Property;
class ExcelBindingTable;
class QString;
class QWidget;
class SKTDocument;
class SKTGraphicView;
class User_Profile_Class;
class WindowRegistry;

class ProfileHost
{
public:
    virtual ~ProfileHost() = default;

    // The window the dialogs belong to.
    virtual QWidget &profileWindow() = 0;
    virtual WindowRegistry &registry() const = 0;
    virtual SKTDocument &document() = 0;
    // The side being edited: 0 front, 1 back.
    virtual int Card_Front_Or_Back() const = 0;
    // The canvas of the front (0), back (1) or preview (2) side.
    virtual SKTGraphicView *sideCanvas(int side) const = 0;
    // Page settings of the front (0) or back (1) side, and of the side being edited.
    virtual const Card_Property &cardProperty(int side) const = 0;
    virtual const Card_Property *liveCardProperty() const = 0;
    // The personal-details record of the front (0), back (1) or preview (2) side.
    virtual User_Profile_Class &userProfile(int side) = 0;
    // The tool the placement of a detail object chooses.
    virtual void setToolCode(int tool) = 0;
    // Fills table from the workbook's columns the user ticks (the column import window over
    // parent); 1 when accepted, and Cancel keeps the table as it was.
    virtual int importWorkbookColumns(QWidget *parent, const QString &path, ExcelBindingTable &table) = 0;
    // While a details dialog is open, the binding table viewer shows and corrects its working
    // table (part of the dialog's one change of the design) rather than the design's; null ends it.
    virtual void setWorkingBinding(ExcelBindingTable *table) = 0;
};
