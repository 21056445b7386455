// The page settings of one card side: page fill, border and content font. The card's outline and
// size are the design's (DesignSettings), one for both sides.
// A plain value: copying it deep-copies everything, so batch snapshots can take it as it stands.
#pragma once

#include "foundation/CardCodes.h"
#include "platform/FontDescriptor.h"
#include "platform/KeyedArchiver.h"
#include "platform/Picture.h"

#include <QColor>
#include <QPointF>
#include <QString>

#include <optional>

class KeyedUnarchiver;

class Card_Property : public Archivable
{
public:
    Card_Property() = default;
    Card_Property(const Card_Property &) = default;
    Card_Property &operator=(const Card_Property &) = default;

    // Keyed archive of every field under its own name (the design file stores fields its own way).
    QStringList classHierarchy() const override
    {
        return {QStringLiteral("Card_Property"), QStringLiteral("NSObject")};
    }
    void encodeWithCoder(KeyedArchiver &coder) const override;
    void initWithCoder(KeyedUnarchiver &coder);
    static void registerClass(KeyedUnarchiver &coder);
    // The record archived alone, and read back (nullopt with *error when damaged).
    QByteArray archivedData() const { return KeyedArchiver::archivedObject(*this); }
    static std::optional<Card_Property> unarchive(const QByteArray &archive, QString *error = nullptr);

    // The values the editor puts into both records when a new design starts: the defaults with a
    // black solid border of 1 point, the picture cleared and the given content colour and font.
    void resetForNewDesign(const QColor &contentColor, const FontDescriptor &contentFont);

    // The fill code loaded with a background picture: the setters of the card page load it together.
    // An empty path changes nothing. A picture that cannot be used (unreadable, too large, anything
    // but a regular file) changes nothing either: the page keeps what it had, and the answer says
    // why (PictureReader's words); "" when the picture was taken.
    QString setBackgroundImage(const QString &path);

    // Opacity as drawn: the stored value clamped to [0, 1] (new records hold 100).
    double drawOpacity() const;
    // Whether the card has a back (Card_Side "2"; "1" is a one-sided card).
    bool isTwoSided() const { return Card_Side == QLatin1String("2"); }

    // The font that the editor applies to every text: TimesNewRomanPS-ItalicMT at 14 points.
    static FontDescriptor defaultContentFont();

    // Field names are the ones the design file stores them under.
    bool Card_border_chk = false;
    bool Card_fill_chk = false;
    QColor Card_bordr_clr = QColor(0, 0, 0);
    QColor Card_fill_clr = QColor(255, 255, 255);
    QColor Card_fill_Grd_1_clr = QColor(255, 255, 255);
    QColor Card_fill_Grd_2_clr = QColor(255, 255, 255);
    QColor Card_hatch_bk_clr = QColor(255, 255, 255);
    qint32 Card_bor_Stepper = 1;
    qint32 Card_grad_Stepper = 0;
    qint32 Card_Cat_index = 0;
    float Card_alpha_Stepper = 100.0f;
    QString Card_border_style = BorderCode::Solid;
    QString Card_fill_style = FillCode::Solid;
    QString Card_hatch_style;
    QString Card_Side = QStringLiteral("2");
    QString Card_Side_Name = SideCode::Front;
    QString Card_Name = QStringLiteral("Untitled");
    QString Card_Preset = QStringLiteral("Horizontal");
    QString Card_Category = QStringLiteral("PVC Card");
    QString Card_Sub_Category = QStringLiteral("CR80-Credit Card Size");
    QString Card_Create_Mode = QStringLiteral("W");
    QString Card_BG_Image_Path;
    QString Card_BG_Image_Layout = QStringLiteral("Stretch");
    std::optional<Picture> Card_BG_Image; // nullopt: no picture loaded
    QPointF Card_Location = QPointF(0, 0);
    QColor Card_Content_clr = QColor(0, 0, 0);
    FontDescriptor Card_Content_font = defaultContentFont();
};
