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
    }

    // Path of the current design file; empty while the design is unsaved. GUI thread only.
    QString Project_File_Name;

    // How the start window left: "T" template, "W" wizard, "L" a design file opened; "" cancelled.
    QString Start_Card_Option;

    // File name extension of design files.
    static QString design_file_EXT() { return QStringLiteral("dcard"); }

private:
    EditorState() = default;
};

extern QString &Project_File_Name;
extern QString &Start_Card_Option;
