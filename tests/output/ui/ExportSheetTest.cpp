// The Export command driven through its sheet: the controls that follow each other, a single
// card to a chosen file (back, both, combined), and a batch of data rows into a chosen folder.
#include "output/ui/ExportSheet.h"
#include "editor/EditorState.h"
#include "foundation/DataRoot.h"
#include "model/SKTImage.h"
#include "output/BatchDesignFixture.h"
#include "output/OutputState.h"
#include "output/ui/Open_Export_Log.h"
#include "output/ui/OutputWindowFixture.h"
#include "support/FakeDesktopOpener.h"
#include "support/IndicatorClick.h"
#include "support/KeyboardWalk.h"
#include "support/WindowTitle.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QUrl>

using outputtest::FakeHost;
using outputtest::plainDesign;
using testsupport::WindowFixture;

namespace
{
void clickRow(QButtonGroup *group, int row)
{
    testsupport::clickIndicator(group->button(row));
}
} // namespace

class ExportSheetTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        EditorState::instance().reset();
    }

    // The sheet answered by script, then the exported-files dialog answered by another.
    void exportWith(ExportSheet &sheet, std::function<void(ExportSheet &)> choose,
                    std::function<int(Open_Export_Log &)> log = {})
    {
        modalScripts.push_back([&sheet, choose](QDialog &) {
            choose(sheet);
            QTest::mouseClick(sheet.ok_button, Qt::LeftButton);
            return sheet.result();
        });
        modalScripts.push_back([log](QDialog &dialog) {
            auto *box = qobject_cast<Open_Export_Log *>(&dialog);
            if (!box || !log)
                return 0;
            return log(*box);
        });
        sheet.Export_Button();
    }
};

TEST_F(ExportSheetTest, ControlsFollowEachOtherAndTheDesignsSources)
{
    FakeHost host(plainDesign());
    ExportSheet sheet(host, &host.window);
    modalScripts.push_back([&](QDialog &) {
        EXPECT_EQ(sheet.windowTitle(), "Export");
        EXPECT_EQ(sheet.fileFormatPopup->currentText(), "PNG");
        // The resolution is offered for every file type, print quality to begin with.
        EXPECT_TRUE(sheet.saveDPIText->isEnabled());
        EXPECT_EQ(sheet.saveDPIText->currentText(), "300");
        clickRow(sheet.matrix_file_type, 2); // TIFF by the radio column
        EXPECT_EQ(sheet.fileFormatPopup->currentText(), "TIFF");
        EXPECT_TRUE(sheet.saveDPIText->isEnabled());
        sheet.fileFormatPopup->setCurrentIndex(1); // JPEG by the pop-up
        emit sheet.fileFormatPopup->activated(1);
        EXPECT_TRUE(sheet.matrix_file_type->button(1)->isChecked());
        EXPECT_TRUE(sheet.saveDPIText->isEnabled());
        EXPECT_EQ(sheet.extension(), "jpeg");
        clickRow(sheet.matrix_file_type, 3); // BMP
        EXPECT_TRUE(sheet.saveDPIText->isEnabled());

        EXPECT_TRUE(sheet.matrix_export_card_side->button(1)->isChecked()); // front
        EXPECT_FALSE(sheet.export_combined_image_chk->isEnabled());
        clickRow(sheet.matrix_export_card_side, 0);
        EXPECT_TRUE(sheet.export_combined_image_chk->isEnabled());
        EXPECT_EQ(sheet.chosenSide(), "BOTH");
        sheet.export_combined_image_chk->click();
        clickRow(sheet.matrix_export_card_side, 2);
        EXPECT_FALSE(sheet.export_combined_image_chk->isEnabled());
        EXPECT_TRUE(sheet.export_combined_image_chk->isChecked()); // kept for when both come back
        EXPECT_EQ(sheet.chosenSide(), "B");

        // No data source: both data boxes are cleared and cannot be ticked.
        EXPECT_FALSE(sheet.Export_with_batch_chk->isEnabled());
        EXPECT_FALSE(sheet.Export_with_batch_chk->isChecked());
        EXPECT_FALSE(sheet.Export_with_excel_chk->isEnabled());
        saveArtifact(&sheet, QStringLiteral("export_sheet.png"));
        QTest::mouseClick(sheet.cancel_button, Qt::LeftButton);
        return sheet.result();
    });
    sheet.Export_Button();
    EXPECT_EQ(modalTitles, QStringList{"Export"});
    EXPECT_TRUE(files.requests.isEmpty()); // cancelled: no panel
}

