// The main window's commands that are not tools or files: edit buttons, lock, sides, ruler, card
// page and background, personal details, data windows, print, mail, help, alignment and grid.
#pragma once

#include <QObject>

class Grid_Wizard;
class SKTGraphicView;
class SKTWindowController;

class EditorCommands : public QObject
{
    Q_OBJECT
public:
    explicit EditorCommands(SKTWindowController &window);

    // Wires the window's buttons and controls to the commands below.
    void connectControls();

    // Edit buttons: passed on to the canvas of the side being edited.
    void Undo_Clicked();
    void Redo_Clicked();
    void Cut_Clicked();
    void Copy_Clicked();
    void Paste_Clicked();
    void Delete_Clicked();
    void Select_All_Clicked();
    void Begin_Front_Clicked();
    void Send_Back_Clicked();
    void Lock_Clicked();
    void Unlock_Clicked();

    // Sides.
    // Preview edits nothing: the tools, the background strip and the object commands are off
    // while it is shown, on again with the front or back.
    void updateForShownSide();
    void Front_Card_Btn_Clicked();
    void Back_Card_Btn_Clicked();
    void Temp_Card_Btn_Clicked();
    void Show_Hide_Ruler_ChkBox();
    // A one-sided card has no back to edit, export or print: its button and menu item are off,
    // and a back shown when the card becomes one-sided gives way to the front (once the inspector
    // that asked has finished loading).
    void setBackSideAvailable(bool available);

    // Card page, other windows, output.
    void Card_Prop_Clicked();
    void Card_Bckgrnd_Clicked();
    void User_Profile_Button_Clicked();
    void Batch_Series_Button();
    void Import_Wizard_Button();
    void Create_Series_Button();
    void Print_Button();
    void Print_method();
    void Mail_Button();
    void Help_Button();

    // Alignment and grid.
    void Align_Center_Clicked();
    void Align_Left_Clicked();
    void Align_Right_Clicked();
    void Align_Top_Clicked();
    void Align_Bottom_Clicked();
    void Align_Horz_Clicked();
    void Align_Vert_Clicked();
    void Make_Same_Width_Clicked();
    void Make_Same_Height_Clicked();
    void Make_Natural_Clicked();
    void Align_To_Grid_Clicked();
    void Print_object_chk_changed();
    void toggleGridConstraining();
    void toggleGridShowing();
    void Grid_Clr_Changed();
    void Grid_Slider_Changed();
    void Grid_Show_Hide_Changed();

    // The grid dialog, made on first use.
    Grid_Wizard &gridWizard();

    static inline const QString LockMessage = QStringLiteral("Please select a control to Lock.");
    static inline const QString UnlockMessage = QStringLiteral("Please select a control to Unlock.");
    static inline const QString ListEmptyMessage = QStringLiteral("List is empty.");
    static inline const QString MoreThanOneMessage = QStringLiteral("Please select more than one control.");
    static inline const QString GridFirstMessage = QStringLiteral("Please use grid option first.");

private:
    SKTGraphicView &live() const;
    bool twoSided() const;
    void showSideOfUndoStep(int side);
    void setLock(bool locked);
    // Runs an arrange operation on the live canvas and redraws it; its undo step takes stepName.
    void arrange(void (SKTGraphicView::*operation)(), const QString &stepName);
    void showGridShown();
    SKTWindowController &m_window;
};
