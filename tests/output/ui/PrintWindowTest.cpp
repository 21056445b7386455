// The print window driven through its controls: a fresh opening, fitting rows and columns with
// and without auto-centre, refusals before printing, the preview limit, and sheets in a PDF file
// read back with poppler and a barcode reader.
#include "foundation/DataRoot.h"
#include "output/BatchDesignFixture.h"
#include "output/Printing_View.h"
#include "output/RememberedPrintLayout.h"
#include "output/SheetGeometry.h"
#include "output/ui/OutputWindowFixture.h"
#include "output/ui/Print_Wnd.h"
#include "output/ui/Sample_Preview.h"
#include "support/IndicatorClick.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "foundation/ui/StepperField.h"
#include "support/KeyboardWalk.h"

using outputtest::FakeHost;
using outputtest::plainDesign;
using testsupport::WindowFixture;

namespace
{
// Types a value into a field and commits it, as a user does.
void type(StepperField *field, double value)
{
    field->selectAll();
    QTest::keyClicks(field, QString::number(value));
    QTest::keyClick(field, Qt::Key_Return);
}

// Paper of width x height millimetres without unprintable margins.
void usePaper(Print_Wnd &w, double width, double height)
{
    w.printInfo().setPageSize(QPageSize(QSizeF(width, height), QPageSize::Millimeter));
    w.Set_values_From_Printer();
}

// The paper turned to lie down, chosen as a user does.
void useLandscape(Print_Wnd &w)
{
    w.Orient_ComboBox->setCurrentIndex(1);
    emit w.Orient_ComboBox->activated(1);
}

// The PDF file, the last entry of the printer list, chosen as a user does.
void choosePdfFile(Print_Wnd &w)
{
    const int last = w.Printer_ComboBox->count() - 1;
    w.Printer_ComboBox->setCurrentIndex(last);
    emit w.Printer_ComboBox->activated(last);
}

// A QR Code on a 243 x 154 point card reading the workbook column "Column1", one row a value.
CardDesign qrRowsDesign(const QStringList &values)
{
    CardDesign design;
    design.front << batchtest::barcode(QPointF(20, 10), 1, 0, 2, {}, 1);
    design.setCardSize(QSizeF(243, 154));
    for (int i = 0; i < values.size(); ++i)
        batchtest::addRow(
            design, ExcelBindingTable::Row{{"Extension", QString::number(i + 1)}, {"Column1", values[i]}});
    return design;
}

int pdfPages(const QString &pdf)
{
    const QString info = testsupport::output("pdfinfo", {pdf});
    const QRegularExpressionMatch m = QRegularExpression("Pages:\\s+(\\d+)").match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}
} // namespace

class PrintWindow : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        PrinterCatalog::setPdfFile(pdf);
    }
    void TearDown() override
    {
        PrinterCatalog::setPdfFile(std::nullopt);
        WindowFixture::TearDown();
    }
    QString pdf = tempPath("sheets.pdf");
};

TEST_F(PrintWindow, AFreshOpeningShowsOneLabelOnTheFrontAndThePrintersPaper)
{
    FakeHost host(plainDesign());
    Print_Wnd w(host, &host.window);
    modalScripts.push_back([&](QDialog &) {
        EXPECT_EQ(w.windowTitle(), "Print");
        EXPECT_EQ(w.Row_Stepper->value(), 1);
        EXPECT_EQ(w.Col_Stepper->value(), 1);
        EXPECT_EQ(w.Total_Stepper->value(), 1);
        EXPECT_TRUE(w.matrix_card_side->button(1)->isChecked());
        EXPECT_EQ(w.layout().Print_Card_Side, "F");
        EXPECT_FALSE(w.print_alignment->isEnabled());
        EXPECT_EQ(w.horz_mar_Stepper->text(), "0.00");
        EXPECT_EQ(w.l_mar_id->text(), "0.00");
        EXPECT_TRUE(QRegularExpression("^\\d+\\.\\d\\d x \\d+\\.\\d\\d$").match(w.Size_id->text()).hasMatch())
            << w.Size_id->text().toStdString();
        EXPECT_NEAR(w.width_Stepper->value(), 243 * 0.3527777, 0.01);
        EXPECT_FALSE(w.print_with_batch_chk->isEnabled());
        EXPECT_FALSE(w.print_with_excel_chk->isChecked());
        EXPECT_TRUE(w.alignButtons[0]->property("selected").toBool());
        saveArtifact(&w, QStringLiteral("print_window.png"));
        return 0;
    });
    EXPECT_EQ(w.Open_Print_Wnd(), 0);
    EXPECT_EQ(modalTitles, QStringList{"Print"});
}

