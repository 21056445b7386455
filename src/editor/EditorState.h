// Process-wide values of the editor that core code reads and writes, kept in one object so tests
// can reset them.
#pragma once

#include "foundation/CardCodes.h"

#include <QString>

class EditorState
{
public:
    static EditorState &instance();
    void reset()
    {
        Project_File_Name.clear();
        Start_Card_Option.clear();
        export_card_side = SideCode::Front;
        export_combined_image = false;
        lib_window_sel_file.clear();
        Template_Msg_Val.clear();
        Invite_Title.clear();
        Invite_Message.clear();
        Invite_From.clear();
        Invite_To.clear();
        Invite_Venue.clear();
        Invite_Date.clear();
        Invite_Time.clear();
        Invite_BG_IMG.clear();
    }

    // Path of the current design file; empty while the design is unsaved. GUI thread only.
    QString Project_File_Name;

    // How the start window left: "T" template, "W" wizard, "L" a design file opened; "" cancelled.
    QString Start_Card_Option;
    // Side the export writes ("BOTH", "F", "B") and whether both sides go into one picture; the
    // export sheet and the template export share them, and they stay as last set.
    QString export_card_side = SideCode::Front;
    bool export_combined_image = false;
    // The picture the image library returned last (its result 1 means this is set).
    QString lib_window_sel_file;
    // The greeting title or message the greeting text picker returned last (its result 1).
    QString Template_Msg_Val;

    // What the start wizard leaves for the invitation layout, each trimmed.
    QString Invite_Title, Invite_Message, Invite_From, Invite_To, Invite_Venue, Invite_Date, Invite_Time;
    QString Invite_BG_IMG; // full path of the chosen background picture

    // File name extension of design files.
    static QString design_file_EXT() { return QStringLiteral("dcard"); }

private:
    EditorState() = default;
};

extern QString &Project_File_Name;
extern QString &Start_Card_Option;
extern QString &export_card_side;
