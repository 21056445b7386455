// The main window's commands and file commands, answered through the test doubles: lock, edit
// buttons and clipboard, print checks, alignment and grid, New, Open, Save and the exit sequence.
#include "MainWindowFixture.h"

#include "canvas/ui/SKTZoomingScrollView.h"
#include "data/SeriesFiles.h"
#include "editor/ui/EditButtons.h"
#include "editor/ui/EditorCommands.h"
#include "editor/ui/FileCommands.h"
#include "editor/ui/Grid_Wizard.h"
#include "editor/ui/MainMenus.h"
#include "foundation/CardCodes.h"
#include "foundation/DataRoot.h"
#include "foundation/FoundationState.h"
#include "foundation/MessageBoxes.h"
#include "foundation/WindowRegistry.h"
#include "foundation/ui/FloatSlider.h"
#include "foundation/ui/PrinterCatalog.h"
#include "model/GraphicPasteboard.h"
#include "panels/ui/InspectorTabs.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHash>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTabWidget>

class MainWindowCommands : public MainWindowFixture
{
protected:
    WindowRegistry &registry() { return window->registry(); }
};

TEST_F(MainWindowCommands, LockAndTheEditButtonsFollowTheSelectionAndClipboard)
{
    EditButtons &b = window->editButtons();
    b.Lock_btn->setEnabled(true);
    b.Lock_btn->click();
    EXPECT_EQ(shown(), QStringList{EditorCommands::LockMessage});
    EXPECT_FALSE(b.Cut_btn->isEnabled());
    EXPECT_TRUE(b.Unlock_btn->isEnabled());
    b.Unlock_btn->click();
    EXPECT_EQ(shown().last(), EditorCommands::UnlockMessage);

    clickTool(3);
    clickTool(5);
    EXPECT_TRUE(b.Cut_btn->isEnabled());
    EXPECT_FALSE(b.Unlock_btn->isEnabled());
    EXPECT_TRUE(b.Undo_btn->isEnabled());
    canvas(0)->selectAll();
    b.Lock_btn->click();
    EXPECT_TRUE(front()[0]->ctrl_is_locked);
    EXPECT_TRUE(front()[1]->ctrl_is_locked);
    EXPECT_EQ(window->inspectorTabs().shownItems(), QList<InspectorTabs::Item>{InspectorTabs::Lock_tab});
    EXPECT_FALSE(b.Paste_btn->isEnabled());
    b.Unlock_btn->click();
    EXPECT_FALSE(front()[0]->ctrl_is_locked);

    // Paste follows the clipboard: our objects turn it on, file names alone or nothing turn it off.
    QClipboard *clipboard = QGuiApplication::clipboard();
    auto *ours = new QMimeData;
    ours->setData(GraphicPasteboard::MimeType, QByteArray("x"));
    clipboard->setMimeData(ours);
    EXPECT_TRUE(b.Paste_btn->isEnabled());
    auto *files = new QMimeData;
    files->setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.png"))});
    clipboard->setMimeData(files);
    EXPECT_FALSE(b.Paste_btn->isEnabled());
    clipboard->clear();
    b.Set_Paste_Button_Status();
    EXPECT_FALSE(b.Paste_btn->isEnabled());

    // Undo and Redo and their menu titles follow the undo manager.
    QCoreApplication::processEvents();
    QAction *undo = window->menus().action(QStringLiteral("Edit/Undo"));
    ASSERT_NE(undo, nullptr);
    EXPECT_TRUE(undo->text().startsWith(QStringLiteral("&Undo")));
    window->commands().Undo_Clicked();
    QCoreApplication::processEvents();
    EXPECT_TRUE(b.Redo_btn->isEnabled());
    EXPECT_TRUE(window->menus().action(QStringLiteral("Edit/Redo"))->isEnabled());
}

