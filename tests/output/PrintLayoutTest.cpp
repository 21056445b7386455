// Label sheets: fitting rows and columns to the paper, auto-centre, the paper names, and where the
// labels of each sheet fall for the nine alignments, both sides and data rows.
#include "output/PrintLayout.h"
#include "output/SheetGeometry.h"

#include <gtest/gtest.h>

namespace
{
constexpr double mm = 2.834645669291;
const QSizeF a4(210 * mm, 297 * mm);

// A4 with 5 mm margins all round: a printable width of 200 mm.
PrintLayout a4Layout()
{
    PrintLayout l;
    l.setMargins(a4, QRectF(5 * mm, 5 * mm, 200 * mm, 287 * mm));
    return l;
}

PrintFields fields(double w, double h, int rows, int cols, double gx = 0, double gy = 0)
{
    return {w, h, gx, gy, rows, cols};
}

// A layout given in points directly, as the sheet rules are written.
PrintLayout pointLayout(QSizeF paper, float L, float R, float T, float B, float lw, float lh, int rows,
                        int cols, float hg, float vg, int align)
{
    PrintLayout l;
    l.paper = paper;
    l.Left_Mar = L, l.Rite_Mar = R, l.Top_Mar = T, l.Bot_Mar = B;
    l.label_width = lw, l.label_hight = lh;
    l.Print_Row = rows, l.Print_Col = cols;
    l.horz_mar = hg, l.vert_mar = vg;
    l.label_align_val = align;
    l.Total_Label = rows * cols;
    return l;
}
} // namespace

TEST(PrintLayout, MarginsComeFromThePrintableArea)
{
    PrintLayout l;
    l.setMargins(QSizeF(600, 800), QRectF(10, 20, 570, 740));
    EXPECT_FLOAT_EQ(l.Left_Mar, 10);
    EXPECT_FLOAT_EQ(l.Rite_Mar, 20);
    EXPECT_FLOAT_EQ(l.Top_Mar, 20);
    EXPECT_FLOAT_EQ(l.Bot_Mar, 40);
    EXPECT_NEAR(PrintLayout::Points_to_MM_Convert(l.Bot_Mar), 14.11, 0.005);
}

TEST(PrintLayout, AutoCentreSpreadsOrLowersTheColumns)
{
    PrintLayout l = a4Layout();
    l.auto_center_flag = true;
    PrintFitResult r = l.Check_Max_Cell_Value(fields(60, 40, 1, 3));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(l.Print_Col, 3);
    EXPECT_NEAR(PrintLayout::Points_to_MM_Convert(l.horz_mar), 5.0, 1e-3);
    EXPECT_FALSE(r.colsRewritten);

    r = l.Check_Max_Cell_Value(fields(60, 40, 1, 4));
    EXPECT_EQ(l.Print_Col, 3);
    EXPECT_EQ(l.horz_mar, 0);
    EXPECT_TRUE(r.colsRewritten);

    // Spread evenly: the same gap before, between and after the columns.
    l.Check_Max_Cell_Value(fields(60, 40, 1, 3));
    const SheetGeometry g(l);
    const double gap = l.horz_mar;
    EXPECT_NEAR(g.cellRect(1, 1).left() - l.Left_Mar, gap, 1e-3);
    EXPECT_NEAR(g.cellRect(1, 2).left() - g.cellRect(1, 1).right(), gap, 1e-3);
    EXPECT_NEAR(a4.width() - l.Rite_Mar - g.cellRect(1, 3).right(), gap, 1e-3);
    EXPECT_NEAR(g.cellRect(1, 1).top() - l.Top_Mar, l.vert_mar, 1e-3);
}

TEST(PrintLayout, ColumnsThatDoNotFitAreLoweredNeverRaised)
{
    PrintLayout l = a4Layout();
    // floor((210 + 10 - 5 - 5) / (60 + 10)) = 3
    PrintFitResult r = l.Check_Max_Cell_Value(fields(60, 40, 1, 5, 10, 0));
    EXPECT_EQ(l.Print_Col, 3);
    EXPECT_TRUE(r.colsRewritten);
    EXPECT_NEAR(PrintLayout::Points_to_MM_Convert(l.horz_mar), 10, 1e-3);
    r = l.Check_Max_Cell_Value(fields(60, 40, 1, 2, 10, 0));
    EXPECT_EQ(l.Print_Col, 2);
    EXPECT_FALSE(r.colsRewritten);
    // A label wider than the paper still leaves one column.
    l.Check_Max_Cell_Value(fields(300, 40, 1, 2));
    EXPECT_EQ(l.Print_Col, 1);
    EXPECT_TRUE(l.exceedsPaper());
}

TEST(PrintLayout, BothSidesDoubleTheLabelUsedForFitting)
{
    PrintLayout l = a4Layout();
    l.Print_Card_Side = QStringLiteral("BOTH");
    l.Check_Max_Cell_Value(fields(50, 100, 3, 1));
    EXPECT_NEAR(PrintLayout::Points_to_MM_Convert(l.label_hight), 200, 1e-3);
    EXPECT_EQ(l.Print_Row, 1); // two 200 mm labels do not fit on 287 mm
    l.Print_Card_Algn = QStringLiteral("L");
    l.Check_Max_Cell_Value(fields(50, 100, 3, 3));
    EXPECT_NEAR(PrintLayout::Points_to_MM_Convert(l.label_width), 100, 1e-3);
    EXPECT_EQ(l.Print_Col, 2);
    EXPECT_EQ(l.Print_Row, 2);
}

