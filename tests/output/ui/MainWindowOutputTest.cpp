// The main window's Export, Print, Mail and mail settings commands reach their windows through the
// registry, with the design and the mail settings the window holds.
#include "editor/ui/MainWindowFixture.h"
#include "foundation/WindowRegistry.h"
#include "output/BatchDesignFixture.h"
#include "output/ui/ExportSheet.h"
#include "output/ui/MailFakes.h"
#include "output/ui/Print_Wnd.h"
#include "output/ui/Send_Mail.h"
#include "support/DesignSetup.h"
#include "support/IndicatorClick.h"

#include <QTest>

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class MainWindowOutput : public MainWindowFixture
{
};

TEST_F(MainWindowOutput, ExportAndPrintOpenTheirWindowsOnTheCurrentDesign)
{
    WindowRegistry &registry = window->registry();
    ASSERT_TRUE(registry.isFilled(WindowRegistry::Window::Export));
    ASSERT_TRUE(registry.isFilled(WindowRegistry::Window::Print));
    bool combinedOffered = true;
    modalScripts.push_back([&](QDialog &dialog) {
        auto *sheet = qobject_cast<ExportSheet *>(&dialog);
        combinedOffered = sheet && sheet->export_combined_image_chk->isEnabled();
        return 0;
    });
    registry.open(WindowRegistry::Window::Export);
    QString paper;
    modalScripts.push_back([&](QDialog &dialog) {
        if (auto *print = qobject_cast<Print_Wnd *>(&dialog))
            paper = print->Size_id->text();
        return 0;
    });
    registry.open(WindowRegistry::Window::Print);
    EXPECT_EQ(modalTitles, (QStringList{"Export", "Print"}));
    EXPECT_FALSE(combinedOffered); // the sheet opens on the front side
    EXPECT_FALSE(paper.isEmpty());
}

// The card a user exports has the outline the editor shows: an elliptic card's corners stay clear.
TEST_F(MainWindowOutput, ExportedCardHasTheEditorsOutline)
{
    testsupport::setOutline(window->document(),
                            CardDesign::Ellipse); // as the card page's outline matrix sets it
    testsupport::arrangeSettings(window->document(), [](DesignSettings &s) {
        s.frontPage.Card_fill_chk = true;
        s.frontPage.Card_fill_style = QStringLiteral("S");
        s.frontPage.Card_fill_clr = QColor(Qt::blue);
    });
    const QString path = tempPath(QStringLiteral("ellipse.png"));
    files.answers.push_back(path);
    modalScripts.push_back([](QDialog &dialog) {
        auto *sheet = qobject_cast<ExportSheet *>(&dialog);
        if (!sheet)
            return 0;
        QTest::mouseClick(sheet->ok_button, Qt::LeftButton);
        return sheet->result();
    });
    modalScripts.push_back([](QDialog &) { return 0; }); // the exported-files dialog
    window->registry().open(WindowRegistry::Window::Export);

    const QImage card(path);
    ASSERT_FALSE(card.isNull());
    const QPoint centre(card.width() / 2, card.height() / 2);
    EXPECT_EQ(card.pixelColor(centre).rgb(), QColor(Qt::blue).rgb());
    EXPECT_EQ(card.pixelColor(1, 1).alpha(), 0);
    EXPECT_EQ(card.pixelColor(card.width() - 2, card.height() - 2).alpha(), 0);
}

