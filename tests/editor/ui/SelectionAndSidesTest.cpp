// The inspector shows the selection of the side shown after every command that changes it, a value
// typed into it reaches what it shows, edits act on the side shown, and the preview edits nothing.
#include "MainWindowFixture.h"

#include "canvas/ui/CanvasTracking.h"
#include "canvas/ui/ImageBrowser.h"
#include "canvas/ui/ImageBrowserModel.h"
#include "canvas/ui/SKTZoomingScrollView.h"
#include "editor/DesignFileFormat.h"
#include "editor/ui/BackgroundBrowser.h"
#include "editor/ui/EditButtons.h"
#include "editor/ui/EditorCommands.h"
#include "editor/ui/MainMenus.h"
#include "editor/ui/ToolController.h"
#include "foundation/ui/StepperField.h"
#include "model/GraphicPasteboard.h"
#include "panels/ui/Inspector.h"
#include "panels/ui/InspectorTabs.h"
#include "panels/ui/LockTab.h"
#include "platform/GeometryText.h"
#include "platform/PropertyList.h"
#include "platform/UndoManager.h"

#include <QScrollArea>
#include <QScrollBar>

#include "barcode/ui/BarcodeWindowDriver.h"
#include "canvas/ui/CanvasDriver.h"
#include "data/ui/BatchWizard.h"
#include "data/ui/Import_Wizard.h"
#include "editor/ui/Insert_Template.h"
#include "foundation/ui/Long_SMS_Dlg.h"
#include "support/DesignSetup.h"
#include "support/IndicatorClick.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

namespace
{
using T = InspectorTabs;
const QList<T::Item> CardPageTabs{T::card_setting_tab, T::card_bkgd_tab, T::card_brdr_tab};
} // namespace

class SelectionAndSides : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        window->resize(1100, 760);
        QCoreApplication::processEvents();
    }

    // An object made with its tool on the side shown, moved to a place of its own.
    GraphicPtr make(int tool, const QRectF &frame)
    {
        clickTool(tool);
        const GraphicList &list = window->Card_Front_Or_Back() == 0 ? front() : back();
        const GraphicPtr g = list.first();
        g->setBounds(frame);
        CanvasDriver::settle();
        return g;
    }
    CanvasDriver drive(int side = 0) { return CanvasDriver(*canvas(side)); }
    static QPointF middle(const GraphicPtr &g) { return g->bounds().center(); }

    Inspector &inspector() { return window->inspector(); }
    EditButtons &buttons() { return window->editButtons(); }
    QList<T::Item> shownTabs() { return window->inspectorTabs().shownItems(); }
    QAction *action(const QString &path)
    {
        QAction *a = window->menus().action(path);
        EXPECT_NE(a, nullptr) << path.toStdString();
        return a;
    }
    void trigger(const QString &path)
    {
        action(path)->trigger();
        CanvasDriver::settle();
    }
    void click(QAbstractButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton);
        CanvasDriver::settle();
    }

    // The inspector shows this object, and the canvas has it current, so edits go to the selection.
    void expectShows(const GraphicPtr &g, int side = 0)
    {
        EXPECT_EQ(inspector().shownGraphic(), g);
        EXPECT_EQ(canvas(side)->selectedGraphic(), g);
        EXPECT_TRUE(canvas(side)->selectedGraphics().contains(g));
        EXPECT_NE(shownTabs(), CardPageTabs);
    }
    void expectCardPage(int side = 0)
    {
        EXPECT_EQ(inspector().shownGraphic(), nullptr);
        EXPECT_EQ(shownTabs(), CardPageTabs);
        EXPECT_TRUE(canvas(side)->selectionIndexes().isEmpty());
    }

    // Types into a field the way a user does, leaving it without Return.
    static void typeWithoutReturn(QWidget *field, const QString &text)
    {
        field->setFocus();
        QLineEdit *edit = qobject_cast<QLineEdit *>(field);
        if (!edit)
            edit = field->findChild<QLineEdit *>();
        ASSERT_NE(edit, nullptr);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    template <typename W> W *named(const char *name) { return window->findChild<W *>(QLatin1String(name)); }
};

// --- the inspector follows the selection ---

