// The edit commands of a card canvas: clipboard, delete, order, alignment, sizes, grid, print flag,
// undo and redo that reselect what they touched, and which menu items may run. Locked objects refuse.
// Where objects go when aligned, sized or reordered is GraphicArrangement's; this gathers the
// selection and keeps the buttons and messages.
#pragma once

#include "model/GraphicArrangement.h"
#include "model/SKTGraphic.h"

#include <QString>

class SKTGraphicView;

class CanvasEditCommands
{
public:
    using Edge = GraphicArrangement::Edge;
    using enum GraphicArrangement::Edge;

    static inline const QString LockedMessage = QStringLiteral("Selected control is locked.");
    static inline const QString PdfType = QStringLiteral("application/pdf");
    static inline const QString TiffType = QStringLiteral("image/tiff");
    static inline const QString FileNamesType = QStringLiteral("text/uri-list");

    explicit CanvasEditCommands(SKTGraphicView &view);

    void delete_();
    void copy();
    void cut();
    void paste();
    void bringToFront();
    void sendToBack();
    void align(Edge edge);
    void alignformCenter();
    void alignWithGrid();
    void makeSameSize(bool width);
    void makeNaturalSize();
    void print_contol_or_not(int flag);
    void undoOrRedo(bool undo);
    bool validateMenuItem(const QString &action, QString *title) const;
    bool There_Is_Any_Lock_Contrl() const;

private:
    // Where a picture from another program lands, in card points: at the mouse when it is over the
    // card in sight, else in the middle of the part of the card in sight.
    QPointF pictureLandingPoint() const;
    // Shows the locked message and answers true when a selected object is locked.
    bool refuseLocked() const;
    void reorder(bool toFront);
    void updateUndoButtons() const;

    SKTGraphicView &m_view;
};
