// A barcode shows on the canvas as it prints: OK in the barcode window gives the object's frame
// the picture's size from the same top-left corner, so the canvas, which draws each object within
// its frame, shows every bar; ZXingReader reads the canvas as the user sees it.
#include "BarcodeWindowDriver.h"
#include "editor/ui/MainWindowFixture.h"

#include "canvas/ui/SKTZoomingScrollView.h"
#include "model/SKTBarcode.h"
#include "output/BatchCardRenderer.h"
#include "output/RunPlan.h"
#include "panels/ui/BarcodePanel.h"
#include "panels/ui/Inspector.h"
#include "platform/UndoManager.h"

#include <QDir>
#include <QImage>

using namespace barcodedriver;

class BarcodeFrame : public MainWindowFixture
{
protected:
    // A barcode made with the tool, its frame smaller than any barcode picture and off the corner.
    std::shared_ptr<SKTBarcode> addBarcode(const QRectF &frame)
    {
        clickTool(10);
        auto b = std::dynamic_pointer_cast<SKTBarcode>(front().first());
        EXPECT_TRUE(b);
        if (b)
            b->setBounds(frame);
        return b;
    }
    // The barcode window run from the inspector's button on the barcode, selected; script takes
    // the user's steps in it and gives the window's result.
    void runWindow(const std::shared_ptr<SKTBarcode> &barcode,
                   const std::function<int(Barcode_Gen &)> &script)
    {
        canvas(0)->changeSelectionIndexes({0});
        canvas(0)->setSelectedGraphic(barcode);
        modalScripts.push_back(
            [script](QDialog &dialog) { return script(static_cast<Barcode_Gen &>(dialog)); });
        QTest::mouseClick(window->inspector().barcodePanel().barcode_prop_btn, Qt::LeftButton);
    }
    // The same with the type chosen and the value typed, OK at the end.
    void editWithWindow(const std::shared_ptr<SKTBarcode> &barcode, const QString &type, const QString &value)
    {
        runWindow(barcode, [type, value](Barcode_Gen &gen) {
            chooseType(gen, type);
            retype(gen.liner_or_2D_font != 0 ? static_cast<QWidget *>(gen.dataText_2D) : gen.dataText, value);
            gen.ok_button->click();
            return gen.result();
        });
    }
    // What the canvas shows around the frame at 400 %, handles hidden, read by ZXingReader.
    QString readCanvas(const SKTGraphic &object, const QString &artifact)
    {
        canvas(0)->changeSelectionIndexes({});
        choose(canvas(0)->enclosingScrollView()->factorPopUpButton(), QStringLiteral("400%"));
        QCoreApplication::processEvents();
        const double z = canvas(0)->zoom();
        const QRectF around = object.bounds().adjusted(-12, -12, 12, 12);
        const QRect pixels =
            QRect(int(around.x() * z), int(around.y() * z), int(around.width() * z), int(around.height() * z))
                .intersected(canvas(0)->rect());
        QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
        const QString path = QStringLiteral(TESSALY_ARTIFACTS_DIR "/") + artifact;
        EXPECT_TRUE(canvas(0)->grab(pixels).toImage().save(path));
        return zxingText(path);
    }
};

TEST_F(BarcodeFrame, LinearBarcodeFrameTakesThePictureSizeAndTheCanvasShowsEveryBar)
{
    ASSERT_TRUE(SymbolDecoder::hasTool("ZXingReader")) << "ZXingReader is needed";
    const auto barcode = addBarcode(QRectF(16, 30, 50, 50));
    ASSERT_TRUE(barcode);
    editWithWindow(barcode, QStringLiteral("Code 128"), QStringLiteral("T-128-CV"));
    ASSERT_TRUE(barcode->_barcode_image);
    const QSizeF picture = barcode->_barcode_image->size();
    EXPECT_GT(picture.width(), 50);
    EXPECT_EQ(barcode->bounds(), QRectF(QPointF(16, 30), picture));
    // The whole symbol lies on the card, so what the canvas shows is all there is to read.
    ASSERT_LT(barcode->bounds().right() + 12, canvas(0)->cardSize().width());
    EXPECT_EQ(readCanvas(*barcode, QStringLiteral("barcode-frame-code128.png")), QStringLiteral("T-128-CV"));
}