TEST_F(SelectionAndSides, UndoAndRedoShowWhatTheyChangedWithTheValuesTheyPutBack)
{
    const GraphicPtr rect = make(3, QRectF(20, 20, 60, 40));
    const GraphicPtr text = make(2, QRectF(120, 60, 80, 30));
    drive().click(middle(text));
    expectShows(text);

    // Undoing the text's creation leaves nothing selected: the card page, not the gone text's tabs.
    click(buttons().Undo_btn); // its move
    click(buttons().Undo_btn); // its creation
    ASSERT_FALSE(front().contains(text));
    expectCardPage();
    click(buttons().Redo_btn);
    ASSERT_TRUE(front().contains(text));
    expectShows(text);

    // A change made in the inspector, undone: the control shows the value put back.
    drive().click(middle(rect));
    expectShows(rect);
    auto *fill = named<QCheckBox>("Shape_fill_chk");
    ASSERT_NE(fill, nullptr);
    const bool before = fill->isChecked();
    ASSERT_EQ(rect->_isDrawingFill, before);
    testsupport::clickIndicator(fill);
    CanvasDriver::settle();
    ASSERT_EQ(rect->_isDrawingFill, !before);
    drive().click(middle(text)); // the inspector moves on to the text
    click(buttons().Undo_btn);
    EXPECT_EQ(rect->_isDrawingFill, before);
    expectShows(rect);
    EXPECT_EQ(fill->isChecked(), before);
    click(buttons().Redo_btn);
    EXPECT_EQ(fill->isChecked(), !before);
}

TEST_F(SelectionAndSides, TheInspectorSetsTheWindowsEditButtonsToolAndUnlock)
{
    // A locked object shown: Unlock on, Lock and Cut off.
    const GraphicPtr text = make(2, QRectF(120, 60, 80, 30));
    text->ctrl_is_locked = true;
    window->Show_RHS_Properties(nullptr);
    canvas(0)->changeSelectionIndexes({0});
    window->Show_RHS_Properties(text);
    ASSERT_EQ(shownTabs(), QList<T::Item>{T::Lock_tab});
    EXPECT_TRUE(buttons().Unlock_btn->isEnabled());
    EXPECT_FALSE(buttons().Lock_btn->isEnabled());
    EXPECT_FALSE(buttons().Cut_btn->isEnabled());

    // The lock tab's own button unlocks the selection and brings the kind's tabs back.
    click(inspector().lockTab().unlock_btn);
    EXPECT_FALSE(text->ctrl_is_locked);
    EXPECT_EQ(shownTabs().first(), T::text_edtng_tab);

    // The card page turns the object buttons off.
    window->Show_RHS_Properties(nullptr);
    for (QAbstractButton *button : {buttons().Cut_btn, buttons().Copy_btn, buttons().Delete_btn,
                                    buttons().Lock_btn, buttons().Unlock_btn})
        EXPECT_FALSE(button->isEnabled());

    // While controls load the tool stays; any real call leaves the arrow tool.
    int tool = 0;
    {
        const Inspector::Filling filling(inspector());
        window->tools().Select_tool(3);
        tool = window->tools().Selected_Control_Tool();
        ASSERT_NE(tool, 0);
        window->Show_RHS_Properties(nullptr);
    }
    EXPECT_EQ(window->tools().Selected_Control_Tool(), tool);
    window->Show_RHS_Properties(nullptr);
    EXPECT_EQ(window->tools().Selected_Control_Tool(), 0);
}

TEST_F(SelectionAndSides, ShiftClickThatDeselectsShowsWhatStaysSelectedAndEditsReachOnlyThat)
{
    const GraphicPtr rect = make(3, QRectF(20, 20, 60, 40));
    const GraphicPtr circle = make(4, QRectF(120, 20, 60, 40));
    drive().click(middle(rect));
    drive().click(middle(circle), Qt::ShiftModifier);
    EXPECT_EQ(canvas(0)->selectedGraphics().size(), 2);
    expectShows(circle);

    drive().click(middle(circle), Qt::ShiftModifier);
    EXPECT_EQ(canvas(0)->selectedGraphics(), GraphicList{rect});
    expectShows(rect);
    auto *width = named<StepperField>("shape_bor_Stepper");
    ASSERT_NE(width, nullptr);
    typeWithoutReturn(width, QStringLiteral("7"));
    QTest::keyClick(width, Qt::Key_Return);
    EXPECT_EQ(rect->_strokeWidth, 7.0);
    EXPECT_NE(circle->_strokeWidth, 7.0);

    // The last one taken out leaves the card page.
    drive().click(middle(rect), Qt::ShiftModifier);
    expectCardPage();
}