TEST_F(MainWindowCommands, PrintSaysWhyNothingCanBePrinted)
{
    GraphicPtr text = SKTGraphic::create(SKTGraphic::Kind::Text);
    text->data_source_type = 1;
    text->batch_list_name = QStringLiteral("Empty");
    testsupport::writeFile(Data_Folder_Path + QStringLiteral("/Empty.txt"), "");
    window->document().insertGraphic(text, 0);
    window->findChild<QPushButton *>(QStringLiteral("Print_Btn"))->click();
    EXPECT_EQ(shown(), QStringList{EditorCommands::ListEmptyMessage});

    // No printer does not end printing: the print window offers a PDF file then.
    window->document().removeGraphicAtIndex(0);
    PrinterCatalog::setFake(QStringList());
    int printWindows = 0;
    registry().fill(WindowRegistry::Window::Print, [&](const QString &) { return ++printWindows; });
    const qsizetype before = shown().size();
    window->findChild<QPushButton *>(QStringLiteral("Print_Btn"))->click();
    EXPECT_EQ(shown().size(), before);
    EXPECT_EQ(printWindows, 1);
    PrinterCatalog::setFake(QStringList{QStringLiteral("Office")});
    window->findChild<QPushButton *>(QStringLiteral("Print_Btn"))->click();
    EXPECT_EQ(printWindows, 2);
}

TEST_F(MainWindowCommands, AlignmentGridRulerAndBackground)
{
    clickTool(3);
    window->findChild<QPushButton *>(QStringLiteral("Make_Same_Width_btn"))->setEnabled(true);
    window->findChild<QPushButton *>(QStringLiteral("Make_Same_Width_btn"))->click();
    EXPECT_EQ(shown().last(), EditorCommands::MoreThanOneMessage);
    // Aligning to the grid does not wait for the grid to be shown.
    ASSERT_FALSE(window->grid().isAlwaysShown());
    const QRectF offGrid(13.4, 27.1, 40.2, 30.0);
    front()[0]->setBounds(offGrid);
    window->findChild<QPushButton *>(QStringLiteral("Align_To_Grid_btn"))->click();
    EXPECT_EQ(front()[0]->bounds(), window->grid().alignedRect(offGrid));
    EXPECT_EQ(shown().size(), 1);

    // The controls preview on the canvas as they change; Escape puts the grid back, OK keeps it.
    const auto changeGrid = [&](QDialog &dialog, bool keep) {
        auto &grid = static_cast<Grid_Wizard &>(dialog);
        EXPECT_FALSE(grid.Grid_Space_slidr->isEnabled());
        grid.Show_hide_grid_chk->click();
        EXPECT_TRUE(grid.Grid_Space_slidr->isEnabled());
        grid.Grid_Space_slidr->slider()->setValue(grid.Grid_Space_slidr->slider()->value() + 3);
        EXPECT_TRUE(window->grid().isAlwaysShown());
        EXPECT_DOUBLE_EQ(window->grid().spacing(), 12.0);
        saveArtifact(&dialog, QStringLiteral("grid_dialog.png"));
        if (keep)
            grid.ok_button->click();
        else
            QTest::keyClick(&dialog, Qt::Key_Escape);
        return dialog.result();
    };
    modalScripts.push_back([&](QDialog &dialog) { return changeGrid(dialog, false); });
    window->findChild<QPushButton *>(QStringLiteral("Grid_Btn"))->click();
    EXPECT_FALSE(window->grid().isAlwaysShown());
    EXPECT_DOUBLE_EQ(window->grid().spacing(), 9.0);
    modalScripts.push_back([&](QDialog &dialog) { return changeGrid(dialog, true); });
    window->findChild<QPushButton *>(QStringLiteral("Grid_Btn"))->click();
    EXPECT_TRUE(window->grid().isAlwaysShown());
    EXPECT_DOUBLE_EQ(window->grid().spacing(), 12.0);

    window->findChild<QCheckBox *>(QStringLiteral("Show_Ruler_chk"))->click();
    for (int side = 0; side < 3; ++side)
        EXPECT_TRUE(window->sideViews().scrollView(side)->rulersVisible());

    // The card background comes from the background library, then shows its tab.
    const QString picture = tempPath(QStringLiteral("bg.png"));
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.save(picture);
    std::optional<WindowRegistry::PictureShelf> shelf;
    registry().fillPictureChooser([&](WindowRegistry::PictureShelf s) {
        shelf = s;
        return picture;
    });
    window->findChild<QPushButton *>(QStringLiteral("Card_Bckgrnd_Btn"))->click();
    EXPECT_EQ(shelf, WindowRegistry::PictureShelf::Backgrounds);
    EXPECT_TRUE(window->Front_card_Prop().Card_fill_chk);
    EXPECT_EQ(window->Front_card_Prop().Card_fill_style, QStringLiteral("I"));
    EXPECT_EQ(window->Front_card_Prop().Card_BG_Image_Path, picture);
    EXPECT_TRUE(window->Front_card_Prop().Card_BG_Image.has_value());
    EXPECT_TRUE(window->findChild<QRadioButton *>(QStringLiteral("Card_Image_fill_rd"))->isChecked());
    EXPECT_EQ(window->inspectorTabs().currentItem(), InspectorTabs::card_bkgd_tab);
}