TEST_F(PrintWindow, TabGoesDownTheLabelFieldsAsTheyAreShown)
{
    FakeHost host(plainDesign());
    Print_Wnd w(host, &host.window);
    modalScripts.push_back([&](QDialog &) {
        EXPECT_TRUE(testsupport::showWithKeyboard(w));
        EXPECT_EQ(
            testsupport::tabStopsFrom(w.page_setup_button, 8),
            (QList<QWidget *>{w.width_Stepper, w.height_Stepper, w.Row_Stepper, w.Col_Stepper,
                              w.horz_mar_Stepper, w.vert_mar_Stepper, w.Total_Stepper, w.Copies_Stepper}));
        return 0;
    });
    EXPECT_EQ(w.Open_Print_Wnd(), 0);
}

TEST_F(PrintWindow, RowsAndColumnsAreFittedToThePaper)
{
    FakeHost host(plainDesign());
    Print_Wnd w(host, &host.window);
    modalScripts.push_back([&](QDialog &) {
        usePaper(w, 200, 297);
        type(w.width_Stepper, 60);
        type(w.Col_Stepper, 3);
        EXPECT_EQ(w.Total_Stepper->value(), 3); // no data: rows x columns
        w.Auto_Center_chk_bx->click();
        EXPECT_FALSE(w.horz_mar_Stepper->isEnabled());
        EXPECT_FALSE(w.alignButtons[4]->isEnabled());
        EXPECT_NEAR(PrintLayout::Points_to_MM_Convert(w.layout().horz_mar), 5.0, 0.01);
        type(w.Col_Stepper, 4);
        EXPECT_EQ(w.Col_Stepper->value(), 3);
        EXPECT_EQ(w.layout().horz_mar, 0.0f);

        w.Auto_Center_chk_bx->click();
        EXPECT_TRUE(w.alignButtons[4]->isEnabled());
        type(w.Row_Stepper, 2);
        EXPECT_EQ(w.Total_Stepper->value(), 6);
        const float single = w.layout().label_hight;
        testsupport::clickIndicator(w.matrix_card_side->button(0));
        EXPECT_TRUE(w.print_alignment->isEnabled());
        EXPECT_FLOAT_EQ(w.layout().label_hight, 2 * single); // front above back
        EXPECT_NEAR(w.height_Stepper->value(), 154 * 0.3527777, 0.01);

        // A label of no width is refused and the field goes back.
        type(w.width_Stepper, 0);
        EXPECT_TRUE(messages.messages().contains("\n" + PrintLayout::MsgBadWidth) ||
                    messages.messages().contains(PrintLayout::MsgBadWidth));
        EXPECT_NEAR(w.width_Stepper->value(), 60, 0.01);

        QTest::mouseClick(w.alignButtons[8], Qt::LeftButton);
        EXPECT_EQ(w.layout().label_align_val, 9);
        EXPECT_TRUE(w.alignButtons[8]->property("selected").toBool());
        EXPECT_FALSE(w.alignButtons[0]->property("selected").toBool());
        saveArtifact(&w, QStringLiteral("print_window_both_sides.png"));
        return 0;
    });
    w.Open_Print_Wnd();
}

// A grid larger than the paper is cut down to what fits, and the window, its sheet preview and the
// print preview say how many labels a sheet then holds.
TEST_F(PrintWindow, AGridThatDoesNotFitThePaperSaysHowManyFit)
{
    FakeHost host(plainDesign());
    Print_Wnd w(host, &host.window);
    modalScripts.push_back([&](QDialog &) {
        usePaper(w, 148, 210); // A5: one 85.7 mm card across, three down
        EXPECT_TRUE(w.fit_note_id->isHidden());
        type(w.Row_Stepper, 2);
        type(w.Col_Stepper, 2);
        EXPECT_EQ(w.Col_Stepper->value(), 1);
        EXPECT_EQ(w.Total_Stepper->value(), 2);
        EXPECT_FALSE(w.fit_note_id->isHidden());
        EXPECT_EQ(w.fit_note_id->text(),
                  "2 x 2 labels do not fit on this paper; a sheet holds 2 (2 rows, 1 column).");
        // The sheet preview carries the note in red across its foot.
        const QImage sheet = w.test_image_view->pixmap().toImage();
        int red = 0;
        for (int y = sheet.height() * 9 / 10; y < sheet.height(); ++y)
            for (int x = 0; x < sheet.width(); ++x) {
                const QColor c = sheet.pixelColor(x, y);
                red += c.red() > 120 && c.green() < 60 && c.blue() < 60;
            }
        EXPECT_GT(red, 50);
        saveArtifact(&w, QStringLiteral("print_window_grid_too_large.png"));
        // So does the print preview's title.
        QString previewTitle;
        modalScripts.push_back([&](QDialog &preview) {
            previewTitle = preview.windowTitle();
            return 0;
        });
        QTest::mouseClick(w.preview_button, Qt::LeftButton);
        EXPECT_TRUE(previewTitle.endsWith(w.fit_note_id->text())) << previewTitle.toStdString();

        // Leaving the field keeps the note; typing again the one column that fits clears it.
        QTest::keyClick(w.Col_Stepper, Qt::Key_Tab);
        EXPECT_FALSE(w.fit_note_id->isHidden());
        type(w.Col_Stepper, 1);
        EXPECT_TRUE(w.fit_note_id->isHidden());
        type(w.Row_Stepper, 5);
        EXPECT_EQ(w.Row_Stepper->value(), 3);
        EXPECT_FALSE(w.fit_note_id->isHidden());
        type(w.Row_Stepper, 3); // what fits says nothing
        EXPECT_TRUE(w.fit_note_id->isHidden());
        return 0;
    });
    w.Open_Print_Wnd();
}

