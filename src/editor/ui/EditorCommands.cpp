#include "editor/ui/EditorCommands.h"

#include "canvas/ui/ImageBrowser.h"
#include "canvas/ui/SKTGraphicView.h"
#include "editor/ui/BackgroundBrowser.h"
#include "editor/ui/CommandRow.h"
#include "editor/ui/EditButtons.h"
#include "editor/ui/Grid_Wizard.h"
#include "editor/ui/MainMenus.h"
#include "editor/ui/MainWindowOutputHost.h"
#include "editor/ui/SKTWindowController.h"
#include "editor/ui/SideViews.h"
#include "editor/ui/ToolController.h"
#include "editor/ui/UndoStepNames.h"
#include "foundation/CardCodes.h"
#include "foundation/MessageBoxes.h"
#include "foundation/WindowRegistry.h"
#include "foundation/ui/ColorWell.h"
#include "foundation/ui/ControlUtils.h"
#include "foundation/ui/FloatSlider.h"
#include "output/RunPlan.h"
#include "output/ui/RunStart.h"
#include "panels/ui/AlignmentTab.h"
#include "panels/ui/Inspector.h"
#include "panels/ui/InspectorTabs.h"
#include "panels/ui/PanelEdits.h"
#include "platform/UndoManager.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

EditorCommands::EditorCommands(SKTWindowController &window) : QObject(&window), m_window(window) {}

SKTGraphicView &EditorCommands::live() const
{
    return *m_window.sideViews().liveCanvas();
}

void EditorCommands::connectControls()
{
    EditButtons &b = m_window.editButtons();
    const auto on = [this](QAbstractButton *button, void (EditorCommands::*command)()) {
        connect(button, &QAbstractButton::clicked, this, command);
    };
    on(b.Undo_btn, &EditorCommands::Undo_Clicked);
    on(b.Redo_btn, &EditorCommands::Redo_Clicked);
    on(b.Cut_btn, &EditorCommands::Cut_Clicked);
    on(b.Copy_btn, &EditorCommands::Copy_Clicked);
    on(b.Paste_btn, &EditorCommands::Paste_Clicked);
    on(b.Delete_btn, &EditorCommands::Delete_Clicked);
    on(b.Begin_Front_btn, &EditorCommands::Begin_Front_Clicked);
    on(b.Send_Back_btn, &EditorCommands::Send_Back_Clicked);
    on(b.Lock_btn, &EditorCommands::Lock_Clicked);
    on(b.Unlock_btn, &EditorCommands::Unlock_Clicked);
    CommandRow &ui = m_window.commandRow();
    on(ui.Front_Card_Btn, &EditorCommands::Front_Card_Btn_Clicked);
    on(ui.Back_Card_Btn, &EditorCommands::Back_Card_Btn_Clicked);
    on(ui.Temp_Card_Btn, &EditorCommands::Temp_Card_Btn_Clicked);
    on(ui.Show_Ruler_chk, &EditorCommands::Show_Hide_Ruler_ChkBox);
    on(ui.Card_Prop_Btn, &EditorCommands::Card_Prop_Clicked);
    on(ui.Card_Bckgrnd_Btn, &EditorCommands::Card_Bckgrnd_Clicked);
    on(ui.Grid_Btn, &EditorCommands::toggleGridShowing);
    on(ui.User_Profile_Btn, &EditorCommands::User_Profile_Button_Clicked);
    on(ui.Print_Btn, &EditorCommands::Print_Button);
    on(ui.Mail_Btn, &EditorCommands::Mail_Button);
    using A = AlignmentTab::Command;
    const AlignmentTab &alignment = m_window.inspector().alignment();
    const auto command = [this, &alignment](A which, void (EditorCommands::*run)()) {
        alignment.onCommand(which, this, [this, run] { (this->*run)(); });
    };
    command(A::AlignLeft, &EditorCommands::Align_Left_Clicked);
    command(A::AlignRight, &EditorCommands::Align_Right_Clicked);
    command(A::AlignTop, &EditorCommands::Align_Top_Clicked);
    command(A::AlignBottom, &EditorCommands::Align_Bottom_Clicked);
    command(A::CentreOnCard, &EditorCommands::Align_Center_Clicked);
    command(A::HorizontalCentres, &EditorCommands::Align_Horz_Clicked);
    command(A::VerticalCentres, &EditorCommands::Align_Vert_Clicked);
    command(A::SameWidth, &EditorCommands::Make_Same_Width_Clicked);
    command(A::SameHeight, &EditorCommands::Make_Same_Height_Clicked);
    command(A::NaturalSize, &EditorCommands::Make_Natural_Clicked);
    command(A::ToGrid, &EditorCommands::Align_To_Grid_Clicked);
    command(A::DoNotPrint, &EditorCommands::Print_object_chk_changed);
    connect(&m_window.sideViews(), &SideViews::shownSideChanged, this, &EditorCommands::updateForShownSide);
    updateForShownSide();
}

