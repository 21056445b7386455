// Where a personal detail's object goes when the side has none yet: a default frame per detail for
// landscape and for portrait cards, in card points with y down from the card's top edge.
#pragma once

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>

class PlaceholderFrames
{
public:
    // The cards the frames are laid out on: a credit-card size either way up.
    static constexpr QSizeF LandscapeCard{243, 154};
    static constexpr QSizeF PortraitCard{154, 243};

    // A square card counts as landscape.
    static bool isLandscape(const QSizeF &card) { return card.width() >= card.height(); }

    // The frame of a detail's object by its identifier ("Fup_Name" ... "Fup_Photo"); the empty
    // rectangle at the origin for any other identifier.
    static QRectF frame(const QString &id, bool landscape);
    // `wanted` when it lies on the card clear of every taken area, else the clear place of its size
    // on the card nearest to it; nothing when the card has none.
    static std::optional<QRectF> clearFrame(const QRectF &wanted, const QSizeF &card,
                                            const QList<QRectF> &taken);
    // The same, with the orientation taken from the front card's size.
    static QRectF Get_Control_Rect_From_Template(const QString &id, const QSizeF &frontCardSize)
    {
        return frame(id, isLandscape(frontCardSize));
    }
};
