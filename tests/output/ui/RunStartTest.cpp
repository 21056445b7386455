// A run reads its data when it starts, not when its window opened: a workbook or series file
// changed on disk while the Print, Export or Send Mail window is open is asked about and read
// again when the user presses Print, OK or Send, and the counts the user is told are the new ones.
#include "output/ui/RunStart.h"
#include "editor/ui/MainWindowFixture.h"
#include "foundation/CardCodes.h"
#include "foundation/DataRoot.h"
#include "foundation/Preferences.h"
#include "foundation/ui/PrinterCatalog.h"
#include "foundation/ui/StepperField.h"
#include "output/BatchDesignFixture.h"
#include "output/ui/ExportSheet.h"
#include "output/ui/MailFakes.h"
#include "output/ui/Open_Export_Log.h"
#include "output/ui/OutputWindowFixture.h"
#include "output/ui/Print_Wnd.h"
#include "output/ui/Send_Mail.h"
#include "support/DesignSetup.h"
#include "support/IndicatorClick.h"
#include "support/Workbooks.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace
{
constexpr int LoadAgainChoice = 0;

// Guests 1..count under "Name" and "Code"; the guest `corrected` has a new code.
QList<QStringList> guestRows(int count, int corrected = 0)
{
    QList<QStringList> rows{{"Name", "Code"}};
    for (int k = 1; k <= count; ++k) {
        const QString code = QString::fromLatin1(k == corrected ? "NEW-%1" : "OLD-%1");
        rows << QStringList{QStringLiteral("Guest %1").arg(k), code.arg(k, 4, 10, QLatin1Char('0'))};
    }
    return rows;
}

QString pdfText(const QString &pdf)
{
    return testsupport::output("pdftotext", {pdf, "-"});
}

// The PDF file stands in for the printer for the length of a test.
struct PdfPrinter {
    explicit PdfPrinter(const QString &pdf) { PrinterCatalog::setPdfFile(pdf); }
    ~PdfPrinter() { PrinterCatalog::setPdfFile(std::nullopt); }
};
} // namespace

// The main window's design, its text and QR Code reading the column "Code" of a workbook.
class RunStartWorkbook : public MainWindowFixture
{
protected:
    QString book() const { return tempPath(QStringLiteral("guests.xlsx")); }

    void bindGuests(int count)
    {
        testsupport::writeOneSheet(book(), guestRows(count), QStringLiteral("Guests"));
        testsupport::arrangeSettings(window->document(), [this](DesignSettings &s) {
            s.binding = testsupport::loadedTable(book(), QStringLiteral("Guests"), {0, 1});
            s.binding.Excel_Binding_Use = true;
        });
        GraphicPtr code = batchtest::text(QRectF(10, 10, 200, 30), DataSourceCode::BindingColumn);
        GraphicPtr qr = batchtest::barcode(QPointF(20, 50), 1, 0, DataSourceCode::BindingColumn);
        for (const GraphicPtr &g : {code, qr})
            g->Set_Excel_binding_Column(2, QStringLiteral("Code"));
        window->document().insertGraphicsIntoSide(0, {code, qr}, {0, 1});
    }
    // One code corrected and one row more, written while a window is open.
    void editGuests(int count, int corrected)
    {
        testsupport::writeOneSheet(book(), guestRows(count, corrected), QStringLiteral("Guests"));
    }
    bool askedAboutTheWorkbook() const
    {
        for (const QString &q : messages.questions())
            if (q.startsWith(QStringLiteral("guests.xlsx has changed since its rows were loaded")))
                return true;
        return false;
    }
};