TEST_F(ExportSheetTest, TheTitleIsWhole)
{
    testsupport::ProgramDisplayName name;
    FakeHost host(plainDesign());
    ExportSheet sheet(host, &host.window);
    sheet.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
    EXPECT_TRUE(testsupport::titleFits(sheet));
}

TEST_F(ExportSheetTest, TabGoesFromTheFormatToTheResolutionUnderItThenToTheRadioColumns)
{
    FakeHost host(plainDesign());
    ExportSheet sheet(host, &host.window);
    modalScripts.push_back([&](QDialog &) {
        EXPECT_TRUE(testsupport::showWithKeyboard(sheet));
        // A radio column takes one Tab stop (the arrows move inside it).
        const QList<QWidget *> visited = testsupport::tabStopsFrom(sheet.fileFormatPopup, 3);
        EXPECT_EQ(visited.value(0), sheet.saveDPIText);
        EXPECT_TRUE(sheet.matrix_file_type->buttons().contains(visited.value(1)));
        EXPECT_TRUE(sheet.matrix_export_card_side->buttons().contains(visited.value(2)));
        return 0;
    });
    sheet.Export_Button();
}

TEST_F(ExportSheetTest, SingleExportOfTheBackWritesTheBackFileNextToTheChosenName)
{
    FakeHost host(plainDesign());
    ExportSheet sheet(host, &host.window);
    const QString path = tempPath("card.png");
    files.answers.push_back(path);
    exportWith(
        sheet, [](ExportSheet &s) { clickRow(s.matrix_export_card_side, 2); },
        [&](Open_Export_Log &log) {
            EXPECT_EQ(log._open_log_path->text(), tempPath("card_Back.png"));
            EXPECT_EQ(log._open_log_chk->text(), Open_Export_Log::OpenFileTitle);
            return 0;
        });
    ASSERT_EQ(files.requests.size(), 1);
    EXPECT_EQ(files.requests[0].kind, "save");
    EXPECT_EQ(files.requests[0].suffixes, QStringList{"png"});
    EXPECT_TRUE(QFileInfo::exists(tempPath("card_Back.png")));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(modalTitles, (QStringList{"Export", "Exported Files"}));
}

// With nothing on the desktop to open the card, OK says so and names the file, once; unticked,
// nothing is opened and nothing is said.
TEST_F(ExportSheetTest, AFileTheDesktopCannotOpenIsNamedToTheUser)
{
    desktopOpens = false;
    FakeHost host(plainDesign());
    ExportSheet sheet(host, &host.window);
    const QString path = tempPath("card.png");
    const auto pressOk = [](bool ticked) {
        return [ticked](Open_Export_Log &log) {
            if (log._open_log_chk->isChecked() != ticked)
                log._open_log_chk->click();
            QTest::mouseClick(log.ok_button, Qt::LeftButton);
            return log.result();
        };
    };
    files.answers.push_back(path);
    exportWith(
        sheet, [](ExportSheet &) {}, pressOk(true));
    ASSERT_EQ(openedUrls.size(), 1);
    EXPECT_EQ(openedUrls[0].toLocalFile(), path);
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages()[0], "\n" + Open_Export_Log::notOpenedText(path));
    EXPECT_TRUE(messages.messages()[0].endsWith(":\n" + path));

    messages.clear();
    openedUrls.clear();
    files.answers.push_back(path);
    exportWith(
        sheet, [](ExportSheet &) {}, pressOk(false));
    EXPECT_TRUE(openedUrls.isEmpty());
    EXPECT_TRUE(messages.messages().isEmpty());
}