void EditorCommands::updateForShownSide()
{
    const bool preview = m_window.sideViews().shownIndex() == SKTDocument::Temp;
    m_window.tools().toolBar()->setEnabled(!preview);
    m_window.backgroundBrowser().imageBrowser->setEnabled(!preview);
    m_window.editButtons().setPreviewing(preview);
    m_window.menus().setObjectCommandsEnabled(!preview);
    // Tab leaves the card shown for the inspector's pages.
    QWidget::setTabOrder(m_window.liveCanvas(), m_window.inspectorTabs().sett_tab());
}

// --- edit buttons ---

void EditorCommands::showSideOfUndoStep(int side)
{
    // One history serves every side: a step made on the side not shown shows that side first, so
    // the user sees what changes (and the canvas that reselects what it touched is that side's).
    // The back of a one-sided card stays closed: its step is undone from the side shown.
    if (side == SKTDocument::Front && m_window.sideViews().shownIndex() != SKTDocument::Front)
        Front_Card_Btn_Clicked();
    else if (side == SKTDocument::Back && m_window.sideViews().shownIndex() != SKTDocument::Back &&
             twoSided())
        Back_Card_Btn_Clicked();
}

void EditorCommands::Undo_Clicked()
{
    const UndoManager &undo = m_window.document().undoManager();
    if (undo.canUndo())
        showSideOfUndoStep(undo.undoActionTag());
    live().undo();
    m_window.Undo_Redo_Button_state();
    // The touched objects are selected now, and their values may have changed back.
    m_window.inspector().showLiveSelection(true);
}

void EditorCommands::Redo_Clicked()
{
    const UndoManager &undo = m_window.document().undoManager();
    if (undo.canRedo())
        showSideOfUndoStep(undo.redoActionTag());
    live().redo();
    m_window.Undo_Redo_Button_state();
    m_window.inspector().showLiveSelection(true);
}

void EditorCommands::Cut_Clicked()
{
    runNamedUndoStep(m_window.document().undoManager(), QStringLiteral("Cut"), [this] { live().cut(); });
}

void EditorCommands::Copy_Clicked()
{
    live().copy();
    m_window.Set_Paste_Button_Status();
}

void EditorCommands::Paste_Clicked()
{
    runNamedUndoStep(m_window.document().undoManager(), QStringLiteral("Paste"), [this] { live().paste(); });
    m_window.inspector().showLiveSelection();
}

void EditorCommands::Delete_Clicked()
{
    live().delete_();
}

void EditorCommands::Select_All_Clicked()
{
    // In a text field Select All takes the field's text, as everywhere else; its shortcut reaches
    // the menu even there.
    QWidget *focus = m_window.focusWidget();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(focus)) {
        plain->selectAll();
        return;
    }
    if (auto *line = qobject_cast<QLineEdit *>(focus)) {
        line->selectAll();
        return;
    }
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(focus)) {
        spin->selectAll();
        return;
    }
    live().selectAll();
    m_window.inspector().showLiveSelection();
}