TEST_F(MainWindowCommands, SaveReopenAndTheTitle)
{
    clickTool(3);
    clickTool(2);
    const QString path = saveAs(QStringLiteral("My card.dcard"));
    ASSERT_EQ(files.requests.size(), 1);
    EXPECT_EQ(files.requests[0].kind, QStringLiteral("save"));
    EXPECT_EQ(files.requests[0].suffixes, QStringList{QStringLiteral("dcard")});
    EXPECT_EQ(shown(), QStringList{DesignFile::savedMessage(Project_File_Name)});
    EXPECT_EQ(window->windowTitle(), QStringLiteral("My card.dcard[*] \u2014 Tessaly Greeting Designer"));
    EXPECT_FALSE(window->isWindowModified());

    // Save As cancelled keeps the old path.
    files.answers.push_back(std::nullopt);
    window->fileCommands().SaveAs_Btn_Clicked();
    EXPECT_EQ(Project_File_Name, path);

    // New: the question, Don't Save, and a new empty design.
    clickTool(3);
    messages.queueChoices({int(SaveAnswer::DontSave)});
    window->fileCommands().New_Btn_Clicked();
    EXPECT_EQ(messages.questions().last(), FileCommands::SaveBeforeNewQuestion);
    EXPECT_TRUE(front().isEmpty());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Untitled[*] \u2014 Tessaly Greeting Designer"));
    EXPECT_EQ(window->Front_card_Prop().Card_Name, QStringLiteral("Untitled"));
    EXPECT_EQ(last_ctrl_X, 10.0f);

    // Open brings both objects back, newest first, and the title; a new design has nothing
    // unsaved, so no question comes first.
    const qsizetype asked = messages.questions().size();
    files.answers.push_back(path);
    window->fileCommands().Open_Btn_Clicked();
    EXPECT_EQ(messages.questions().size(), asked);
    ASSERT_EQ(front().size(), 2);
    EXPECT_EQ(front()[0]->kind(), SKTGraphic::Kind::Text);
    EXPECT_EQ(front()[0]->bounds().topLeft(), QPointF(82, 50)); // clear of the rectangle
    EXPECT_EQ(window->windowTitle(), QStringLiteral("My card.dcard[*] \u2014 Tessaly Greeting Designer"));
    EXPECT_EQ(window->windowFilePath(), path);
    EXPECT_FALSE(window->isWindowModified());
}