// A batch export's folder, where the desktop's opener starts and then finds nothing to show it
// with: the user is told where the folder is.
TEST_F(ExportSheetTest, AFolderTheDesktopsOpenerFailsOnIsNamedToTheUser)
{
    testsupport::FakeDesktopOpener opener(testsupport::FakeDesktopOpener::Ends::Failing);
    const QString folder = tempPath("ZOLV Tessaly Greeting Card");
    ASSERT_TRUE(QDir().mkpath(folder));
    OutputState::instance().setExportFile(folder, QStringLiteral("3 cards were written to %1.").arg(folder));
    Open_Export_Log log;
    modalScripts.push_back([&](QDialog &) {
        EXPECT_EQ(log._open_log_chk->text(), Open_Export_Log::OpenFolderTitle);
        QTest::mouseClick(log.ok_button, Qt::LeftButton);
        return log.result();
    });
    EXPECT_EQ(log.Open_Export_File_Box(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.messages().isEmpty(); }));
    EXPECT_EQ(messages.messages(), QStringList{"\n" + Open_Export_Log::notOpenedText(folder)});
    EXPECT_EQ(opener.arguments(), QStringList{folder});
}

// A file deep in folders with long names: the message and the path wrap, the window stays as wide
// as a screen and its buttons within it, and the path is shown whole.
TEST_F(ExportSheetTest, ADeepPathWrapsAndKeepsTheButtonsWithinTheWindow)
{
    QString path = tempPath(QString());
    for (int i = 0; i < 6; ++i)
        path += QStringLiteral("/folder_%1_with_a_name_as_long_as_people_give_them").arg(i);
    path += QStringLiteral("/card.png");
    OutputState::instance().setExportFile(
        path, QStringLiteral("Card has been exported successfully.\n1 card was written to %1.").arg(path));
    Open_Export_Log log;
    modalScripts.push_back([&](QDialog &) {
        log.show();
        EXPECT_LT(log.width(), 1000);
        EXPECT_LE(log.ok_button->geometry().right(), log.width());
        EXPECT_TRUE(log.rect().contains(log.ok_button->geometry()));
        // Every wrapped line shows: the labels have the height their width asks for.
        for (QLabel *label : {log._open_log_message, log._open_log_path})
            EXPECT_GE(label->height(), label->heightForWidth(label->width()));
        EXPECT_EQ(log._open_log_path->text(), path);
        saveArtifact(&log, QStringLiteral("exported_files_deep_path.png"));
        return 0;
    });
    EXPECT_EQ(log.Open_Export_File_Box(), 0);
}

TEST_F(ExportSheetTest, SingleExportOfBothSidesApartAndCombined)
{
    FakeHost host(plainDesign());
    ExportSheet sheet(host, &host.window);
    files.answers.push_back(tempPath("apart/card.png"));
    QDir().mkpath(tempPath("apart"));
    exportWith(
        sheet, [](ExportSheet &s) { clickRow(s.matrix_export_card_side, 0); },
        [&](Open_Export_Log &log) {
            EXPECT_EQ(log._open_log_path->text(), tempPath("apart/card.png")); // the front, written last
            // Both files are named, not the front's alone.
            EXPECT_EQ(log._open_log_message->text(),
                      "Card has been exported successfully.\nThe front was written to " +
                          tempPath("apart/card.png") + ".\nThe back was written to " +
                          tempPath("apart/card_Back.png") + ".");
            return 0;
        });
    EXPECT_EQ(QDir(tempPath("apart")).entryList(QDir::Files), (QStringList{"card.png", "card_Back.png"}));

    QDir().mkpath(tempPath("one"));
    files.answers.push_back(tempPath("one/card.png"));
    exportWith(sheet, [](ExportSheet &s) {
        clickRow(s.matrix_export_card_side, 0);
        s.export_combined_image_chk->click();
    });
    EXPECT_EQ(QDir(tempPath("one")).entryList(QDir::Files), QStringList{"card.png"});
    const QImage combined(tempPath("one/card.png"));
    const QImage front(tempPath("apart/card.png"));
    ASSERT_FALSE(front.isNull());
    EXPECT_EQ(combined.size(), QSize(front.width(), 2 * front.height()));
}