void EditorCommands::Begin_Front_Clicked()
{
    runNamedUndoStep(m_window.document().undoManager(), QStringLiteral("Bring to Front"),
                     [this] { live().bringToFront(); });
    m_window.inspector().showLiveSelection();
}

void EditorCommands::Send_Back_Clicked()
{
    runNamedUndoStep(m_window.document().undoManager(), QStringLiteral("Send to Back"),
                     [this] { live().sendToBack(); });
    m_window.inspector().showLiveSelection();
}

void EditorCommands::setLock(bool locked)
{
    EditButtons &buttons = m_window.editButtons();
    if (locked)
        buttons.Disable_Standard_Button_For_Lock();
    else
        buttons.Enable_Standard_Button_For_Unlock();
    SKTGraphicView &canvas = live();
    const GraphicList selected = canvas.selectedGraphics();
    if (selected.isEmpty()) {
        Show_MessageBox(locked ? LockMessage : UnlockMessage);
        return;
    }
    PanelEdits::objects(m_window, locked ? QStringLiteral("Lock") : QStringLiteral("Unlock"), selected, [&] {
        for (const GraphicPtr &g : selected) {
            g->ctrl_is_locked = locked;
            canvas.startEditingGraphic(g);
        }
    });
    // The card page empties the selection; the locked objects stay selected.
    const QList<int> indexes = canvas.selectionIndexes();
    m_window.Show_RHS_Properties(nullptr);
    canvas.changeSelectionIndexes(indexes);
    m_window.Refresh_Canvas();
    m_window.Show_RHS_Properties(selected.constLast());
}

void EditorCommands::Lock_Clicked()
{
    setLock(true);
}

void EditorCommands::Unlock_Clicked()
{
    setLock(false);
}

// --- sides ---

void EditorCommands::Front_Card_Btn_Clicked()
{
    m_window.sideViews().Select_front_side();
    m_window.Show_RHS_Properties(nullptr);
}

void EditorCommands::Back_Card_Btn_Clicked()
{
    if (!twoSided())
        return;
    m_window.sideViews().Select_back_side();
    m_window.Show_RHS_Properties(nullptr);
}

void EditorCommands::Temp_Card_Btn_Clicked()
{
    m_window.sideViews().Select_temp_design_side();
    m_window.Show_RHS_Properties(nullptr);
    m_window.sideViews().Temp_Design_Control_Assign();
}

bool EditorCommands::twoSided() const
{
    return m_window.Front_card_Prop().isTwoSided();
}

void EditorCommands::setBackSideAvailable(bool available)
{
    m_window.commandRow().Back_Card_Btn->setEnabled(available);
    if (QAction *item = m_window.menus().action(QStringLiteral("View/Back Side")))
        item->setEnabled(available);
    if (available || m_window.sideViews().shownIndex() != SKTDocument::Back)
        return;
    // Asked while the inspector fills its card page: the front is shown after that.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!twoSided() && m_window.sideViews().shownIndex() == SKTDocument::Back)
                Front_Card_Btn_Clicked();
        },
        Qt::QueuedConnection);
}

void EditorCommands::Show_Hide_Ruler_ChkBox()
{
    m_window.sideViews().showRulers(m_window.commandRow().Show_Ruler_chk->isChecked());
}

// --- card page and other windows ---

void EditorCommands::Card_Prop_Clicked()
{
    m_window.Show_RHS_Properties(nullptr);
}

void EditorCommands::Card_Bckgrnd_Clicked()
{
    m_window.Show_RHS_Properties(nullptr);
    const std::optional<QString> chosen =
        m_window.registry().choosePicture(WindowRegistry::PictureShelf::Backgrounds);
    if (!chosen)
        return;
    const QString &path = *chosen;
    PanelEdits::cardPage(m_window, QStringLiteral("Background"), [&] { m_window.setLiveBackground(path); });
    InspectorTabs &tabs = m_window.inspectorTabs();
    tabs.addItem(InspectorTabs::card_bkgd_tab);
    tabs.selectItem(InspectorTabs::card_bkgd_tab);
}