TEST_F(MainWindowCommands, OpenCancelledOrDamagedKeepsTheDesign)
{
    int startWindows = 0;
    registry().fill(WindowRegistry::Window::StartWizard, [&](const QString &) {
        ++startWindows;
        Start_Card_Option = QStringLiteral("T");
        return 1;
    });
    clickTool(3);
    messages.queueChoices({int(SaveAnswer::DontSave)});
    files.answers.push_back(std::nullopt);
    window->fileCommands().Open_Btn_Clicked();
    EXPECT_EQ(startWindows, 0);
    EXPECT_EQ(front().size(), 1); // a cancelled panel replaces nothing

    const QString damaged = tempPath(QStringLiteral("bad.dcard"));
    testsupport::writeFile(damaged, "not a design");
    messages.queueChoices({int(SaveAnswer::DontSave)});
    files.answers.push_back(damaged);
    window->fileCommands().Open_Btn_Clicked();
    EXPECT_EQ(shown().last(), DesignFile::CorruptMessage);
    EXPECT_EQ(startWindows, 0);
    EXPECT_EQ(front().size(), 1);

    // Cancelling the start window ends the program.
    registry().fill(WindowRegistry::Window::StartWizard, [](const QString &) { return 0; });
    window->Open_Start_Window();
    EXPECT_EQ(exitStatuses, QList<int>{0});
}

TEST_F(MainWindowCommands, ExitAsksSavesAndShowsRateUs)
{
    int rateUs = 0;
    registry().fill(WindowRegistry::Window::RateUs, [&](const QString &) { return ++rateUs; });
    clickTool(3);
    const QString path = tempPath(QStringLiteral("exit.dcard"));
    files.answers.push_back(path);
    messages.queueChoices({int(SaveAnswer::Save)});
    window->close(); // the title bar's close button runs the exit sequence
    EXPECT_EQ(messages.questions(), QStringList{FileCommands::SaveBeforeCloseQuestion});
    EXPECT_TRUE(shown().isEmpty()); // Yes saves without a message
    EXPECT_TRUE(QFileInfo(path).isFile());
    EXPECT_EQ(rateUs, 1);
    EXPECT_EQ(exitStatuses, QList<int>{0});

    // A save that fails keeps the program open and says why, in a box titled "Save" that names
    // the folder that could not be written.
    clickTool(3);
    Project_File_Name = tempPath(QStringLiteral("missing/folder/x.dcard"));
    messages.queueChoices({int(SaveAnswer::Save)});
    QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
    ASSERT_EQ(shown().size(), 1);
    EXPECT_EQ(messages.titles(), QStringList{QStringLiteral("Save")});
    EXPECT_TRUE(shown()[0].startsWith(QStringLiteral("The design could not be saved in the folder \"%1\".\n\n"
                                                     "Could not save \"x.dcard\": ")
                                          .arg(tempPath(QStringLiteral("missing/folder")))))
        << shown()[0].toStdString();
    EXPECT_EQ(exitStatuses, QList<int>{0});
    EXPECT_EQ(rateUs, 1);

    // Don't Save saves nothing and leaves.
    messages.queueChoices({int(SaveAnswer::DontSave)});
    window->Exit_App();
    EXPECT_EQ(exitStatuses, (QList<int>{0, 0}));
}