// Print stays open after printing: the spreadsheet fixed meanwhile is asked about at the next
// Print, and its rows are printed.
TEST_F(RunStartWorkbook, PrintAgainAsksAboutTheFixedWorkbookAndPrintsItsRows)
{
    if (!testsupport::hasTool("pdftotext"))
        GTEST_SKIP() << "pdftotext is not installed";
    const QString pdf = tempPath(QStringLiteral("sheets.pdf"));
    PdfPrinter printer(pdf);
    bindGuests(3);
    QString first, total;
    modalScripts.push_back([&](QDialog &dialog) {
        auto &print = dynamic_cast<Print_Wnd &>(dialog);
        QTest::mouseClick(print.print_button, Qt::LeftButton);
        first = pdfText(pdf);
        editGuests(4, 2);
        messages.queueChoices({LoadAgainChoice});
        QTest::mouseClick(print.print_button, Qt::LeftButton);
        total = print.Total_Stepper->text();
        return 0;
    });
    window->registry().open(WindowRegistry::Window::Print);
    EXPECT_TRUE(first.contains("OLD-0002") && !first.contains("OLD-0004")) << first.toStdString();
    EXPECT_TRUE(askedAboutTheWorkbook()) << messages.questions().join('\n').toStdString();
    const QString second = pdfText(pdf);
    EXPECT_TRUE(second.contains("NEW-0002")) << second.toStdString();
    EXPECT_TRUE(second.contains("OLD-0004")) << "every card, the new row's too";
    EXPECT_FALSE(second.contains("OLD-0002"));
    EXPECT_EQ(total, "4");
}

// Rows added to the workbook while the PDF file is being named: Load Again, then the question
// about the new count, and every row is printed, as the 8 rows were when Print was pressed.
TEST_F(RunStartWorkbook, RowsLoadedAgainWhileThePdfFileIsNamedAreEveryOnePrinted)
{
    if (!testsupport::hasTool("pdftotext"))
        GTEST_SKIP() << "pdftotext is not installed";
    const QString pdf = tempPath(QStringLiteral("sheets.pdf"));
    bindGuests(8);
    files.answers.push_back(pdf);
    files.whileOpen = [this] { editGuests(10, 0); };
    messages.queueChoices({LoadAgainChoice, 0}); // then Go On
    int total = 0;
    modalScripts.push_back([&](QDialog &dialog) {
        auto &print = dynamic_cast<Print_Wnd &>(dialog);
        const int last = print.Printer_ComboBox->count() - 1; // the PDF file
        print.Printer_ComboBox->setCurrentIndex(last);
        emit print.Printer_ComboBox->activated(last);
        QTest::mouseClick(print.print_button, Qt::LeftButton);
        total = int(print.Total_Stepper->value());
        return 0;
    });
    window->registry().open(WindowRegistry::Window::Print);
    EXPECT_TRUE(askedAboutTheWorkbook());
    ASSERT_EQ(messages.questions().size(), 2) << messages.questions().join('\n').toStdString();
    EXPECT_TRUE(messages.questions()[1].startsWith(RunStart::rowsChangedText() + "\n\nThis prints 10 cards."))
        << messages.questions()[1].toStdString();
    const QString text = pdfText(pdf);
    for (int k = 1; k <= 10; ++k)
        EXPECT_TRUE(text.contains(QStringLiteral("OLD-%1").arg(k, 4, 10, QLatin1Char('0')))) << k;
    EXPECT_EQ(total, 10);
}

// Export's OK exports the workbook as it is then, not as it was when the sheet opened.
TEST_F(RunStartWorkbook, ExportsOkReadsTheWorkbookAsItIsThen)
{
    if (!testsupport::hasTool("ZXingReader"))
        GTEST_SKIP() << "ZXingReader is not installed";
    bindGuests(3);
    const QString chosen = tempPath(QStringLiteral("out"));
    QDir().mkpath(chosen);
    files.answers.push_back(chosen);
    ExportSheet *sheet = nullptr;
    modalScripts.push_back([&](QDialog &dialog) {
        sheet = &dynamic_cast<ExportSheet &>(dialog);
        editGuests(4, 2);
        messages.queueChoices({LoadAgainChoice});
        QTest::mouseClick(sheet->ok_button, Qt::LeftButton);
        return sheet->result();
    });
    modalScripts.push_back([](QDialog &) { return 0; }); // the exported-files dialog
    window->registry().open(WindowRegistry::Window::Export);
    EXPECT_TRUE(askedAboutTheWorkbook());
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->lastResult().written, 4);
    const QDir folder(QDir(chosen).filePath("ZOLV Tessaly Greeting Card"));
    const QList<QStringList> rows = guestRows(4, 2);
    for (int k = 1; k <= 4; ++k)
        EXPECT_TRUE(batchtest::decode(folder.filePath(QStringLiteral("Card_%1.png").arg(k)), "QRCode")
                        .contains("QRCode:" + rows[k][1]))
            << k;
}