// The window rewrites its size fields from the label's card after a refused size: each side choice
// and arrangement must give back the card the label was made from.
TEST(PrintLayout, TheLabelsCardIsTheCardItWasMadeFrom)
{
    const QSizeF cr80(242.65, 153.07);
    struct Case {
        const char *side, *arrangement;
        QSizeF label;
    } cases[] = {{"F", "T", cr80},
                 {"B", "L", cr80},
                 {"BOTH", "T", QSizeF(cr80.width(), 2 * cr80.height())},
                 {"BOTH", "L", QSizeF(2 * cr80.width(), cr80.height())}};
    for (const Case &c : cases) {
        PrintLayout l = a4Layout();
        l.Print_Card_Side = QString::fromLatin1(c.side);
        l.Print_Card_Algn = QString::fromLatin1(c.arrangement);
        ASSERT_TRUE(
            l.Check_Max_Cell_Value(fields(PrintLayout::Points_to_MM_Convert(float(cr80.width())),
                                          PrintLayout::Points_to_MM_Convert(float(cr80.height())), 1, 1))
                .ok());
        EXPECT_NEAR(l.label_width, c.label.width(), 0.01) << c.side << c.arrangement;
        EXPECT_NEAR(l.label_hight, c.label.height(), 0.01) << c.side << c.arrangement;
        EXPECT_NEAR(l.labelCardSize().width(), cr80.width(), 0.01) << c.side << c.arrangement;
        EXPECT_NEAR(l.labelCardSize().height(), cr80.height(), 0.01) << c.side << c.arrangement;
    }
}

TEST(PrintLayout, TotalFollowsTheGridOnlyWithoutData)
{
    PrintLayout l = a4Layout();
    l.Check_Max_Cell_Value(fields(50, 50, 2, 3));
    EXPECT_EQ(l.Total_Label, 6);
    l.resetForOpening(QSizeF(100, 60), true, 300);
    EXPECT_EQ(l.Total_Label, 300);
    EXPECT_EQ(l.Print_Card_Side, QStringLiteral("F"));
    PrintFitResult r = l.Check_Max_Cell_Value(fields(50, 50, 2, 3));
    EXPECT_EQ(l.Total_Label, 300);
    EXPECT_FALSE(r.totalRewritten);
}

TEST(PrintLayout, BadSizesAreRefusedAndGridIsAtLeastOne)
{
    PrintLayout l = a4Layout();
    l.Check_Max_Cell_Value(fields(50, 50, 2, 2));
    const PrintLayout before = l;
    PrintFitResult r = l.Check_Max_Cell_Value(fields(0, 50, 2, 2));
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.message, PrintLayout::MsgBadWidth);
    r = l.Check_Max_Cell_Value(fields(-3, 50, 2, 2));
    EXPECT_EQ(r.message, PrintLayout::MsgBadWidth);
    r = l.Check_Max_Cell_Value(fields(50, 0, 2, 2));
    EXPECT_EQ(r.message, PrintLayout::MsgBadHeight);
    EXPECT_EQ(l.Print_Col, before.Print_Col);
    EXPECT_EQ(l.label_width, before.label_width);

    l.auto_center_flag = true;
    r = l.Check_Max_Cell_Value(fields(50, 50, 0, -4));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(l.Print_Row, 1);
    EXPECT_EQ(l.Print_Col, 1);
    EXPECT_TRUE(r.rowsRewritten && r.colsRewritten);
    EXPECT_EQ(SheetGeometry(l).pageCount(), 1);
}

TEST(PrintLayout, PaperNamesMatchExactly)
{
    EXPECT_EQ(PrintLayout::Find_Papaer_Name_From_Size("210.00", "297.00"), QStringLiteral("A4"));
    EXPECT_EQ(PrintLayout::Find_Papaer_Name_From_Size("297.00", "210.00"), QStringLiteral("A4"));
    EXPECT_EQ(PrintLayout::Find_Papaer_Name_From_Size("216.00", "279.00"), QStringLiteral("US Letter"));
    EXPECT_EQ(PrintLayout::Find_Papaer_Name_From_Size("215.90", "279.40"), QStringLiteral("Letter"));
    // Parts of other sizes name no paper.
    EXPECT_EQ(PrintLayout::Find_Papaer_Name_From_Size("10.00", "20.00"), QString());
    EXPECT_EQ(PrintLayout::Find_Papaer_Name_From_Size("210.00", ""), QString());
    EXPECT_EQ(PrintLayout::Find_Papaer_Name_From_Size("", ""), QString());
}

