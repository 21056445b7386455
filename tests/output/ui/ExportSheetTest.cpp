// The Export command driven through its sheet: the controls that follow each other, a single
// card to a chosen file (back, both, combined), and a batch of data rows into a chosen folder.
#include "output/ExportSheet.h"
#include "editor/EditorState.h"
#include "output/BatchDesignFixture.h"
#include "output/Open_Export_Log.h"
#include "output/OutputState.h"
#include "output/ui/OutputWindowFixture.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUrl>

using outputtest::FakeHost;
using outputtest::plainDesign;
using testsupport::WindowFixture;

namespace
{
void clickRow(QButtonGroup *group, int row)
{
    QTest::mouseClick(group->button(row), Qt::LeftButton, {}, QPoint(6, 6));
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
        EXPECT_FALSE(sheet.saveDPIText->isEnabled());
        clickRow(sheet.matrix_file_type, 2); // TIFF by the radio column
        EXPECT_EQ(sheet.fileFormatPopup->currentText(), "TIFF");
        EXPECT_TRUE(sheet.saveDPIText->isEnabled());
        sheet.fileFormatPopup->setCurrentIndex(1); // JPEG by the pop-up
        emit sheet.fileFormatPopup->activated(1);
        EXPECT_TRUE(sheet.matrix_file_type->button(1)->isChecked());
        EXPECT_FALSE(sheet.saveDPIText->isEnabled());
        EXPECT_EQ(sheet.extension(), "jpeg");

        EXPECT_TRUE(sheet.matrix_export_card_side->button(1)->isChecked()); // front
        EXPECT_FALSE(sheet.export_combined_image_chk->isEnabled());
        clickRow(sheet.matrix_export_card_side, 0);
        EXPECT_TRUE(sheet.export_combined_image_chk->isEnabled());
        EXPECT_EQ(export_card_side, "BOTH");
        sheet.export_combined_image_chk->click();
        clickRow(sheet.matrix_export_card_side, 2);
        EXPECT_FALSE(sheet.export_combined_image_chk->isEnabled());
        EXPECT_TRUE(sheet.export_combined_image_chk->isChecked()); // kept for when both come back
        EXPECT_EQ(export_card_side, "B");

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

TEST_F(ExportSheetTest, BatchOfThreeRowsWritesBackThenFrontPerRowAndOpensTheFolder)
{
    const QString data = tempPath("DataSet");
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
            EXPECT_EQ(log._open_log_message->text(), "Card has been exported successfully.");
            EXPECT_TRUE(log._open_log_chk->isChecked());
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
    // Afterwards the live card shows row 1 again, and the canvas was redrawn.
    EXPECT_EQ(host.liveFront[0]->Text_contents().text, sample.names[0]);
    EXPECT_GE(host.redraws, 1);
    EXPECT_FALSE(OutputState::instance().Card_Value_In_Process.load());
}

TEST_F(ExportSheetTest, UntickingTheOnlySourceExportsTheDesignOnce)
{
    batchtest::SampleDesign sample(tempPath("DataSet"), 3, false);
    sample.design.excelRows.clear();
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
