// The preset card sizes: plastic cards and paper name badges, by name and as sizes in inches
// (held in single precision), turned into millimetres by orientation.
#pragma once

#include <QSizeF>
#include <QStringList>

class CardSizeTables
{
public:
    static inline const QString PvcCategory = QStringLiteral("PVC Card");
    static inline const QString PaperCategory = QStringLiteral("Paper Badge");
    // A size of the user's own: no table, no names.
    static inline const QString CustomCategory = QStringLiteral("Custom Size");
    // The categories in the order the panel lists them.
    static QStringList categories();

    // Where a card's size stands in the tables: its category, orientation ("H" or "V") and row.
    struct SizeEntry {
        QString category;
        QString preset;
        int row = -1;
    };

    // The seven plastic card names and the eight paper badge names, in table order.
    static QStringList pvc_card_arry();
    static QStringList paper_card_arry();
    // The names of a category: plastic for "PVC Card", none for a custom size, paper for anything
    // else.
    static QStringList namesFor(const QString &category);

    // Width and height in millimetres for a table row. Category "PVC Card" reads the plastic
    // table, any other the paper table; preset "V" swaps the two values. Row -1 (nothing
    // chosen) gives 30 x 30 mm; any other row outside the table 762 x 762 mm.
    static QSizeF Get_My_card_Size(const QString &category, const QString &preset, int listIndex);
    // The preset code of an orientation's title: "H" for "Horizontal", "V" for any other.
    static QString presetOf(const QString &orientation);
    // The row of the category's table whose size (in millimetres, for the preset) the card has,
    // within half a millimetre: `preferred` when it fits (two paper entries are equal), else the
    // first that does, else -1.
    static int rowOfSize(const QString &category, const QString &preset, const QSizeF &mm, int preferred);
    // The entry of the tables that gives the card's size (in millimetres): looked for first in the
    // category and orientation named (with `preferred` as above), then in the other orientation and
    // category. A size no entry gives is a custom size, upright ("V") when taller than wide.
    static SizeEntry entryOfSize(const QString &category, const QString &preset, const QSizeF &mm,
                                 int preferred);

    // Millimetres and points, computed in double precision and kept in single precision.
    static float Points_to_MM_Convert(float points);
    static float MM_to_Points_Convert(float mm);
};