TEST_F(BarcodeFrame, NewTwoDimensionalBarcodeBecomesSquareAndShowsWhole)
{
    ASSERT_TRUE(SymbolDecoder::hasTool("ZXingReader")) << "ZXingReader is needed";
    // A wide new barcode chosen as a QR Code: its frame becomes the picture, the symbol with its
    // header and footer, and the canvas shows it whole.
    const auto barcode = addBarcode(QRectF(24, 20, 110, 45));
    ASSERT_TRUE(barcode);
    editWithWindow(barcode, QStringLiteral("QR Code"), QStringLiteral("https://example.com/frame/1"));
    ASSERT_TRUE(barcode->_barcode_image);
    EXPECT_EQ(barcode->bounds(), QRectF(QPointF(24, 20), barcode->_barcode_image->size()));
    EXPECT_EQ(readCanvas(*barcode, QStringLiteral("barcode-frame-qr.png")),
              QStringLiteral("https://example.com/frame/1"));

    // Without header, footer and margins the square symbol is all there is: so is the frame.
    choose(canvas(0)->enclosingScrollView()->factorPopUpButton(), QStringLiteral("100%"));
    const auto bare = addBarcode(QRectF(24, 20, 110, 45));
    ASSERT_TRUE(bare);
    runWindow(bare, [](Barcode_Gen &gen) {
        chooseType(gen, QStringLiteral("QR Code"));
        retype(gen.dataText_2D, QStringLiteral("SQUARE"));
        toggle(gen.hideHeaderCheckbox);
        toggle(gen.hideFooterCheckbox);
        typeNumber(gen.LR_mar_Text, QStringLiteral("0"));
        typeNumber(gen.TB_mar_Text, QStringLiteral("0"));
        gen.ok_button->click();
        return gen.result();
    });
    EXPECT_EQ(bare->bounds().topLeft(), QPointF(24, 20));
    EXPECT_GT(bare->bounds().width(), 0);
    EXPECT_DOUBLE_EQ(bare->bounds().width(), bare->bounds().height());

    // Edited again as a Data Matrix, the frame follows the new picture from the same corner.
    editWithWindow(barcode, QStringLiteral("DataMatrix"), QStringLiteral("DM-FRAME"));
    EXPECT_EQ(barcode->bounds(), QRectF(QPointF(24, 20), barcode->_barcode_image->size()));
}

TEST_F(BarcodeFrame, CancelLeavesTheFrameAsItWas)
{
    const auto barcode = addBarcode(QRectF(24, 30, 50, 50));
    ASSERT_TRUE(barcode);
    const QRectF before = barcode->bounds();
    runWindow(barcode, [](Barcode_Gen &gen) {
        chooseType(gen, QStringLiteral("QR Code"));
        gen.cancel_button->click();
        return gen.result();
    });
    EXPECT_EQ(barcode->bounds(), before);
}

TEST_F(BarcodeFrame, OkIsOneStepThatPutsPictureAndFrameBackTogether)
{
    ASSERT_TRUE(SymbolDecoder::hasTool("ZXingReader")) << "ZXingReader is needed";
    UndoManager &undo = window->document().undoManager();
    const auto barcode = addBarcode(QRectF(16, 30, 50, 50));
    ASSERT_TRUE(barcode);
    const QRectF before = barcode->bounds(); // the box its first picture draws
    QCoreApplication::processEvents();       // the creation's step closes
    const int steps = undo.undoCount();
    const QSizeF oldPicture = barcode->_barcode_image ? barcode->_barcode_image->size() : QSizeF();

    editWithWindow(barcode, QStringLiteral("Code 128"), QStringLiteral("UNDO-128"));
    QCoreApplication::processEvents();
    ASSERT_TRUE(barcode->_barcode_image);
    const QRectF fitted(QPointF(16, 30), barcode->_barcode_image->size());
    EXPECT_EQ(barcode->bounds(), fitted);
    EXPECT_EQ(undo.undoCount(), steps + 1);
    EXPECT_EQ(undo.undoActionName(), QStringLiteral("Barcode"));

    // Undo never leaves the old frame around the new picture: both go back, and come again.
    canvas(0)->undo();
    EXPECT_EQ(barcode->bounds(), before);
    EXPECT_EQ(barcode->_barcode_image ? barcode->_barcode_image->size() : QSizeF(), oldPicture);
    canvas(0)->redo();
    EXPECT_EQ(barcode->bounds(), fitted);
    EXPECT_EQ(readCanvas(*barcode, QStringLiteral("barcode-frame-after-redo.png")),
              QStringLiteral("UNDO-128"));
}

