// Export, print and mail ask first when some of the cards they would make come out wrong, naming
// them; No starts nothing, Yes runs as before.
#include "foundation/DataRoot.h"
#include "foundation/Preferences.h"
#include "foundation/ui/MessageBoxService.h"
#include "foundation/ui/StepperField.h"
#include "model/SKTImage.h"
#include "output/BatchDesignFixture.h"
#include "output/ExportPaths.h"
#include "output/PrintLayout.h"
#include "output/ui/ExportSheet.h"
#include "output/ui/MailFakes.h"
#include "output/ui/OutputWindowFixture.h"
#include "output/ui/Print_Wnd.h"
#include "output/ui/Send_Mail.h"
#include "support/IndicatorClick.h"
#include "support/ReturnOnBox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using outputtest::FakeHost;
using testsupport::WindowFixture;

class RowCheckQuestion : public WindowFixture
{
protected:
    // Two e-mail addresses of three too long for their box.
    CardDesign cutDesign()
    {
        const QString data = Data_Folder_Path;
        batchtest::writeSeries(data, "mails", "a@b.c\nuser12@example.org\nuser300@example.org\n");
        CardDesign d; // its series are in the program's data folder
        d.setCardSize(QSizeF(243, 154));
        d.front << batchtest::text(QRectF(10, 10, 60, 20), DataSourceCode::Series, "mails");
        return d;
    }
    // The sheet's OK with the check's question answered No: what was asked; no folder is asked for.
    QStringList askedByDeclinedExport(const CardDesign &d)
    {
        FakeHost host(d);
        ExportSheet sheet(host, &host.window);
        messages.queueAnswers({false});
        modalScripts.push_back([&sheet](QDialog &) {
            QTest::mouseClick(sheet.ok_button, Qt::LeftButton);
            return sheet.result();
        });
        sheet.Export_Button();
        EXPECT_TRUE(files.requests.isEmpty());
        return messages.questions();
    }
    // Send Mail to one guest with one source box clicked: the messages the run sent.
    std::shared_ptr<mailtest::RecordingTransport> sendToOneGuest(FakeHost &host,
                                                                 QCheckBox *Send_Mail::*source)
    {
        mailtest::useExampleAccount();
        auto transport = std::make_shared<mailtest::RecordingTransport>();
        Send_Mail mail(host, &host.window);
        mail.setTransport(transport);
        modalScripts.push_back([&](QDialog &) {
            mailtest::typeInto(mail.to_txt, QStringLiteral("guest@example.org"));
            testsupport::clickIndicator(mail.*source);
            QTest::mouseClick(mail.send_button, Qt::LeftButton);
            QTest::mouseClick(mail.close_button, Qt::LeftButton);
            return mail.result();
        });
        mail.Open_Wnd();
        return transport;
    }
    static QString checkQuestion(const QString &problems)
    {
        return "Some cards would not come out right:\n\n" + problems + "\n\nDo you want to go on?";
    }
    const QString question =
        checkQuestion(QStringLiteral("The text \"user12@example.org\" on the front (series \"mails\") does "
                                     "not fit its box and is cut.\n2 of 3 cards (rows 2, 3)"));
};

TEST_F(RowCheckQuestion, ExportAsksAndNoWritesNothingYesWritesEveryCard)
{
    FakeHost host(cutDesign());
    ExportSheet sheet(host, &host.window);
    const QString chosen = tempPath("out");
    QDir().mkpath(chosen);
    for (const bool goOn : {false, true}) {
        messages.clear();
        messages.queueAnswers({goOn});
        files.answers = {chosen};
        modalScripts.push_back([&sheet](QDialog &) {
            QTest::mouseClick(sheet.ok_button, Qt::LeftButton);
            return sheet.result();
        });
        modalScripts.push_back([](QDialog &) { return 0; }); // the exported-files dialog
        sheet.Export_Button();
        EXPECT_EQ(messages.questions(), QStringList{question});
        const QDir folder(QDir(chosen).filePath("ZOLV Tessaly Greeting Card"));
        EXPECT_EQ(folder.entryList(QDir::Files).size(), goOn ? 3 : 0) << goOn;
        modalScripts.clear();
    }
}