void EditorCommands::User_Profile_Button_Clicked()
{
    const QString side = m_window.Card_Front_Or_Back() != 0 ? SideCode::Back : SideCode::Front;
    // A Details session is one change of the design: the workbook OK binds and the details laid
    // on the side are heard once, as one step.
    const SKTDocument::SettingsNoticeHold notice(m_window.document());
    if (m_window.registry().open(WindowRegistry::Window::UserProfile, side) == 1) {
        m_window.registry().open(WindowRegistry::Window::FillUserProfile, side);
        // The placement selects what it placed: the inspector shows that object, or its page's
        // controls would write into an object of another kind. The tool code stays as the
        // placement left it (text, or picture after a photo).
        const int tool = m_window.tools().Selected_Control_Tool();
        m_window.inspector().showLiveSelection();
        m_window.tools().setToolCode(tool);
    }
    m_window.Refresh_Canvas();
}

void EditorCommands::Batch_Series_Button()
{
    m_window.registry().open(WindowRegistry::Window::SeriesManager);
}

void EditorCommands::Import_Wizard_Button()
{
    m_window.registry().open(WindowRegistry::Window::ImportWizard);
}

void EditorCommands::Create_Series_Button()
{
    m_window.registry().open(WindowRegistry::Window::SeriesGenerator);
}

void EditorCommands::Print_Button()
{
    const auto plan = RunPlan::make(MainWindowOutputHost::designOf(m_window));
    // A series whose file is gone gives no rows either: named with its file.
    if (RunStart::stopsForGoneSeries(*plan))
        return;
    // A bound source that gives no rows at all makes no cards: say so rather than print the
    // design with its sample values (the counting switches such a source off).
    if (plan->bindsData() && plan->cardCount() == 0) {
        Show_MessageBox(ListEmptyMessage);
        return;
    }
    Print_method();
}

void EditorCommands::Print_method()
{
    // Without a printer the print window still offers a PDF file, so printing always goes on.
    m_window.registry().open(WindowRegistry::Window::Print);
}

void EditorCommands::Mail_Button()
{
    m_window.registry().open(WindowRegistry::Window::Mail);
}

void EditorCommands::Help_Button()
{
    m_window.registry().open(WindowRegistry::Window::Help);
}

// --- alignment and grid ---

void EditorCommands::arrange(void (SKTGraphicView::*operation)(), const QString &stepName)
{
    runNamedUndoStep(m_window.document().undoManager(), stepName,
                     [this, operation] { (live().*operation)(); });
    m_window.Refresh_Canvas();
    m_window.inspector().showLiveSelection();
}

void EditorCommands::Align_Center_Clicked()
{
    arrange(&SKTGraphicView::alignformCenter, QStringLiteral("Center"));
}

void EditorCommands::Align_Left_Clicked()
{
    arrange(&SKTGraphicView::alignLeftEdges, QStringLiteral("Align Left Edges"));
}

void EditorCommands::Align_Right_Clicked()
{
    arrange(&SKTGraphicView::alignRightEdges, QStringLiteral("Align Right Edges"));
}

void EditorCommands::Align_Top_Clicked()
{
    arrange(&SKTGraphicView::alignTopEdges, QStringLiteral("Align Top Edges"));
}

void EditorCommands::Align_Bottom_Clicked()
{
    arrange(&SKTGraphicView::alignBottomEdges, QStringLiteral("Align Bottom Edges"));
}

void EditorCommands::Align_Horz_Clicked()
{
    arrange(&SKTGraphicView::alignHorizontalCenters, QStringLiteral("Align Horizontal Centers"));
}

void EditorCommands::Align_Vert_Clicked()
{
    arrange(&SKTGraphicView::alignVerticalCenters, QStringLiteral("Align Vertical Centers"));
}

void EditorCommands::Make_Same_Width_Clicked()
{
    if (live().selectedGraphics().size() < 2) {
        Show_MessageBox(MoreThanOneMessage);
        return;
    }
    arrange(&SKTGraphicView::makeSameWidth, QStringLiteral("Make Same Width"));
}