// Cancel or Preview clicked last, then Escape, left that button the default at the next opening,
// so that Return cancelled or previewed: Print is the default at every opening.
TEST_F(PrintWindow, PrintIsTheDefaultButtonAtEveryOpening)
{
    FakeHost host(plainDesign());
    Print_Wnd w(host, &host.window);
    for (QPushButton *last : {w.cancel_button, w.preview_button, w.print_button}) {
        QString defaults;
        modalScripts.push_back([&](QDialog &) {
            w.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
            for (QPushButton *button : w.findChildren<QPushButton *>())
                if (button->isDefault())
                    defaults += button->text();
            modalScripts.push_back([](QDialog &) { return 0; }); // the preview, or the PDF file's panel
            QTest::mouseClick(last, Qt::LeftButton);
            if (w.isVisible())
                QTest::keyClick(&w, Qt::Key_Escape);
            return 0;
        });
        w.Open_Print_Wnd();
        modalScripts.clear();
        EXPECT_EQ(defaults, "Print") << last->text().toStdString();
    }
}

// Opening the window, its sheet preview and the print preview leaves nothing on the terminal.
TEST_F(PrintWindow, OpeningAndPreviewingWarnOfNothing)
{
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
            // The offscreen platform's own notes on showing a window are not the window's.
            if (type != QtDebugMsg && type != QtInfoMsg && !text.contains("propagateSizeHints"))
                warnings << text;
        });
    {
        FakeHost host(plainDesign());
        Print_Wnd w(host, &host.window);
        modalScripts.push_back([&](QDialog &) {
            w.show();
            usePaper(w, 148, 210);
            modalScripts.push_back([&](QDialog &preview) {
                if (auto *widget = preview.findChild<QPrintPreviewWidget *>())
                    widget->updatePreview();
                return 0;
            });
            QTest::mouseClick(w.preview_button, Qt::LeftButton);
            return 0;
        });
        w.Open_Print_Wnd();
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
}

// Rows, columns, gaps, paper and sides come back as they were left, in a new window as after a
// restart; cancelling the window keeps them too.
// What a print used comes back at the next opening; a window left by Cancel, Escape or the close
// button keeps nothing, not even in the file that remembers the layout.
TEST_F(PrintWindow, TheWindowComesBackAsItWasLastPrinted)
{
    FakeHost host(plainDesign());
    const QString kept = RememberedPrintLayout::settingsPath();
    const auto layOut = [&](Print_Wnd &w, QString *paperShown) {
        usePaper(w, 200, 250);
        useLandscape(w);
        *paperShown = w.Size_id->text();
        testsupport::clickIndicator(w.matrix_card_side->button(0));
        w.print_alignment->setCurrentIndex(1);
        emit w.print_alignment->activated(1);
        type(w.Row_Stepper, 2);
        type(w.horz_mar_Stepper, 2.5);
        type(w.vert_mar_Stepper, 4);
    };
    const QList<QPair<const char *, std::function<void(Print_Wnd &)>>> closings{
        {"Cancel", [](Print_Wnd &w) { QTest::mouseClick(w.cancel_button, Qt::LeftButton); }},
        {"Escape", [](Print_Wnd &w) { QTest::keyClick(&w, Qt::Key_Escape); }},
        {"close button", [](Print_Wnd &w) { w.close(); }},
    };
    QString paperShown;
    for (const auto &[how, leave] : closings) {
        Print_Wnd w(host, &host.window);
        modalScripts.push_back([&, leave = leave](QDialog &) {
            layOut(w, &paperShown);
            leave(w);
            return 0;
        });
        w.Open_Print_Wnd();
        EXPECT_FALSE(QFileInfo::exists(kept)) << how;
        Print_Wnd again(host, &host.window);
        modalScripts.push_back([&, how = how](QDialog &) {
            EXPECT_EQ(again.Row_Stepper->value(), 1) << how;
            EXPECT_TRUE(again.matrix_card_side->button(1)->isChecked()) << how;
            EXPECT_EQ(again.print_alignment->currentIndex(), 0) << how;
            EXPECT_EQ(again.Total_Stepper->value(), 1) << how;
            return 0;
        });
        again.Open_Print_Wnd();
    }
    {
        Print_Wnd w(host, &host.window);
        modalScripts.push_back([&](QDialog &) {
            layOut(w, &paperShown);
            EXPECT_TRUE(paperShown.startsWith("250.")) << paperShown.toStdString();
            QTest::mouseClick(w.print_button, Qt::LeftButton);
            QTest::mouseClick(w.cancel_button, Qt::LeftButton);
            return 0;
        });
        w.Open_Print_Wnd();
    }
    Print_Wnd again(host, &host.window);
    modalScripts.push_back([&](QDialog &) {
        // The paper as the printed file holds it, in whole points.
        EXPECT_TRUE(again.Size_id->text().startsWith("250.1")) << again.Size_id->text().toStdString();
        EXPECT_EQ(again.Orient_ComboBox->currentIndex(), 1);
        EXPECT_EQ(again.Row_Stepper->value(), 2);
        EXPECT_EQ(again.Col_Stepper->value(), 1);
        EXPECT_EQ(again.horz_mar_Stepper->text(), "2.50");
        EXPECT_EQ(again.vert_mar_Stepper->text(), "4.00");
        EXPECT_TRUE(again.matrix_card_side->button(0)->isChecked());
        EXPECT_EQ(again.print_alignment->currentIndex(), 1);
        EXPECT_TRUE(again.print_alignment->isEnabled());
        EXPECT_FLOAT_EQ(again.layout().label_width, 2 * 243); // front beside back
        EXPECT_EQ(again.Total_Stepper->value(), 2);
        EXPECT_TRUE(again.fit_note_id->isHidden());
        return 0;
    });
    again.Open_Print_Wnd();
}

