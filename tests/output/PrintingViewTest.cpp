// The sheet painter drawn into a PDF file and read back with poppler: pictures go in at their own
// resolution, and what reaches past a card is cut at its edge as on a card picture.
#include "model/SKTImage.h"
#include "output/BatchCardRenderer.h"
#include "output/Printing_View.h"
#include "support/TestSupport.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{
// A picture whose pixels differ from their neighbours, so that no resampling keeps it the same.
QImage pattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, ((x + y) % 2) ? qRgb(200, 30, 30) : qRgb(30, 30, 200));
    return image;
}

// Two columns of the card, 20 points apart, from the paper's top left corner on A4.
PrintLayout twoColumns(const QSizeF &card)
{
    PrintLayout layout;
    layout.setMargins(QSizeF(595, 842), QRectF(0, 0, 595, 842));
    layout.resetForOpening(card, false, 1);
    PrintFields fields;
    fields.widthMm = PrintLayout::Points_to_MM_Convert(float(card.width()));
    fields.heightMm = PrintLayout::Points_to_MM_Convert(float(card.height()));
    fields.horzGapMm = PrintLayout::Points_to_MM_Convert(20);
    fields.cols = 2;
    EXPECT_TRUE(layout.Check_Max_Cell_Value(fields).ok());
    return layout;
}

// The design's front on every label of the layout, painted into pdf.
void print(const CardDesign &design, const PrintLayout &layout, const QString &pdf)
{
    const auto plan = RunPlan::make(design);
    BatchCardRenderer renderer(plan, Units::PointsPerInch, false);
    Printing_View::Sides sides;
    QString error;
    sides.front = renderer.sideOf(0, false, &error);
    ASSERT_TRUE(sides.front.has_value()) << error.toStdString();
    Printing_View view(layout, sides, nullptr, design.cardSize());
    QPdfWriter writer(pdf);
    ASSERT_TRUE(view.paint(writer, false).ok());
}
} // namespace

TEST(PrintingView, PicturesGoInAtTheirOwnResolution)
{
    if (!testsupport::hasTool("pdfimages"))
        GTEST_SKIP() << "pdfimages is not installed";
    QTemporaryDir tmp;
    CardDesign design;
    design.frontPage.Card_fill_chk = true;
    design.frontPage.Card_fill_style = FillCode::Picture;
    design.frontPage.Card_BG_Image = Picture(pattern(201, 103), QSizeF(243, 154));
    const QString file = tmp.filePath("pattern.png");
    ASSERT_TRUE(pattern(123, 77).save(file));
    auto image = SKTImage::initWithPath(QPointF(60, 60), file);
    image->setBounds(QRectF(20, 20, 90, 60));
    design.front << image;
    const QString pdf = tmp.filePath("pictures.pdf");
    print(design, twoColumns(design.cardSize()), pdf);

    // "page num type width height ..." after two heading lines.
    const QStringList lines =
        testsupport::output("pdfimages", {"-list", pdf}).split('\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_GE(lines.size(), 2) << lines.join('\n').toStdString();
    QSet<QString> sizes;
    for (const QString &line : lines) {
        const QStringList f = line.simplified().split(' ');
        if (f.value(2) == "image")
            sizes << f.value(3) + "x" + f.value(4);
    }
    EXPECT_EQ(sizes, (QSet<QString>{"201x103", "123x77"})) << lines.join('\n').toStdString();
}

TEST(PrintingView, WhatReachesPastTheCardIsCutAtItsEdge)
{
    if (!testsupport::hasTool("pdftoppm"))
        GTEST_SKIP() << "pdftoppm is not installed";
    QTemporaryDir tmp;
    CardDesign design;
    GraphicPtr block = SKTGraphic::create(SKTGraphic::Kind::Shape);
    block->setBounds(QRectF(150, 20, 150, 60)); // 57 points past the right edge
    block->_fillColor = QColor(Qt::black);
    design.front << block;
    const QString pdf = tmp.filePath("cut.pdf");
    print(design, twoColumns(design.cardSize()), pdf);
    testsupport::run("pdftoppm",
                     {"-r", "72", "-f", "1", "-l", "1", "-singlefile", "-png", pdf, tmp.filePath("sheet")});
    const QImage sheet(tmp.filePath("sheet.png"));
    ASSERT_FALSE(sheet.isNull());
    // Inside the first card the block is black; in the gap and on the next card it is not there.
    EXPECT_LT(qGray(sheet.pixel(230, 50)), 60);
    EXPECT_GT(qGray(sheet.pixel(253, 50)), 200); // the gap
    EXPECT_GT(qGray(sheet.pixel(270, 50)), 200); // the second card's left part
    EXPECT_LT(qGray(sheet.pixel(263 + 230, 50)), 60);
}
