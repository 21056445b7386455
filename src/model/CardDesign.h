// The design: all that the user edits, saves, undoes and prints, as one value. It owns both sides'
// objects, both sides' page settings (which carry the card's outline and size, one for the card),
// and the bound workbook: the binding table with its path, rows, file facts and formula marks.
// The document holds the one the editor shows; a run plan holds a deep copy; the design file reads
// and writes it whole. The side being edited, the selection and the zoom are the editor's view of
// it and not part of it.
#pragma once

#include "data/ExcelBindingTable.h"
#include "model/Card_Property.h"
#include "model/SKTGraphic.h"

#include <QSizeF>

class CardDesign
{
public:
    // The card of a design whose pages name no size (a new design's pages hold 0 x 0).
    static constexpr QSizeF DefaultCardSize{243, 154};
    // The outlines a card may have, as the outline matrix and the page drawing number them.
    enum Outline { Rectangle = 0, RoundedRectangle = 1, Ellipse = 2 };

    // The objects of the front and back, back to front. The document's lists: while a document
    // holds the design they change only through the document's recorded edits.
    GraphicList front;
    GraphicList back;
    // The page settings of the front and back.
    Card_Property frontPage;
    Card_Property backPage;
    // The rows objects bound to a workbook column take their values from, with the workbook's
    // path, facts and the cells whose formula it never computed.
    ExcelBindingTable binding;

    const GraphicList &objects(int side) const { return side == 1 ? back : front; }
    Card_Property &page(int side) { return side == 1 ? backPage : frontPage; }
    const Card_Property &page(int side) const { return side == 1 ? backPage : frontPage; }

    // The card's outline, one for both sides: the front page's stored code. Setting it writes the
    // code of both pages.
    Outline outline() const { return outlineOf(frontPage.Card_Shape); }
    void setOutline(int outline);
    // The outline of a stored code ("RR" rounded, "E" ellipse, anything else a rectangle), and back.
    static Outline outlineOf(const QString &code);
    static QString codeOf(int outline);

    // The card's size in points, one for both sides: the front page's Card_Size, or
    // DefaultCardSize when that holds none. Setting it writes the size of both pages.
    QSizeF cardSize() const;
    void setCardSize(const QSizeF &size);

    // Whether the card has a back: the front page's Card_Side.
    bool isTwoSided() const { return frontPage.isTwoSided(); }

    // The pages a new design starts with: the defaults, a black solid border of 1 point, the
    // default content font. The objects and the binding table are left alone.
    void resetPages();

    // The same design with every object cloned, so that nothing it holds is shared with this one.
    CardDesign deepCopy() const;
    // Deep copy of a list: every object cloned, empty entries left out.
    static GraphicList cloneList(const GraphicList &graphics);
};