// A print of two labels checks the two cards it prints.
TEST_F(RowCheckQuestion, PrintAndMailAskAndNoStartsNothing)
{
    const QString pdf = tempPath("sheets.pdf");
    PrinterCatalog::setPdfFile(pdf);
    FakeHost host(cutDesign());
    Print_Wnd print(host, &host.window);
    messages.queueAnswers({false});
    modalScripts.push_back([&](QDialog &) {
        print.Total_Stepper->selectAll();
        QTest::keyClicks(print.Total_Stepper, QStringLiteral("2"));
        QTest::keyClick(print.Total_Stepper, Qt::Key_Return);
        QTest::mouseClick(print.print_button, Qt::LeftButton);
        return 0;
    });
    print.Open_Print_Wnd();
    PrinterCatalog::setPdfFile(std::nullopt);
    QString ofTwo = question;
    ofTwo.replace(QStringLiteral("2 of 3 cards (rows 2, 3)"), QStringLiteral("1 of 2 cards (row 2)"));
    EXPECT_EQ(messages.questions(), QStringList{ofTwo});
    EXPECT_FALSE(QFileInfo::exists(pdf));

    messages.clear();
    messages.queueAnswers({false});
    const auto transport = sendToOneGuest(host, &Send_Mail::send_with_batch_chk);
    // Every card to the one recipient: the count and the check in one question.
    QString ofMail = question;
    ofMail.replace(QStringLiteral("Do you want to go on?"), QStringLiteral("Do you want to send them?"));
    EXPECT_EQ(messages.questions(),
              QStringList{"This sends 3 messages to 1 recipient, one for each card.\n\n" + ofMail});
    EXPECT_TRUE(transport->sent.isEmpty());
}

// A design without data: a text typed by hand that its box cuts and a picture whose file is gone
// are named before anything is asked for; No leaves the save panel unasked.
TEST_F(RowCheckQuestion, ExportOfAPlainDesignNamesWhatComesOutWrong)
{
    CardDesign d;
    d.setCardSize(QSizeF(243, 154));
    GraphicPtr cut = batchtest::text(QRectF(10, 10, 40, 20), DataSourceCode::Fixed);
    cut->Text_contents().text = QStringLiteral("Supercalifragilistic");
    GraphicPtr photo = SKTGraphic::create(SKTGraphic::Kind::Image);
    photo->setBounds(QRectF(150, 10, 60, 40));
    static_cast<SKTImage &>(*photo).setFilePath(tempPath("photo.png"));
    d.front << cut << photo;
    EXPECT_EQ(
        askedByDeclinedExport(d),
        QStringList{checkQuestion(QStringLiteral("The text \"Supercalifragilistic\" on the front does not "
                                                 "fit its box and is cut.\n\nThe picture on the front is "
                                                 "blank: its file \"%1\" is gone.")
                                      .arg(tempPath("photo.png")))});
}

// The question names a character no font can draw by its code, since the box cannot draw it
// either, and the cards reading a formula the workbook never computed, by the sheet's rows.
TEST_F(RowCheckQuestion, NamesCharactersNoFontDrawsAndFormulasNeverComputed)
{
    const QString tangut = QString::fromUtf8("\U00017000");
    CardDesign d;
    d.setCardSize(QSizeF(243, 154));
    batchtest::setTitles(d, {"Total"});
    batchtest::addRow(d, ExcelBindingTable::Row{{"Extension", "1"}, {"Column1", "12"}});
    batchtest::addRow(d, ExcelBindingTable::Row{{"Extension", "2"}, {"Column1", ""}});
    batchtest::setSheetRows(d, {2, 3});
    batchtest::markUncomputed(d, 1, 1);
    GraphicPtr total = batchtest::text(QRectF(10, 60, 200, 30), DataSourceCode::BindingColumn, {}, 1);
    total->excel_col_title = QStringLiteral("Total");
    GraphicPtr party = batchtest::text(QRectF(10, 10, 200, 30), DataSourceCode::Fixed);
    party->Text_contents().text = "Party " + tangut;
    d.front << total << party;
    EXPECT_EQ(
        askedByDeclinedExport(d),
        QStringList{checkQuestion(
            QStringLiteral("Blank cards: every value they are filled with is empty.\n1 of 2 cards (row 3)\n\n"
                           "The workbook's column \"Total\" holds formulas that were never computed: open "
                           "and save the workbook in a spreadsheet program first.\n1 of 2 cards (row 3)\n\n"
                           "The text \"Party %1\" on the front has characters no font here can draw: %1 "
                           "(U+17000).\n2 of 2 cards (rows 2, 3)")
                .arg(tangut))});
}

