// Which files one card's export writes, in which order, and what each holds.
#include "output/ExportFilePlan.h"

#include <gtest/gtest.h>

namespace
{

using Content = ExportFilePlan::Content;

QList<Content> contents(const ExportFilePlan &plan)
{
    QList<Content> out;
    for (const ExportFilePlan::File &file : plan.files())
        out << file.content;
    return out;
}

} // namespace

TEST(ExportFilePlan, BackBeforeFrontAndTheBackNamedNextToTheFront)
{
    const ExportFilePlan both("/out/Card_3.PNG", ExportSide::Both, false);
    EXPECT_EQ(both.paths(), QStringList({"/out/Card_3_Back.PNG", "/out/Card_3.PNG"}));
    EXPECT_EQ(contents(both), QList<Content>({Content::Back, Content::Front}));
    EXPECT_TRUE(both.drawsBack() && both.drawsFront());
    EXPECT_EQ(both.mainPath(), "/out/Card_3.PNG");

    const ExportFilePlan back("/out/card.png", ExportSide::Back, false);
    EXPECT_EQ(back.paths(), QStringList({"/out/card_Back.png"}));
    EXPECT_FALSE(back.drawsFront());
    EXPECT_EQ(back.mainPath(), "/out/card_Back.png");

    const ExportFilePlan front("/out/card.png", ExportSide::Front, false);
    EXPECT_EQ(front.paths(), QStringList({"/out/card.png"}));
    EXPECT_FALSE(front.drawsBack());
}

TEST(ExportFilePlan, CombinedOnlyWhenBothSidesAreWritten)
{
    const ExportFilePlan both("/out/card.tiff", ExportSide::Both, true);
    EXPECT_EQ(both.paths(), QStringList({"/out/card.tiff"}));
    EXPECT_EQ(contents(both), QList<Content>({Content::Combined}));
    EXPECT_TRUE(both.drawsBack() && both.drawsFront());

    // One side has nothing to combine with: its own file, as without the option.
    const ExportFilePlan back("/out/card.tiff", ExportSide::Back, true);
    EXPECT_EQ(back.paths(), QStringList({"/out/card_Back.tiff"}));
    EXPECT_EQ(contents(back), QList<Content>({Content::Back}));
    const ExportFilePlan front("/out/card.tiff", ExportSide::Front, true);
    EXPECT_EQ(contents(front), QList<Content>({Content::Front}));
    EXPECT_FALSE(front.drawsBack());
}
