// The editor's main window: the three card sides, tools, edit buttons, inspector and menus over
// the one document. It answers the model, the canvases and the design file as their host.
#pragma once

#include "canvas/ui/CanvasHost.h"
#include "editor/DesignEditor.h"
#include "editor/DesignFile.h"
#include "foundation/AppIdentity.h"
#include "foundation/ui/MainWindowShell.h"
#include "model/Card_Property.h"
#include "model/ModelHost.h"
#include "model/SKTDocument.h"
#include "model/SKTGrid.h"
#include "panels/ui/InspectorHost.h"
#include "profile/User_Profile_Class.h"
#include "profile/ui/ProfileHost.h"

#include <QColor>

#include <functional>
#include <memory>

class BackgroundBrowser;
class CommandRow;
class QTimer;
class EditButtons;
class EditorCommands;
class FileCommands;
class HeldSeries;
class Inspector;
class InspectorTabs;
struct InvitationDetails;
class MainMenus;
class SideViews;
class ToolController;
class WindowRegistry;
class ZoomFactor;

class SKTWindowController : public MainWindowShell,
                            public ModelHost,
                            public DesignEditor,
                            public CanvasHost,
                            public InspectorHost,
                            public ProfileHost
{
    Q_OBJECT
public:
    explicit SKTWindowController(QWidget *parent = nullptr);
    ~SKTWindowController() override;

    // The one main window (null while none exists).
    static SKTWindowController *defaultInstance();

    // Starts a new design through the start window, or opens the design named on the command
    // line as Open does (a damaged one is refused, then the start window runs).
    void start(const QString &designPath = QString());

    static inline const QString &App_Name = AppIdentity::DisplayName;

    // --- parts ---
    SKTDocument &document() override { return m_document; }
    bool inspectorFilling() const override;
    SKTGrid &grid() { return _grid; }
    ZoomFactor &zoomFactor() const { return *m_zoom; }
    WindowRegistry &registry() const override { return *m_registry; }
    SideViews &sideViews() const { return *m_sides; }
    ToolController &tools() const { return *m_tools; }
    EditButtons &editButtons() const { return *m_editButtons; }
    InspectorTabs &inspectorTabs() const override { return *m_tabs; }
    Inspector &inspector() const { return *m_inspector; }
    EditorCommands &commands() const { return *m_commands; }
    FileCommands &fileCommands() const { return *m_files; }
    MainMenus &menus() const { return *m_menus; }
    DesignFile &designFile() { return m_designFile; }
    CommandRow &commandRow() const { return *m_commandRow; }
    BackgroundBrowser &backgroundBrowser() const { return *m_backgrounds; }

    // The page settings of the front and back: the design's, which the document holds.
    const Card_Property &Front_card_Prop() const { return m_document.design().frontPage; }
    const Card_Property &Back_card_Prop() const { return m_document.design().backPage; }
    // Personal details of the front, back and preview sides (the preview's only from Preview).
    User_Profile_Class Front_user_profile, Back_user_profile, TEMP_user_profile;
    // Mail settings copied at start-up (Get_Email_Details).
    QString sender_email, sender_pwd, sending_server, sending_port, send_enable_ssl;

    // --- operations other parts reach the window by ---
    void Show_RHS_Properties(const GraphicPtr &graphic) override;

    void changeViewController(int index);
    void Remove_All_Tab_Items() override;
    // The start window. At program start its Exit or close ends the program. Opened by New
    // (fromNew), the design is replaced only once the window gives a new one; closed, by Exit
    // too, it leaves everything as it was.
    void Open_Start_Window(bool fromNew = false);
    // The start window's argument when New opens it.
    static inline const QString StartWindowFromNew = QStringLiteral("N");
    // Whether the design differs from what was last saved, opened or made new.
    bool hasUnsavedChanges() const;
    // The title's [*] marker follows hasUnsavedChanges().
    void updateModifiedMarker();
    // Another instance of the program finds the series this design reads in use.
    void holdBoundSeries();
    // The start wizard's texts as PARTY_ text objects on the front side (its size and picture are
    // the new card's settings).
    void Fill_Party_Invidation_Details(const InvitationDetails &details);
    void Exit_App();
    void Get_Email_Details();

    // --- the hosts' questions ---
    void Refresh_Canvas() override;
    QRectF frontCanvasBounds() const override;
    QPointF Control_New_Point(const QString &side) override;
    // New texts take the content font and colour of the page of the side shown.
    FontDescriptor All_Text_font() const override;
    QColor All_Text_clr() const override;
    std::optional<SKTGraphic::Kind> currentGraphicClass() const override;
    int Selected_Control_Tool() const override;
    void Undo_Redo_Button_state() override;
    void Set_Paste_Button_Status() override;
    void setSameSizeButtonsEnabled(bool enabled) override;
    // The side being edited (the side views' view state), asked by canvases, inspector and dialogs.
    int Card_Front_Or_Back() const override;
    const Card_Property *liveCardProperty() const override;
    void Open_Barcode_Window(const GraphicPtr &graphic) override;
    void editTextOf(const GraphicPtr &text) override;
    // A new picture or signature starts from neutral picture controls.
    void Reset_Image_Editing_Controls() override;

    // --- the design file's questions ---
    std::optional<QString> chooseSavePath() override;
    void Set_Log_Name_In_Title() override;
    void New_Project_Setting_Reset() override;
    void delete_all_control() override;
    void set_Front_BG_Image(const QString &path) override;
    void set_Back_BG_Image(const QString &path) override;
    void Show_RHS_Properties_None() override { Show_RHS_Properties(nullptr); }
    void showDesign() override;
    void selectArrowTool() override;
    void designBecameClean() override
    {
        if (m_titleHolds == 0 && isWindowModified())
            setWindowModified(false);
    }
    void holdTitle(bool held) override;
    void runLongWork(const std::function<void()> &work) override;

    // The content font and colour new texts take.
    // The content font alone (the font dialog's choice).

    // --- the inspector's questions (MainWindowInspector.cpp) ---
    QWidget &inspectorWindow() override { return *this; }
    SKTGraphicView *sideCanvas(int side) const override;
    SKTGraphicView *liveCanvas() const override;
    bool previewShown() const override;
    const Card_Property &cardProperty(int side) const override { return m_document.design().page(side); }
    // Whether the Back side button can be pressed (a two-sided card).
    void setBackSideEnabled(bool enabled);
    void editButtonsForCard() override;
    void editButtonsForObject(bool locked) override;
    void unlockSelection() override;

    // --- the personal details' questions (MainWindowInspector.cpp) ---
    QWidget &profileWindow() override { return *this; }
    User_Profile_Class &userProfile(int side) override;
    void setToolCode(int tool) override;
    int importWorkbookColumns(QWidget *parent, const QString &path, ExcelBindingTable &table) override;
    void setWorkingBinding(ExcelBindingTable *table) override { m_workingBinding = table; }
    // The binding table the viewer shows, and where the rows it leaves go: an open Details
    // dialog's working table, else the design's.
    ExcelBindingTable viewedBinding() const;
    void keepViewedBinding(const ExcelBindingTable &table);

    // --- personal details (UserProfileCommands) ---
    int Open_User_Profile_Window(qint8 flag, const QString &load_side);
    void Fill_User_profile_info_front_side();
    void Fill_User_profile_info_back_side();
    void Fill_User_profile_info_TEMP_side();
    void Fill_User_profile_Details();
    QRectF Get_Control_Rect_From_Template(const QString &ctrl_ID);

signals:
    void selectedToolChanged();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWindow();
    void applyStartValues();
    void setBackgroundImage(int side, const QString &path);
    // A new design through the design file, its settings shaped by start before they are written.
    void resetDesign(const std::function<void(DesignSettings &)> &start);
    // The card a start window chose, written once: the new design's pages (replacing the design
    // when New opened the start window) with the wizard's size and front picture.
    void startNewCard(bool replacing, const InvitationDetails &details);
    void scheduleModifiedCheck();
    // The design's settings changed (an edit, undo, redo, a new or opened design): the window
    // shows its own share (the Back button, the workbook columns, the preview's caption, the
    // canvas and the selection's values); the card page loads itself from the same notice.
    void showDesignSettings();

    SKTDocument m_document;
    SKTGrid _grid;
    DesignFile m_designFile;
    std::unique_ptr<CommandRow> m_commandRow;
    ZoomFactor *m_zoom = nullptr;
    WindowRegistry *m_registry = nullptr;
    SideViews *m_sides = nullptr;
    ToolController *m_tools = nullptr;
    EditButtons *m_editButtons = nullptr;
    // Not a QObject: the window owns it (its tab widget belongs to the central widget).
    std::unique_ptr<InspectorTabs> m_tabs;
    EditorCommands *m_commands = nullptr;
    FileCommands *m_files = nullptr;
    MainMenus *m_menus = nullptr;
    BackgroundBrowser *m_backgrounds = nullptr;
    Inspector *m_inspector = nullptr;
    QTimer *m_modifiedCheck = nullptr;
    std::unique_ptr<DesignListener> m_designWatch; // showDesignSettings on each notice
    std::unique_ptr<HeldSeries> m_heldSeries;
    int m_titleHolds = 0;                          // while the design is replaced, the title waits
    ExcelBindingTable *m_workingBinding = nullptr; // an open Details dialog's
};