// After a print of both sides, a card set to single side printed its hidden back beside its front,
// since the window remembered "Both sides". A single-sided card offers and prints its front only;
// the choice a print kept for cards with a back comes back with one.
TEST_F(PrintWindow, ASingleSidedCardAfterBothSidesPrintsItsFrontOnly)
{
    FakeHost host(plainDesign());
    const struct {
        QString cardSide;
        bool chooseBoth;
        bool bothShown, backOffered;
        int labelCards; // cards a label holds: the front and the back beneath it, or the front
    } cases[] = {
        {"2", true, false, true, 2},
        {"1", false, false, false, 1},
        {"2", false, true, true, 2},
    };
    int k = 0;
    for (const auto &c : cases) {
        ++k;
        host.design.frontPage.Card_Side = c.cardSide;
        Print_Wnd w(host, &host.window);
        modalScripts.push_back([&](QDialog &) {
            EXPECT_EQ(w.matrix_card_side->button(0)->isChecked(), c.bothShown) << k;
            EXPECT_EQ(w.matrix_card_side->button(0)->isEnabled(), c.backOffered) << k;
            EXPECT_EQ(w.matrix_card_side->button(2)->isEnabled(), c.backOffered) << k;
            if (c.chooseBoth)
                testsupport::clickIndicator(w.matrix_card_side->button(0));
            EXPECT_NEAR(w.layout().label_width * w.layout().label_hight / (243 * 154), c.labelCards, 0.01)
                << k;
            if (c.chooseBoth)
                QTest::mouseClick(w.print_button, Qt::LeftButton);
            QTest::mouseClick(w.cancel_button, Qt::LeftButton);
            return 0;
        });
        w.Open_Print_Wnd();
    }
}

TEST_F(PrintWindow, RefusalsBeforePrintingAndThePreviewLimit)
{
    if (!testsupport::hasTool("pdfinfo"))
        GTEST_SKIP() << "pdfinfo is not installed";
    FakeHost host(plainDesign());
    Print_Wnd w(host, &host.window);
    modalScripts.push_back([&](QDialog &) {
        usePaper(w, 210, 297);
        type(w.width_Stepper, 300);
        messages.queueAnswers({false});
        QTest::mouseClick(w.print_button, Qt::LeftButton);
        EXPECT_EQ(messages.questions(), QStringList{PrintLayout::MsgCardBigger});
        EXPECT_FALSE(QFileInfo::exists(pdf));

        type(w.width_Stepper, 60);
        type(w.Total_Stepper, 0);
        QTest::mouseClick(w.print_button, Qt::LeftButton);
        EXPECT_FALSE(QFileInfo::exists(pdf));

        type(w.Total_Stepper, 120);
        int previewPages = -1;
        modalScripts.push_back([&](QDialog &preview) {
            auto *widget = preview.findChild<QPrintPreviewWidget *>();
            if (widget) {
                widget->updatePreview();
                previewPages = widget->pageCount();
            }
            return 0;
        });
        QTest::mouseClick(w.preview_button, Qt::LeftButton);
        EXPECT_EQ(previewPages, SheetGeometry::PreviewPageLimit);
        QTest::mouseClick(w.print_button, Qt::LeftButton);
        return 0;
    });
    w.Open_Print_Wnd();
    const QString all = messages.messages().join("|");
    EXPECT_TRUE(all.contains(PrintLayout::MsgNothingToPrint));
    EXPECT_TRUE(all.contains(SheetGeometry::MsgPreviewLimit));
    EXPECT_EQ(pdfPages(pdf), 120);
    EXPECT_EQ(w.lastPrintedSheets(), 120);
}

