#include "editor/ui/SKTWindowController.h"

#include "canvas/ui/ImageBrowser.h"
#include "canvas/ui/SKTGraphicView.h"
#include "canvas/ui/ZoomFactor.h"
#include "data/ExcelBindingTable.h"
#include "editor/EditorState.h"
#include "editor/HeldSeries.h"
#include "editor/InvitationLayout.h"
#include "editor/ui/BackgroundBrowser.h"
#include "editor/ui/CommandRow.h"
#include "editor/ui/EditButtons.h"
#include "editor/ui/EditorCommands.h"
#include "editor/ui/FileCommands.h"
#include "editor/ui/Invitation_Wizard.h"
#include "editor/ui/MainMenus.h"
#include "editor/ui/SideViews.h"
#include "editor/ui/ToolController.h"
#include "editor/ui/WindowCatalog.h"
#include "foundation/CardCodes.h"
#include "foundation/DataRoot.h"
#include "foundation/FileUtils.h"
#include "foundation/FolderListing.h"
#include "foundation/MessageBoxes.h"
#include "foundation/Preferences.h"
#include "foundation/WindowRegistry.h"
#include "foundation/ui/AppExit.h"
#include "foundation/ui/FilePanels.h"
#include "foundation/ui/PleaseWaitSheet.h"
#include "foundation/ui/PleaseWait_Modeless.h"
#include "model/ModelGlobals.h"
#include "panels/ui/AlignmentTab.h"
#include "panels/ui/CardPagePanel.h"
#include "panels/ui/DataSourceTab.h"
#include "panels/ui/ImageSignPanel.h"
#include "panels/ui/Inspector.h"
#include "panels/ui/InspectorTabs.h"
#include "panels/ui/ShapeLinePanel.h"
#include "platform/FontResolver.h"
#include "platform/PictureReader.h"
#include "platform/UndoManager.h"
#include "profile/ui/UserProfileCommands.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSplitter>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
SKTWindowController *g_instance = nullptr;
} // namespace

SKTWindowController::SKTWindowController(QWidget *parent)
    : MainWindowShell(parent, false), m_designFile(m_document, this)
{
    setObjectName(QStringLiteral("DrawWindow"));
    g_instance = this;
    ModelGlobals::instance().Main_App_wnd = this;
    m_zoom = new ZoomFactor(this);
    m_registry = new WindowRegistry(this);
    for (User_Profile_Class *record : {&Front_user_profile, &Back_user_profile, &TEMP_user_profile})
        record->Reset_All_Values();
    buildWindow();
    Get_Email_Details();
    applyStartValues();
    m_sides->showRulers(m_commandRow->Show_Ruler_chk->isChecked());
    m_editButtons->setUndoManager(&m_document.undoManager());
    connect(this, &SKTWindowController::selectedToolChanged, m_tools, &ToolController::selectedToolDidChange);
    fillWindowRegistry(*this, *m_registry);
    m_menus->updateEnabled();
    m_modifiedCheck = new QTimer(this);
    m_modifiedCheck->setSingleShot(true);
    m_modifiedCheck->setInterval(150);
    connect(m_modifiedCheck, &QTimer::timeout, this, &SKTWindowController::updateModifiedMarker);
    connect(&m_document.undoManager(), &UndoManager::stateChanged, this,
            &SKTWindowController::scheduleModifiedCheck);
    m_designWatch = std::make_unique<DesignListener>(m_document, [this] { showDesignSettings(); });
    QCoreApplication::instance()->installEventFilter(this);
    m_editButtons->endClipboardDeferral();
}

SKTWindowController::~SKTWindowController()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
    m_designWatch.reset();
    // The canvases and the inspector's panels let go of the document before it goes.
    delete m_sides;
    m_sides = nullptr;
    delete m_inspector;
    m_inspector = nullptr;
    if (ModelGlobals::instance().Main_App_wnd == this)
        ModelGlobals::instance().Main_App_wnd = nullptr;
    if (g_instance == this)
        g_instance = nullptr;
}

SKTWindowController *SKTWindowController::defaultInstance()
{
    return g_instance;
}