TEST_F(SelectionAndSides, SelectAllAlignAndDeleteKeepTheInspectorOnTheSelection)
{
    const GraphicPtr rect = make(3, QRectF(20, 20, 60, 40));
    const GraphicPtr text = make(2, QRectF(120, 60, 80, 30));
    drive().click(QPointF(220, 140)); // nothing there
    expectCardPage();

    QTest::keyClick(window.get(), Qt::Key_A, Qt::ControlModifier);
    CanvasDriver::settle();
    EXPECT_EQ(canvas(0)->selectionIndexes(), (QList<int>{0, 1}));
    expectShows(text); // the frontmost
    EXPECT_TRUE(buttons().Delete_btn->isEnabled());

    trigger(QStringLiteral("Arrange/Align Left Edges"));
    EXPECT_EQ(rect->bounds().x(), text->bounds().x());
    EXPECT_EQ(canvas(0)->selectionIndexes(), (QList<int>{0, 1}));
    expectShows(text);

    click(buttons().Delete_btn);
    EXPECT_TRUE(front().isEmpty());
    expectCardPage();
    EXPECT_FALSE(buttons().Delete_btn->isEnabled());
}

TEST_F(SelectionAndSides, ASideSwitchShowsThePageOfTheSideShownAndItsObjectsThere)
{
    testsupport::arrangeSettings(window->document(), [](DesignSettings &s) {
        s.frontPage.Card_Name = QStringLiteral("Outside");
        s.backPage.Card_Name = QStringLiteral("Inside");
    });
    const GraphicPtr rect = make(3, QRectF(20, 20, 60, 40));
    drive().click(middle(rect));
    expectShows(rect);
    auto *name = named<QLineEdit>("card_name");
    ASSERT_NE(name, nullptr);

    click(window->findChild<QPushButton *>(QStringLiteral("Back_Card_Btn")));
    expectCardPage(1);
    EXPECT_EQ(name->text(), QStringLiteral("Inside"));
    // A tool works on the back, and the inspector shows the back's object.
    const GraphicPtr star = make(13, QRectF(40, 40, 50, 50));
    ASSERT_TRUE(back().contains(star));
    expectShows(star, 1);

    click(window->findChild<QPushButton *>(QStringLiteral("Front_Card_Btn")));
    expectCardPage(0);
    EXPECT_EQ(name->text(), QStringLiteral("Outside"));
}

TEST_F(SelectionAndSides, TheArrowToolKeepsTheSelectionAndShowsIt)
{
    const GraphicPtr rect = make(3, QRectF(20, 20, 60, 40));
    const GraphicPtr circle = make(4, QRectF(120, 20, 60, 40));
    trigger(QStringLiteral("Edit/Select All"));
    clickTool(0);
    EXPECT_EQ(canvas(0)->selectionIndexes(), (QList<int>{0, 1}));
    expectShows(circle);

    drive().click(middle(circle), Qt::ShiftModifier);
    clickTool(0);
    EXPECT_EQ(canvas(0)->selectedGraphics(), GraphicList{rect});
    expectShows(rect);

    drive().click(QPointF(220, 140));
    clickTool(0);
    expectCardPage();
}

TEST_F(SelectionAndSides, AValueTypedWithoutReturnReachesWhatTheInspectorShowedBeforeTheNextCommand)
{
    const GraphicPtr rect = make(3, QRectF(20, 20, 60, 40));
    drive().click(middle(rect));
    auto *width = named<StepperField>("shape_bor_Stepper");
    ASSERT_NE(width, nullptr);
    typeWithoutReturn(width, QStringLiteral("9"));
    // The tool buttons take no focus: the typed width still lands on the rectangle, not the text.
    clickTool(2);
    const GraphicPtr text = front().first();
    ASSERT_NE(text, rect);
    EXPECT_EQ(rect->_strokeWidth, 9.0);
    EXPECT_NE(text->_strokeWidth, 9.0);
    expectShows(text);

    // The page: a name typed on the front, then the Back button.
    drive().click(QPointF(220, 140));
    expectCardPage();
    auto *name = named<QLineEdit>("card_name");
    ASSERT_NE(name, nullptr);
    window->inspectorTabs().selectItem(T::card_setting_tab);
    typeWithoutReturn(name, QStringLiteral("Garden"));
    click(window->findChild<QPushButton *>(QStringLiteral("Back_Card_Btn")));
    EXPECT_EQ(window->Front_card_Prop().Card_Name, QStringLiteral("Garden"));
    EXPECT_NE(window->Back_card_Prop().Card_Name, QStringLiteral("Garden"));

    // A menu shortcut commits too: the width typed on the back's page before Select All.
    auto *cardWidth = window->findChild<StepperField *>(QStringLiteral("width_Stepper"));
    const double widthBefore = window->document().design().cardSize().width();
    typeWithoutReturn(cardWidth, QStringLiteral("120"));
    trigger(QStringLiteral("Edit/Select All")); // a menu command, as a shortcut runs it
    EXPECT_NE(window->document().design().cardSize().width(), widthBefore);
    EXPECT_NEAR(window->document().design().cardSize().width(), 120 * 72 / 25.4, 0.5);
}

