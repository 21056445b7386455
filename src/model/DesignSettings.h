// The design's saved settings apart from its objects: both sides' page settings (which carry the
// card's outline and size, one for the card) and the bound workbook. One value with one equality,
// so that "did the settings change?" weighs every stored field of them.
#pragma once

#include "data/ExcelBindingTable.h"
#include "model/Card_Property.h"
#include "platform/Picture.h"

#include <QSizeF>

#include <optional>

class DesignSettings
{
public:
    // The card of a design whose pages name no size (a new design's pages hold 0 x 0).
    static constexpr QSizeF DefaultCardSize{243, 154};
    // The outlines a card may have, as the outline matrix and the page drawing number them.
    enum Outline { Rectangle = 0, RoundedRectangle = 1, Ellipse = 2 };

    // The page settings of the front and back.
    Card_Property frontPage;
    Card_Property backPage;
    // The rows objects bound to a workbook column take their values from, with the workbook's
    // path, facts and the cells whose formula it never computed.
    ExcelBindingTable binding;

    Card_Property &page(int side) { return side == 1 ? backPage : frontPage; }
    const Card_Property &page(int side) const { return side == 1 ? backPage : frontPage; }

    // The card's outline, one for both sides: the front page's stored code. Setting it writes the
    // code of both pages, as the design file stores it.
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
    // default content font. The binding table is left alone.
    void resetPages();

    // Every stored field of both pages (the background picture too) and of the binding table.
    bool operator==(const DesignSettings &other) const;

    // Pictures hold shared pixels or recordings: the same data, or equal pixels at the same size.
    static bool samePicture(const std::optional<Picture> &a, const std::optional<Picture> &b);
    static bool samePage(const Card_Property &a, const Card_Property &b);
    static bool sameBinding(const ExcelBindingTable &a, const ExcelBindingTable &b);
};