TEST_F(MainWindowCommands, MenuItemsOfUnbuiltWindowsWaitForTheirEntries)
{
    MainMenus &menus = window->menus();
    for (const char *path :
         {"File/New", "File/Open...", "File/Save", "File/Save As...", "File/Exit", "Edit/Copy", "Edit/Paste",
          "Edit/Select All", "Tools/Rectangle", "View/Show Ruler"})
        EXPECT_NE(menus.action(QString::fromLatin1(path)), nullptr) << path;
    EXPECT_EQ(menus.action(QStringLiteral("File/Save As..."))->shortcut(),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    EXPECT_EQ(menus.action(QStringLiteral("Edit/Delete"))->shortcut(), QKeySequence(Qt::Key_Delete));
    // Every window the menus reach is built; an entry emptied again disables its item until it is
    // filled once more.
    QAction *library = menus.action(QStringLiteral("Tools/Library Picture"));
    ASSERT_NE(library, nullptr);
    EXPECT_TRUE(library->isEnabled());
    registry().fillPictureChooser(nullptr);
    EXPECT_FALSE(library->isEnabled());
    int opened = 0;
    registry().fillPictureChooser([&](WindowRegistry::PictureShelf) {
        ++opened;
        return std::nullopt;
    });
    EXPECT_TRUE(library->isEnabled());
    library->trigger();
    EXPECT_EQ(opened, 1);
}

// The letter after '&' in an entry's title, or none.
static QChar mnemonicOf(const QString &title)
{
    for (qsizetype i = 0; i + 1 < title.size(); ++i) {
        if (title.at(i) != QLatin1Char('&'))
            continue;
        if (title.at(i + 1) != QLatin1Char('&'))
            return title.at(i + 1).toLower();
        ++i; // "&&" is a shown ampersand
    }
    return {};
}

// Alt and a letter open one entry: two entries of one menu with the same letter only take turns
// being highlighted, and neither opens.
static void expectDistinctMnemonics(const QString &where, const QList<QAction *> &entries)
{
    QHash<QChar, QString> taken;
    for (const QAction *entry : entries) {
        const QChar letter = mnemonicOf(entry->text());
        if (letter.isNull())
            continue;
        EXPECT_FALSE(taken.contains(letter)) << where.toStdString() << ": '" << entry->text().toStdString()
                                             << "' and '" << taken.value(letter).toStdString() << "'";
        taken.insert(letter, entry->text());
        if (entry->menu() != nullptr)
            expectDistinctMnemonics(where + QLatin1Char('/') + entry->text(), entry->menu()->actions());
    }
}

TEST_F(MainWindowCommands, EveryMenuOpensEachEntryByItsOwnLetter)
{
    expectDistinctMnemonics(QStringLiteral("menu bar"), window->menuBar()->actions());
}

TEST_F(MainWindowCommands, ADesignNamedAtStartOpensWithoutTheStartWindow)
{
    clickTool(3);
    const QString path = tempPath(QStringLiteral("given.dcard"));
    files.answers.push_back(path);
    window->fileCommands().Save_Btn_Clicked();
    window.reset();

    int startWindows = 0;
    const auto countStarts = [&](SKTWindowController &w) {
        w.registry().fill(WindowRegistry::Window::StartWizard, [&](const QString &) {
            ++startWindows;
            Start_Card_Option = QStringLiteral("T");
            return 1;
        });
    };
    window = std::make_unique<SKTWindowController>();
    countStarts(*window);
    window->show();
    window->start(path);
    EXPECT_EQ(startWindows, 0);
    ASSERT_EQ(front().size(), 1);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("given.dcard[*] \u2014 Tessaly Greeting Designer"));

    window.reset();
    messages.clear();
    const QString damaged = tempPath(QStringLiteral("damaged.dcard"));
    testsupport::writeFile(damaged, "<plist>");
    window = std::make_unique<SKTWindowController>();
    countStarts(*window);
    window->start(damaged);
    EXPECT_EQ(shown(), QStringList{DesignFile::CorruptMessage});
    EXPECT_EQ(startWindows, 1);
    EXPECT_TRUE(front().isEmpty());
}

TEST_F(MainWindowCommands, DataMenuReachesTheSeriesWindows)
{
    // The series windows fill their entries when the main window is made, so the Data menu works.
    for (const char *path : {"Data/Series Manager...", "Data/Generate Series...", "Data/Import Series..."}) {
        QAction *action = window->menus().action(QString::fromLatin1(path));
        ASSERT_NE(action, nullptr) << path;
        EXPECT_TRUE(action->isEnabled()) << path;
    }
    window->menus().action(QStringLiteral("Data/Generate Series..."))->trigger();
    EXPECT_EQ(modalTitles, QStringList{"Generate Series"});
}

// A modal script that shows its dialog (moved by `offset`, as a user drags it), notes where it
// stands on screen, runs `then` (a click that opens another dialog) and closes it.
static std::function<int(QDialog &)> noteWhereShown(QRect &at, QPoint offset = {},
                                                    std::function<void(QDialog &)> then = {})
{
    return [&at, offset, then](QDialog &d) {
        d.show();
        if (!offset.isNull()) // a window moved once is no longer centred by Qt when shown again
            d.move(d.pos() + offset);
        QCoreApplication::processEvents();
        at = d.frameGeometry();
        if (then)
            then(d);
        return 0;
    };
}

