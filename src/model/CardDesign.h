// The design: all that the user edits, saves, undoes and prints, as one value. It owns both sides'
// objects, the card's outline and size (one for both sides), both sides' page settings,
// and the bound workbook: the binding table with its path, rows, file facts and formula marks.
// The document holds the one the editor shows; a run plan holds a deep copy; the design file reads
// and writes it whole. The side being edited, the selection and the zoom are the editor's view of
// it and not part of it.
#pragma once

#include "model/DesignSettings.h"
#include "model/SKTGraphic.h"

class CardDesign : public DesignSettings
{
public:
    // The objects of the front and back, back to front. The document's lists: while a document
    // holds the design they change only through the document's recorded edits.
    GraphicList front;
    GraphicList back;

    const GraphicList &objects(int side) const { return side == 1 ? back : front; }
    // The settings alone, without the objects.
    const DesignSettings &settings() const { return *this; }

    // The same design with every object cloned, so that nothing it holds is shared with this one.
    CardDesign deepCopy() const;
    // Deep copy of a list: every object cloned, empty entries left out.
    static GraphicList cloneList(const GraphicList &graphics);
};
