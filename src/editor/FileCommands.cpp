// New, Open, Save and Save As of the main window, the start of a new project, a design opened from
// the command line, and the exit sequence with its question and save.
#include "editor/FileCommands.h"

#include "editor/DesignFile.h"
#include "editor/EditorState.h"
#include "editor/SKTWindowController.h"
#include "editor/WindowRegistry.h"
#include "foundation/AppExit.h"
#include "foundation/FilePanels.h"
#include "foundation/MessageBoxes.h"
#include "model/ModelGlobals.h"

FileCommands::FileCommands(SKTWindowController &window) : QObject(&window), m_window(window) {}

DesignResult FileCommands::Save_project_file(bool save_as, bool show_msg)
{
    const DesignResult result = m_window.designFile().Save_project_file(save_as, show_msg);
    if (!result.ok() && !result.reason.isEmpty())
        Show_NSLog_Message(result.reason);
    if (!result.message.isEmpty())
        Show_MessageBox(result.message);
    return result;
}

void FileCommands::New_Btn_Clicked()
{
    if (Show_YES_NO_MessageBox(SaveBeforeNewQuestion))
        Save_project_file(false, true); // a cancelled panel skips the save; New goes on
    New_Project();
    m_window.Undo_Redo_Button_state();
}

void FileCommands::New_Project()
{
    m_window.New_Project_Setting_Reset();
    m_window.Show_RHS_Properties(nullptr);
    m_window.Refresh_Canvas();
    m_window.Open_Start_Window();
    Not_Draw_Only_Prop_Change = 0;
}

void FileCommands::Open_Btn_Clicked()
{
    if (Show_YES_NO_MessageBox(SaveBeforeOpenQuestion))
        Save_project_file(false, true);
    m_window.New_Project_Setting_Reset();
    const int r = Open_Log_File();
    m_window.Undo_Redo_Button_state();
    if (r != 1)
        m_window.Open_Start_Window();
    Not_Draw_Only_Prop_Change = 0;
}

int FileCommands::Open_Log_File()
{
    const std::optional<QString> path = FilePanels::instance().openFile(
        &m_window, QStringLiteral("Open Design"), {EditorState::design_file_EXT()});
    if (!path)
        return 0;
    return load(*path);
}

int FileCommands::load(const QString &path)
{
    const DesignResult result = m_window.designFile().Read_and_load_design_Log(path, QStringLiteral("L"));
    if (!result.ok()) {
        if (!result.reason.isEmpty())
            Show_NSLog_Message(result.reason);
        Show_MessageBox(result.message.isEmpty() ? DesignFile::CorruptMessage : result.message);
        return 0;
    }
    return 1;
}

void FileCommands::openAtStart(const QString &path)
{
    m_window.New_Project_Setting_Reset();
    m_window.Show_RHS_Properties(nullptr);
    if (load(path) != 1)
        m_window.Open_Start_Window();
    m_window.Undo_Redo_Button_state();
    Not_Draw_Only_Prop_Change = 0;
}

void FileCommands::exitSequence()
{
    if (Show_YES_NO_MessageBox(SaveBeforeCloseQuestion)) {
        const DesignResult saved = Save_project_file(false, false);
        // A failed save keeps the program open with the design, rather than losing it silently.
        if (saved.status == DesignResult::Status::Failed) {
            Show_MessageBox(DesignFile::SaveFailedMessage);
            return;
        }
    }
    m_window.registry().open(WindowRegistry::Window::RateUs);
    AppExit::exit(0);
}
