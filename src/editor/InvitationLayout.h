// The ready invitation the start wizard leaves on the front side: up to seven texts stacked down
// the card under fixed "PARTY_" identifiers, and the chosen picture as the front background.
#pragma once

#include "model/CardDesign.h"
#include "model/SKTGraphic.h"

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>

struct InvitationDetails {
    QString title, to, message, date, time, venue, from;
    QString background; // path of the background picture; "" for none
    QSizeF cardSize;    // in points; empty when the card keeps the size it has
};

struct InvitationItem {
    QString id;   // "PARTY_TITLE" ...
    QString text; // what the text object shows
    QRectF frame; // on the front side, y down from its top edge
    // Set when the texts had to shrink to stay on the card: the font the text takes instead of
    // the one its identifier gives it.
    std::optional<FontDescriptor> font;
};

class InvitationLayout
{
public:
    // Text alignment codes of a text object.
    static constexpr qint32 AlignRight = 1;
    static constexpr qint32 AlignCentre = 2;

    // The texts to make, in the order they are made, for a card of `card` points. Values are
    // trimmed; an empty one makes no text. Each frame holds its text as drawn, growing down when
    // a text wraps; when the stack would pass the card's bottom edge, margins, gaps and fonts
    // shrink together until every text stands on the card.
    static QList<InvitationItem> Fill_Party_Invidation_Details(const InvitationDetails &details,
                                                               const QSizeF &card);
    // The addressee line: "Dear " + addressee + ",", the salutation and the comma written once
    // when the addressee was typed with them ("Dear Sam,").
    static QString addresseeLine(const QString &addressee);

    // What creation by identifier gives a text object: its value, no border or fill, and the
    // alignment and font that the invitation identifiers ask for.
    static void applyTextLook(SKTGraphic &text, const QString &value, const QString &ctrl_ID);

    // The text objects of the layout as the front list holds them: each new one goes in front,
    // so the last made comes first.
    static GraphicList makeObjects(const InvitationDetails &details, const QSizeF &card);

    // The layout on the design's front at its card size: its objects put in front of the front's,
    // and the background picture into the front page settings.
    static void apply(const InvitationDetails &details, CardDesign &design);
};