void SKTWindowController::buildWindow()
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    m_tabs = std::make_unique<InspectorTabs>(central);
    m_inspector = new Inspector(*this);
    m_editButtons = new EditButtons(central);
    m_editButtons->deferClipboard();
    m_sides = new SideViews(central, m_document, _grid, *m_zoom, this);
    m_tools = new ToolController(*this, central);
    m_commands = new EditorCommands(*this);
    m_files = new FileCommands(*this);

    m_commandRow = std::make_unique<CommandRow>(central);
    auto *middle = new QVBoxLayout;
    middle->addWidget(m_editButtons->row());
    middle->addWidget(m_commandRow->sideRow());
    middle->addWidget(m_sides->Front_back_label);
    middle->addWidget(m_sides->myTargetView, 1);
    m_tabs->keepOneWidth();
    auto *left = new QVBoxLayout;
    left->addWidget(m_tools->toolBar());
    left->addWidget(m_commandRow->cardButtons());
    m_backgrounds = new BackgroundBrowser(*this, central);
    m_backgrounds->imageBrowser->setFixedWidth(m_tools->toolBar()->sizeHint().width() + 24);
    left->addWidget(m_backgrounds->imageBrowser, 1);
    auto *layout = new QHBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(left);
    layout->addLayout(middle, 1);
    layout->addWidget(m_tabs->sett_tab());
    m_menus = new MainMenus(*this);
    m_commands->connectControls();
    // The card page shows the live side's page: a change of side loads it again.
    connect(m_sides, &SideViews::shownSideChanged, m_inspector, [this] { m_inspector->cardPage().reload(); });
    changeViewController(0);
}

void SKTWindowController::applyStartValues()
{
    // The tab items are all made; the object pages go until something is selected.
    for (int item = InspectorTabs::line_tab; item < InspectorTabs::ItemCount; ++item)
        m_tabs->removeItem(InspectorTabs::Item(item));
    // The patterns are the program's resources: both pattern lists offer them.
    const QStringList patterns = Get_Files_Array_At_Path(Resource_Path + QStringLiteral("Fill_Style_Image"));
    m_inspector->shapeLinePanel().setPatternNames(patterns);
    m_inspector->cardPage().setPatternNames(patterns);
}

void SKTWindowController::start(const QString &designPath)
{
    if (designPath.isEmpty()) {
        m_files->New_Project();
    } else {
        m_files->openAtStart(designPath);
    }
    changeViewController(0);
}

void SKTWindowController::Get_Email_Details()
{
    const Preferences &p = Preferences::sharedInstance();
    sender_email = p.send_email_SenderEmail();
    sender_pwd = p.send_email_Password();
    sending_server = p.send_email_SMTP_server();
    sending_port = p.send_email_PORT_num();
    send_enable_ssl = p.send_email_enable_ssl();
}

// --- inspector ---

void SKTWindowController::Show_RHS_Properties(const GraphicPtr &graphic)
{
    m_inspector->Show_RHS_Properties(graphic);
}

void SKTWindowController::Remove_All_Tab_Items()
{
    m_tabs->Remove_All_Tab_Items();
}

void SKTWindowController::changeViewController(int index)
{
    m_sides->changeViewController(index);
}

// --- start window and exit ---

void SKTWindowController::Open_Start_Window(bool fromNew)
{
    if (!fromNew) {
        m_sides->Front_back_label->hide();
        // The empty card behind the first start window, as its page shows it, holds no work.
        m_designFile.markClean();
        updateModifiedMarker();
    }
    // A registry without the start window (some tests) starts a plain new card ("T").
    int result = 1;
    if (m_registry->isFilled(WindowRegistry::Window::StartWizard))
        result =
            m_registry->open(WindowRegistry::Window::StartWizard, fromNew ? StartWindowFromNew : QString());
    else
        Start_Card_Option = QStringLiteral("T");
    if (result != 1) {
        if (!fromNew) {
            AppExit::exit(0);
            return;
        }
        // Opened by New: closing the start window, by Escape or its Exit, keeps the design.
        return;
    }
    m_sides->Front_back_label->show();
    if (Start_Card_Option == QLatin1String("L"))
        return; // the design that was opened is in place
    const bool invitation = Start_Card_Option == QLatin1String("W");
    const Invitation_Wizard *wizard = invitation ? m_registry->existing<Invitation_Wizard>() : nullptr;
    const InvitationDetails details = wizard ? wizard->invitation() : InvitationDetails();
    // Only now that the new design is decided does it replace the old one.
    startNewCard(fromNew, details);
    if (invitation) {
        // The invitation's texts are the new design itself, no step of its history.
        const UndoManager::Unrecorded unrecorded(m_document.undoManager());
        m_sides->myTargetView->show();
        m_tabs->sett_tab()->show();
        Fill_Party_Invidation_Details(details);
    }
    Show_RHS_Properties(nullptr);
    // The wizard's card is work not yet saved: every road that would discard it asks first. A
    // plain new card holds nothing to lose.
    if (Start_Card_Option != QLatin1String("W"))
        m_designFile.markClean();
    m_sides->showWholeCard();
    Refresh_Canvas();
    updateModifiedMarker();
}

