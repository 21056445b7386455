// A barcode's header and footer in any script are measured, outlined and drawn, in every style;
// the ink box the check before output measures is the outline's.
#include "barcode/BarcodeText.h"

#include <QImage>
#include <QPainter>

#include <utility>

#include <gtest/gtest.h>

TEST(BarcodeText, EveryScriptIsOutlinedAndDrawn)
{
    const QStringList words = {QString::fromUtf8("محمد"), QString::fromUtf8("שלום"),
                               QString::fromUtf8("你好"), QString::fromUtf8("Привет"),
                               QString::fromUtf8("Zoë"),  QStringLiteral("0XGR 2569")};
    for (const char *name : {"TimesNewRomanPS-ItalicMT", "Helvetica-BoldOblique", "CourierNewPSMT"}) {
        const FontDescriptor font{QString::fromLatin1(name), 12};
        for (const QString &word : words) {
            const std::string what = std::string(name) + ": " + word.toStdString();
            // The outline fills the width the text is measured at.
            const double width = BarcodeText::size(word, font, BarcodeText::kHeaderFooterKern).width();
            const QRectF outline =
                BarcodeText::outline(word, font, BarcodeText::kHeaderFooterKern, QPointF(4, 16))
                    .boundingRect();
            EXPECT_GT(outline.width(), width / 3) << what;
            EXPECT_LT(outline.right(), 4 + width + 1) << what;
            for (const double kern : {BarcodeText::kHeaderFooterKern, 0.0}) {
                const QRectF want = BarcodeText::outline(word, font, kern, QPointF(4, 16)).boundingRect();
                const QRectF ink = BarcodeText::inkBounds(word, font, kern, QPointF(4, 16));
                for (const auto &[got, edge] : {std::pair{ink.left(), want.left()},
                                                {ink.top(), want.top()},
                                                {ink.right(), want.right()},
                                                {ink.bottom(), want.bottom()}})
                    EXPECT_NEAR(got, edge, 0.01) << what << " kern " << kern;
            }

            // Drawn as text (the PDF road), the glyphs leave ink where the outline is.
            QImage image(int(width) + 8, 24, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            BarcodeText::draw(painter, word, font, BarcodeText::kHeaderFooterKern, QPointF(4, 16), Qt::black);
            painter.end();
            int ink = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    ink += qGray(image.pixel(x, y)) < 160 ? 1 : 0;
            EXPECT_GT(ink, 10) << what;
        }
    }
}