// A picture whose file is gone is named after the export, which does not call the card whole.
TEST_F(ExportSheetTest, APictureWhoseFileIsGoneIsNamedAfterTheExport)
{
    CardDesign design = plainDesign();
    auto picture = std::make_shared<SKTImage>();
    picture->setBounds(QRectF(20, 50, 80, 60));
    picture->setFilePath(tempPath("moved/away/photo.png"));
    design.back << picture;
    FakeHost host(design);
    ExportSheet sheet(host, &host.window);
    files.answers.push_back(tempPath("card.png"));
    messages.queueAnswers({true}); // the check before output names the picture first: go on
    QString said;
    exportWith(
        sheet, [](ExportSheet &s) { clickRow(s.matrix_export_card_side, 0); },
        [&](Open_Export_Log &log) {
            said = log._open_log_message->text();
            return 0;
        });
    EXPECT_EQ(said, "The front was written to " + tempPath("card.png") + ".\nThe back was written to " +
                        tempPath("card_Back.png") +
                        ".\nBack: written without the picture \"photo.png\", which was in " +
                        tempPath("moved/away") + ".");
}

TEST_F(ExportSheetTest, BatchOfThreeRowsWritesBackThenFrontPerRowAndOpensTheFolder)
{
    const QString data = Data_Folder_Path;
    batchtest::SampleDesign sample(data, 3, true);
    FakeHost host(sample.design);
    ExportSheet sheet(host, &host.window);
    const QString chosen = tempPath("out");
    QDir().mkpath(chosen);
    files.answers.push_back(chosen);
    QString checkTitle;
    exportWith(
        sheet,
        [](ExportSheet &s) {
            EXPECT_TRUE(s.Export_with_batch_chk->isChecked());
            EXPECT_TRUE(s.Export_with_excel_chk->isChecked());
            clickRow(s.matrix_export_card_side, 0);
        },
        [&](Open_Export_Log &log) {
            checkTitle = log._open_log_chk->text();
            EXPECT_EQ(log._open_log_message->text(),
                      "Cards have been exported successfully.\n3 cards were written to " +
                          QDir(chosen).filePath("ZOLV Tessaly Greeting Card") + ".");
            EXPECT_TRUE(log._open_log_chk->isChecked());
            saveArtifact(&log, QStringLiteral("exported_files.png"));
            QTest::mouseClick(log.ok_button, Qt::LeftButton);
            return log.result();
        });
    const QDir folder(QDir(chosen).filePath("ZOLV Tessaly Greeting Card"));
    EXPECT_EQ(files.requests.value(0).kind, "folder");
    EXPECT_EQ(checkTitle, Open_Export_Log::OpenFolderTitle);
    QStringList names = folder.entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(names, (QStringList{"Card_1.png", "Card_1_Back.png", "Card_2.png", "Card_2_Back.png",
                                  "Card_3.png", "Card_3_Back.png"}));
    ASSERT_EQ(openedUrls.size(), 1);
    EXPECT_EQ(QDir(openedUrls[0].toLocalFile()), folder);
    EXPECT_TRUE(sheet.lastResult().ok());
    for (int k = 1; k <= 3; ++k)
        EXPECT_TRUE(batchtest::decode(folder.filePath(QStringLiteral("Card_%1.png").arg(k)), "QRCode")
                        .contains("QRCode:" + sample.qr[k - 1]))
            << k;
    // Afterwards the canvas was redrawn.
    EXPECT_GE(host.redraws, 1);
    EXPECT_FALSE(OutputState::instance().Card_Value_In_Process.load());
}