void SKTWindowController::startNewCard(bool replacing, const InvitationDetails &details)
{
    // The card keeps the size it has unless the wizard chose one.
    const QSizeF size = details.cardSize.isEmpty() ? m_document.design().cardSize() : details.cardSize;
    QString error;
    const auto start = [&](DesignSettings &settings) {
        settings.setCardSize(size);
        if (!details.background.isEmpty())
            error = settings.frontPage.setBackgroundImage(details.background);
    };
    if (replacing) {
        resetDesign(start);
    } else {
        // The empty card behind the first start window is already a new design.
        DesignSettings settings = m_document.design().settings();
        start(settings);
        m_document.putSettingsUnrecorded(settings);
    }
    if (!error.isEmpty())
        Show_MessageBox(PictureReader::userMessage(details.background, error));
}

void SKTWindowController::Fill_Party_Invidation_Details(const InvitationDetails &details)
{
    SKTGraphicView *front = m_sides->canvas(SKTDocument::Front);
    for (const InvitationItem &item :
         InvitationLayout::Fill_Party_Invidation_Details(details, m_document.design().cardSize())) {
        const GraphicPtr text = front->createGraphicOfClass(SKTGraphic::Kind::Text, true, item.frame,
                                                            SideCode::Front, item.text, item.id);
        if (text && item.font)
            text->text_ctrl_font = item.font; // shrunk to stay on the card
    }
}

void SKTWindowController::Exit_App()
{
    m_files->exitSequence();
}

void SKTWindowController::closeEvent(QCloseEvent *event)
{
    // The title bar's close button leaves through the exit command, with its question.
    event->ignore();
    Exit_App();
}

// --- hosts ---

void SKTWindowController::Refresh_Canvas()
{
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this] { Refresh_Canvas(); }, Qt::QueuedConnection);
        return;
    }
    if (!m_sides)
        return;
    m_sides->liveCanvas()->Refresh_Canvas();
    // Panels and dialogs write the design and then ask for a redraw.
    scheduleModifiedCheck();
}

QRectF SKTWindowController::frontCanvasBounds() const
{
    return QRectF(QPointF(0, 0), m_document.design().cardSize());
}

QPointF SKTWindowController::Control_New_Point(const QString &side)
{
    return ModelGlobals::instance().Control_New_Point(side, int(m_document.graphics().size()),
                                                      int(m_document.graphics_back().size()),
                                                      frontCanvasBounds().size());
}

std::optional<SKTGraphic::Kind> SKTWindowController::currentGraphicClass() const
{
    return m_tools->currentGraphicClass();
}

int SKTWindowController::Selected_Control_Tool() const
{
    return m_tools->Selected_Control_Tool();
}

void SKTWindowController::Undo_Redo_Button_state()
{
    m_editButtons->Undo_Redo_Button_state();
}

void SKTWindowController::Set_Paste_Button_Status()
{
    m_editButtons->Set_Paste_Button_Status();
}

void SKTWindowController::setSameSizeButtonsEnabled(bool enabled)
{
    m_inspector->alignment().setSameSizeEnabled(enabled);
}

int SKTWindowController::Card_Front_Or_Back() const
{
    return m_sides ? m_sides->Card_Front_Or_Back() : 0;
}

const Card_Property *SKTWindowController::liveCardProperty() const
{
    return &m_document.design().page(Card_Front_Or_Back() != 0 ? SKTDocument::Back : SKTDocument::Front);
}