// --- edits act on the side shown ---

TEST_F(SelectionAndSides, PreviewTurnsOffTheToolsTheStripAndTheObjectCommands)
{
    const GraphicPtr rect = make(3, QRectF(20, 20, 60, 40));
    drive().click(middle(rect));
    click(buttons().Copy_btn);
    ASSERT_TRUE(buttons().Paste_btn->isEnabled());
    const QStringList objectItems{"Edit/Cut",
                                  "Edit/Copy",
                                  "Edit/Paste",
                                  "Edit/Delete",
                                  "Edit/Select All",
                                  "Edit/Lock",
                                  "Edit/Unlock",
                                  "Arrange/Bring to Front",
                                  "Arrange/Align Left Edges",
                                  "Arrange/Make Same Width",
                                  "Arrange/Align to Grid",
                                  "Tools/Rectangle",
                                  "Tools/Arrow"};

    click(window->findChild<QPushButton *>(QStringLiteral("Temp_Card_Btn")));
    ASSERT_EQ(window->sideViews().shownIndex(), 2);
    for (int tool = 0; tool < ToolController::ToolCount; ++tool)
        EXPECT_FALSE(window->tools().button(tool)->isEnabled()) << tool;
    EXPECT_FALSE(window->backgroundBrowser().imageBrowser->isEnabled());
    for (QAbstractButton *b :
         {buttons().Cut_btn, buttons().Copy_btn, buttons().Paste_btn, buttons().Delete_btn,
          buttons().Begin_Front_btn, buttons().Send_Back_btn, buttons().Lock_btn, buttons().Unlock_btn})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    for (const QString &path : objectItems)
        EXPECT_FALSE(action(path)->isEnabled()) << path.toStdString();
    // Undo stays: it shows the front, where its step was made.
    EXPECT_TRUE(buttons().Undo_btn->isEnabled());

    // The preview's objects are the front's own: a drag there moves and selects nothing, and
    // Select All by its shortcut selects nothing on the front.
    drive(2).drag(middle(rect), middle(rect) + QPointF(30, 30));
    EXPECT_EQ(rect->bounds(), QRectF(20, 20, 60, 40));
    EXPECT_TRUE(canvas(2)->selectionIndexes().isEmpty());
    QTest::keyClick(window.get(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(canvas(0)->selectionIndexes().isEmpty());
    expectCardPage();

    click(window->findChild<QPushButton *>(QStringLiteral("Front_Card_Btn")));
    for (int tool = 0; tool < ToolController::ToolCount; ++tool)
        EXPECT_TRUE(window->tools().button(tool)->isEnabled()) << tool;
    EXPECT_TRUE(window->backgroundBrowser().imageBrowser->isEnabled());
    EXPECT_TRUE(buttons().Paste_btn->isEnabled());
    EXPECT_TRUE(action(QStringLiteral("Edit/Select All"))->isEnabled());
    EXPECT_TRUE(action(QStringLiteral("Arrange/Align Left Edges"))->isEnabled());
}

TEST_F(SelectionAndSides, UndoAndRedoOfEverySideShowTheirSideFirstFromOneHistory)
{
    const GraphicPtr rect = make(3, QRectF(20, 20, 60, 40));
    click(window->findChild<QPushButton *>(QStringLiteral("Back_Card_Btn")));
    const GraphicPtr star = make(13, QRectF(40, 40, 50, 50));
    const QRectF placed = star->bounds();
    // Deleted on the back with the keys, then Ctrl+Z: the star is back, on the back.
    drive(1).click(QPointF(230, 150)); // the card takes the keyboard
    QTest::keyClick(window.get(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(canvas(1), Qt::Key_Delete);
    CanvasDriver::settle();
    ASSERT_TRUE(back().isEmpty());
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    CanvasDriver::settle();
    ASSERT_EQ(back(), GraphicList{star});
    EXPECT_EQ(window->sideViews().shownIndex(), 1);
    expectShows(star, 1);

    // Nudged on the back; the front shown; Ctrl+Z shows the back and takes the nudge back there.
    QTest::keyClick(canvas(1), Qt::Key_Right);
    CanvasDriver::settle();
    EXPECT_EQ(star->bounds().x(), 41.0);
    click(window->findChild<QPushButton *>(QStringLiteral("Front_Card_Btn")));
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    CanvasDriver::settle();
    EXPECT_EQ(window->sideViews().shownIndex(), 1);
    EXPECT_EQ(window->sideViews().Front_back_label->text(), QStringLiteral("Back"));
    EXPECT_EQ(window->Card_Front_Or_Back(), 1);
    EXPECT_EQ(star->bounds(), placed);
    EXPECT_EQ(rect->bounds(), QRectF(20, 20, 60, 40));
    EXPECT_EQ(front(), GraphicList{rect});

    // Further back in the one history: the star's placing and making (on the back), then the
    // rectangle's placing on the front.
    click(buttons().Undo_btn);
    click(buttons().Undo_btn);
    EXPECT_TRUE(back().isEmpty());
    click(buttons().Undo_btn);
    EXPECT_EQ(window->sideViews().shownIndex(), 0);
    EXPECT_NE(rect->bounds(), QRectF(20, 20, 60, 40));

    // Redo from the preview shows the side of each step again.
    click(window->findChild<QPushButton *>(QStringLiteral("Temp_Card_Btn")));
    click(buttons().Redo_btn);
    EXPECT_EQ(window->sideViews().shownIndex(), 0);
    EXPECT_EQ(rect->bounds(), QRectF(20, 20, 60, 40));
    expectShows(rect);
    click(buttons().Redo_btn);
    EXPECT_EQ(window->sideViews().shownIndex(), 1);
    EXPECT_EQ(back().size(), 1);
    EXPECT_TRUE(window->tools().button(3)->isEnabled());
}

TEST_F(SelectionAndSides, ASingleSidedCardShowsItsFrontAndUndoLeavesItsBackClosed)
{
    click(window->findChild<QPushButton *>(QStringLiteral("Back_Card_Btn")));
    make(13, QRectF(40, 40, 50, 50));
    click(window->findChild<QPushButton *>(QStringLiteral("Card_Prop_Btn")));
    QComboBox *sides = window->findChild<QComboBox *>(QStringLiteral("Sides_ComboBox"));
    sides->setCurrentIndex(1); // Single Side, as the user picks it from the list
    emit sides->activated(1);
    CanvasDriver::settle();
    EXPECT_EQ(window->sideViews().shownIndex(), 0);
    EXPECT_EQ(window->sideViews().Front_back_label->text(), QStringLiteral("Front"));
    EXPECT_EQ(window->Card_Front_Or_Back(), 0);
    EXPECT_FALSE(window->findChild<QPushButton *>(QStringLiteral("Back_Card_Btn"))->isEnabled());
    EXPECT_FALSE(action(QStringLiteral("View/Back Side"))->isEnabled());
    // A new object goes on the front, which is exported and printed.
    const GraphicPtr rect = make(3, QRectF(20, 20, 60, 40));
    EXPECT_EQ(front(), GraphicList{rect});

    // The View menu cannot open the back either.
    trigger(QStringLiteral("View/Back Side"));
    EXPECT_EQ(window->sideViews().shownIndex(), 0);

    // Ctrl+Z takes back the front's steps and then the choice of one side, made on the back, the
    // back staying closed; the card has two sides again, and the back's own steps open it.
    for (int step = 0; step < 3; ++step) {
        QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
        CanvasDriver::settle();
        EXPECT_EQ(window->sideViews().shownIndex(), 0) << step;
        EXPECT_EQ(window->Card_Front_Or_Back(), 0) << step;
    }
    EXPECT_TRUE(front().isEmpty());
    EXPECT_EQ(window->sideViews().Front_back_label->text(), QStringLiteral("Front"));
    saveArtifact(window.get(), QStringLiteral("single_sided_card_front.png"));
    EXPECT_EQ(window->Front_card_Prop().Card_Side, QStringLiteral("2"));
    EXPECT_TRUE(window->findChild<QPushButton *>(QStringLiteral("Back_Card_Btn"))->isEnabled());
    for (int step = 0; step < 2; ++step)
        QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    CanvasDriver::settle();
    EXPECT_EQ(window->sideViews().shownIndex(), 1);
    EXPECT_TRUE(back().isEmpty());
}

// --- steadiness and keys ---

TEST_F(SelectionAndSides, TheInspectorKeepsOneWidthAndTheWindowItsSize)
{
    // As small as the card page lets it be: a taller page must not push the window out.
    window->resize(window->minimumSizeHint());
    CanvasDriver::settle();
    const QSize windowSize = window->size();
    QWidget *inspectorWidget = window->inspectorTabs().sett_tab();
    QWidget *cardArea = window->sideViews().myTargetView;
    const int width = inspectorWidget->width();
    const QRect area = cardArea->geometry();
    const auto expectSteady = [&](const char *what) {
        CanvasDriver::settle();
        EXPECT_EQ(inspectorWidget->width(), width) << what;
        EXPECT_EQ(cardArea->geometry(), area) << what;
        EXPECT_EQ(window->size(), windowSize) << what;
        // Every page fits the inspector's width: no page is scrolled sideways.
        if (auto *holder = qobject_cast<QScrollArea *>(window->inspectorTabs().sett_tab()->currentWidget())) {
            EXPECT_FALSE(holder->horizontalScrollBar()->isVisible()) << what;
        }
    };
    const struct {
        int tool;
        const char *what;
    } kinds[] = {{1, "line"},     {2, "text"},       {3, "rectangle"},    {5, "rounded rectangle"},
                 {10, "barcode"}, {11, "signature"}, {14, "double star"}, {15, "polygon"}};
    for (const auto &kind : kinds) {
        clickTool(kind.tool);
        expectSteady(kind.what);
        for (int i = 0; i < window->inspectorTabs().sett_tab()->count(); ++i) {
            window->inspectorTabs().sett_tab()->setCurrentIndex(i);
            expectSteady(kind.what);
        }
    }
    click(buttons().Lock_btn);
    expectSteady("locked");
    drive().click(QPointF(235, 150));
    expectCardPage();
    for (int i = 0; i < 3; ++i) {
        window->inspectorTabs().sett_tab()->setCurrentIndex(i);
        expectSteady("card page");
    }
    saveArtifact(window.get(), QStringLiteral("main_window_steady_inspector.png"));
    // A page taller than the inspector scrolls within its tab.
    clickTool(3);
    expectSteady("rectangle again");
    saveArtifact(window.get(), QStringLiteral("main_window_tall_page_scrolls.png"));
}

TEST_F(SelectionAndSides, TheEditMenuFollowsTheEditButtons)
{
    const QList<QPair<QAbstractButton *, QString>> pairs{
        {buttons().Cut_btn, "Edit/Cut"},     {buttons().Copy_btn, "Edit/Copy"},
        {buttons().Paste_btn, "Edit/Paste"}, {buttons().Delete_btn, "Edit/Delete"},
        {buttons().Lock_btn, "Edit/Lock"},   {buttons().Unlock_btn, "Edit/Unlock"},
        {buttons().Undo_btn, "Edit/Undo"},   {buttons().Redo_btn, "Edit/Redo"}};
    const auto expectFollow = [&](const char *when) {
        for (const auto &[button, path] : pairs)
            EXPECT_EQ(action(path)->isEnabled(), button->isEnabled()) << path.toStdString() << " " << when;
    };
    expectFollow("card page");
    EXPECT_FALSE(action(QStringLiteral("Edit/Delete"))->isEnabled());
    const GraphicPtr rect = make(3, QRectF(20, 20, 60, 40));
    drive().click(middle(rect));
    expectFollow("object");
    EXPECT_TRUE(action(QStringLiteral("Edit/Delete"))->isEnabled());
    click(buttons().Lock_btn);
    expectFollow("locked");
    EXPECT_TRUE(action(QStringLiteral("Edit/Unlock"))->isEnabled());
    EXPECT_FALSE(action(QStringLiteral("Edit/Cut"))->isEnabled());
    click(buttons().Unlock_btn);
    click(buttons().Copy_btn);
    expectFollow("copied");
    EXPECT_TRUE(action(QStringLiteral("Edit/Paste"))->isEnabled());

    // A picture from another program can be pasted as well, by the button and the menu alike.
    auto *picture = new QMimeData;
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::red);
    picture->setImageData(image);
    QGuiApplication::clipboard()->setMimeData(picture);
    EXPECT_TRUE(buttons().Paste_btn->isEnabled());
    auto *names = new QMimeData;
    names->setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.png"))});
    QGuiApplication::clipboard()->setMimeData(names);
    EXPECT_FALSE(action(QStringLiteral("Edit/Paste"))->isEnabled());
    expectFollow("file names");
    // Disabled, the Delete key's menu item does not run; the tools' items follow their buttons.
    click(window->findChild<QPushButton *>(QStringLiteral("Temp_Card_Btn")));
    expectFollow("preview");
    EXPECT_FALSE(action(QStringLiteral("Tools/Text"))->isEnabled());
}

TEST_F(SelectionAndSides, HandlesStayDrawnAfterSelectAllAndAnArrowKey)
{
    const GraphicPtr rect = make(3, QRectF(40, 40, 80, 50));
    drive().click(QPointF(220, 140)); // the card takes the keyboard
    QTest::keyClick(window.get(), Qt::Key_A, Qt::ControlModifier);
    CanvasDriver::settle();
    ASSERT_EQ(canvas(0)->selectedGraphics(), GraphicList{rect});
    QTest::keyClick(canvas(0), Qt::Key_Right);
    CanvasDriver::settle();
    EXPECT_EQ(rect->bounds().x(), 41.0);
    EXPECT_FALSE(canvas(0)->isHidingHandles());
    EXPECT_EQ(canvas(0)->selectedGraphics(), GraphicList{rect});
    // Drawn at once: a handle sits on the rectangle's top-left corner, darker than the page.
    const QImage shot = canvas(0)->grab().toImage();
    saveArtifact(canvas(0), QStringLiteral("handles_after_select_all_and_nudge.png"));
    const QPoint corner(int(rect->bounds().left()), int(rect->bounds().top()));
    int dark = 0;
    for (int dx = -2; dx <= 2; ++dx)
        for (int dy = -2; dy <= 2; ++dy)
            if (qGray(shot.pixel(corner + QPoint(dx, dy))) < 200)
                ++dark;
    EXPECT_GT(dark, 5);
}

TEST_F(SelectionAndSides, TheCardShownHasTheKeyboardFromTheStartAndAfterASideSwitchAndTabLeadsToTheInspector)
{
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), canvas(0));
    // Arrows move what is selected, not the inspector's pages.
    const GraphicPtr rect = make(3, QRectF(40, 40, 80, 50));
    const int page = window->inspectorTabs().sett_tab()->currentIndex();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    CanvasDriver::settle();
    EXPECT_EQ(rect->bounds().x(), 41.0);
    EXPECT_EQ(window->inspectorTabs().sett_tab()->currentIndex(), page);

    click(window->findChild<QPushButton *>(QStringLiteral("Back_Card_Btn")));
    EXPECT_EQ(QApplication::focusWidget(), canvas(1));
    // Tab goes on from the card to the inspector's pages.
    QTest::keyClick(canvas(1), Qt::Key_Tab);
    EXPECT_TRUE(window->inspectorTabs().sett_tab()->isAncestorOf(QApplication::focusWidget()));
    click(window->findChild<QPushButton *>(QStringLiteral("Front_Card_Btn")));
    canvas(0)->setFocus();
    QTest::keyClick(canvas(0), Qt::Key_Tab);
    EXPECT_TRUE(window->inspectorTabs().sett_tab()->isAncestorOf(QApplication::focusWidget()));
    canvas(0)->setFocus();
    // A field the user is typing in keeps the keyboard.
    QAbstractSpinBox *field = nullptr;
    for (QAbstractSpinBox *box : window->findChildren<QAbstractSpinBox *>())
        if (box->isVisible() && box->isEnabled() && !field)
            field = box;
    ASSERT_NE(field, nullptr);
    field->setFocus();
    click(window->findChild<QPushButton *>(QStringLiteral("Back_Card_Btn")));
    EXPECT_NE(QApplication::focusWidget(), canvas(1));
}

TEST_F(SelectionAndSides, APressOnTheDeskGivesTheCardTheKeyboardAndClearsTheSelection)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    click(window->findChild<QPushButton *>(QStringLiteral("Back_Card_Btn")));
    const GraphicPtr rect = make(3, QRectF(40, 40, 80, 50));
    drive(1).click(middle(rect));
    window->inspectorTabs().sett_tab()->setFocus();
    ASSERT_NE(QApplication::focusWidget(), canvas(1));
    // The desk: the grey corner of the area around the card.
    QTest::mouseClick(window->sideViews().scrollView(1)->viewport(), Qt::LeftButton, {}, QPoint(4, 4));
    CanvasDriver::settle();
    EXPECT_EQ(QApplication::focusWidget(), canvas(1));
    expectCardPage(1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    CanvasDriver::settle();
    EXPECT_EQ(rect->bounds().x(), 41.0);
    expectShows(rect, 1);
}

TEST_F(SelectionAndSides, TabLeavesTheBarcodeValueAndEveryMultiLineField)
{
    // The barcode window's 2D value box, as a user fills it in: Tab goes on to the next control.
    Barcode_Gen barcode(window.get());
    barcode.show();
    barcodedriver::chooseType(barcode, QStringLiteral("QR Code"));
    ASSERT_TRUE(barcode.dataText_2D->isVisible());
    barcodedriver::retype(barcode.dataText_2D, QStringLiteral("VALUE"));
    QTest::keyClick(barcode.dataText_2D, Qt::Key_Tab);
    EXPECT_EQ(barcode.dataText_2D->toPlainText(), QStringLiteral("VALUE"));
    EXPECT_NE(barcode.focusWidget(), barcode.dataText_2D);

    // No multi-line field of the program takes a tab as text.
    BatchWizard series(window.get());
    Import_Wizard import(&series, window.get());
    Insert_Template greetings(window.get());
    Long_SMS_Dlg *message = Long_SMS_Dlg::defaultInstance();
    ASSERT_NE(message, nullptr);
    for (QWidget *owner :
         std::initializer_list<QWidget *>{window.get(), &barcode, &import, &greetings, message}) {
        const auto fields = owner->findChildren<QPlainTextEdit *>();
        for (QPlainTextEdit *field : fields)
            EXPECT_TRUE(field->tabChangesFocus())
                << owner->metaObject()->className() << " " << field->objectName().toStdString();
    }
}

TEST_F(SelectionAndSides, SelectAllInATextFieldTakesItsTextNotTheObjects)
{
    make(3, QRectF(20, 20, 60, 40));
    const GraphicPtr text = make(2, QRectF(120, 60, 80, 30));
    drive().click(middle(text));
    auto *field = named<QPlainTextEdit>("Text_value_Edit");
    ASSERT_NE(field, nullptr);
    window->inspectorTabs().selectItem(T::text_edtng_tab);
    field->setFocus();
    field->moveCursor(QTextCursor::End);
    trigger(QStringLiteral("Edit/Select All")); // as its shortcut runs it, even from the field
    EXPECT_EQ(field->textCursor().selectedText(), field->toPlainText());
    EXPECT_EQ(canvas(0)->selectedGraphics(), GraphicList{text});
    QTest::keyClicks(field, QStringLiteral("Hello"));
    EXPECT_EQ(field->toPlainText(), QStringLiteral("Hello"));
}

TEST_F(SelectionAndSides, TheLongMessageBoxButtonsCarryMnemonics)
{
    Long_SMS_Dlg &box = *Long_SMS_Dlg::defaultInstance();
    QStringList seen;
    modalScripts.push_back([&](QDialog &) {
        for (QAbstractButton *b :
             {static_cast<QAbstractButton *>(box.ok_button), static_cast<QAbstractButton *>(box.no_button),
              static_cast<QAbstractButton *>(box.apply_chk)})
            if (b->isVisibleTo(&box))
                seen << b->text();
        return 1;
    });
    box.title_val = QStringLiteral("Send these cards?");
    box.msg_val_str = QStringLiteral("Three cards are ready.");
    box.apply_chk_show = true;
    box.Open_Long_sms_Dialog();
    EXPECT_EQ(seen, (QStringList{"&Yes", "&No", "&Apply to all"}));
}

// --- the design is one value: looking at it changes nothing ---

// Card Size, Apply and Ctrl+S: both pages hold the new size in the file, and looking at the back
// afterwards (or at the front again) leaves the design as saved.
TEST_F(SelectionAndSides, LookingAtASideNeverMarksTheDesignChangedAndTheSizeIsOnBothPages)
{
    window->inspectorTabs().selectItem(T::card_setting_tab);
    window->findChild<StepperField *>(QStringLiteral("width_Stepper"))->setValue(120);
    window->findChild<StepperField *>(QStringLiteral("height_Stepper"))->setValue(80);
    click(window->findChild<QPushButton *>(QStringLiteral("Apply_Size_btn")));
    const QSizeF size(120 * 72 / 25.4, 80 * 72 / 25.4);
    EXPECT_NEAR(window->document().design().cardSize().width(), size.width(), 0.5);
    EXPECT_NEAR(window->document().design().cardSize().height(), size.height(), 0.5);
    const QString path = saveAs(QStringLiteral("resized.dcard"));
    ASSERT_FALSE(window->hasUnsavedChanges());
    const QByteArray saved = savedDesign();

    click(window->findChild<QPushButton *>(QStringLiteral("Back_Card_Btn")));
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->hasUnsavedChanges());
    EXPECT_FALSE(window->isWindowModified());
    click(window->findChild<QPushButton *>(QStringLiteral("Front_Card_Btn")));
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->hasUnsavedChanges());
    EXPECT_EQ(savedDesign(), saved);

    // The file holds the size on the back page too.
    const plist::Array items = PropertyList::readFile(path).value.toArray();
    const qsizetype frontSize = 1 + CardPageFields::SizePlace;
    const qsizetype backSize = frontSize + DesignFileFormat::SideFieldCount;
    ASSERT_GT(items.size(), backSize);
    EXPECT_EQ(items[backSize].toString(), items[frontSize].toString());
    EXPECT_NEAR(GeometryText::sizeIn(items[backSize].toString()).width(), size.width(), 0.5);
}