// Print in the preview's tool bar prints as the window's Print does: every sheet, not only the
// sheets the preview holds to, into the window's printer without asking for another. Its Page
// setup, which the sheets previewed would not follow, is not offered.
TEST_F(PrintWindow, PrintFromThePreviewPrintsEverySheet)
{
    if (!testsupport::hasTool("pdfinfo"))
        GTEST_SKIP() << "pdfinfo is not installed";
    FakeHost host(plainDesign());
    Print_Wnd w(host, &host.window);
    // A print dialog of Qt's own would wait for a user: it is cancelled once it shows.
    QTimer cancelOtherDialogs;
    QObject::connect(&cancelOtherDialogs, &QTimer::timeout, [] {
        if (auto *other = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget()))
            other->reject();
    });
    modalScripts.push_back([&](QDialog &) {
        usePaper(w, 210, 297);
        type(w.width_Stepper, 60);
        type(w.Total_Stepper, 120);
        modalScripts.push_back([&](QDialog &preview) {
            QAction *print = nullptr;
            for (QAction *action : preview.findChildren<QAction *>()) {
                if (action->text() == QStringLiteral("Print"))
                    print = action;
                // The window's Page Setup is the one offered: the sheets previewed follow it.
                if (action->text() == QStringLiteral("Page setup")) {
                    EXPECT_FALSE(action->isVisible());
                }
            }
            EXPECT_NE(print, nullptr);
            if (print) {
                cancelOtherDialogs.start(20);
                print->trigger();
            }
            return preview.result();
        });
        QTest::mouseClick(w.preview_button, Qt::LeftButton);
        return 0;
    });
    w.Open_Print_Wnd();
    EXPECT_EQ(pdfPages(pdf), 120);
    EXPECT_EQ(w.lastPrintedSheets(), 120);
}

TEST_F(PrintWindow, DataRowsFillTheLabelsInOrderAndStopAfterTheLastRow)
{
    if (!testsupport::hasTool("pdftoppm") || !testsupport::hasTool("ZXingReader"))
        GTEST_SKIP() << "poppler or ZXingReader is not installed";
    QStringList values;
    for (int i = 0; i < 5; ++i)
        values << QStringLiteral("ROW-%1").arg(i + 1);
    FakeHost host(qrRowsDesign(values));
    Print_Wnd w(host, &host.window);
    modalScripts.push_back([&](QDialog &) {
        EXPECT_TRUE(w.print_with_excel_chk->isChecked());
        EXPECT_EQ(w.Total_Stepper->value(), 5);
        usePaper(w, 210, 297);
        type(w.Row_Stepper, 2);
        type(w.Col_Stepper, 2);
        EXPECT_EQ(w.Total_Stepper->value(), 5); // data: rows and columns leave the total alone
        w.Total_Stepper->setMaximum(8);
        type(w.Total_Stepper, 8);
        QTest::mouseClick(w.print_button, Qt::LeftButton);
        return 0;
    });
    w.Open_Print_Wnd();
    ASSERT_EQ(pdfPages(pdf), 2);
    testsupport::run("pdftoppm", {"-r", "150", "-png", pdf, tempPath("page")});
    // Reading order: each cell of the sheet (top left, no gaps, 243 x 154 points) read on its own.
    const QImage page1(tempPath("page-1.png"));
    ASSERT_FALSE(page1.isNull());
    const double k = 150.0 / 72.0;
    for (int i = 0; i < 4; ++i) {
        const QRect cell(int((i % 2) * 243 * k), int((i / 2) * 154 * k), int(243 * k), int(154 * k));
        const QString path = tempPath(QStringLiteral("cell-%1.png").arg(i + 1));
        ASSERT_TRUE(page1.copy(cell).save(path));
        EXPECT_EQ(batchtest::decode(path, "QRCode"), QStringList{"QRCode:" + values[i]}) << "cell " << i + 1;
    }
    const QStringList page2 = batchtest::decode(tempPath("page-2.png"), "QRCode");
    EXPECT_EQ(page2, QStringList{"QRCode:" + values[4]});
}

TEST_F(PrintWindow, CaptionsAreGreyNumbersOrRedWarnings)
{
    QImage image(200, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    Printing_View::Draw_Label_String(painter, QRectF(0, 0, 100, 60), "Label", 2, 3, 3);
    Printing_View::Draw_Label_String(painter, QRectF(100, 0, 100, 60), Printing_View::InvalidData, 1, 1, 3);
    painter.end();
    int grey = 0, red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (x < 100 && c != Qt::white && qAbs(c.red() - c.blue()) < 10)
                ++grey;
            if (x >= 100 && c.red() > 200 && c.green() < 120)
                ++red;
        }
    EXPECT_GT(grey, 20);
    EXPECT_GT(red, 20);

    // The sheet preview numbers every cell, front above back.
    PrintLayout layout;
    layout.paper = QSizeF(595, 842);
    layout.Print_Row = 2;
    layout.Print_Col = 2;
    layout.Print_Card_Side = "BOTH";
    layout.label_width = 243;
    layout.label_hight = 308;
    Sample_Preview preview;
    preview.setLayout(layout, QSizeF(243, 154));
    const QImage sheet = preview.imageRepresentation();
    ASSERT_FALSE(sheet.isNull());
    sheet.save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/sheet_preview.png"));
    EXPECT_EQ(sheet.size(), QSize(595, 842));
}

