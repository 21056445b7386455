// The batch design print, export and mail read from a design as it stands: what it takes of the
// document, pages, outline, card and binding table, and the print command's empty-list rule.
#include "BatchDesignFixture.h"

#include "model/SKTDocument.h"
#include "output/BatchFiller.h"

#include <gtest/gtest.h>

#include <QImage>

using namespace batchtest;

namespace
{

struct DesignParts {
    SKTDocument document;
    Card_Property front, back;
    ExcelBindingTable binding;

    BatchFillSnapshot::Design designOf(int shape, QSizeF canvas, const QString &dataFolder = {})
    {
        return BatchFillSnapshot::designOf({.document = document,
                                            .frontPage = front,
                                            .backPage = back,
                                            .binding = binding,
                                            .cardShape = shape,
                                            .canvasSize = canvas,
                                            .resourcePath = QStringLiteral("/resources"),
                                            .dataFolder = dataFolder});
    }
};

} // namespace

TEST(BatchDesign, TakesTheSidesPagesOutlineCardAndTable)
{
    DesignParts parts;
    GraphicPtr onFront = text(QRectF(0, 0, 50, 20), 2, {}, 1);
    GraphicPtr onBack = text(QRectF(0, 0, 50, 20), 0);
    parts.document.insertGraphic(onFront, 0);
    parts.document.insertGraphicsIntoSide(SKTDocument::Back, {onBack}, {0});
    parts.front.Card_Side = QStringLiteral("1");
    parts.front.Card_fill_clr = QColor(Qt::blue);
    parts.back.Card_fill_clr = QColor(Qt::red);
    parts.binding.setListData(
        {{{"Extension", "1"}, {"Column1", "a"}}, {{"Extension", "2"}, {"Column1", "b"}}});
    UncomputedFormulas cells;
    cells.add(1, 1);
    parts.binding.setWorkbookOrigin({3, 4}, cells);

    const BatchFillSnapshot::Design d = parts.designOf(2, QSizeF(300, 200), QStringLiteral("/data"));
    ASSERT_EQ(d.front.size(), 1);
    ASSERT_EQ(d.back.size(), 1);
    EXPECT_EQ(d.front[0], onFront); // the live lists: the snapshot copies them, not the design
    EXPECT_EQ(d.back[0], onBack);
    EXPECT_EQ(d.frontPage.Card_fill_clr, QColor(Qt::blue));
    EXPECT_EQ(d.backPage.Card_fill_clr, QColor(Qt::red));
    EXPECT_EQ(d.cardShape, 2);
    EXPECT_EQ(d.CARD_SIDE_STR, "1"); // the front page says whether the back takes part
    EXPECT_EQ(d.cardArea, QRectF(0, 0, 300, 200));
    EXPECT_EQ(d.resourcePath, "/resources");
    EXPECT_EQ(d.dataFolder, "/data");
    EXPECT_EQ(d.excelRows, parts.binding.ListData());

    // A plan copies the objects, so a run never writes into the design being edited.
    const auto s = RunPlan::make(d);
    EXPECT_NE(s->design().front[0], onFront);
    EXPECT_EQ(s->cardCount(), 2);
    // Where the rows stood in their workbook goes with them.
    EXPECT_EQ(s->rowNumber(1), 4);
    EXPECT_TRUE(s->design().excelUncomputed.contains(1, 1));
}

TEST(BatchDesign, CardIsTheCanvasElseThePagesSizeElseTheDefault)
{
    DesignParts parts;
    parts.front.Card_Size = QSizeF(100, 60);
    EXPECT_EQ(parts.designOf(0, QSizeF(300, 200)).cardArea, QRectF(0, 0, 300, 200));
    EXPECT_EQ(parts.designOf(0, QSizeF()).cardArea, QRectF(0, 0, 100, 60));
    EXPECT_EQ(parts.designOf(0, QSizeF(0, 200)).cardArea, QRectF(0, 0, 100, 60));
    parts.front.Card_Size = QSizeF();
    EXPECT_EQ(parts.designOf(0, QSizeF()).cardArea, BatchFillSnapshot::Design().cardArea);
}

// The outline the editor draws is the outline of every card a run makes: an elliptic card leaves
// its corners clear, a rectangle fills them.
TEST(BatchDesign, RunsDrawTheEditorsOutline)
{
    DesignParts parts;
    parts.front.Card_fill_chk = true;
    parts.front.Card_fill_style = QStringLiteral("S");
    parts.front.Card_fill_clr = QColor(Qt::blue);
    const auto corner = [&](int shape) {
        BatchFiller filler(RunPlan::make(parts.designOf(shape, QSizeF(144, 72))), 72, {});
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
    DesignParts parts;
    parts.document.insertGraphicsIntoSide(SKTDocument::Back, {text(QRectF(0, 0, 50, 20), 1, "Empty")}, {0});
    parts.front.Card_Side = QStringLiteral("1");
    EXPECT_FALSE(RunPlan::make(parts.designOf(0, QSizeF(), tmp.path()))->bindsData()); // its back is out

    parts.front.Card_Side = QStringLiteral("2");
    const auto s = RunPlan::make(parts.designOf(0, QSizeF(), tmp.path()));
    EXPECT_TRUE(s->bindsData());
    EXPECT_FALSE(s->isBatch());
    EXPECT_EQ(s->cardCount(), 0);

    // A table column on the front binds too; an object with no source does not.
    DesignParts table;
    table.document.insertGraphic(text(QRectF(0, 0, 50, 20), 0), 0);
    EXPECT_FALSE(RunPlan::make(table.designOf(0, QSizeF()))->bindsData());
    table.document.insertGraphic(text(QRectF(0, 0, 50, 20), 2, {}, 1), 1);
    EXPECT_TRUE(RunPlan::make(table.designOf(0, QSizeF()))->bindsData());
}