// An earlier export's nine JPEG cards stayed beside three new PNG cards without a word. Now the
// export says so before writing: Cancel writes nothing, New Folder writes beside them, Replace
// leaves the new cards alone with the user's own files.
TEST_F(ExportSheetTest, AnEarlierExportsCardsAreNamedBeforeWritingAndReplacedOnlyWhenAsked)
{
    batchtest::SampleDesign sample(Data_Folder_Path, 3, false);
    FakeHost host(sample.design);
    const QString chosen = tempPath("out");
    const QDir batch(QDir(chosen).filePath("ZOLV Tessaly Greeting Card"));
    QStringList earlier;
    for (int k = 1; k <= 9; ++k)
        earlier << QStringLiteral("Card_%1.jpeg").arg(k);
    ASSERT_TRUE(QDir().mkpath(batch.path()));
    for (const QString &name : earlier + QStringList{"notes.txt"})
        ASSERT_TRUE(testsupport::writeFile(batch.filePath(name), "earlier"));
    const QStringList fresh{"Card_1.png", "Card_2.png", "Card_3.png"};
    const auto sorted = [](QStringList names) {
        names.sort();
        return names;
    };
    const struct {
        int answer; // Replace, New Folder, Cancel
        QStringList inBatch, inNewFolder;
    } cases[] = {
        {2, earlier + QStringList{"notes.txt"}, {}},
        {1, earlier + QStringList{"notes.txt"}, fresh},
        {0, fresh + QStringList{"notes.txt"}, {}},
    };
    for (const auto &c : cases) {
        messages.clear();
        messages.queueChoices({c.answer});
        files.answers = {chosen};
        ExportSheet sheet(host, &host.window);
        exportWith(sheet, [](ExportSheet &s) { clickRow(s.matrix_file_type, 0); });
        modalScripts.clear();
        EXPECT_EQ(messages.questions(),
                  QStringList{"The folder \"" + batch.path() +
                              "\" already holds 9 cards of an earlier export (Card_1.jpeg to Card_9.jpeg)."
                              "\n\nReplace them with the cards of this export, or write this export to a new "
                              "folder, \"ZOLV Tessaly Greeting Card 2\"?"})
            << c.answer;
        EXPECT_EQ(batch.entryList(QDir::Files).join(' '), sorted(c.inBatch).join(' ')) << c.answer;
        EXPECT_EQ(QDir(batch.path() + " 2").entryList(QDir::Files).join(' '), c.inNewFolder.join(' '))
            << c.answer;
        if (c.answer == 1) { // the new folder is where the exported-files dialog points
            EXPECT_EQ(sheet.lastResult().path, batch.path() + " 2");
        }
        // Nothing is said after Cancel; each run is said to be whole.
        EXPECT_EQ(messages.messages().join('|'), "") << c.answer;
        QDir(batch.path() + " 2").removeRecursively();
    }
}

TEST_F(ExportSheetTest, UntickingTheOnlySourceExportsTheDesignOnce)
{
    batchtest::SampleDesign sample(Data_Folder_Path, 3, false);
    sample.design.binding.setListData({});
    FakeHost host(sample.design);
    ExportSheet sheet(host, &host.window);
    files.answers.push_back(tempPath("single.png"));
    exportWith(sheet, [](ExportSheet &s) {
        EXPECT_FALSE(s.Export_with_excel_chk->isEnabled());
        s.Export_with_batch_chk->click(); // unticked: no batch
    });
    EXPECT_EQ(files.requests.value(0).kind, "save");
    EXPECT_TRUE(QFileInfo::exists(tempPath("single.png")));
}