TEST_F(PrintWindow, LandscapePaperPrintsLandscapeSheets)
{
    if (!testsupport::hasTool("pdfinfo"))
        GTEST_SKIP() << "pdfinfo is not installed";
    FakeHost host(plainDesign());
    Print_Wnd w(host, &host.window);
    modalScripts.push_back([&](QDialog &) {
        usePaper(w, 210, 297);
        useLandscape(w);
        EXPECT_EQ(w.Size_id->text(), "297.00 x 210.00"); // A4's own size, not its whole points
        type(w.Col_Stepper, 3);
        EXPECT_EQ(w.Col_Stepper->value(), 3); // three cards fit across A4 lying down
        QTest::mouseClick(w.print_button, Qt::LeftButton);
        return 0;
    });
    w.Open_Print_Wnd();
    const QString info = testsupport::output("pdfinfo", {pdf});
    EXPECT_TRUE(QRegularExpression("Page size:\\s+84[12](\\.\\d+)? x 59[45]").match(info).hasMatch())
        << info.toStdString();
}

// A row whose card cannot be made prints "Invalid Data" centred in its cell, never another row's
// card: the words' box in the PDF is centred where the cell's centre is.
TEST_F(PrintWindow, InvalidDataIsCentredInItsCell)
{
    if (!testsupport::hasTool("pdftotext"))
        GTEST_SKIP() << "pdftotext is not installed";
    // No QR Code holds 8,000 characters: the second row cannot be drawn.
    FakeHost host(qrRowsDesign({"ROW-1", QString(8000, QLatin1Char('Z')), "ROW-3"}));
    Print_Wnd w(host, &host.window);
    modalScripts.push_back([&](QDialog &) {
        usePaper(w, 210, 297);
        type(w.Row_Stepper, 1);
        type(w.Col_Stepper, 1);
        QTest::mouseClick(w.alignButtons.at(8), Qt::LeftButton); // bottom right
        messages.queueAnswers({true}); // printed although the row check names the second row
        QTest::mouseClick(w.print_button, Qt::LeftButton);
        return 0;
    });
    w.Open_Print_Wnd();
    ASSERT_EQ(pdfPages(pdf), 3);

    const QString boxes = testsupport::output("pdftotext", {"-f", "2", "-l", "2", "-bbox", pdf, "-"});
    const QRegularExpression word(
        R"re(xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">(\w+)<)re");
    QRectF caption;
    for (auto it = word.globalMatch(boxes); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(5) != "Invalid" && m.captured(5) != "Data")
            continue;
        caption |= QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                          QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
    }
    ASSERT_FALSE(caption.isEmpty()) << boxes.toStdString();
    // A4 is 595 x 842 points; bottom right without margins puts the 243 x 154 cell in the corner.
    EXPECT_NEAR(caption.center().x(), 595 - 243 / 2.0, 0.5);
    EXPECT_NEAR(caption.center().y(), 842 - 154 / 2.0, 0.5);
    // The other sheets hold their own rows' cards and no caption.
    EXPECT_FALSE(testsupport::output("pdftotext", {"-f", "1", "-l", "1", pdf, "-"}).contains("Invalid"));
    EXPECT_FALSE(testsupport::output("pdftotext", {"-f", "3", "-l", "3", pdf, "-"}).contains("Invalid"));
}

// The PDF file as a printer, as a user meets it: no test seam sends the jobs anywhere, the file
// panel is asked on every print.
class PrintToPdfFile : public WindowFixture
{
protected:
    static QStringList printerItems(const Print_Wnd &w)
    {
        QStringList items;
        for (int i = 0; i < w.Printer_ComboBox->count(); ++i)
            items << w.Printer_ComboBox->itemText(i);
        return items;
    }
    // The extent, in millimetres, of the dark pixels along the middle row and column of the first
    // label of page 1, read at 600 dpi in the page's top left corner (4 x 2.7 inches).
    QSizeF firstLabelMm(const QString &pdf)
    {
        testsupport::run("pdftoppm", {"-r", "600", "-f", "1", "-l", "1", "-x", "0", "-y", "0", "-W", "2400",
                                      "-H", "1600", "-singlefile", "-png", pdf, tempPath("measure")});
        const QImage page(tempPath("measure.png"));
        EXPECT_FALSE(page.isNull());
        if (page.isNull())
            return {};
        // The label sits in the top left corner; find its first dark pixel on the diagonal.
        int at = 0;
        while (at < std::min(page.width(), page.height()) && qGray(page.pixel(at, at)) >= 128)
            ++at;
        const int mid = at + 300;
        const QList<int> across = testsupport::darkRuns(page, mid, 0, page.width());
        int down = 0;
        for (int y = 0; y < page.height(); ++y)
            if (qGray(page.pixel(mid, y)) < 128)
                ++down;
        return across.isEmpty() ? QSizeF() : QSizeF(across.first(), down) * (25.4 / 600.0);
    }
    QString pdf = tempPath("labels.pdf");
};

