// Saving and opening design files over the live design: the document's front and back lists, both
// page settings and the binding table. Results travel back as values for the window to show.
#pragma once

#include "editor/DesignFileFormat.h"
#include "platform/OpResult.h"

class DesignEditor;
class SKTDocument;

// Saving and opening a design answer in the shape every core operation uses.
using DesignResult = OpResult;

class DesignFile
{
public:
    DesignFile(SKTDocument &document, Card_Property &front, Card_Property &back, ExcelBindingTable &binding,
               DesignEditor *editor = nullptr);

    static inline const QString CorruptMessage = QStringLiteral("File is corrupt and cannot be opened.");
    static inline const QString SavedMessage =
        QStringLiteral("Greeting Card Design Log has been saved successfully.");
    static inline const QString SaveFailedMessage = QStringLiteral("fail");

    // Save (save_as forces a new path). The file is replaced atomically: a failed write leaves the
    // old file. With show_msg the result carries the message to show.
    DesignResult Save_project_file(bool save_as, bool show_msg);
    // Opens a design. Everything is read and checked first; a damaged file changes nothing and
    // gives the corrupt-file message. Mode "L" makes the file the current design file.
    DesignResult Read_and_load_design_Log(const QString &path, const QString &log_or_template);

    // The model's share of a new design: empty sides, no undo, page settings reset, no file.
    void resetToNewDesign();
    // Page settings as a new design has them.
    static void resetPageSettings(Card_Property &front, Card_Property &back);

    // The bytes of a design file: a regular file of a design's size at most.
    static bool readFileBytes(const QString &path, QByteArray *bytes, QString *reason);
    // Writes the items of a design to path atomically.
    static bool writeItems(const QString &path, const plist::Array &items, QString *error);

private:
    void apply(DesignContents &contents, const QString &path, const QString &mode);

    SKTDocument &m_document;
    Card_Property &m_front;
    Card_Property &m_back;
    ExcelBindingTable &m_binding;
    DesignEditor *m_editor;
};
