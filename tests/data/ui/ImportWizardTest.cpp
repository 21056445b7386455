// The import wizard driven through its options: Browse starts the import at once, the messages of
// bad entries, CSV fields row by row, the "NSFont = " stop, pasted lines kept as they stand for a
// new series, picture folders, and values handed to the manager's open list.
#include "data/ListImport.h"
#include "data/ui/BatchWizard.h"
#include "data/ui/Import_Wizard.h"
#include "data/ui/ListCharsetDialog.h"
#include "data/ui/Load_Num_Info.h"
#include "data/ui/SeriesDialogDriver.h"
#include "support/KeyboardWalk.h"
#include "support/TestSupport.h"
#include "support/WindowFixture.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <sys/stat.h>

using namespace testsupport;

namespace
{
// Types text into the paste area key by key, Return for each line break.
void typeLines(QPlainTextEdit *edit, const QString &text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClicks(edit, lines[i]);
    }
}
} // namespace

class ImportWizard : public WindowFixture
{
protected:
    Import_Wizard w{nullptr};

    int run(const std::function<void()> &body, int required = 1)
    {
        modalScripts.push_front([this, body](QDialog &) {
            body();
            return w.result();
        });
        w.file_name_required = required;
        w.file_name_Insert = 0;
        return w.Open_Wnd();
    }
};

TEST_F(ImportWizard, BadEntriesAreRefusedWithTheirMessages)
{
    ASSERT_TRUE(writeFile(tempPath("empty.txt"), ""));
    run([&] {
        w.Text_RD->click();
        EXPECT_EQ(w.Text_file_name->text(), QStringLiteral("Untitled"));
        w.ok_button->click();
        QTest::keyClicks(w.Text_path, tempPath("none.txt"));
        w.ok_button->click();
        w.Text_path->setText(tempPath("empty.txt"));
        w.ok_button->click();
        w.Mnul_RD->click();
        typeLines(w.ManualEdit, "  \n\n ");
        w.ok_button->click();
        typeLines(w.ManualEdit, "x");
        w.Manual_file_name->setText(QStringLiteral("a/b"));
        w.ok_button->click();
        w.Image_RD->click();
        w.ok_button->click();
        saveArtifact(&w, QStringLiteral("import_wizard.png"));
        w.cancel_button->click();
    });
    EXPECT_EQ(messages.messages(),
              (QStringList{"\nPlease select valid file path.", "\nPlease select valid file path.",
                           "\nEither file is corrupted or selected file contains invalid characters.",
                           "\nPlease enter some data.",
                           "\nThe name of a Batch Processing Series must not contain \"/\" or \"\\\".",
                           "\nPlease select valid file path."}));
    EXPECT_TRUE(QDir(Data_Folder_Path).entryList(QDir::Files).isEmpty());
}

TEST_F(ImportWizard, SeriesNameLabelsGoWithTheirFields)
{
    // Opened for values of the series being edited, the name fields are hidden: their labels too.
    for (int required : {0, 1, 0}) {
        run(
            [&] {
                EXPECT_EQ(testsupport::shownLabels(w, QStringLiteral("Series name:")), required == 1 ? 3 : 0)
                    << required;
                EXPECT_EQ(w.Text_file_name->isVisibleTo(&w), required == 1);
                w.cancel_button->click();
            },
            required);
    }
}

TEST_F(ImportWizard, ChoosingACsvFileImportsItsFieldsRowByRowAtOnce)
{
    ASSERT_TRUE(writeFile(tempPath("list.csv"), "a\\1,{b}\r\nc,\nd,\n"));
    files.answers = {tempPath("list.csv")};
    EXPECT_EQ(run([&] {
                  w.Text_RD->click();
                  w.Text_file_name->setText(QStringLiteral("Fields"));
                  w.Text_btn->click();
              }),
              1);
    EXPECT_EQ(files.requests.value(0).suffixes, (QStringList{"txt", "TXT", "rtf", "RTF", "csv", "CSV"}));
    EXPECT_EQ(readSeriesFile("Fields"), QByteArray("a1\nb\nc\nd\n"));
}

