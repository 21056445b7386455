// The design print, export and mail read: the document's design as it stands (objects, pages,
// outline, card size, binding table), copied by the plan, and the print command's empty-list rule.
#include "BatchDesignFixture.h"

#include "model/SKTDocument.h"
#include "output/BatchFiller.h"

#include <gtest/gtest.h>

#include <QImage>

using namespace batchtest;

TEST(BatchDesign, APlanCopiesTheDocumentsDesignWhole)
{
    SKTDocument document;
    const CardDesign &design = document.design();
    GraphicPtr onFront = text(QRectF(0, 0, 50, 20), 2, {}, 1);
    GraphicPtr onBack = text(QRectF(0, 0, 50, 20), 0);
    document.insertGraphic(onFront, 0);
    document.insertGraphicsIntoSide(SKTDocument::Back, {onBack}, {0});
    UncomputedFormulas cells;
    cells.add(1, 1);
    document.changeSettingsRecorded(QStringLiteral("Card Page"), SKTDocument::Front,
                                    [&cells](DesignSettings &s) {
                                        s.frontPage.Card_Side = QStringLiteral("1");
                                        s.frontPage.Card_fill_clr = QColor(Qt::blue);
                                        s.backPage.Card_fill_clr = QColor(Qt::red);
                                        s.setOutline(CardDesign::Ellipse);
                                        s.setCardSize(QSizeF(300, 200));
                                        s.binding.setListData({{{"Extension", "1"}, {"Column1", "a"}},
                                                               {{"Extension", "2"}, {"Column1", "b"}}});
                                        s.binding.setWorkbookOrigin({3, 4}, cells);
                                    });
    // The document's lists are the design's.
    ASSERT_EQ(design.front.size(), 1);
    EXPECT_EQ(design.front[0], onFront);
    EXPECT_EQ(design.back[0], onBack);

    // A plan copies the objects, so a run never writes into the design being edited.
    const auto s =
        planIn(document.design(), QStringLiteral("/data"), RunPlan::Choices(), QStringLiteral("/res"));
    ASSERT_EQ(s->design().front.size(), 1);
    EXPECT_NE(s->design().front[0], onFront);
    EXPECT_NE(s->design().back[0], onBack);
    EXPECT_EQ(s->design().frontPage.Card_fill_clr, QColor(Qt::blue));
    EXPECT_EQ(s->design().backPage.Card_fill_clr, QColor(Qt::red));
    EXPECT_EQ(s->design().outline(), CardDesign::Ellipse);
    EXPECT_FALSE(s->backTakesPart()); // the front page says whether the back takes part
    EXPECT_EQ(s->cardArea(), QRectF(0, 0, 300, 200));
    EXPECT_EQ(s->folders().resources, "/res");
    EXPECT_EQ(s->folders().data, "/data");
    EXPECT_EQ(s->design().binding.ListData(), design.binding.ListData());
    EXPECT_EQ(s->cardCount(), 2);
    // Where the rows stood in their workbook goes with them.
    EXPECT_EQ(s->rowNumber(1), 4);
    EXPECT_TRUE(s->design().binding.uncomputedFormulas().contains(1, 1));
}

TEST(BatchDesign, TheCardIsTheDesignsSizeElseTheDefault)
{
    CardDesign design;
    EXPECT_EQ(design.cardSize(), CardDesign::DefaultCardSize); // a new design stores 0 x 0
    design.setCardSize(QSizeF(100, 60));
    EXPECT_EQ(RunPlan::make(design)->cardArea(), QRectF(0, 0, 100, 60));
    design.setCardSize(QSizeF(0, 200));
    EXPECT_EQ(design.cardSize(), CardDesign::DefaultCardSize);
    EXPECT_EQ(design.storedCardSize(), QSizeF(0, 200));
    design.setOutline(CardDesign::RoundedRectangle);
    EXPECT_EQ(design.outlineCode(), QStringLiteral("RR"));
    EXPECT_EQ(design.outline(), CardDesign::RoundedRectangle);
}

// The outline the editor draws is the outline of every card a run makes: an elliptic card leaves
// its corners clear, a rectangle fills them.
TEST(BatchDesign, RunsDrawTheDesignsOutline)
{
    CardDesign design;
    design.frontPage.Card_fill_chk = true;
    design.frontPage.Card_fill_style = QStringLiteral("S");
    design.frontPage.Card_fill_clr = QColor(Qt::blue);
    design.setCardSize(QSizeF(144, 72));
    const auto corner = [&](int shape) {
        design.setOutline(shape);
        BatchFiller filler(RunPlan::make(design), 72, {});
        QString error;
        const QImage card = filler.renderUnfilled(false, &error);
        EXPECT_EQ(card.size(), QSize(144, 72)) << error.toStdString();
        EXPECT_EQ(card.pixelColor(72, 36).rgb(), QColor(Qt::blue).rgb());
        return card.pixelColor(1, 1);
    };
    EXPECT_EQ(corner(0).rgb(), QColor(Qt::blue).rgb());
    EXPECT_EQ(corner(2).alpha(), 0);
    EXPECT_EQ(corner(1).alpha(), 0); // the rounded corner
}

// The print command refuses a design whose bound source gives no rows: the counting has switched
// that source off, so only the binding itself tells.
TEST(BatchDesign, BindsDataLooksAtTheSidesThatTakePart)
{
    QTemporaryDir tmp;
    writeSeries(tmp.path(), "Empty", "");
    CardDesign design;
    design.back << text(QRectF(0, 0, 50, 20), 1, "Empty");
    design.frontPage.Card_Side = QStringLiteral("1");
    EXPECT_FALSE(planIn(design, tmp.path())->bindsData()); // its back is out

    design.frontPage.Card_Side = QStringLiteral("2");
    const auto s = planIn(design, tmp.path());
    EXPECT_TRUE(s->bindsData());
    EXPECT_FALSE(s->isBatch());
    EXPECT_EQ(s->cardCount(), 0);

    // A table column on the front binds too; an object with no source does not.
    CardDesign table;
    table.front << text(QRectF(0, 0, 50, 20), 0);
    EXPECT_FALSE(RunPlan::make(table)->bindsData());
    table.front << text(QRectF(0, 0, 50, 20), 2, {}, 1);
    EXPECT_TRUE(RunPlan::make(table)->bindsData());
}