TEST_F(MainWindowCommands, DataMenuWindowsOpenCentredOnTheMainWindow)
{
    // Each window of the Data menu shows over the main window wherever that stands: before the
    // series manager was ever shown, and after the main window moved away from where it was.
    const QString paths[] = {"Data/Generate Series...", "Data/Import Series...", "Data/Series Manager...",
                             "Data/Generate Series...", "Data/Import Series..."};
    const QSize screen = window->screen()->availableGeometry().size();
    int i = 0;
    for (const QString &path : paths) {
        // Moved each time, so that a window left where it showed last is caught.
        const QPoint centre(screen.width() / 2 - 40 + 20 * i, screen.height() / 2 - 30 + 15 * i);
        window->move(centre - window->frameGeometry().center() + window->pos());
        QCoreApplication::processEvents();
        QRect shownAt;
        modalScripts.push_back(noteWhereShown(shownAt));
        window->menus().action(path)->trigger();
        ASSERT_TRUE(shownAt.isValid()) << path.toStdString();
        EXPECT_LE((shownAt.center() - window->frameGeometry().center()).manhattanLength(), 2)
            << path.toStdString() << " #" << i << ": at " << shownAt.x() << "," << shownAt.y() << " "
            << shownAt.width() << "x" << shownAt.height() << ", main window centre "
            << window->frameGeometry().center().x() << "," << window->frameGeometry().center().y();
        ++i;
    }
    // The manager's own Generate button still shows the generator over the manager, moved off
    // the main window's centre by its user.
    QRect managerAt, generatorAt;
    modalScripts.push_back(noteWhereShown(managerAt, QPoint(50, 40), [&](QDialog &manager) {
        modalScripts.push_back(noteWhereShown(generatorAt));
        manager.findChild<QPushButton *>(QStringLiteral("create_series_button"))->click();
    }));
    window->menus().action(QStringLiteral("Data/Series Manager..."))->trigger();
    ASSERT_TRUE(generatorAt.isValid());
    EXPECT_LE((generatorAt.center() - managerAt.center()).manhattanLength(), 2);

    // The workbook dialog the wizard opens shows over the wizard (a file it cannot read will do).
    const QString book = tempPath(QStringLiteral("unreadable.xlsx"));
    testsupport::writeFile(book, "not a workbook");
    files.answers.push_back(book);
    QRect wizardAt, workbookAt;
    modalScripts.push_back(noteWhereShown(wizardAt, {}, [&](QDialog &wizard) {
        modalScripts.push_back(noteWhereShown(workbookAt));
        wizard.findChild<QPushButton *>(QStringLiteral("Excel_btn"))->click();
    }));
    window->menus().action(QStringLiteral("Data/Import Series..."))->trigger();
    ASSERT_TRUE(workbookAt.isValid());
    EXPECT_LE((wizardAt.center() - window->frameGeometry().center()).manhattanLength(), 2);
    EXPECT_LE((workbookAt.center() - wizardAt.center()).manhattanLength(), 2);
}

// Pictures are links to the user's files: a design opened after one moved says which is missing,
// by its name and the folder it was in; once the file is back, the design opens without a word.
TEST_F(MainWindowCommands, OpeningADesignNamesThePicturesWhoseFilesAreGone)
{
    QDir().mkpath(tempPath(QStringLiteral("pics")));
    const QString photo = tempPath(QStringLiteral("pics/photo.png"));
    const QString logo = tempPath(QStringLiteral("pics/logo.png"));
    for (const QString &path : {photo, logo})
        ASSERT_TRUE(QImage(40, 30, QImage::Format_RGB32).save(path));
    for (const QString &path : {photo, logo}) {
        files.answers.push_back(path);
        clickTool(8); // the Picture tool
    }
    ASSERT_EQ(front().size(), 2);
    const QString design = tempPath(QStringLiteral("linked.dcard"));
    files.answers.push_back(design);
    window->fileCommands().SaveAs_Btn_Clicked();
    ASSERT_TRUE(QFileInfo(design).isFile());

    const QString moved = tempPath(QStringLiteral("elsewhere.png"));
    ASSERT_TRUE(QFile::rename(photo, moved));
    messages.clear();
    files.answers.push_back(design);
    window->fileCommands().Open_Btn_Clicked();
    EXPECT_EQ(Project_File_Name, design);
    ASSERT_EQ(front().size(), 2);
    EXPECT_EQ(shown(),
              QStringList{QStringLiteral("1 picture of this design was not found:\nFront: \"photo.png\", "
                                         "which was in %1\n\nIts frame stays empty until the picture is "
                                         "chosen again, or the file is put back and the design opened again.")
                              .arg(tempPath(QStringLiteral("pics")))});

    ASSERT_TRUE(QFile::rename(moved, photo));
    messages.clear();
    files.answers.push_back(design);
    window->fileCommands().Open_Btn_Clicked();
    EXPECT_TRUE(shown().isEmpty()) << shown().join('\n').toStdString();
}