namespace
{
// Two names in a workbook whose formatted rows below them are empty, one holding a space; a typed
// text on every card tells the cards made apart from the labels left blank.
CardDesign twoNamesAndBlankRows()
{
    CardDesign d;
    d.setCardSize(QSizeF(243, 154));
    d.frontPage.Card_Side = QStringLiteral("1");
    batchtest::setTitles(d, {"Name"});
    const QStringList names{"Ann", "Bo", "", "", " "};
    for (int r = 0; r < names.size(); ++r)
        batchtest::addRow(d, {{"Extension", QString::number(r + 1)}, {"Column1", names[r]}});
    batchtest::setSheetRows(d, {2, 3, 4, 5, 6});
    GraphicPtr name = batchtest::text(QRectF(10, 60, 200, 30), DataSourceCode::BindingColumn, {}, 1);
    name->excel_col_title = QStringLiteral("Name");
    GraphicPtr party = batchtest::text(QRectF(10, 10, 200, 30), DataSourceCode::Fixed);
    party->Text_contents().text = QStringLiteral("Party");
    d.front << name << party;
    return d;
}
} // namespace

// Blank cards are named by their count and sheet rows; export, print and mail leave them out when
// asked to, and make every card when told to go on.
TEST_F(RowCheckQuestion, BlankCardsAreNamedAndLeftOutOfExportPrintAndMail)
{
    const QString blank = QStringLiteral(
        "Some cards would not come out right:\n\nBlank cards: every value they are filled with "
        "is empty.\n3 of 5 cards (rows 4, 5, 6)\n\n");
    FakeHost host(twoNamesAndBlankRows());
    ExportSheet sheet(host, &host.window);
    const QString chosen = tempPath("out");
    QDir().mkpath(chosen);
    for (const int answer : {2, 0}) {
        messages.clear();
        messages.queueChoices({answer});
        files.answers = {chosen};
        modalScripts.push_back([&sheet](QDialog &) {
            QTest::mouseClick(sheet.ok_button, Qt::LeftButton);
            return sheet.result();
        });
        modalScripts.push_back([](QDialog &) { return 0; }); // the exported-files dialog
        sheet.Export_Button();
        EXPECT_EQ(messages.questions(), QStringList{blank + "Do you want to go on?"});
        const QDir folder(QDir(chosen).filePath("ZOLV Tessaly Greeting Card"));
        EXPECT_EQ(folder.entryList(QDir::Files).size(), answer == 2 ? 2 : 5) << answer;
        modalScripts.clear();
        QDir(folder).removeRecursively();
    }

    const QString pdf = tempPath("sheets.pdf");
    PrinterCatalog::setPdfFile(pdf);
    Print_Wnd print(host, &host.window);
    messages.clear();
    messages.queueChoices({2});
    modalScripts.push_back([&](QDialog &) {
        QTest::mouseClick(print.print_button, Qt::LeftButton);
        return 0;
    });
    print.Open_Print_Wnd();
    PrinterCatalog::setPdfFile(std::nullopt);
    EXPECT_EQ(messages.questions(), QStringList{blank + "Do you want to go on?"});
    const QString printed = testsupport::output("pdftotext", {pdf, "-"});
    EXPECT_EQ(printed.count("Party"), 2) << printed.toStdString();
    EXPECT_TRUE(printed.contains("Ann") && printed.contains("Bo")) << printed.toStdString();

    messages.clear();
    messages.queueChoices({2});
    const auto transport = sendToOneGuest(host, &Send_Mail::send_with_excel_chk);
    EXPECT_EQ(messages.questions(),
              QStringList{"This sends 5 messages to 1 recipient, one for each card.\n\n" + blank +
                          "Do you want to send them?"});
    EXPECT_EQ(transport->sent.size(), 2);
}

// The question before a print defaults to Stop, with or without blank cards to leave out: a stray
// Return prints nothing.
TEST_F(RowCheckQuestion, ReturnAtTheQuestionBeforeAPrintStops)
{
    struct Case {
        const char *what;
        CardDesign design;
        int buttons;
    };
    const Case cases[] = {{"a cut text", cutDesign(), 2}, {"blank cards", twoNamesAndBlankRows(), 3}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString pdf = tempPath(QString::fromLatin1(c.what) + ".pdf");
        PrinterCatalog::setPdfFile(pdf);
        FakeHost host(c.design);
        Print_Wnd print(host, &host.window);
        MessageBoxService boxes;
        MessageService::install(&boxes);
        QString defaultAnswer;
        qsizetype buttons = 0;
        modalScripts.push_back([&](QDialog &) {
            testsupport::pressReturnOnNextBox(defaultAnswer, nullptr, &buttons);
            QTest::mouseClick(print.print_button, Qt::LeftButton);
            return 0;
        });
        print.Open_Print_Wnd();
        MessageService::install(&messages);
        PrinterCatalog::setPdfFile(std::nullopt);
        EXPECT_EQ(defaultAnswer, "&Stop");
        EXPECT_EQ(buttons, c.buttons);
        EXPECT_FALSE(QFileInfo::exists(pdf));
    }
}