void EditorCommands::Make_Same_Height_Clicked()
{
    if (live().selectedGraphics().size() < 2) {
        Show_MessageBox(MoreThanOneMessage);
        return;
    }
    arrange(&SKTGraphicView::makeSameHeight, QStringLiteral("Make Same Height"));
}

void EditorCommands::Make_Natural_Clicked()
{
    arrange(&SKTGraphicView::makeNaturalSize, QStringLiteral("Make Natural Size"));
}

void EditorCommands::Align_To_Grid_Clicked()
{
    // Snapping to the grid does not depend on seeing it, as a drag's snapping does not.
    if (!m_window.grid().canAlign()) {
        Show_MessageBox(GridFirstMessage);
        return;
    }
    arrange(&SKTGraphicView::alignWithGrid, QStringLiteral("Align to Grid"));
}

void EditorCommands::Print_object_chk_changed()
{
    PanelEdits::selection(m_window, QStringLiteral("Do Not Print"), [this] {
        live().print_contol_or_not(m_window.inspector().alignment().doNotPrint() ? 1 : 0);
    });
}

void EditorCommands::toggleGridConstraining()
{
    SKTGrid &grid = m_window.grid();
    grid.setConstraining(!grid.isConstraining());
}

Grid_Wizard &EditorCommands::gridWizard()
{
    return *m_window.registry().instance<Grid_Wizard>([this] {
        auto *dialog = new Grid_Wizard(&m_window);
        connect(dialog->Grid_clr, &ColorWell::colorPicked, this, &EditorCommands::Grid_Clr_Changed);
        connect(dialog->Grid_Space_slidr, &FloatSlider::userChanged, this,
                &EditorCommands::Grid_Slider_Changed);
        connect(dialog->Show_hide_grid_chk, &QCheckBox::clicked, this,
                &EditorCommands::Grid_Show_Hide_Changed);
        return dialog;
    });
}

void EditorCommands::toggleGridShowing()
{
    Grid_Wizard &dialog = gridWizard();
    SKTGrid &grid = m_window.grid();
    dialog.Grid_clr->setColor(grid.color());
    dialog.Grid_Space_slidr->setValue(grid.spacing());
    dialog.Show_hide_grid_chk->setChecked(grid.isAlwaysShown());
    SetObjEnabled(dialog.Grid_Opt_box, grid.isAlwaysShown());
    // The controls act as they change, so the canvas previews them; Cancel puts the grid back.
    const QColor color = grid._color;
    const double spacing = grid._spacing;
    const bool alwaysShown = grid.isAlwaysShown();
    if (dialog.Open_Wnd() == 1)
        return;
    grid._color = color;
    grid._spacing = spacing;
    grid.setAlwaysShown(alwaysShown);
    m_window.Refresh_Canvas();
}

void EditorCommands::showGridShown()
{
    // The dialog's box follows the grid, which these changes show.
    Grid_Wizard &dialog = gridWizard();
    dialog.Show_hide_grid_chk->setChecked(true);
    SetObjEnabled(dialog.Grid_Opt_box, true);
}

void EditorCommands::Grid_Clr_Changed()
{
    SKTGrid &grid = m_window.grid();
    grid._color = gridWizard().Grid_clr->color();
    grid.setAlwaysShown(true);
    showGridShown();
    m_window.Refresh_Canvas();
}

void EditorCommands::Grid_Slider_Changed()
{
    SKTGrid &grid = m_window.grid();
    grid._spacing = gridWizard().Grid_Space_slidr->value();
    grid.setAlwaysShown(true);
    showGridShown();
    m_window.Refresh_Canvas();
}

void EditorCommands::Grid_Show_Hide_Changed()
{
    Grid_Wizard &dialog = gridWizard();
    const bool shown = dialog.Show_hide_grid_chk->isChecked();
    m_window.grid().setAlwaysShown(shown);
    SetObjEnabled(dialog.Grid_Opt_box, shown);
    m_window.Refresh_Canvas();
}