TEST_F(BarcodeFrame, SpreadValueIsKeptByOkAloneAndUndoneWithTheBarcode)
{
    UndoManager &undo = window->document().undoManager();
    const auto barcode = addBarcode(QRectF(16, 30, 50, 50));
    ASSERT_TRUE(barcode);
    editWithWindow(barcode, QStringLiteral("Code 128"), QStringLiteral("SPREAD"));
    QCoreApplication::processEvents();
    const int steps = undo.undoCount();
    const auto spreadThen = [](QPushButton *Barcode_Gen::*button) {
        return [button](Barcode_Gen &gen) {
            toggle(gen.kerning_value_Checkbox);
            (gen.*button)->click();
            return gen.result();
        };
    };
    runWindow(barcode, spreadThen(&Barcode_Gen::cancel_button));
    QCoreApplication::processEvents();
    EXPECT_EQ(barcode->kerning_value, 0);
    EXPECT_EQ(undo.undoCount(), steps);

    runWindow(barcode, spreadThen(&Barcode_Gen::ok_button));
    QCoreApplication::processEvents();
    EXPECT_EQ(barcode->kerning_value, 1);
    EXPECT_EQ(undo.undoCount(), steps + 1);
    canvas(0)->undo();
    EXPECT_EQ(barcode->kerning_value, 0);
    EXPECT_EQ(barcode->linear_font_val, QStringLiteral("SPREAD"));
}

TEST_F(BarcodeFrame, AGrowingBarcodeMovesInwardAndOneLargerThanTheCardIsRefusedBeforeOk)
{
    ASSERT_TRUE(SymbolDecoder::hasTool("ZXingReader")) << "ZXingReader is needed";
    const QRectF card(QPointF(0, 0), canvas(0)->cardSize());
    const auto barcode = addBarcode(QRectF(190, 90, 120, 60)); // already over the right edge
    ASSERT_TRUE(barcode);
    editWithWindow(barcode, QStringLiteral("QR Code"), QStringLiteral("https://example.com/inward"));
    ASSERT_TRUE(barcode->_barcode_image);
    EXPECT_EQ(barcode->bounds().size(), barcode->_barcode_image->size());
    EXPECT_TRUE(card.contains(barcode->bounds())) << barcode->bounds().x() << "," << barcode->bounds().y();
    // Moved no further than it had to: flush with the right and bottom edges.
    EXPECT_DOUBLE_EQ(barcode->bounds().right(), card.right());
    EXPECT_DOUBLE_EQ(barcode->bounds().bottom(), card.bottom());
    EXPECT_EQ(readCanvas(*barcode, QStringLiteral("barcode-frame-inward.png")),
              QStringLiteral("https://example.com/inward"));

    // A symbol larger than the card is named before OK, and OK keeps the window open until it fits.
    const QRectF kept = barcode->bounds();
    choose(canvas(0)->enclosingScrollView()->factorPopUpButton(), QStringLiteral("100%"));
    QString note;
    runWindow(barcode, [&](Barcode_Gen &gen) {
        gen.setResult(QDialog::Rejected); // as a modal run starts; the window is used again
        typeNumber(gen.HeightText_2D, QStringLiteral("200"));
        note = gen.barcode_note_label->isHidden() ? QString() : gen.barcode_note_label->text();
        gen.show(); // the window as it opens, for the picture a reviewer looks at
        saveArtifact(&gen, QStringLiteral("barcode-window-larger-than-card.png"));
        gen.ok_button->click();
        EXPECT_EQ(gen.result(), QDialog::Rejected); // still open
        typeNumber(gen.HeightText_2D, QStringLiteral("90"));
        EXPECT_TRUE(gen.barcode_note_label->isHidden());
        gen.ok_button->click();
        return gen.result();
    });
    EXPECT_TRUE(note.startsWith(QStringLiteral("This barcode (")) &&
                note.contains(QStringLiteral("is larger than the card (8.57 x 5.43 cm)")))
        << note.toStdString();
    EXPECT_NE(barcode->bounds(), kept);
    EXPECT_TRUE(card.contains(barcode->bounds()));
}