TEST_F(ImportWizard, QuotedCsvFieldsArriveWholeAndPipesOrHugeFilesAreRefused)
{
    // A spreadsheet's CSV: a comma and a line break inside quotes, a doubled quote.
    ASSERT_TRUE(writeFile(tempPath("people.csv"), "Name,Note\r\n\"Smith, John\",\"says \"\"hi\"\"\"\r\n"
                                                  "\"Ann\nLee\",x\r\n"));
    files.answers = {tempPath("people.csv")};
    EXPECT_EQ(run([&] {
                  w.Text_RD->click();
                  w.Text_file_name->setText(QStringLiteral("People"));
                  w.Text_btn->click();
              }),
              1);
    // A value of a series is one line: the break inside "Ann Lee" becomes a blank there.
    EXPECT_EQ(readSeriesFile("People"), QByteArray("Name\nNote\nSmith, John\nsays \"hi\"\nAnn Lee\nx\n"));

    const QString fifo = tempPath("pipe.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QFile big(tempPath("big.csv"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(ListImport::MaxFileSize + 1));
    big.close();
    messages.clear();
    EXPECT_EQ(run([&] {
                  w.Text_RD->click();
                  w.Text_file_name->setText(QStringLiteral("Nothing"));
                  w.Text_path->setText(fifo);
                  w.ok_button->click();
                  w.Text_path->setText(big.fileName());
                  w.ok_button->click();
                  w.cancel_button->click();
              }),
              0);
    EXPECT_EQ(messages.messages(), (QStringList{QStringLiteral("\n") + ListImport::MsgInvalidFile,
                                                QStringLiteral("\n") + ListImport::tooLargeMessage()}));
    EXPECT_FALSE(QFileInfo::exists(QDir(Data_Folder_Path).filePath(QStringLiteral("Nothing.txt"))));
}

TEST_F(ImportWizard, TextFileStopsAtTheFontLineAndAnExistingNameIsAskedAbout)
{
    ASSERT_TRUE(writeFile(tempPath("list.txt"), "one\n t{w}o \nNSFont = Helvetica;\nthree\n"));
    writeSeriesFile("Words", "old\n");
    messages.queueAnswers({false, true});
    run([&] {
        w.Text_RD->click();
        w.Text_file_name->setText(QStringLiteral("Words"));
        QTest::keyClicks(w.Text_path, tempPath("list.txt"));
        w.ok_button->click(); // No: stays open, untouched
        EXPECT_EQ(readSeriesFile("Words"), QByteArray("old\n"));
        EXPECT_EQ(w.Text_path->text(), tempPath("list.txt"));
        w.ok_button->click();
    });
    EXPECT_EQ(readSeriesFile("Words"), QByteArray("one\ntwo\n"));
}

// A list in UTF-16 without a byte-order mark becomes a series of its names; a UTF-8 list with one
// stray NUL (an even count of bytes, as UTF-16 has) and a file that is no text are named to the
// user with their stray bytes and make no series; a list ending in an end-of-file byte is imported
// without it, and the user is told.
TEST_F(ImportWizard, AListInUtf16WithoutAMarkIsReadAndStrayBytesAreNamed)
{
    const QString names = QStringLiteral("Anna\r\nZo\u00eb\r\n\u5f20\u4f1f\r\n");
    ASSERT_TRUE(writeFile(tempPath("people.txt"),
                          QByteArray(reinterpret_cast<const char *>(names.utf16()), names.size() * 2)));
    ASSERT_TRUE(writeFile(tempPath("photo.txt"), QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)));
    ASSERT_TRUE(writeFile(tempPath("dos.txt"), "Anna\r\nZo\xc3\xab\r\n\x1a"));
    ASSERT_TRUE(writeFile(tempPath("nul.txt"),
                          QByteArray("Name,City\r\nZo\xc3\xab,Malm\xc3\xb6\r\nAn\0na,Oslo\r\n", 36)));
    for (const char *file : {"people", "photo", "dos", "nul"}) {
        run([&] {
            w.Text_RD->click();
            w.Text_file_name->setText(QLatin1String(file));
            QTest::keyClicks(w.Text_path, tempPath(QLatin1String(file) + QLatin1String(".txt")));
            w.ok_button->click();
        });
    }
    EXPECT_EQ(readSeriesFile("people"), QString::fromUtf8("Anna\nZo\u00eb\n\u5f20\u4f1f\n").toUtf8());
    EXPECT_FALSE(seriesExists("photo"));
    EXPECT_EQ(readSeriesFile("dos"), QByteArray("Anna\nZo\xc3\xab\n"));
    EXPECT_EQ(
        messages.messages(),
        (QStringList{"\n\"photo.txt\" cannot be read as a list: line 2 holds an end-of-file byte (0x1A), and "
                     "1 more line holds bytes no list holds: it is no list, or one saved in a form this "
                     "program does not read. Save the list as UTF-8 text and import it again.",
                     "\n\"dos.txt\" was read without the end-of-file byte 0x1A at its end.",
                     "\n\"nul.txt\" cannot be read as a list: line 3 holds a NUL byte (0x00), which no list "
                     "holds. Delete it in a text editor and import the list again."}));
    EXPECT_FALSE(seriesExists("nul"));
}