// Each raster type is written at the chosen resolution (pixels and the resolution the file records),
// the choice of type and resolution comes back in a new sheet (as after a restart), and TIFF is
// compressed without loss.
TEST_F(ExportSheetTest, ResolutionCountsForEveryTypeAndIsRemembered)
{
    FakeHost host(plainDesign());
    const auto exportAs = [&](int type, const QString &dpi, const QString &name) {
        ExportSheet sheet(host, &host.window);
        files.answers.push_back(tempPath(name));
        QString shownDpi;
        exportWith(
            sheet,
            [&](ExportSheet &s) {
                shownDpi = s.fileFormatPopup->currentText() + QLatin1Char(' ') + s.saveDPIText->currentText();
                EXPECT_TRUE(s.matrix_file_type->button(s.fileFormatPopup->currentIndex())->isChecked());
                clickRow(s.matrix_file_type, type);
                if (!dpi.isEmpty()) {
                    s.saveDPIText->setCurrentIndex(s.saveDPIText->findText(dpi));
                    emit s.saveDPIText->activated(s.saveDPIText->currentIndex());
                }
            },
            [&](Open_Export_Log &log) {
                EXPECT_EQ(log._open_log_message->text(),
                          "Card has been exported successfully.\n1 card was written to " + tempPath(name) +
                              ".");
                return 0;
            });
        return shownDpi;
    };
    // The default: 300 dpi, 243 x 154 points become 1013 x 642 pixels.
    EXPECT_EQ(exportAs(0, {}, "default.png"), "PNG 300");
    const QImage png(tempPath("default.png"));
    EXPECT_EQ(png.size(), QSize(1013, 642));
    EXPECT_NEAR(png.dotsPerMeterX(), 300 / 0.0254, 1);

    struct Typed {
        int type;
        const char *dpi;
        const char *name;
        QSize size;
    };
    const Typed typed[] = {{1, "150", "card.jpeg", QSize(507, 321)},
                           {3, "600", "card.bmp", QSize(2025, 1284)},
                           {2, "72", "card.tiff", QSize(243, 154)},
                           {2, "300", "big.tiff", QSize(1013, 642)}};
    QString last = QStringLiteral("PNG 300");
    for (const Typed &t : typed) {
        // Each new sheet starts with the last choice.
        EXPECT_EQ(exportAs(t.type, QString::fromLatin1(t.dpi), QString::fromLatin1(t.name)), last) << t.name;
        last = ExportSheet::FileTypes.at(t.type) + QLatin1Char(' ') + QString::fromLatin1(t.dpi);
        const QImage image(tempPath(t.name));
        EXPECT_EQ(image.size(), t.size) << t.name;
        EXPECT_NEAR(image.dotsPerMeterX(), QString::fromLatin1(t.dpi).toInt() / 0.0254, 1) << t.name;
    }
    // LZW: the 300-dpi TIFF is a small part of its raw pixels (2.6 MB), and the pixels are the PNG's.
    EXPECT_LT(QFileInfo(tempPath("big.tiff")).size(), 1013 * 642 * 4 / 10);
    EXPECT_EQ(QImage(tempPath("big.tiff")).convertToFormat(QImage::Format_ARGB32),
              png.convertToFormat(QImage::Format_ARGB32));

    // A value that the sheet does not offer, written by hand, gives the default again.
    {
        QSettings settings(RememberedExport::settingsPath(), QSettings::IniFormat);
        EXPECT_EQ(settings.value("Export/dpi").toInt(), 300);
        settings.setValue("Export/dpi", "123");
        settings.setValue("Export/type", "GIF");
    }
    EXPECT_EQ(RememberedExport::load().dpi, 300);
    EXPECT_EQ(RememberedExport::load().fileType, "PNG");
}

// The sides chosen, both in one picture included, come back in a new sheet; Cancel keeps nothing.
TEST_F(ExportSheetTest, TheCardSideIsRemembered)
{
    FakeHost host(plainDesign());
    const auto shownSide = [&](const std::function<void(ExportSheet &)> &choose, bool ok) {
        ExportSheet sheet(host, &host.window);
        QString shown;
        modalScripts.push_back([&](QDialog &) {
            shown = sheet.chosenSide() + (sheet.export_combined_image_chk->isChecked() ? " combined" : "");
            EXPECT_TRUE(sheet.matrix_export_card_side->checkedButton()->isChecked());
            choose(sheet);
            QTest::mouseClick(ok ? sheet.ok_button : sheet.cancel_button, Qt::LeftButton);
            return sheet.result();
        });
        if (ok) { // the exported-files dialog, closed
            modalScripts.push_back([](QDialog &) { return 0; });
            files.answers.push_back(tempPath("side.png"));
        }
        sheet.Export_Button();
        return shown;
    };
    EXPECT_EQ(shownSide([](ExportSheet &s) { clickRow(s.matrix_export_card_side, 2); }, true), "F");
    EXPECT_EQ(shownSide(
                  [](ExportSheet &s) {
                      clickRow(s.matrix_export_card_side, 0);
                      s.export_combined_image_chk->click();
                  },
                  true),
              "B");
    EXPECT_EQ(shownSide([](ExportSheet &s) { clickRow(s.matrix_export_card_side, 1); }, false),
              "BOTH combined");
    EXPECT_EQ(shownSide([](ExportSheet &) {}, false), "BOTH combined");
}