// A CR80 card, 85.60 x 54.00 mm, filled black so that its printed extent can be measured.
static CardDesign blackCr80()
{
    CardDesign design;
    const QSizeF cr80(PrintLayout::MM_to_Points_Convert(85.60f), PrintLayout::MM_to_Points_Convert(54.00f));
    design.setCardSize(cr80);
    design.frontPage.Card_fill_chk = true;
    design.frontPage.Card_fill_clr = Qt::black;
    return design;
}

TEST_F(PrintToPdfFile, WithoutAPrinterThePdfFileIsOfferedAloneAndLabelsKeepTheCardsExactSize)
{
    if (!testsupport::hasTool("pdfinfo") || !testsupport::hasTool("pdftoppm"))
        GTEST_SKIP() << "poppler is not installed";
    PrinterCatalog::setFake(QStringList());
    FakeHost host(blackCr80());
    Print_Wnd w(host, &host.window);
    files.answers.push_back(pdf);
    modalScripts.push_back([&](QDialog &) {
        EXPECT_EQ(printerItems(w), QStringList{PrinterCatalog::PdfFileEntry});
        usePaper(w, 210, 297);
        // The window shows the design's size, not that of a picture of it in whole pixels.
        EXPECT_EQ(w.width_Stepper->text(), "85.60");
        EXPECT_EQ(w.height_Stepper->text(), "54.00");
        EXPECT_NEAR(w.layout().label_width, 242.646, 0.005);
        EXPECT_NEAR(w.layout().label_hight, 153.071, 0.005);
        saveArtifact(&w, QStringLiteral("print_window_pdf_file.png"));
        QTest::mouseClick(w.print_button, Qt::LeftButton);
        return 0;
    });
    EXPECT_EQ(w.Open_Print_Wnd(), 0);
    EXPECT_EQ(modalTitles, QStringList{"Print"});
    EXPECT_FALSE(messages.messages().join('|').contains("No printer found."))
        << messages.messages().join('|').toStdString();
    ASSERT_EQ(files.requests.size(), 1);
    EXPECT_EQ(files.requests[0].kind, "save");
    EXPECT_EQ(files.requests[0].suffixes, QStringList{"pdf"});
    ASSERT_EQ(pdfPages(pdf), 1);
    EXPECT_EQ(w.lastPrintedSheets(), 1);
    const QSizeF printed = firstLabelMm(pdf);
    EXPECT_NEAR(printed.width(), 85.60, 0.06);  // a picture in whole pixels printed 85.72
    EXPECT_NEAR(printed.height(), 54.00, 0.06); // and 54.33
}

// The file panel opens beside the design, and the window then says where the sheets went.
TEST_F(PrintToPdfFile, ThePanelOpensBesideTheDesignAndTheWindowSaysWhereTheFileWent)
{
    if (!testsupport::hasTool("pdfinfo"))
        GTEST_SKIP() << "pdfinfo is not installed";
    FakeHost host(plainDesign());
    ASSERT_TRUE(QDir().mkpath(tempPath("designs")));
    host.path = tempPath("designs/party.dcard");
    QFile(host.path).open(QIODevice::WriteOnly);
    Print_Wnd w(host, &host.window);
    files.answers.push_back(pdf);
    modalScripts.push_back([&](QDialog &) {
        choosePdfFile(w);
        usePaper(w, 210, 297);
        EXPECT_TRUE(w.print_result_id->text().isEmpty());
        QTest::mouseClick(w.print_button, Qt::LeftButton);
        EXPECT_EQ(w.print_result_id->text(), "The sheets were written to " + QDir::toNativeSeparators(pdf));
        saveArtifact(&w, QStringLiteral("print_window_written.png"));
        return 0;
    });
    w.Open_Print_Wnd();
    ASSERT_EQ(files.requests.size(), 1);
    EXPECT_EQ(files.requests[0].folder, tempPath("designs"));
    EXPECT_EQ(pdfPages(pdf), 1);
}

