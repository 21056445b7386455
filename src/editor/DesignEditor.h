// What the design file's writer and reader ask of the editor window: sizes, panels, title, the
// save panel. The main window implements it, tests fake it; a null editor is legal.
#pragma once

#include <QString>

#include <functional>
#include <optional>

class DesignEditor
{
public:
    virtual ~DesignEditor() = default;

    // The save panel for one "dcard" file; none when the user cancels.
    virtual std::optional<QString> chooseSavePath() { return std::nullopt; }
    virtual void Set_Log_Name_In_Title() {}

    // The window's share of a new design (pasteboard, folders, grid, personal details, content
    // font and colour, side, title); the model's share is already done when this is called.
    virtual void New_Project_Setting_Reset() {}
    virtual void Remove_All_Tab_Items() {}
    virtual void delete_all_control() {}

    // A background picture was loaded into the side's page settings from this path.
    virtual void set_Front_BG_Image(const QString &) {}
    virtual void set_Back_BG_Image(const QString &) {}

    // The design was replaced whole (opened): the editor shows it anew, the card's size and
    // outline, the binding table's columns, the pages and their background pictures.
    virtual void showDesign() {}

    // The page-settings inspector with no object selected.
    virtual void Show_RHS_Properties_None() {}
    virtual void selectArrowTool() {}
    virtual void Refresh_Canvas() {}
    // The design was saved, opened or made new: the unsaved-changes marker starts again.
    virtual void designBecameClean() {}
    // While the design is being replaced (held, counted) the title waits; once the last hold ends
    // it shows the new design's name and state, never a half-made design's.
    virtual void holdTitle(bool held) {}
    // Reading or writing a design file, which a big design makes long: the window runs it off its
    // own thread, painting but taking no input meanwhile. By default it runs at once.
    virtual void runLongWork(const std::function<void()> &work) { work(); }
};