void SKTWindowController::Open_Barcode_Window(const GraphicPtr &)
{
    m_registry->open(WindowRegistry::Window::BarcodeWindow);
}

void SKTWindowController::selectArrowTool()
{
    m_tools->selectArrowTool();
}

void SKTWindowController::Reset_Image_Editing_Controls()
{
    if (m_inspector)
        m_inspector->imageSignPanel().Reset_Image_Editing_Controls();
}

// --- design file ---

std::optional<QString> SKTWindowController::chooseSavePath()
{
    return FilePanels::instance().saveFile(this, QStringLiteral("Save Design"),
                                           EditorState::design_file_EXT(),
                                           QStringLiteral("Untitled.") + EditorState::design_file_EXT(),
                                           FilePanels::startFolder(Project_File_Name));
}

void SKTWindowController::Set_Log_Name_In_Title()
{
    if (m_titleHolds > 0)
        return; // the design is being replaced: its title comes when it is whole
    // "card.dcard[*] — Tessaly Greeting Designer": the window system adds no second program name
    // to a title that ends with it, and [*] shows while the design has unsaved changes. The marker
    // is set first, so a new name never shows with the marker of the design it replaced.
    const bool titled = windowTitle().contains(QLatin1String("[*]"));
    if (titled)
        updateModifiedMarker();
    const QString name =
        Project_File_Name.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(Project_File_Name).fileName();
    setWindowFilePath(Project_File_Name);
    setWindowTitle(name + QStringLiteral("[*] \u2014 ") + App_Name);
    if (!titled)
        updateModifiedMarker();
}

void SKTWindowController::holdTitle(bool held)
{
    m_titleHolds = std::max(0, m_titleHolds + (held ? 1 : -1));
    if (!held && m_titleHolds == 0)
        Set_Log_Name_In_Title();
}

void SKTWindowController::runLongWork(const std::function<void()> &work)
{
    runHoldingInput(this, work);
}

bool SKTWindowController::hasUnsavedChanges() const
{
    return m_designFile.isModified();
}

void SKTWindowController::updateModifiedMarker()
{
    holdBoundSeries();
    if (m_titleHolds > 0)
        return;
    const bool modified = m_designFile.isModified();
    // Only a change: every call sets the title again in the window system.
    if (modified != isWindowModified())
        setWindowModified(modified);
}

void SKTWindowController::holdBoundSeries()
{
    if (!m_heldSeries)
        m_heldSeries = std::make_unique<HeldSeries>();
    m_heldSeries->follow(m_document.graphics(), m_document.graphics_back(), Front_card_Prop().Card_Side,
                         Data_Folder_Path);
}

void SKTWindowController::scheduleModifiedCheck()
{
    if (m_modifiedCheck)
        m_modifiedCheck->start();
}

bool SKTWindowController::eventFilter(QObject *watched, QEvent *event)
{
    // Any edit reaches the design through the user's keys and clicks, in this window or a dialog:
    // the marker is checked again shortly after each.
    switch (event->type()) {
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
    case QEvent::Wheel:
    case QEvent::Drop:
        scheduleModifiedCheck();
        break;
    default:
        break;
    }
    return MainWindowShell::eventFilter(watched, event);
}

bool SKTWindowController::inspectorFilling() const
{
    return m_inspector && m_inspector->filling();
}

void SKTWindowController::New_Project_Setting_Reset()
{
    // Asked of the window, the whole reset runs; called back by the design file while it replaces
    // the design, only the window's share.
    if (!m_document.isBeingReplaced()) {
        resetDesign({});
        return;
    }
    // The clipboard belongs to every program: a new design leaves it alone (objects copied from
    // the old design may be pasted into the new one).
    Check_Path_And_Create_Files();
    _grid.setAlwaysShown(false);
    m_sides->Select_front_side();
    Show_RHS_Properties(nullptr);
    Set_Log_Name_In_Title();
    // A new design starts without personal details; the preview's record stays as it was.
    UserProfileCommands::forgetAcceptedDetails();
    Front_user_profile.Reset_All_Values();
    Back_user_profile.Reset_All_Values();
    delete_all_control();
}