TEST_F(MainWindowOutput, MailAndItsSettingsOpenFromTheMainWindowAndShareTheStoredSender)
{
    WindowRegistry &registry = window->registry();
    ASSERT_TRUE(registry.isFilled(WindowRegistry::Window::Mail));
    ASSERT_TRUE(registry.isFilled(WindowRegistry::Window::MailSettings));
    modalScripts.push_back([](QDialog &dialog) {
        const QStringList entries{"Cards@Example.com", "secret", "smtp.example.com", "587"};
        const QStringList names{"_send_mail_sender_mail", "_send_mail_password", "_send_mail_smtp",
                                "_send_mail_port"};
        for (int i = 0; i < names.size(); ++i)
            dialog.findChild<QLineEdit *>(names[i])->setText(entries[i]);
        dialog.findChild<QPushButton *>("save_button")->click();
        return dialog.result();
    });
    EXPECT_EQ(registry.open(WindowRegistry::Window::MailSettings), 1);
    EXPECT_EQ(window->sender_email, "Cards@Example.com"); // the main window's copy follows at once
    EXPECT_EQ(window->sending_port, "587");

    QString from;
    modalScripts.push_back([&](QDialog &dialog) {
        from = dialog.findChild<QLineEdit *>("from_txt")->text();
        return 0;
    });
    registry.open(WindowRegistry::Window::Mail);
    EXPECT_EQ(modalTitles, (QStringList{"E-mail Settings", "Send Mail"}));
    EXPECT_EQ(from, "Cards@Example.com");
}

// Export and mail of cards filled from a workbook make copies: the design, its title and the save
// question stay as they were.
TEST_F(MainWindowOutput, ExportAndMailLeaveTheDesignAsItWas)
{
    writeBinding([&](ExcelBindingTable &table) {
        table.setColumnTitles({QStringLiteral("Name")});
        table.setListData(
            {{{"Extension", "1"}, {"Column1", "Ann"}}, {{"Extension", "2"}, {"Column1", "Bo"}}});
        table.Excel_Binding_Use = true;
    });
    GraphicPtr name = batchtest::text(QRectF(10, 10, 150, 30), DataSourceCode::BindingColumn);
    GraphicPtr code = batchtest::barcode(QPointF(150, 60), 1, 0, DataSourceCode::BindingColumn);
    for (const GraphicPtr &g : {name, code})
        g->Set_Excel_binding_Column(1, QStringLiteral("Name"));
    name->Text_contents().text = QStringLiteral("Dear guest");
    window->document().insertGraphicsIntoSide(0, {name, code}, {0, 1});
    saveAs(QStringLiteral("party.dcard"));
    ASSERT_FALSE(window->hasUnsavedChanges());
    const auto unchanged = [&](const char *after) {
        QCoreApplication::processEvents();
        EXPECT_FALSE(window->hasUnsavedChanges()) << after;
        EXPECT_FALSE(window->isWindowModified()) << after;
        EXPECT_EQ(name->Text_contents().text, QStringLiteral("Dear guest")) << after;
        EXPECT_FALSE(code->_barcode_image) << after;
    };

    const QString folder = tempPath(QStringLiteral("out"));
    QDir().mkpath(folder);
    files.answers.push_back(folder);
    modalScripts.push_back([](QDialog &dialog) {
        auto &sheet = dynamic_cast<ExportSheet &>(dialog);
        QTest::mouseClick(sheet.ok_button, Qt::LeftButton);
        return sheet.result();
    });
    modalScripts.push_back([](QDialog &) { return 0; }); // the exported-files dialog
    window->registry().open(WindowRegistry::Window::Export);
    EXPECT_EQ(QDir(folder).entryList({"ZOLV*"}, QDir::Dirs).size(), 1);
    unchanged("export");

    mailtest::useExampleAccount();
    auto transport = std::make_shared<mailtest::RecordingTransport>();
    modalScripts.push_back([&](QDialog &dialog) {
        auto &mail = dynamic_cast<Send_Mail &>(dialog);
        mail.setTransport(transport);
        mailtest::typeInto(mail.to_txt, QStringLiteral("guest@example.org"));
        testsupport::clickIndicator(mail.send_with_excel_chk);
        messages.queueChoices({0}); // both rows' cards to the one recipient: Send
        QTest::mouseClick(mail.send_button, Qt::LeftButton);
        QTest::mouseClick(mail.close_button, Qt::LeftButton);
        return mail.result();
    });
    window->registry().open(WindowRegistry::Window::Mail);
    EXPECT_EQ(transport->sent.size(), 2);
    unchanged("mail");
}
