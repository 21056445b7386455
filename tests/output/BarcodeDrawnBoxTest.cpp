// A barcode's frame is the box it draws, whatever changed it: measured on a render of the object.
#include "barcode/BarcodeSettings.h"
#include "model/CardDesign.h"
#include "model/GraphicArrangement.h"
#include "model/SKTBarcode.h"
#include "output/OwnBarcodePicture.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>

namespace
{

constexpr double InkScale = 4.0; // device pixels per point of the render

// The box of every pixel the barcode paints, in points.
QRectF inkBox(const SKTGraphic &g)
{
    QImage image(int(400 * InkScale), int(300 * InkScale), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.scale(InkScale, InkScale);
        GraphicDrawContext context;
        context.onCanvas = false;
        g.drawContentsInView(painter, context, false);
    }
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) == 0)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0)
        return {};
    return QRectF(left / InkScale, top / InkScale, (right + 1 - left) / InkScale,
                  (bottom + 1 - top) / InkScale);
}

struct BarcodeKind {
    const char *title;
    const char *value;
    const char *another; // a value of another length
};

// A barcode of the kind with every text shown, as a design read without pictures gets it.
std::shared_ptr<SKTBarcode> made(const BarcodeKind &kind, const QRectF &frame)
{
    auto b = std::make_shared<SKTBarcode>();
    const bool twoD = BarcodeSettings::isTwoDTitle(QLatin1String(kind.title));
    b->linear_or_2d = twoD ? 1 : 0;
    b->barcode_font_index = int((twoD ? BarcodeSettings::twoDTitles() : BarcodeSettings::linearTitles())
                                    .indexOf(QLatin1String(kind.title)));
    (twoD ? b->two_d_font_val : b->linear_font_val) = QString::fromLatin1(kind.value);
    b->setBounds(frame);
    CardDesign design;
    design.front = {b};
    OwnBarcodePicture::fill(design, QString());
    return b;
}

} // namespace

TEST(BarcodeDrawnBox, IsTheFrameAfterEveryChange)
{
    const BarcodeKind kinds[] = {{"Code 39", "ABC", "ABCDEF123"},
                                 {"Code 128", "5901234", "Hello 128 again"},
                                 {"EAN-13", "5901234123457", "4006381333931"},
                                 {"UPCA", "036000291452", "012345678905"},
                                 {"QR Code", "Hello QR", "A longer value than before, in a QR Code"},
                                 {"PDF417", "Hello PDF", "A longer value than before"},
                                 {"DataMatrix", "Hello DM", "A longer value than before"}};
    using Change = std::function<void(std::shared_ptr<SKTBarcode> &, const BarcodeKind &)>;
    const auto remade = [](std::shared_ptr<SKTBarcode> &b) {
        b->Set_Barcode_image(std::nullopt);
        CardDesign design;
        design.front = {b};
        OwnBarcodePicture::fill(design, QString());
    };
    const struct {
        const char *name;
        Change change;
    } changes[] = {
        {"made", [](std::shared_ptr<SKTBarcode> &, const BarcodeKind &) {}},
        {"value",
         [&](std::shared_ptr<SKTBarcode> &b, const BarcodeKind &kind) {
             (b->linear_or_2d ? b->two_d_font_val : b->linear_font_val) = QString::fromLatin1(kind.another);
             remade(b);
         }},
        {"type",
         [&](std::shared_ptr<SKTBarcode> &b, const BarcodeKind &) {
             b->linear_or_2d = 0;
             b->barcode_font_index = int(BarcodeSettings::linearTitles().indexOf(QStringLiteral("Code 128")));
             b->linear_font_val = QStringLiteral("TYPE");
             remade(b);
         }},
        {"texts hidden, bars taller",
         [&](std::shared_ptr<SKTBarcode> &b, const BarcodeKind &) {
             b->show_hide_hdr = b->show_hide_ftr = 1;
             b->footer_val = QStringLiteral("A footer far wider than the bars are");
             b->show_hide_ftr = 0;
             b->linear_height_val = 1.2f;
             b->qr_size_val = 90;
             remade(b);
         }},
        {"lower-right handle dragged inward",
         [](std::shared_ptr<SKTBarcode> &b, const BarcodeKind &) {
             b->resizeByMovingHandle(GraphicHandle::LowerRight, b->bounds().center());
         }},
        {"upper-left handle dragged past the other corner",
         [](std::shared_ptr<SKTBarcode> &b, const BarcodeKind &) {
             b->resizeByMovingHandle(GraphicHandle::UpperLeft, b->bounds().bottomRight() + QPointF(30, 30));
         }},
        {"same width and height as a shape",
         [](std::shared_ptr<SKTBarcode> &b, const BarcodeKind &) {
             GraphicPtr shape = SKTGraphic::create(SKTGraphic::Kind::Shape);
             shape->setBounds(QRectF(0, 0, 30, 200));
             GraphicArrangement::makeGraphicsSameSize({shape, b}, GraphicArrangement::Dimension::Width);
             GraphicArrangement::makeGraphicsSameSize({shape, b}, GraphicArrangement::Dimension::Height);
         }},
        {"width typed", [](std::shared_ptr<SKTBarcode> &b, const BarcodeKind &) { b->setWidth(12); }},
        {"natural size", [](std::shared_ptr<SKTBarcode> &b, const BarcodeKind &) { b->makeNaturalSize(); }},
        {"read from a design saved with a smaller frame",
         [](std::shared_ptr<SKTBarcode> &b, const BarcodeKind &) {
             b->_bounds.setSize(QSizeF(52, 22));
             b = std::static_pointer_cast<SKTBarcode>(SKTGraphic::unarchive(b->archivedData()));
         }},
    };
    for (const BarcodeKind &kind : kinds) {
        for (const auto &c : changes) {
            SCOPED_TRACE(std::string(kind.title) + ", " + c.name);
            std::shared_ptr<SKTBarcode> b = made(kind, QRectF(10, 80, 70, 30));
            ASSERT_TRUE(b->_barcode_image);
            c.change(b, kind);
            ASSERT_TRUE(b);
            const QRectF ink = inkBox(*b);
            ASSERT_FALSE(ink.isEmpty());
            // Within a device pixel of the render.
            EXPECT_NEAR(b->bounds().left(), ink.left(), 1 / InkScale);
            EXPECT_NEAR(b->bounds().top(), ink.top(), 1 / InkScale);
            EXPECT_NEAR(b->bounds().right(), ink.right(), 1 / InkScale);
            EXPECT_NEAR(b->bounds().bottom(), ink.bottom(), 1 / InkScale);
            EXPECT_EQ(b->drawnBox(), b->bounds());
        }
    }
}
