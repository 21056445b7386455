// New, Open, Save and Save As of the main window, the start of a new project, a design opened from
// the command line, and the exit sequence with its question and save.
#pragma once

#include "editor/DesignFile.h"

#include <QObject>
#include <QString>

class SKTWindowController;

class FileCommands : public QObject
{
    Q_OBJECT
public:
    explicit FileCommands(SKTWindowController &window);

    void New_Btn_Clicked();
    void Open_Btn_Clicked();
    void Save_Btn_Clicked() { Save_project_file(false, true); }
    void SaveAs_Btn_Clicked() { Save_project_file(true, true); }
    void New_Project();
    // 1 when a design file was chosen and loaded, else 0.
    int Open_Log_File();
    // Opens the design at start-up as Open does, without the start window unless it fails.
    void openAtStart(const QString &path);
    // Saves and shows the result when show_msg is set.
    DesignResult Save_project_file(bool save_as, bool show_msg);
    void exitSequence();
    // Before the design is replaced or the program ends: nothing unsaved, or the user saved it or
    // chose Don't Save. False for Cancel (Escape, the box closed), a cancelled save panel or a
    // failed save: then everything stays as it was.
    bool settleUnsavedChanges(const QString &question);
    static QString changedOnDiskQuestion(const QString &path);

    static inline const QString SaveBeforeNewQuestion =
        QStringLiteral("Do you want to save changes before opening new document?");
    static inline const QString SaveBeforeOpenQuestion =
        QStringLiteral("Do you want to save changes before opening document?");
    static inline const QString SaveBeforeCloseQuestion =
        QStringLiteral("Do you want to save changes before closing?");

private:
    // Loads a design file in mode "L"; a refusal shows its message. 1 when loaded.
    int load(const QString &path);
    SKTWindowController &m_window;
};
