#include "editor/ui/FileCommands.h"

#include "editor/DesignFile.h"
#include "editor/EditorState.h"
#include "editor/ui/ChangedWorkbook.h"
#include "editor/ui/SKTWindowController.h"
#include "editor/ui/SideViews.h"
#include "foundation/MessageBoxes.h"
#include "foundation/WindowRegistry.h"
#include "foundation/ui/AppExit.h"
#include "foundation/ui/FilePanels.h"
#include "model/ModelGlobals.h"

#include <QFileInfo>

FileCommands::FileCommands(SKTWindowController &window) : QObject(&window), m_window(window) {}

DesignResult FileCommands::Save_project_file(bool save_as, bool show_msg)
{
    // Another program (or a second copy of this one) may have saved the same file meanwhile, before
    // this save or during it: replacing it would lose that work, so it is asked, and Return keeps it.
    const DesignResult result =
        m_window.designFile().Save_project_file(save_as, show_msg, [](const QString &path) {
            return Ask_YES_NO_Keeping(changedOnDiskQuestion(path));
        });
    if (!result.ok() && !result.reason.isEmpty())
        Show_NSLog_Message(result.reason);
    if (show_msg && !result.message.isEmpty()) {
        if (result.ok())
            Show_MessageBox(result.message);
        else
            Show_TitledMessageBox(DesignFile::SaveTitle, result.message);
    }
    return result;
}

QString FileCommands::changedOnDiskQuestion(const QString &path)
{
    return QStringLiteral("The file \"%1\" was changed by another program after it was opened here. "
                          "Do you want to replace it with this design?")
        .arg(QFileInfo(path).fileName());
}

bool FileCommands::settleUnsavedChanges(const QString &question)
{
    if (!m_window.designFile().isModified())
        return true;
    return ::settleUnsavedChanges(question, [this] {
        const DesignResult saved = Save_project_file(false, false);
        // A cancelled save panel or a failed save keeps the design, rather than losing it.
        if (saved.status == DesignResult::Status::Failed)
            Show_TitledMessageBox(DesignFile::SaveTitle, saved.message);
        return saved.ok();
    });
}

void FileCommands::New_Btn_Clicked()
{
    if (!settleUnsavedChanges(SaveBeforeNewQuestion))
        return;
    // The start window comes first: closing it leaves the design as it was.
    m_window.Open_Start_Window(true);
    m_window.Undo_Redo_Button_state();
}

void FileCommands::New_Project()
{
    m_window.New_Project_Setting_Reset();
    m_window.Show_RHS_Properties(nullptr);
    m_window.Refresh_Canvas();
    m_window.Open_Start_Window(false);
}

void FileCommands::Open_Btn_Clicked()
{
    if (!settleUnsavedChanges(SaveBeforeOpenQuestion))
        return;
    // The design is replaced only by one that loaded; a cancelled panel or a damaged file leaves it.
    if (Open_Log_File() == 1)
        m_window.Undo_Redo_Button_state();
}

int FileCommands::Open_Log_File()
{
    const std::optional<QString> path = FilePanels::instance().openFile(
        &m_window, QStringLiteral("Open Design"), {EditorState::design_file_EXT()},
        FilePanels::startFolder(Project_File_Name));
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
    m_window.sideViews().showWholeCard();
    // Opened, with something to say (pictures whose files are gone): said over the design shown.
    if (!result.message.isEmpty())
        Show_MessageBox(result.message);
    // The design's rows are those of its workbook when it was last loaded: a changed file is named.
    ChangedWorkbook::settle(m_window);
    return 1;
}

void FileCommands::openAtStart(const QString &path)
{
    m_window.New_Project_Setting_Reset();
    m_window.Show_RHS_Properties(nullptr);
    if (load(path) != 1)
        m_window.Open_Start_Window(false);
    m_window.Undo_Redo_Button_state();
}

void FileCommands::exitSequence()
{
    if (!settleUnsavedChanges(SaveBeforeCloseQuestion))
        return;
    m_window.registry().open(WindowRegistry::Window::RateUs);
    AppExit::exit(0);
}
