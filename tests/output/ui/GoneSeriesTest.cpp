// A series whose file is gone makes no card: every window that runs output names the series and
// its file, as it opens and again as its run starts, and nothing is printed, written or sent with
// the design's sample values in its place.
#include "editor/ui/EditorCommands.h"
#include "editor/ui/MainWindowFixture.h"
#include "foundation/CardCodes.h"
#include "foundation/DataRoot.h"
#include "output/BatchDesignFixture.h"
#include "output/ui/ExportSheet.h"
#include "output/ui/MailFakes.h"
#include "output/ui/OutputWindowFixture.h"
#include "output/ui/Print_Wnd.h"
#include "output/ui/Send_Mail.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace
{
// What every window says of the series "names" once its file is gone from the data folder.
QString goneNamesText()
{
    return QStringLiteral("The series \"names\" was not found: its file %1 is gone.\n\nNo card is made while "
                          "a series it reads is gone: put the file back, or bind the objects to another "
                          "series.")
        .arg(QDir(Data_Folder_Path).filePath(QStringLiteral("names.txt")));
}

QStringList shownTexts(const MessageAnswerer &messages)
{
    QStringList texts;
    for (const QString &m : messages.messages())
        texts << (m.startsWith(QLatin1Char('\n')) ? m.mid(1) : m);
    return texts;
}

} // namespace

class GoneSeries : public testsupport::WindowFixture
{
protected:
    QString seriesFile() const { return QDir(Data_Folder_Path).filePath(QStringLiteral("names.txt")); }
    void writeNames(int count)
    {
        QByteArray lines;
        for (int k = 1; k <= count; ++k)
            lines += "Name-" + QByteArray::number(k) + "\n";
        batchtest::writeSeries(Data_Folder_Path, "names", lines);
    }
    void removeNames() { ASSERT_TRUE(QFile::remove(seriesFile())); }
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

// Print kept open after a run to the PDF file: the series deleted meanwhile stops Print and Preview
// alike, and the window no longer says where sheets went.
TEST_F(GoneSeries, PrintAndPreviewPressedAgainNameTheSeriesAndPrintNothing)
{
    const QString pdf = tempPath(QStringLiteral("sheets.pdf"));
    writeNames(5);
    outputtest::FakeHost host(namesCard());
    Print_Wnd w(host, &host.window);
    files.answers.push_back(pdf);
    files.answers.push_back(pdf); // would a second run reach the panel
    QByteArray firstSheets;
    QString resultAfter;
    modalScripts.push_back([&](QDialog &) {
        const int pdfEntry = w.Printer_ComboBox->count() - 1;
        w.Printer_ComboBox->setCurrentIndex(pdfEntry);
        emit w.Printer_ComboBox->activated(pdfEntry);
        QTest::mouseClick(w.print_button, Qt::LeftButton);
        QFile written(pdf);
        EXPECT_TRUE(written.open(QIODevice::ReadOnly));
        firstSheets = written.readAll();
        EXPECT_TRUE(w.print_result_id->text().startsWith("The sheets were written to "));
        removeNames();
        QTest::mouseClick(w.print_button, Qt::LeftButton);
        resultAfter = w.print_result_id->text();
        QTest::mouseClick(w.preview_button, Qt::LeftButton);
        return 0;
    });
    w.Open_Print_Wnd();
    EXPECT_EQ(shownTexts(messages), (QStringList{goneNamesText(), goneNamesText()}));
    EXPECT_EQ(files.requests.size(), 1) << "the second run stopped before the file panel";
    EXPECT_TRUE(resultAfter.isEmpty()) << resultAfter.toStdString();
    QFile written(pdf);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), firstSheets) << "no sheet of sample values written over the last run's";
    EXPECT_EQ(modalTitles, QStringList{"Print"}) << "no preview opened";
}

// Export and Print opened afresh say so before their window shows; Export's OK says so when the
// file goes while its sheet is open, and no card is written.
TEST_F(GoneSeries, ExportAndPrintOpenedOrStartedNameTheSeriesAndWriteNothing)
{
    struct Case {
        const char *what;
        bool goneBeforeOpening;
    };
    for (const Case &c : {Case{"opened afresh", true}, Case{"gone while open", false}}) {
        messages.clear();
        modalTitles.clear();
        writeNames(3);
        if (c.goneBeforeOpening)
            removeNames();
        outputtest::FakeHost host(namesCard());
        ExportSheet sheet(host, &host.window);
        const QString chosen = tempPath(QString::fromLatin1(c.what));
        QDir().mkpath(chosen);
        files.answers.push_back(chosen);
        modalScripts.push_back([&](QDialog &) {
            removeNames();
            QTest::mouseClick(sheet.ok_button, Qt::LeftButton);
            return sheet.result();
        });
        sheet.Export_Button();
        EXPECT_EQ(shownTexts(messages), QStringList{goneNamesText()}) << c.what;
        EXPECT_EQ(modalTitles.size(), c.goneBeforeOpening ? 0 : 1) << c.what;
        EXPECT_TRUE(QDir(chosen).isEmpty()) << c.what;
        files.answers.clear();
        modalScripts.clear();

        if (!c.goneBeforeOpening)
            continue;
        messages.clear();
        Print_Wnd print(host, &host.window);
        EXPECT_EQ(print.Open_Print_Wnd(), 0);
        EXPECT_EQ(shownTexts(messages), QStringList{goneNamesText()});
        EXPECT_TRUE(modalTitles.isEmpty());
    }
}

// Send Mail still opens (it mails without a card too), names the series as it opens, and its Send
// of the card mails nothing.
TEST_F(GoneSeries, SendMailNamesTheSeriesAndSendsNoCard)
{
    mailtest::useExampleAccount();
    outputtest::FakeHost host(namesCard());
    auto transport = std::make_shared<mailtest::RecordingTransport>();
    Send_Mail mail(host, &host.window);
    mail.setTransport(transport);
    QStringList atOpening;
    modalScripts.push_back([&](QDialog &) {
        atOpening = shownTexts(messages);
        mailtest::typeInto(mail.to_txt, QStringLiteral("guest@example.org"));
        messages.queueChoices({0, 0});
        QTest::mouseClick(mail.send_button, Qt::LeftButton);
        return 0;
    });
    mail.Open_Wnd();
    EXPECT_EQ(atOpening, QStringList{goneNamesText()});
    EXPECT_EQ(shownTexts(messages), (QStringList{goneNamesText(), goneNamesText()}));
    EXPECT_TRUE(transport->sent.isEmpty());
}

class GoneSeriesPrintButton : public MainWindowFixture
{
};

// The main window's Print says which series is gone rather than "List is empty.".
TEST_F(GoneSeriesPrintButton, NamesTheSeriesRatherThanAnEmptyList)
{
    window->document().insertGraphicsIntoSide(
        0, {batchtest::text(QRectF(10, 10, 200, 30), DataSourceCode::Series, "names")}, {0});
    window->commands().Print_Button();
    EXPECT_EQ(shown(), QStringList{goneNamesText()});
    EXPECT_TRUE(modalTitles.isEmpty());
}
