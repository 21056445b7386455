// The main window's answers to the inspector (InspectorHost) and to the personal details
// (ProfileHost): its side canvases, the Back button, the edit buttons, Unlock, the records and the tool.
#include "canvas/ui/SKTGraphicView.h"
#include "data/ExcelBindingTable.h"
#include "data/ui/Import_Excel.h"
#include "editor/ui/CommandRow.h"
#include "editor/ui/EditButtons.h"
#include "editor/ui/EditorCommands.h"
#include "editor/ui/SKTWindowController.h"
#include "editor/ui/SideViews.h"
#include "editor/ui/ToolController.h"
#include "foundation/WindowRegistry.h"
#include "foundation/ui/WindowLook.h"
#include "panels/ui/Inspector.h"
#include "panels/ui/TextPanel.h"

#include <QPushButton>

SKTGraphicView *SKTWindowController::sideCanvas(int side) const
{
    return m_sides->canvas(side);
}

SKTGraphicView *SKTWindowController::liveCanvas() const
{
    return m_sides->liveCanvas();
}

bool SKTWindowController::previewShown() const
{
    return m_sides->shownIndex() == SKTDocument::Temp;
}

void SKTWindowController::setBackSideEnabled(bool enabled)
{
    if (m_commands && m_menus)
        m_commands->setBackSideAvailable(enabled);
    else // still being built
        m_commandRow->Back_Card_Btn->setEnabled(enabled);
}

void SKTWindowController::editTextOf(const GraphicPtr &text)
{
    if (!text || text->kind() != SKTGraphic::Kind::Text || text->ctrl_is_locked || previewShown())
        return;
    // What is typed goes to the selection: the text is all of it.
    SKTGraphicView *canvas = liveCanvas();
    const int index = canvas->indexOfGraphic(text);
    if (index < 0)
        return;
    if (canvas->selectedGraphics() != GraphicList{text})
        canvas->changeSelectionIndexes({index});
    Show_RHS_Properties(text);
    m_inspector->textPanel().takeKeyboard();
}

void SKTWindowController::editButtonsForCard()
{
    m_editButtons->Disable_Standard_Button_For_Card();
}

void SKTWindowController::editButtonsForObject(bool locked)
{
    m_editButtons->Enable_Standard_Button_For_Control();
    if (locked)
        m_editButtons->Disable_Standard_Button_For_Lock();
    else
        m_editButtons->Enable_Standard_Button_For_Unlock();
}

void SKTWindowController::unlockSelection()
{
    m_commands->Unlock_Clicked();
}

User_Profile_Class &SKTWindowController::userProfile(int side)
{
    return side == SKTDocument::Back   ? Back_user_profile
           : side == SKTDocument::Temp ? TEMP_user_profile
                                       : Front_user_profile;
}

void SKTWindowController::setToolCode(int tool)
{
    m_tools->setToolCode(tool);
}

int SKTWindowController::importWorkbookColumns(QWidget *parent, const QString &path, ExcelBindingTable &table)
{
    auto *import = registry().instance<Import_Excel>([parent] { return new Import_Excel(nullptr, parent); });
    WindowLook::keepOver(import, parent); // one window, always over the dialog that asks
    import->open_mode = QStringLiteral("E");
    // Bound objects keep their heading and place: whoever reads one finds its column by the heading.
    import->useTable(&table);
    const int result = import->Open_excel_Wnd(path);
    import->useTable(nullptr);
    return result;
}

ExcelBindingTable SKTWindowController::viewedBinding() const
{
    return m_workingBinding ? *m_workingBinding : m_document.design().binding;
}

void SKTWindowController::keepViewedBinding(const ExcelBindingTable &table)
{
    if (m_workingBinding)
        *m_workingBinding = table;
    else
        m_document.setBinding(table); // corrected from the inspector: a step of its own
}