// With Send Mail open, a workbook edited on disk (one value changed, two rows added) is asked about
// at Send, and the question before sending counts the rows the run sends.
TEST_F(RunStartWorkbook, SendCountsAndMailsTheRowsOfTheWorkbookAsItIsThen)
{
    bindGuests(8);
    mailtest::useExampleAccount();
    auto transport = std::make_shared<mailtest::RecordingTransport>();
    modalScripts.push_back([&](QDialog &dialog) {
        auto &mail = dynamic_cast<Send_Mail &>(dialog);
        mail.setTransport(transport);
        mailtest::typeInto(mail.to_txt, QStringLiteral("guest@example.org"));
        testsupport::clickIndicator(mail.send_with_excel_chk);
        editGuests(10, 3);
        messages.queueChoices({LoadAgainChoice, 0}); // then Send
        QTest::mouseClick(mail.send_button, Qt::LeftButton);
        QTest::mouseClick(mail.close_button, Qt::LeftButton);
        return mail.result();
    });
    window->registry().open(WindowRegistry::Window::Mail);
    ASSERT_EQ(messages.questions().size(), 2) << messages.questions().join('\n').toStdString();
    EXPECT_TRUE(askedAboutTheWorkbook());
    EXPECT_TRUE(
        messages.questions()[1].startsWith("This sends 10 messages to 1 recipient, one for each card."))
        << messages.questions()[1].toStdString();
    EXPECT_EQ(transport->sent.size(), 10);
}

class RunStartSeries : public testsupport::WindowFixture
{
protected:
    QString data() const { return Data_Folder_Path; }
    void writeNames(int count)
    {
        QByteArray lines;
        for (int k = 1; k <= count; ++k)
            lines += "Name-" + QByteArray::number(k) + "\n";
        batchtest::writeSeries(data(), "names", lines);
    }
    // A card whose text reads the series "names".
    static CardDesign namesCard()
    {
        CardDesign design;
        design.front << batchtest::text(QRectF(10, 10, 200, 30), DataSourceCode::Series, "names");
        design.setCardSize(QSizeF(243, 154));
        design.frontPage.Card_Side = QStringLiteral("1");
        return design;
    }
};

// A series rewritten from 3 values to 5 while Print is open prints the 5; a total the user cut
// to fewer cards than the rows stays as typed.
TEST_F(RunStartSeries, PrintReadsTheSeriesFileAsItIsWhenPrintIsPressed)
{
    if (!testsupport::hasTool("pdftotext"))
        GTEST_SKIP() << "pdftotext is not installed";
    const QString pdf = tempPath(QStringLiteral("sheets.pdf"));
    PdfPrinter printer(pdf);
    for (const int typed : {0, 2}) {
        writeNames(3);
        outputtest::FakeHost host(namesCard());
        Print_Wnd w(host, &host.window);
        modalScripts.push_back([&](QDialog &) {
            if (typed > 0) {
                w.Total_Stepper->selectAll();
                QTest::keyClicks(w.Total_Stepper, QString::number(typed));
                QTest::keyClick(w.Total_Stepper, Qt::Key_Return);
            }
            writeNames(5);
            QTest::mouseClick(w.print_button, Qt::LeftButton);
            return 0;
        });
        w.Open_Print_Wnd();
        const int printed = typed > 0 ? typed : 5;
        const QString text = pdfText(pdf);
        for (int k = 1; k <= 5; ++k)
            EXPECT_EQ(text.contains(QStringLiteral("Name-%1").arg(k)), k <= printed) << typed << " " << k;
        EXPECT_EQ(w.lastPrintedSheets(), printed);
    }
}

