// Preset card sizes: inches to millimetres by orientation, the out-of-table answers, and the
// entry a card's size belongs to.
#include "panels/CardSizeTables.h"

#include <gtest/gtest.h>

namespace
{
void expectSize(const QSizeF &s, double w, double h)
{
    EXPECT_NEAR(s.width(), w, 0.001);
    EXPECT_NEAR(s.height(), h, 0.001);
}
} // namespace

TEST(CardSizeTables, PlasticAndPaperSizesInMillimetres)
{
    expectSize(CardSizeTables::Get_My_card_Size("PVC Card", "H", 0), 85.598, 54.102);
    expectSize(CardSizeTables::Get_My_card_Size("PVC Card", "V", 0), 54.102, 85.598);
    expectSize(CardSizeTables::Get_My_card_Size("Paper Badge", "H", 5), 59.944, 89.916);
    expectSize(CardSizeTables::Get_My_card_Size("Paper Badge", "V", 5), 89.916, 59.944);
    expectSize(CardSizeTables::Get_My_card_Size("Paper Badge", "H", 7), 150.114, 125.984);
    // Any category but the plastic one reads the paper table, the empty one too.
    expectSize(CardSizeTables::Get_My_card_Size("", "H", 7), 150.114, 125.984);
    // The values are single precision, as the tables hold them.
    EXPECT_EQ(float(CardSizeTables::Get_My_card_Size("PVC Card", "H", 0).width()),
              float(double(3.37f) * 25.4));
}

TEST(CardSizeTables, RowsOutsideTheTable)
{
    expectSize(CardSizeTables::Get_My_card_Size("PVC Card", "H", -1), 30, 30);
    expectSize(CardSizeTables::Get_My_card_Size("Paper Badge", "V", -1), 30, 30);
    expectSize(CardSizeTables::Get_My_card_Size("PVC Card", "H", 7), 762, 762);
    expectSize(CardSizeTables::Get_My_card_Size("Paper Badge", "H", 8), 762, 762);
    expectSize(CardSizeTables::Get_My_card_Size("PVC Card", "H", -2), 762, 762);
}

TEST(CardSizeTables, RowOfACardsSize)
{
    const QSizeF cr80 = CardSizeTables::Get_My_card_Size("PVC Card", "H", 0);
    EXPECT_EQ(CardSizeTables::rowOfSize("PVC Card", "H", cr80, -1), 0);
    // Within half a millimetre either way it is still that entry; beyond, none is.
    EXPECT_EQ(CardSizeTables::rowOfSize("PVC Card", "H", cr80 + QSizeF(0.49, -0.49), 3), 0);
    EXPECT_EQ(CardSizeTables::rowOfSize("PVC Card", "H", cr80 + QSizeF(0.6, 0), 0), -1);
    EXPECT_EQ(CardSizeTables::rowOfSize("PVC Card", "H", QSizeF(120, 120), 0), -1);
    // Upright, the sizes are turned.
    EXPECT_EQ(CardSizeTables::rowOfSize("PVC Card", "V", cr80.transposed(), -1), 0);
    EXPECT_EQ(CardSizeTables::rowOfSize("PVC Card", "V", cr80, -1), -1);
    // Of two equal entries the one asked for stays; asked for none, the first is found.
    const QSizeF paper1 = CardSizeTables::Get_My_card_Size("Paper Badge", "H", 1);
    ASSERT_EQ(paper1, CardSizeTables::Get_My_card_Size("Paper Badge", "H", 2));
    EXPECT_EQ(CardSizeTables::rowOfSize("Paper Badge", "H", paper1, 2), 2);
    EXPECT_EQ(CardSizeTables::rowOfSize("Paper Badge", "H", paper1, -1), 1);
    EXPECT_EQ(CardSizeTables::presetOf("Horizontal"), "H");
    EXPECT_EQ(CardSizeTables::presetOf("Vertical"), "V");
}

TEST(CardSizeTables, EntryOfACardsSizeInAnyCategoryAndOrientation)
{
    const QString pvc = CardSizeTables::PvcCategory, paper = CardSizeTables::PaperCategory,
                  custom = CardSizeTables::CustomCategory;
    const QSizeF cr80 = CardSizeTables::Get_My_card_Size(pvc, "H", 0);
    const QSizeF paper1 = CardSizeTables::Get_My_card_Size(paper, "H", 1);
    const QSizeF badge1457 = CardSizeTables::Get_My_card_Size(paper, "H", 5); // taller than wide
    struct Case {
        QString category, preset;
        QSizeF mm;
        int preferred;
        QString wantCategory, wantPreset;
        int wantRow;
    };
    const Case cases[] = {
        // What the page names is kept when it gives the size.
        {pvc, "H", cr80, 0, pvc, "H", 0},
        {paper, "H", paper1, 2, paper, "H", 2},
        // Otherwise the other orientation, then the other category, tell what the card is.
        {pvc, "H", cr80.transposed(), 0, pvc, "V", 0},
        {pvc, "H", paper1, 0, paper, "H", 1},
        // Badge 1456 upright is badge 1457 level: the orientation named stays.
        {paper, "V", badge1457, 5, paper, "V", 4},
        {paper, "H", badge1457, 4, paper, "H", 5},
        {custom, "V", cr80, -1, pvc, "H", 0},
        // A size of the user's own: upright when taller than wide, level otherwise.
        {pvc, "H", QSizeF(127, 178), 0, custom, "V", -1},
        {paper, "V", QSizeF(178, 127), 3, custom, "H", -1},
        {pvc, "V", QSizeF(120, 120), 0, custom, "H", -1},
    };
    for (const Case &c : cases) {
        const CardSizeTables::SizeEntry e =
            CardSizeTables::entryOfSize(c.category, c.preset, c.mm, c.preferred);
        const std::string what = QStringLiteral("%1 %2 %3 x %4")
                                     .arg(c.category, c.preset)
                                     .arg(c.mm.width())
                                     .arg(c.mm.height())
                                     .toStdString();
        EXPECT_EQ(e.category, c.wantCategory) << what;
        EXPECT_EQ(e.preset, c.wantPreset) << what;
        EXPECT_EQ(e.row, c.wantRow) << what;
    }
    EXPECT_TRUE(CardSizeTables::namesFor(custom).isEmpty());
}