// A design written elsewhere keeps its barcodes' settings and values but no pictures: opened, the
// canvas draws each from its own settings, as export does, and never the stand-in sample, which
// scans as a number nobody chose. An independent decoder reads the canvas.
TEST_F(MainWindowCommands, ABarcodeSavedWithoutItsPictureShowsItsOwnSymbol)
{
    const auto barcode = [](int linearOr2d, const QRectF &frame) {
        GraphicPtr g = SKTGraphic::create(SKTGraphic::Kind::Barcode);
        g->setBounds(frame);
        g->linear_or_2d = linearOr2d;
        g->barcode_font_index = 0; // Code 39, QR Code
        g->show_hide_hdr = 1;
        g->show_hide_ftr = 1;
        g->linear_width_val = 10.0f;
        g->qr_size_val = 60;
        return g;
    };
    CardDesign elsewhere;
    GraphicPtr linear = barcode(0, QRectF(10, 10, 120, 45));
    linear->linear_font_val = QStringLiteral("OWN-39");
    GraphicPtr square = barcode(1, QRectF(10, 70, 90, 75));
    square->two_d_font_val = QStringLiteral("AAA111");
    // Bound to a series and storing no value: the series' first value, as the first card has it.
    ASSERT_TRUE(SeriesFiles::writeSeries(Data_Folder_Path, QStringLiteral("Guests"),
                                         {QStringLiteral("BBB222"), QStringLiteral("CCC333")}, true)
                    .ok());
    GraphicPtr bound = barcode(1, QRectF(140, 70, 90, 75));
    bound->data_source_type = DataSourceCode::Series;
    bound->batch_list_name = QStringLiteral("Guests");
    bound->two_d_font_val = std::nullopt;
    elsewhere.front << linear << square << bound;
    const QString design = tempPath(QStringLiteral("elsewhere.dcard"));
    QString error;
    ASSERT_TRUE(DesignFile::writeItems(design, DesignFileFormat::buildItems(elsewhere), &error))
        << error.toStdString();

    files.answers.push_back(design);
    window->fileCommands().Open_Btn_Clicked();
    ASSERT_EQ(front().size(), 3);
    canvas(0)->setZoom(4.0);
    const QString shot = tempPath(QStringLiteral("canvas.png"));
    ASSERT_TRUE(canvas(0)->grab().save(shot));
    const QString read =
        testsupport::output(QStringLiteral("ZXingReader"), {"-1", "-norotate", "-noscale", shot});
    EXPECT_TRUE(read.contains(QLatin1String("Code39 \"OWN-39\""))) << read.toStdString();
    EXPECT_TRUE(read.contains(QLatin1String("QRCode \"AAA111\""))) << read.toStdString();
    EXPECT_TRUE(read.contains(QLatin1String("QRCode \"BBB222\""))) << read.toStdString();
    EXPECT_FALSE(read.contains(QLatin1String("EAN-13"))) << read.toStdString();
    // Opened as it was: the pictures made for it are no change of the design.
    EXPECT_FALSE(window->hasUnsavedChanges());
}