// A list several character sets read as names opens the character set window on the likeliest
// reading, its rows as read; a set that cannot read the file offers no OK; Cancel leaves the wizard
// as it was, and OK takes the reading shown. A list one set alone reads as names is read without a
// question; a UTF-8 list with a stray byte opens the window on UTF-8, the byte named.
TEST_F(ImportWizard, AListSeveralSetsReadIsChosenWithTheLikeliestReadingFirst)
{
    const QString turkish = QStringLiteral("\u015e\u00fckr\u00fc \u00d6zt\u00fcrk\nAy\u015fe \u015eahin");
    ASSERT_TRUE(writeFile(tempPath("turkish.txt"), "\xde\xfckr\xfc \xd6zt\xfcrk\r\nAy\xfe"
                                                   "e \xde"
                                                   "ahin\r\n")); // Windows-1254
    ASSERT_TRUE(writeFile(tempPath("czech.txt"), "Ji\xf8\xed Dvo\xf8\xe1k\r\n\xa3\xf3"
                                                 "d\x9f\r\n"));                // Windows-1250
    ASSERT_TRUE(writeFile(tempPath("slip.txt"), "Zo\xc3\xab\r\nRen\xe9\r\n")); // UTF-8, one Windows-1252 byte
    const auto chooseIn = [](ListCharsetDialog &d, const char *charset) {
        d.charset_combo->setCurrentIndex(d.charset_combo->findData(QByteArray(charset)));
    };
    const auto problemOf = [](ListCharsetDialog &d) {
        return d.findChild<QLabel *>(QStringLiteral("problem"))->text();
    };
    QStringList seen;
    for (const bool accept : {false, true}) {
        modalScripts.push_back([&, accept](QDialog &dialog) {
            auto &d = dynamic_cast<ListCharsetDialog &>(dialog);
            EXPECT_EQ(d.windowTitle(), QStringLiteral("Character Set"));
            seen << d.charset_combo->currentText() << d.preview->toPlainText();
            chooseIn(d, "UTF-8");
            EXPECT_FALSE(d.ok_button->isEnabled());
            seen << problemOf(d);
            chooseIn(d, "windows-1252");
            EXPECT_TRUE(d.ok_button->isEnabled());
            seen << d.preview->toPlainText();
            d.charset_combo->setCurrentIndex(0);
            saveArtifact(&d, QStringLiteral("character_set.png"));
            (accept ? d.ok_button : d.cancel_button)->click();
            return d.result();
        });
    }
    modalScripts.push_back([&](QDialog &dialog) {
        auto &d = dynamic_cast<ListCharsetDialog &>(dialog);
        seen << d.charset_combo->currentText() << d.preview->toPlainText() << problemOf(d);
        EXPECT_FALSE(d.ok_button->isEnabled());
        d.cancel_button->click();
        return d.result();
    });
    const auto import = [this](const char *series, const QString &list) {
        w.Text_RD->click();
        w.Text_file_name->setText(QLatin1String(series));
        w.Text_path->setText(list);
        w.ok_button->click();
    };
    run([&] {
        import("Turkish", tempPath("turkish.txt"));
        EXPECT_EQ(w.result(), 0); // still open
        EXPECT_EQ(w.Text_path->text(), tempPath("turkish.txt"));
        EXPECT_FALSE(seriesExists("Turkish"));
        w.ok_button->click();
    });
    run([&] { import("Czech", tempPath("czech.txt")); });
    run([&] {
        import("Slip", tempPath("slip.txt"));
        w.cancel_button->click();
    });
    EXPECT_EQ(
        seen.mid(0, 4),
        (QStringList{
            "Turkish (Windows-1254)", turkish,
            "\"turkish.txt\" cannot be read as a list: the byte 0xDE on line 1 is no character in "
            "Unicode (UTF-8), nor are 0xFC on line 1, 0xFC on line 1, 0xD6 on line 1, 0xFC on line 1 and 2 "
            "more.",
            "\u00de\u00fckr\u00fc \u00d6zt\u00fcrk\nAy\u00fee \u00deahin"}));
    EXPECT_EQ(seen.mid(4, 4), seen.mid(0, 4));
    // The stray byte shows where it stands.
    EXPECT_EQ(seen.mid(8),
              (QStringList{"Unicode (UTF-8)", "Zo\u00eb\nRen\ufffd",
                           "\"slip.txt\" cannot be read as a list: the byte 0xE9 on line 2 is no "
                           "character in Unicode (UTF-8)."}));
    EXPECT_EQ(readSeriesFile("Turkish"), (turkish + QLatin1Char('\n')).toUtf8());
    EXPECT_EQ(readSeriesFile("Czech"),
              QStringLiteral("Ji\u0159\u00ed Dvo\u0159\u00e1k\n\u0141\u00f3d\u017a\n").toUtf8());
    EXPECT_FALSE(seriesExists("Slip"));
    EXPECT_TRUE(messages.messages().isEmpty());
}