// With the sheet's defaults the cards are print quality: every bound Code 128 and QR Code of a
// batch reads back (at the old 72 dpi a fifth of the Code 128s did not).
TEST_F(ExportSheetTest, DefaultsGiveCardsWhoseEveryBarcodeDecodes)
{
    if (!testsupport::hasTool("ZXingReader"))
        GTEST_SKIP() << "ZXingReader is not installed";
    constexpr int Rows = 40;
    batchtest::SampleDesign sample(Data_Folder_Path, Rows, false, 11);
    FakeHost host(sample.design);
    ExportSheet sheet(host, &host.window);
    QDir().mkpath(tempPath("out"));
    files.answers.push_back(tempPath("out"));
    exportWith(sheet, [](ExportSheet &) {});
    ASSERT_TRUE(sheet.lastResult().ok()) << sheet.lastResult().message().toStdString();
    const QDir folder(QDir(tempPath("out")).filePath("ZOLV Tessaly Greeting Card"));
    for (int k = 1; k <= Rows; ++k) {
        const QString card = folder.filePath(QStringLiteral("Card_%1.png").arg(k));
        EXPECT_EQ(QImage(card).size(), QSize(1013, 642)) << k;
        const QStringList found = batchtest::decode(card);
        EXPECT_TRUE(found.contains("Code128:" + sample.codes[k - 1]))
            << k << " " << found.join(' ').toStdString();
        EXPECT_TRUE(found.contains("QRCode:" + sample.qr[k - 1]))
            << k << " " << found.join(' ').toStdString();
    }
}

// After an export of both sides, a card set to single side exported card_Back.png of its hidden
// back, since the sheet remembered "Both sides". A single-sided card offers and writes its front
// only, and the choice kept for cards with a back comes back with one.
TEST_F(ExportSheetTest, ASingleSidedCardAfterBothSidesWritesItsFrontOnly)
{
    FakeHost host(plainDesign());
    const struct {
        QString cardSide; // "2" double-sided, "1" single
        bool chooseBoth;
        QString shownSide; // what the sheet shows as it opens
        bool backOffered;
        QStringList written;
    } cases[] = {
        {"2", true, "F", true, {"card.png", "card_Back.png"}},
        {"1", false, "F", false, {"card.png"}},
        {"2", false, "BOTH", true, {"card.png", "card_Back.png"}},
    };
    int k = 0;
    for (const auto &c : cases) {
        host.design.frontPage.Card_Side = c.cardSide;
        const QString folder = tempPath(QStringLiteral("side%1").arg(++k));
        QDir().mkpath(folder);
        files.answers.push_back(folder + "/card.png");
        ExportSheet sheet(host, &host.window);
        QString shown;
        bool backOffered = false;
        exportWith(sheet, [&](ExportSheet &s) {
            shown = s.chosenSide();
            backOffered = s.matrix_export_card_side->button(0)->isEnabled() &&
                          s.matrix_export_card_side->button(2)->isEnabled();
            if (c.chooseBoth)
                clickRow(s.matrix_export_card_side, 0);
        });
        EXPECT_EQ(shown, c.shownSide) << k;
        EXPECT_EQ(backOffered, c.backOffered) << k;
        EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name), c.written) << k;
    }
}

// The rows are those at the first card: a series rewritten while the folder is being chosen is
// what the cards hold, not the rows read when OK was pressed.
TEST_F(ExportSheetTest, ASeriesChangedWhileTheFolderIsChosenIsWhatTheCardsHold)
{
    batchtest::SampleDesign sample(Data_Folder_Path, 3, false);
    FakeHost host(sample.design);
    ExportSheet sheet(host, &host.window);
    const QString chosen = tempPath("out");
    QDir().mkpath(chosen);
    files.answers.push_back(chosen);
    const QStringList codes{"NEWCODE1", "NEWCODE2", "NEWCODE3"};
    files.whileOpen = [&] { batchtest::writeSeries(Data_Folder_Path, "codes", codes.join('\n').toUtf8()); };
    exportWith(sheet, [](ExportSheet &) {});
    const QDir folder(QDir(chosen).filePath("ZOLV Tessaly Greeting Card"));
    ASSERT_EQ(folder.entryList(QDir::Files).size(), 3);
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(batchtest::decode(folder.filePath(QStringLiteral("Card_%1.png").arg(k)), "Code128"),
                  QStringList{"Code128:" + codes[k - 1]})
            << k;
}