TEST(SheetGeometry, PagesCountSheetsAndPreviewStopsAtFifty)
{
    PrintLayout l = pointLayout(QSizeF(600, 800), 0, 0, 0, 0, 100, 100, 2, 3, 0, 0, 1);
    l.Total_Label = 7;
    SheetGeometry g(l);
    EXPECT_EQ(g.pageCount(), 2);
    const auto second = g.labelsOnSheet(1);
    ASSERT_EQ(second.size(), 1);
    EXPECT_EQ(second.first().row, 1);
    EXPECT_EQ(second.first().col, 1);
    EXPECT_EQ(second.first().index, 6);

    l = pointLayout(QSizeF(600, 800), 0, 0, 0, 0, 100, 100, 1, 1, 0, 0, 1);
    l.Total_Label = 120;
    bool capped = false;
    EXPECT_EQ(SheetGeometry(l).previewPageCount(&capped), 50);
    EXPECT_TRUE(capped);
    EXPECT_EQ(SheetGeometry(l).pageCount(), 120);
}

TEST(SheetGeometry, DataRowsRunOutOnTheLastSheet)
{
    PrintLayout l = pointLayout(QSizeF(600, 800), 0, 0, 0, 0, 100, 100, 2, 2, 0, 0, 1);
    l.Total_Label = 8;
    SheetGeometry g(l);
    ASSERT_EQ(g.pageCount(), 2);
    const auto first = g.labelsOnSheet(0, 5);
    ASSERT_EQ(first.size(), 4);
    EXPECT_EQ(first.at(2).row, 2);
    EXPECT_EQ(first.at(2).col, 1);
    EXPECT_EQ(first.at(3).index, 3);
    const auto second = g.labelsOnSheet(1, 5);
    ASSERT_EQ(second.size(), 1);
    EXPECT_EQ(second.first().index, 4);
    EXPECT_TRUE(g.labelsOnSheet(2, 5).isEmpty());
}

TEST(SheetGeometry, AlignmentsPlaceTheBlock)
{
    // 2 x 2 labels of 100 x 50 with gaps 10 and 20 on a printable area of 400 x 300.
    const float L = 30, R = 20, T = 40, B = 60;
    const QSizeF paper(400 + L + R, 300 + T + B);
    PrintLayout l = pointLayout(paper, L, R, T, B, 100, 50, 2, 2, 10, 20, 5);
    SheetGeometry g(l);
    EXPECT_DOUBLE_EQ(g.cellOriginYUp(1, 1).x(), L + 95);
    EXPECT_DOUBLE_EQ(g.cellOriginYUp(1, 1).y(), B + 160);
    EXPECT_DOUBLE_EQ(g.cellOriginYUp(2, 1).y(), B + 90);
    EXPECT_DOUBLE_EQ(g.cellOriginYUp(1, 2).x(), L + 95 + 110);
    // The same cell with y down from the top edge.
    EXPECT_DOUBLE_EQ(g.cellRect(1, 1).y(), paper.height() - (B + 160) - 50);

    l = pointLayout(paper, L, R, T, B, 100, 50, 1, 1, 0, 0, 9);
    EXPECT_EQ(SheetGeometry(l).cellOriginYUp(1, 1), QPointF(paper.width() - 100 - R, B));
    l.label_align_val = 1;
    EXPECT_EQ(SheetGeometry(l).cellOriginYUp(1, 1), QPointF(L, paper.height() - 50 - T));
    EXPECT_EQ(SheetGeometry(l).cellRect(1, 1).topLeft(), QPointF(L, T));
    l.label_align_val = 7;
    EXPECT_EQ(SheetGeometry(l).cellRect(1, 1).bottomLeft(), QPointF(L, paper.height() - B));
}

TEST(SheetGeometry, BothSidesShareTheCell)
{
    PrintLayout l = pointLayout(QSizeF(600, 800), 0, 0, 0, 0, 100, 120, 1, 1, 0, 0, 1);
    l.Print_Card_Side = QStringLiteral("BOTH");
    SheetGeometry::Places p = SheetGeometry(l).places(1, 1, QSizeF(100, 60));
    // Front in the upper half, back below it (y down).
    EXPECT_EQ(p.firstPlace, QRectF(0, 0, 100, 60));
    EXPECT_EQ(p.first, QRectF(0, 0, 100, 60));
    EXPECT_EQ(p.second, QRectF(0, 60, 100, 60));

    l = pointLayout(QSizeF(600, 800), 0, 0, 0, 0, 200, 60, 1, 1, 0, 0, 1);
    l.Print_Card_Side = QStringLiteral("BOTH");
    l.Print_Card_Algn = QStringLiteral("L");
    p = SheetGeometry(l).places(1, 1, QSizeF(100, 60));
    EXPECT_EQ(p.firstPlace, QRectF(0, 0, 100, 60));
    EXPECT_EQ(p.first, QRectF(0, 0, 100, 60));
    EXPECT_EQ(p.second, QRectF(100, 0, 100, 60));

    // One side: a smaller picture is centred in its cell.
    l.Print_Card_Side = QStringLiteral("F");
    p = SheetGeometry(l).places(1, 1, QSizeF(100, 40));
    EXPECT_EQ(p.first, QRectF(50, 10, 100, 40));
    EXPECT_TRUE(p.second.isNull());
}
