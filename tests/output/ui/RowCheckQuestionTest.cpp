// Export, print and mail of bound cards ask first when some cards would come out wrong, naming
// them; No starts nothing, Yes runs as before.
#include "foundation/Preferences.h"
#include "output/BatchDesignFixture.h"
#include "output/ExportPaths.h"
#include "output/PrintLayout.h"
#include "output/ui/ExportSheet.h"
#include "output/ui/MailFakes.h"
#include "output/ui/OutputWindowFixture.h"
#include "output/ui/Print_Wnd.h"
#include "output/ui/Send_Mail.h"
#include "support/IndicatorClick.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using outputtest::FakeHost;
using testsupport::WindowFixture;

class RowCheckQuestion : public WindowFixture
{
protected:
    // Two e-mail addresses of three too long for their box.
    BatchFillSnapshot::Design cutDesign()
    {
        const QString data = tempPath("DataSet");
        batchtest::writeSeries(data, "mails", "a@b.c\nuser12@example.org\nuser300@example.org\n");
        BatchFillSnapshot::Design d;
        d.dataFolder = data;
        d.frontPage.Card_Size = QSizeF(243, 154);
        d.front << batchtest::text(QRectF(10, 10, 60, 20), DataSourceCode::Series, "mails");
        return d;
    }
    const QString question = QStringLiteral(
        "Some cards would not come out right:\n\nThe text \"Text here\" on the front (series \"mails\") does "
        "not fit its box and is cut.\n2 of 3 cards (rows 2, 3)\n\nDo you want to go on?");
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

TEST_F(RowCheckQuestion, PrintAndMailAskAndNoStartsNothing)
{
    const QString pdf = tempPath("sheets.pdf");
    PrinterCatalog::setPdfFile(pdf);
    FakeHost host(cutDesign());
    Print_Wnd print(host, &host.window);
    messages.queueAnswers({false});
    modalScripts.push_back([&](QDialog &) {
        QTest::mouseClick(print.print_button, Qt::LeftButton);
        return 0;
    });
    print.Open_Print_Wnd();
    PrinterCatalog::setPdfFile(std::nullopt);
    EXPECT_EQ(messages.questions(), QStringList{question});
    EXPECT_FALSE(QFileInfo::exists(pdf));

    messages.clear();
    messages.queueAnswers({false});
    Preferences::sharedInstance().setsend_email_SenderEmail(QStringLiteral("cards@example.com"));
    Preferences::sharedInstance().setsend_email_SMTP_server(QStringLiteral("smtp.example.com"));
    auto transport = std::make_shared<mailtest::RecordingTransport>();
    Send_Mail mail(host, &host.window);
    mail.setTransport(transport);
    modalScripts.push_back([&](QDialog &) {
        mailtest::typeInto(mail.to_txt, QStringLiteral("guest@example.org"));
        testsupport::clickIndicator(mail.send_with_batch_chk);
        QTest::mouseClick(mail.send_button, Qt::LeftButton);
        QTest::mouseClick(mail.close_button, Qt::LeftButton);
        return mail.result();
    });
    mail.Open_Wnd();
    EXPECT_EQ(messages.questions(), QStringList{question});
    EXPECT_TRUE(transport->sent.isEmpty());
}