TEST_F(BarcodeFrame, TheWindowOpensWhereItOpenedBefore)
{
    // Each opening shows a window of another size (a linear symbol, a refused value with its
    // reason, a 2D symbol): it opens at one place all the same, and where its user moved it.
    const auto barcode = addBarcode(QRectF(20, 20, 50, 50));
    ASSERT_TRUE(barcode);
    const auto openShown = [&](const std::function<void(Barcode_Gen &)> &before, QPoint drag = {}) {
        QPoint at;
        runWindow(barcode, [&](Barcode_Gen &gen) {
            before(gen);
            gen.show();
            QCoreApplication::processEvents();
            at = gen.pos();
            if (!drag.isNull())
                gen.move(gen.pos() + drag);
            return 0;
        });
        return at;
    };
    const QPoint first = openShown([](Barcode_Gen &gen) { chooseType(gen, QStringLiteral("Code 128")); });
    const QPoint second = openShown([](Barcode_Gen &gen) {
        chooseType(gen, QStringLiteral("EAN-8"));
        retype(gen.dataText, QStringLiteral("ABC"));
    });
    const QPoint third =
        openShown([](Barcode_Gen &gen) { chooseType(gen, QStringLiteral("QR Code")); }, QPoint(30, -20));
    EXPECT_EQ(second, first);
    EXPECT_EQ(third, first);
    EXPECT_EQ(openShown([](Barcode_Gen &) {}), first + QPoint(30, -20));
}

namespace
{
// Pixels of a and b (over the part both cover) that differ clearly in some channel.
int differingPixels(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int row = 0; row < std::min(x.height(), y.height()); ++row)
        for (int col = 0; col < std::min(x.width(), y.width()); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            if (std::abs(qRed(p) - qRed(q)) > 96 || std::abs(qGreen(p) - qGreen(q)) > 96 ||
                std::abs(qBlue(p) - qBlue(q)) > 96)
                ++count;
        }
    return count;
}
} // namespace

TEST_F(BarcodeFrame, TheCanvasAndTheExportDrawABarcodeAlikeInAFrameOfAnySize)
{
    const auto barcode = addBarcode(QRectF(20, 20, 50, 50));
    ASSERT_TRUE(barcode);
    editWithWindow(barcode, QStringLiteral("QR Code"), QStringLiteral("https://example.com/alike"));
    ASSERT_TRUE(barcode->_barcode_image);
    const QSizeF symbol = barcode->_barcode_image->size();
    choose(canvas(0)->enclosingScrollView()->factorPopUpButton(), QStringLiteral("200%"));
    ASSERT_DOUBLE_EQ(canvas(0)->zoom(), 2.0);
    const struct {
        const char *frame;
        double width, height; // of the symbol's
    } cases[] = {{"smaller", 0.5, 0.5},
                 {"lower, as Make Same Height leaves it", 1.0, 0.3},
                 {"narrower", 0.4, 1.0},
                 {"larger", 1.5, 1.3},
                 {"the symbol's own", 1.0, 1.0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.frame);
        barcode->setBounds(
            QRectF(QPointF(20, 20), QSizeF(symbol.width() * c.width, symbol.height() * c.height)));
        canvas(0)->changeSelectionIndexes({});
        canvas(0)->update();
        QCoreApplication::processEvents();
        const QSizeF card = canvas(0)->cardSize();
        const QImage shown =
            canvas(0)->grab(QRect(0, 0, int(card.width() * 2), int(card.height() * 2))).toImage();
        BatchCardRenderer renderer(RunPlan::make(window->document().design()), 144, false);
        QString error;
        const QImage exported = renderer.renderSide(0, false, &error);
        ASSERT_FALSE(exported.isNull()) << error.toStdString();
        const QString name =
            QStringLiteral("barcode-alike-%1-%2.png").arg(int(c.width * 10)).arg(int(c.height * 10));
        saveArtifact(canvas(0), QStringLiteral("canvas-") + name);
        // Edges drawn a pixel apart aside, every pixel agrees.
        EXPECT_LT(differingPixels(shown, exported), int(symbol.width() * 2 * 4)) << name.toStdString();
        // And what the canvas shows is the whole symbol.
        const QRect symbolPixels(40, 40, int(symbol.width() * 2), int(symbol.height() * 2));
        QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
        const QString path = QStringLiteral(TESSALY_ARTIFACTS_DIR "/") + name;
        ASSERT_TRUE(shown.copy(symbolPixels.adjusted(-8, -8, 8, 8)).save(path));
        if (SymbolDecoder::hasTool("ZXingReader")) {
            EXPECT_EQ(zxingText(path), QStringLiteral("https://example.com/alike"));
        }
    }
}