// Rows added while the PDF file is being named, or while the print preview is open, are printed:
// a total that took every card takes every card of the rows as they are then, asking first since
// the count changed, and Total labels follows; a total typed lower stays as typed.
TEST_F(RunStartSeries, RowsAddedWhileThePdfFileIsNamedOrThePreviewIsOpenArePrinted)
{
    if (!testsupport::hasTool("pdftotext"))
        GTEST_SKIP() << "pdftotext is not installed";
    enum class Road { FilePanel, Preview };
    const struct {
        Road road;
        int typed;  // the total typed; 0 as the window offered it
        int answer; // to the question about the new count: 0 Go On, 1 Stop; -1 none asked
        int printed;
    } cases[] = {
        {Road::FilePanel, 0, 0, 6},
        {Road::FilePanel, 0, 1, 0},
        {Road::FilePanel, 1, -1, 1},
        {Road::Preview, 0, 0, 6},
    };
    int n = 0;
    for (const auto &c : cases) {
        writeNames(2);
        const QString pdf = tempPath(QStringLiteral("sheets-%1.pdf").arg(++n));
        outputtest::FakeHost host(namesCard());
        Print_Wnd w(host, &host.window);
        messages.clear();
        if (c.answer >= 0)
            messages.queueChoices({c.answer});
        files.answers.push_back(pdf);
        if (c.road == Road::FilePanel)
            files.whileOpen = [this] { writeNames(6); };
        int total = 0;
        modalScripts.push_back([&](QDialog &) {
            const int last = w.Printer_ComboBox->count() - 1; // the PDF file
            w.Printer_ComboBox->setCurrentIndex(last);
            emit w.Printer_ComboBox->activated(last);
            if (c.typed > 0) {
                w.Total_Stepper->selectAll();
                QTest::keyClicks(w.Total_Stepper, QString::number(c.typed));
                QTest::keyClick(w.Total_Stepper, Qt::Key_Return);
            }
            if (c.road == Road::Preview) {
                modalScripts.push_back([this](QDialog &preview) {
                    writeNames(6);
                    for (QAction *action : preview.findChildren<QAction *>())
                        if (action->text() == QStringLiteral("Print")) {
                            action->trigger();
                            break;
                        }
                    return 0;
                });
                QTest::mouseClick(w.preview_button, Qt::LeftButton);
            } else {
                QTest::mouseClick(w.print_button, Qt::LeftButton);
            }
            total = int(w.Total_Stepper->value());
            return 0;
        });
        w.Open_Print_Wnd();
        const QStringList questions = messages.questions();
        ASSERT_EQ(questions.size(), c.answer >= 0 ? 1 : 0) << n << questions.join('\n').toStdString();
        if (c.answer >= 0) {
            EXPECT_EQ(questions[0],
                      RunStart::rowsChangedText() + "\n\nThis prints 6 cards.\n\nDo you want to go on?");
        }
        const QString text = c.printed > 0 ? pdfText(pdf) : QString();
        EXPECT_EQ(QFileInfo::exists(pdf), c.printed > 0) << n;
        for (int k = 1; k <= 6; ++k)
            EXPECT_EQ(text.contains(QStringLiteral("Name-%1").arg(k)), k <= c.printed) << n << " " << k;
        EXPECT_EQ(w.lastPrintedSheets(), c.printed) << n;
        EXPECT_EQ(w.print_result_id->text().startsWith("The sheets were written to "), c.printed > 0) << n;
        EXPECT_EQ(total, c.answer == 0 ? 6 : c.typed > 0 ? c.typed : 2) << n;
    }
}

// Cut to 2 values while Export is open, the series exports 2 cards and says so.
TEST_F(RunStartSeries, ExportReadsTheSeriesFileAsItIsAtOk)
{
    writeNames(5);
    outputtest::FakeHost host(namesCard());
    ExportSheet sheet(host, &host.window);
    const QString chosen = tempPath(QStringLiteral("out"));
    QDir().mkpath(chosen);
    files.answers.push_back(chosen);
    modalScripts.push_back([&](QDialog &) {
        writeNames(2);
        QTest::mouseClick(sheet.ok_button, Qt::LeftButton);
        return sheet.result();
    });
    QString said;
    modalScripts.push_back([&](QDialog &dialog) {
        said = dynamic_cast<Open_Export_Log &>(dialog)._open_log_message->text();
        return 0;
    });
    sheet.Export_Button();
    const QDir folder(QDir(chosen).filePath("ZOLV Tessaly Greeting Card"));
    EXPECT_EQ(folder.entryList(QDir::Files, QDir::Name), (QStringList{"Card_1.png", "Card_2.png"}));
    EXPECT_TRUE(said.contains("\n2 cards were written to ")) << said.toStdString();
}
