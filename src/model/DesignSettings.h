// The design's saved settings apart from its objects: the card's outline and size (one for both
// sides), both sides' page settings and the bound workbook. One value with one equality,
// so that "did the settings change?" weighs every stored field of them.
#pragma once

#include "data/ExcelBindingTable.h"
#include "foundation/CardCodes.h"
#include "model/Card_Property.h"
#include "platform/Picture.h"

#include <QSizeF>
#include <QString>

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

    // The card's outline, one for both sides.
    Outline outline() const { return outlineOf(m_outlineCode); }
    void setOutline(int outline) { m_outlineCode = codeOf(outline); }
    // The outline's code as the design file stores it on both pages, kept as read so that a code
    // this program draws as a rectangle is saved again unchanged.
    const QString &outlineCode() const { return m_outlineCode; }
    void setOutlineCode(const QString &code) { m_outlineCode = code; }
    // The outline of a stored code ("RR" rounded, "E" ellipse, anything else a rectangle), and back.
    static Outline outlineOf(const QString &code);
    static QString codeOf(int outline);

    // The card's size in points, one for both sides, or DefaultCardSize when none is stored.
    QSizeF cardSize() const;
    // The size as stored, and as the design file writes it on both pages (0 x 0 when none).
    QSizeF storedCardSize() const { return m_cardSize; }
    void setCardSize(const QSizeF &size) { m_cardSize = size; }

    // Whether the card has a back: the front page's Card_Side.
    bool isTwoSided() const { return frontPage.isTwoSided(); }

    // The pages a new design starts with: the defaults, a black solid border of 1 point, the
    // default content font; a rectangle with no size stored. The binding table is left alone.
    void resetPages();

    // The outline, the size, every stored field of both pages (the background picture too) and of
    // the binding table.
    bool operator==(const DesignSettings &other) const;

    // Pictures hold shared pixels or recordings: the same data, or equal pixels at the same size.
    static bool samePicture(const std::optional<Picture> &a, const std::optional<Picture> &b);
    static bool samePage(const Card_Property &a, const Card_Property &b);
    static bool sameBinding(const ExcelBindingTable &a, const ExcelBindingTable &b);

private:
    QString m_outlineCode = OutlineCode::Rectangle;
    QSizeF m_cardSize = QSizeF(0, 0);
};
