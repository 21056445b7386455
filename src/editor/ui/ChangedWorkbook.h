// The question asked when the workbook a design's rows were read from has changed on disk since:
// load its rows again (bound objects follow their headings) or go on with the rows as loaded.
#pragma once

#include <QString>
#include <QStringList>

class SKTWindowController;
class WorkbookFacts;

class ChangedWorkbook
{
public:
    static QStringList answers(); // "Load Again" (the default), "Use Rows as Loaded" (Escape)

    // Asked after a design is opened, and whenever the export, print and mail windows read the
    // design: as they open and as their run starts. Nothing is asked without rows and their file
    // facts or when its bytes are the same; a file gone is asked about as goneQuestion says.
    static void settle(SKTWindowController &window);

    static QString question(const QString &path, const WorkbookFacts &facts);

    // Asked at the same times when the workbook is gone from its path while objects read its
    // columns: the rows as last loaded, or the file chosen where it is now.
    static QStringList goneAnswers(); // "Use Rows as Loaded" (the default, Escape), "Choose File..."
    static QString goneQuestion(const QString &path, const WorkbookFacts &facts);
};