TEST_F(PrintToPdfFile, ThePdfFileFollowsThePrintersAndItsPanelCanBeCancelled)
{
    if (!testsupport::hasTool("pdfinfo"))
        GTEST_SKIP() << "pdfinfo is not installed";
    FakeHost host(plainDesign());
    Print_Wnd w(host, &host.window);
    std::optional<QString> cancelled;
    files.answers = {cancelled, pdf};
    modalScripts.push_back([&](QDialog &) {
        EXPECT_EQ(printerItems(w), (QStringList{"Test Printer", PrinterCatalog::PdfFileEntry}));
        EXPECT_EQ(w.Printer_ComboBox->currentIndex(), 0);
        choosePdfFile(w);
        EXPECT_EQ(w.printInfo().outputFormat(), QPrinter::PdfFormat);
        usePaper(w, 210, 297);
        type(w.Row_Stepper, 2);
        type(w.Total_Stepper, 5);                // three sheets of two
        EXPECT_FALSE(w.Execute_Printing(false)); // the panel is cancelled: nothing is written
        EXPECT_FALSE(QFileInfo::exists(pdf));
        EXPECT_EQ(w.lastPrintedSheets(), 0);
        // Two copies: a file makes none of its own, so both are written into it.
        type(w.Copies_Stepper, 2);
        EXPECT_TRUE(w.Execute_Printing(false));
        return 0;
    });
    w.Open_Print_Wnd();
    EXPECT_EQ(files.requests.size(), 2);
    EXPECT_EQ(pdfPages(pdf), 6);
    EXPECT_EQ(w.lastPrintedSheets(), 6);
    // The file is whole: no temporary file of the save is left beside it.
    EXPECT_EQ(QDir(QFileInfo(pdf).path()).entryList({"labels*"}, QDir::Files), QStringList{"labels.pdf"});
}

// The window's PDF file and `cardtool print` of the same design and layout are the same sheets,
// read back by poppler: the same words in the same places and the same pixels.
TEST_F(PrintToPdfFile, TheSheetsAreThoseCardtoolPrintMakes)
{
    if (!testsupport::hasTool("pdftotext") || !testsupport::hasTool("pdftoppm"))
        GTEST_SKIP() << "poppler is not installed";
    const QString data = Data_Folder_Path;
    batchtest::SampleDesign sample(data, 7, false);
    const QString design = batchtest::writeDesign(tempPath("sample.dcard"), sample);
    FakeHost host(sample.design);
    Print_Wnd w(host, &host.window);
    files.answers.push_back(pdf);
    modalScripts.push_back([&](QDialog &) {
        choosePdfFile(w);
        usePaper(w, 210, 297);
        type(w.Row_Stepper, 2);
        type(w.Col_Stepper, 2);
        EXPECT_EQ(w.Total_Stepper->value(), 7);
        QTest::mouseClick(w.print_button, Qt::LeftButton);
        return 0;
    });
    w.Open_Print_Wnd();
    const QString tool = tempPath("cardtool.pdf");
    const auto r = testsupport::cardtool(
        {"print", design, "--out", tool, "--paper", "A4", "--rows", "2", "--cols", "2", "--data", data});
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    ASSERT_EQ(pdfPages(pdf), 2);
    ASSERT_EQ(pdfPages(tool), 2);
    const auto words = [](const QString &file) {
        QString boxes = testsupport::output("pdftotext", {"-bbox", file, "-"});
        return boxes.mid(boxes.indexOf("<page")); // the head names the file's creator
    };
    EXPECT_EQ(words(pdf), words(tool));
    EXPECT_TRUE(words(pdf).contains(">Guest<"));
    for (const QString &file : {pdf, tool})
        testsupport::run("pdftoppm", {"-r", "72", "-png", file, file});
    for (int page = 1; page <= 2; ++page) {
        const QImage mine(pdf + QStringLiteral("-%1.png").arg(page));
        const QImage theirs(tool + QStringLiteral("-%1.png").arg(page));
        ASSERT_FALSE(mine.isNull());
        EXPECT_TRUE(mine == theirs) << "page " << page;
    }
}

// The rows printed are those at the first sheet: a series rewritten while the PDF file is being
// named is what the labels show, not the rows read when Print was pressed.
TEST_F(PrintToPdfFile, ASeriesChangedWhileThePdfFileIsNamedIsWhatTheLabelsShow)
{
    if (!testsupport::hasTool("pdftotext"))
        GTEST_SKIP() << "poppler is not installed";
    batchtest::SampleDesign sample(Data_Folder_Path, 2, false);
    FakeHost host(sample.design);
    Print_Wnd w(host, &host.window);
    files.answers.push_back(pdf);
    files.whileOpen = [] { batchtest::writeSeries(Data_Folder_Path, "names", "Alma\nBruno\n"); };
    modalScripts.push_back([&](QDialog &) {
        choosePdfFile(w);
        usePaper(w, 210, 297);
        QTest::mouseClick(w.print_button, Qt::LeftButton);
        return 0;
    });
    w.Open_Print_Wnd();
    const QString words = testsupport::output("pdftotext", {pdf, "-"});
    EXPECT_TRUE(words.contains("Alma") && words.contains("Bruno")) << words.toStdString();
    EXPECT_FALSE(words.contains("Guest")) << words.toStdString();
}