// A sign after a name is writing: a Windows-1252 "Acme™" opens the character set window on that
// reading (Mac Roman reads "Acmeô"), and OK stores it as written.
TEST_F(ImportWizard, ASignAfterANameIsAskedAboutWithItsReadingFirst)
{
    ASSERT_TRUE(writeFile(tempPath("brand.txt"), "Acme\x99\r\n"));
    QStringList seen;
    modalScripts.push_back([&](QDialog &dialog) {
        auto &d = dynamic_cast<ListCharsetDialog &>(dialog);
        seen << d.charset_combo->currentText() << d.preview->toPlainText();
        d.ok_button->click();
        return d.result();
    });
    run([&] {
        w.Text_RD->click();
        w.Text_file_name->setText(QStringLiteral("Brand"));
        w.Text_path->setText(tempPath("brand.txt"));
        w.ok_button->click();
    });
    EXPECT_EQ(seen, (QStringList{"Western European (Windows-1252)", "Acme\u2122"}));
    EXPECT_EQ(readSeriesFile("Brand"), QStringLiteral("Acme\u2122\n").toUtf8());
}

TEST_F(ImportWizard, PastedLinesStayAsTypedForANewSeriesAndArriveTrimmedInTheManager)
{
    run([&] {
        w.Mnul_RD->click();
        w.Manual_file_name->setText(QStringLiteral("Pasted"));
        typeLines(w.ManualEdit, "first\n  second  \n\nthird");
        w.ok_button->click();
    });
    EXPECT_EQ(readSeriesFile("Pasted"), QByteArray("first\n  second  \nthird\n"));

    BatchWizard manager;
    modalScripts.push_back([&](QDialog &) {
        manager.addnew_button->click();
        manager.Create_Value_List(QStringLiteral("kept"));
        modalScripts.push_front([&](QDialog &) {
            manager.Load_Number_Window->no_button->click();
            return manager.Load_Number_Window->result();
        });
        modalScripts.push_back([&](QDialog &) {
            Import_Wizard *iw = manager.importWizard();
            EXPECT_FALSE(iw->Manual_file_name->isVisible());
            iw->Mnul_RD->click();
            typeLines(iw->ManualEdit, " x \ny");
            iw->ok_button->click();
            return iw->result();
        });
        manager.import_value_button->click();
        EXPECT_EQ(manager.values(), (QStringList{"kept", "x", "y"}));
        manager.close_2_button->click();
        return 0;
    });
    manager.Open_Wnd();
    EXPECT_EQ(readSeriesFile("Untitled"), QByteArray("<missing>"));
}

TEST_F(ImportWizard, PictureFolderGivesTheNinePictureKindsInAnyCase)
{
    const QString folder = tempPath("pics");
    QDir().mkpath(folder + "/sub.png");
    const QStringList pictures{"a.JPG", "b.jpeg", "c.Jpe", "d.jfif", "e.GIF",
                               "f.bmp", "g.PNG",  "h.tif", "i.TIFF"};
    for (const QString &name : pictures + QStringList{"notes.txt", "raw.psd"})
        ASSERT_TRUE(writeFile(folder + "/" + name, "x"));
    files.answers = {folder};
    run([&] {
        w.Image_RD->click();
        w.Image_file_name->setText(QStringLiteral("Pics"));
        w.Image_btn->click();
    });
    QStringList expected;
    for (const QString &name : pictures)
        expected << folder + "/" + name;
    const QStringList got = QString::fromUtf8(readSeriesFile("Pics")).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(got, expected);
}
