// The small dialogs driven through their buttons: card size, start choice, exported files, and
// the window registry's entries.
#include "editor/EditorState.h"
#include "editor/ui/Card_Wizard.h"
#include "editor/ui/Start_Card.h"
#include "foundation/RowListModel.h"
#include "foundation/WindowRegistry.h"
#include "foundation/ui/StepperField.h"
#include "model/ModelGlobals.h"
#include "output/OutputState.h"
#include "output/ui/Open_Export_Log.h"
#include "support/WindowFixture.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using testsupport::WindowFixture;

class SmallDialogs : public WindowFixture
{
};

TEST_F(SmallDialogs, CardSizeDialogGivesTheChosenSizeInPoints)
{
    WindowRegistry registry;
    Card_Wizard wizard(&registry);
    modalScripts.push_back([&](QDialog &) {
        EXPECT_EQ(wizard.ListData->count(), 7); // plastic sizes for the first category
        wizard.Category_ComboBox->setCurrentIndex(1);
        emit wizard.Category_ComboBox->activated(1);
        EXPECT_EQ(wizard.ListData->count(), 8);
        wizard.ColList->selectRow(5);
        EXPECT_NEAR(wizard.width_Stepper->value(), 59.94, 0.01);
        EXPECT_NEAR(wizard.height_Stepper->value(), 89.92, 0.01);
        wizard.matrix_card_shape->button(1)->click();
        saveArtifact(&wizard, QStringLiteral("card_size_dialog.png"));
        wizard.ok_button->click();
        return wizard.result();
    });
    EXPECT_EQ(wizard.Open_Wnd(), 1);
    EXPECT_EQ(wizard.outline(), 1);
    EXPECT_NEAR(wizard.cardSize().width(), 59.94 * 2.834645669291, 0.05);
    EXPECT_NEAR(wizard.cardSize().height(), 89.92 * 2.834645669291, 0.05);
}

TEST_F(SmallDialogs, CancellingTheCardSizeDialogGivesNothing)
{
    Card_Wizard wizard(nullptr);
    modalScripts.push_back([&](QDialog &) {
        wizard.matrix_card_shape->button(2)->click();
        EXPECT_EQ(wizard.outline(), 2);
        wizard.cancel_button->click();
        return wizard.result();
    });
    EXPECT_EQ(wizard.Open_Wnd(), 0);
}

TEST_F(SmallDialogs, StartChoiceSetsTheOptionAndCancelEndsTheProgram)
{
    Start_Card start;
    const QList<std::pair<QPushButton *, QString>> choices{
        {start.template_button, "T"}, {start.wizard_button, "W"}, {start.open_button, "L"}};
    for (const auto &[button, code] : choices) {
        modalScripts.push_back([button = button, &start](QDialog &) {
            button->click();
            return start.result();
        });
        EXPECT_EQ(start.Open_Wnd(), 1);
        EXPECT_EQ(Start_Card_Option, code);
    }
    modalScripts.push_back([&](QDialog &) {
        start.cancel_button->click();
        return start.result();
    });
    EXPECT_EQ(start.Open_Wnd(), 0);
    EXPECT_TRUE(Start_Card_Option.isEmpty());
    EXPECT_EQ(exitStatuses, QList<int>{0});
}

TEST_F(SmallDialogs, ExportedFilesDialogOpensWhatWasWrittenWhenTicked)
{
    Open_Export_Log dialog;
    const QString folder = tempPath(QStringLiteral("out"));
    QDir().mkpath(folder);
    OutputState::instance().setExportFile(folder, QStringLiteral("Record has been exported successfully."));
    modalScripts.push_back([&](QDialog &) {
        EXPECT_EQ(dialog._open_log_chk->text(), QStringLiteral("Open containing folder."));
        EXPECT_EQ(dialog._open_log_path->text(), folder);
        saveArtifact(&dialog, QStringLiteral("exported_files.png"));
        dialog.ok_button->click();
        return dialog.result();
    });
    EXPECT_EQ(dialog.Open_Export_File_Box(), 1);
    ASSERT_EQ(openedUrls.size(), 1);
    EXPECT_EQ(openedUrls[0].toLocalFile(), folder);

    // A file: the other title; unticked, OK opens nothing; the box is ticked again afterwards.
    OutputState::instance().setExportFile(folder + QStringLiteral("/card.png"), QStringLiteral("done"));
    modalScripts.push_back([&](QDialog &) {
        EXPECT_EQ(dialog._open_log_chk->text(), QStringLiteral("Open exported file."));
        dialog._open_log_chk->click();
        dialog.ok_button->click();
        return dialog.result();
    });
    EXPECT_EQ(dialog.Open_Export_File_Box(), 1);
    EXPECT_EQ(openedUrls.size(), 1);
    EXPECT_TRUE(dialog._open_log_chk->isChecked());
}

TEST_F(SmallDialogs, RegistryEntriesAnswerOnceFilledAndKeepSingletons)
{
    WindowRegistry registry;
    EXPECT_FALSE(registry.isFilled(WindowRegistry::Window::Print));
    EXPECT_EQ(registry.open(WindowRegistry::Window::Print, QString(), 5), 5);
    QString seen;
    registry.fill(WindowRegistry::Window::WebLinks, [&](const QString &key) {
        seen = key;
        return 1;
    });
    EXPECT_TRUE(registry.isFilled(WindowRegistry::Window::WebLinks));
    EXPECT_EQ(registry.open(WindowRegistry::Window::WebLinks, QStringLiteral("support")), 1);
    EXPECT_EQ(seen, QStringLiteral("support"));
    // A window that hands back a choice answers none until it is filled.
    EXPECT_EQ(registry.choosePicture(WindowRegistry::PictureShelf::Backgrounds), std::nullopt);
    registry.fillPictureChooser([](WindowRegistry::PictureShelf) { return QStringLiteral("/a.png"); });
    EXPECT_TRUE(registry.isFilled(WindowRegistry::Window::ImageLibrary));
    EXPECT_EQ(registry.choosePicture(WindowRegistry::PictureShelf::Backgrounds), QStringLiteral("/a.png"));
    int made = 0;
    QWidget owner;
    auto make = [&] {
        ++made;
        return new Start_Card(&owner);
    };
    Start_Card *a = registry.instance<Start_Card>(make);
    Start_Card *b = registry.instance<Start_Card>(make);
    EXPECT_EQ(a, b);
    EXPECT_EQ(made, 1);
}