void SKTWindowController::resetDesign(const std::function<void(DesignSettings &)> &start)
{
    // The whole reset: the model's share first, which calls back for the window's share.
    m_designFile.resetToNewDesign(start);
}

FontDescriptor SKTWindowController::All_Text_font() const
{
    return m_document.design().page(Card_Front_Or_Back() != 0 ? 1 : 0).Card_Content_font;
}

void SKTWindowController::delete_all_control()
{
    m_sides->canvas(SKTDocument::Front)->delete_all_control();
    m_sides->canvas(SKTDocument::Back)->delete_all_control();
}

void SKTWindowController::showDesign()
{
    const CardDesign &design = m_document.design();
    // The settings were shown by the design's notice; what is left is the opening's own.
    Remove_All_Tab_Items();
    Set_Log_Name_In_Title();
    Show_RHS_Properties_None();
    // A background picture that could not be read is named to the user, back side first.
    for (const Card_Property *page : {&design.backPage, &design.frontPage}) {
        if (page->Card_fill_chk && page->Card_fill_style == FillCode::Picture &&
            !page->Card_BG_Image_Path.isEmpty() && !page->Card_BG_Image) {
            Card_Property probe;
            const QString error = probe.setBackgroundImage(page->Card_BG_Image_Path);
            if (!error.isEmpty())
                Show_MessageBox(PictureReader::userMessage(page->Card_BG_Image_Path, error));
        }
    }
    selectArrowTool();
    Refresh_Canvas();
}

void SKTWindowController::showDesignSettings()
{
    if (!m_sides)
        return;
    // The card page and the data-source tab load themselves from the same notice.
    setBackSideEnabled(m_document.design().isTwoSided());
    m_sides->showPreviewCaption();
    // An object's values may come from the workbook: the inspector shows them as they now stand.
    if (!previewShown() && !liveCanvas()->selectedGraphics().isEmpty())
        m_inspector->showLiveSelection(true);
    Refresh_Canvas();
}

QColor SKTWindowController::All_Text_clr() const
{
    return m_document.design().page(Card_Front_Or_Back() != 0 ? 1 : 0).Card_Content_clr;
}

void SKTWindowController::set_Front_BG_Image(const QString &path)
{
    setBackgroundImage(SKTDocument::Front, path);
}

void SKTWindowController::set_Back_BG_Image(const QString &path)
{
    setBackgroundImage(SKTDocument::Back, path);
}

void SKTWindowController::setBackgroundImage(int side, const QString &path)
{
    if (path.isEmpty())
        return; // nothing chosen: the page keeps its picture
    QString error;
    m_document.changeSettingsRecorded(QStringLiteral("Background"), side, [&](DesignSettings &settings) {
        Card_Property &page = settings.page(side);
        if (page.Card_BG_Image_Path != path || !page.Card_BG_Image)
            error = page.setBackgroundImage(path);
        if (!error.isEmpty())
            return; // the page keeps the background it had
        page.Card_fill_chk = true;
        page.Card_fill_style = FillCode::Picture;
    });
    if (!error.isEmpty()) {
        Show_MessageBox(PictureReader::userMessage(path, error));
        return;
    }
    // The page shows what the live side now has.
    Show_RHS_Properties(nullptr);
    Refresh_Canvas();
}

int SKTWindowController::Open_User_Profile_Window(qint8 flag, const QString &load_side)
{
    return UserProfileCommands(*this).Open_User_Profile_Window(flag, load_side);
}

void SKTWindowController::Fill_User_profile_info_front_side()
{
    UserProfileCommands(*this).Fill_User_profile_info_side(SKTDocument::Front);
}

void SKTWindowController::Fill_User_profile_info_back_side()
{
    UserProfileCommands(*this).Fill_User_profile_info_side(SKTDocument::Back);
}

void SKTWindowController::Fill_User_profile_info_TEMP_side()
{
    UserProfileCommands(*this).Fill_User_profile_info_side(SKTDocument::Temp);
}

void SKTWindowController::Fill_User_profile_Details()
{
    Fill_User_profile_info_front_side();
    Fill_User_profile_info_back_side();
}

QRectF SKTWindowController::Get_Control_Rect_From_Template(const QString &ctrl_ID)
{
    return UserProfileCommands(*this).Get_Control_Rect_From_Template(ctrl_ID);
}
