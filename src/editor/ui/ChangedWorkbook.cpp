#include "editor/ui/ChangedWorkbook.h"

#include "data/ExcelBindingTable.h"
#include "data/WorkbookReload.h"
#include "editor/ui/SKTWindowController.h"
#include "foundation/CardCodes.h"
#include "foundation/MessageBoxes.h"
#include "foundation/ui/FilePanels.h"
#include "foundation/ui/PleaseWaitSheet.h"
#include "foundation/ui/PleaseWait_Modeless.h"
#include "model/SKTDocument.h"
#include "panels/ui/Inspector.h"
#include "platform/MessageService.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>

namespace
{
// From this size a workbook is hashed under the please-wait sheet rather than on the window's turn.
constexpr qint64 QuickHashBytes = qint64(4) << 20;

QString fileNameOf(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? QStringLiteral("The workbook") : name;
}

QString quotedList(const QStringList &headings)
{
    QStringList quoted;
    for (const QString &h : headings)
        quoted << QStringLiteral("\"%1\"").arg(h);
    return quoted.join(QStringLiteral(", "));
}

// The headings the design's objects read, on either side: a column gone at an earlier load is
// looked for again by them.
QStringList boundHeadings(SKTWindowController &window)
{
    QStringList headings;
    for (const int side : {SKTDocument::Front, SKTDocument::Back})
        for (const GraphicPtr &g : window.document().list(side))
            if (g->data_source_type == DataSourceCode::BindingColumn && g->excel_col_title)
                headings << *g->excel_col_title;
    return headings;
}

// The rows read again take the place of the rows as loaded, one step that Undo names; bound objects
// follow their headings, and the inspector shows the selected object's source as it now stands.
// What was learnt before they were read is the design's first, outside the step.
void takeRows(SKTWindowController &window, DesignSettings &settings, const QString &name, const QString &path,
              const WorkbookReload::Result &read)
{
    SKTDocument &document = window.document();
    document.putSettingsUnrecorded(settings);
    document.takeWorkbookRows(name, path, read.table);
    settings = document.design().settings();
    const ExcelBindingTable &table = settings.binding;
    window.Refresh_Canvas();
    window.inspector().showLiveSelection(true);
    if (!read.goneHeadings.isEmpty())
        Show_MessageBox(
            QStringLiteral("%1 no longer has the column%2 %3: what is bound to %4 stays empty until "
                           "a workbook with %4 is loaded.")
                .arg(fileNameOf(table.Excel_Source_Path),
                     read.goneHeadings.size() == 1 ? QString() : QStringLiteral("s"),
                     quotedList(read.goneHeadings),
                     read.goneHeadings.size() == 1 ? QStringLiteral("it") : QStringLiteral("them")));
    // As on every loading of a workbook, cells that will give no true value are named.
    if (!read.uncomputedNote.isEmpty())
        Show_MessageBox(read.uncomputedNote);
}
bool bindsColumn(SKTWindowController &window)
{
    for (const int side : {SKTDocument::Front, SKTDocument::Back})
        for (const GraphicPtr &g : window.document().list(side))
            if (g->data_source_type == DataSourceCode::BindingColumn)
                return true;
    return false;
}

// The workbook chosen where it is now gives the rows, read by the sheet and headings they were read
// with; anything amiss keeps the rows as loaded and says why.
bool loadChosen(SKTWindowController &window, DesignSettings &settings, const QString &chosen)
{
    ExcelBindingTable &table = settings.binding;
    ExcelBindingTable moved = table;
    moved.Excel_Source_Path = chosen;
    const WorkbookReload::Result read = runWithPleaseWait(
        &window, [moved, bound = boundHeadings(window)] { return WorkbookReload::reload(moved, bound); });
    if (!read.ok) {
        Show_MessageBox(QStringLiteral("%1 could not be loaded.\n%2\n\nThe rows as loaded are used.")
                            .arg(fileNameOf(chosen), read.reason));
        return false;
    }
    takeRows(window, settings, QStringLiteral("Choose Workbook"), chosen, read);
    return true;
}

// The workbook is gone from its path: the rows as loaded, or the file where it is now.
void settleGone(SKTWindowController &window, DesignSettings &settings)
{
    ExcelBindingTable &table = settings.binding;
    WorkbookFacts &facts = table.sourceFacts;
    if (facts.goneSettled)
        return;
    const QString path = table.Excel_Source_Path;
    const int answer = MessageService::deliverChoice(ChangedWorkbook::goneQuestion(path, facts),
                                                     ChangedWorkbook::goneAnswers(), 0, 0)
                           .value_or(0);
    if (answer == 1) {
        const std::optional<QString> chosen = FilePanels::instance().openFile(
            &window, QStringLiteral("Choose the Workbook"), {QStringLiteral("xlsx"), QStringLiteral("XLSX")},
            FilePanels::startFolder(path));
        if (chosen && loadChosen(window, settings, *chosen))
            return;
    }
    facts.goneSettled = true;
}
} // namespace

QStringList ChangedWorkbook::goneAnswers()
{
    return {QStringLiteral("&Use Rows as Loaded"), QStringLiteral("&Choose File...")};
}

QString ChangedWorkbook::goneQuestion(const QString &path, const WorkbookFacts &facts)
{
    QString when = facts.loadedText();
    if (!when.isEmpty())
        when.prepend(QLatin1Char(' '));
    return QStringLiteral("%1 is no longer at %2.\n\nDo you want to go on with its rows as last loaded%3, "
                          "or choose the workbook where it is now?")
        .arg(fileNameOf(path), QDir::toNativeSeparators(path), when);
}

QStringList ChangedWorkbook::answers()
{
    return {QStringLiteral("&Load Again"), QStringLiteral("&Use Rows as Loaded")};
}

QString ChangedWorkbook::question(const QString &path, const WorkbookFacts &facts)
{
    QString when = facts.loadedText();
    if (!when.isEmpty())
        when.prepend(QLatin1Char(' '));
    return QStringLiteral("%1 has changed since its rows were loaded%2.\n\nDo you want to load its rows "
                          "again (bound objects follow their column headings), or go on with the rows "
                          "as loaded?")
        .arg(fileNameOf(path), when);
}

void ChangedWorkbook::settle(SKTWindowController &window)
{
    SKTDocument &document = window.document();
    DesignSettings settings = document.design().settings();
    ExcelBindingTable &table = settings.binding;
    // What is learnt of the file is the design's, however the question ends (no step to undo).
    const auto keep = qScopeGuard([&document, &settings] { document.putSettingsUnrecorded(settings); });
    const QString path = table.Excel_Source_Path;
    WorkbookFacts &facts = table.sourceFacts;
    if (table.rowCount() == 0 || path.isEmpty())
        return;
    if (!WorkbookFacts::stampOf(path).exists()) {
        if (bindsColumn(window))
            settleGone(window, settings);
        return;
    }
    facts.goneSettled = false; // back: asked again should it go again
    if (!facts.isKnown())
        return;
    const auto check = [&facts, path] { return facts.check(path); };
    // Taken before the bytes are read: a change while they are read gives another stamp, asked again.
    const WorkbookFacts::Stamp seen = WorkbookFacts::stampOf(path);
    const WorkbookFacts::Change change =
        facts.needsHashing(path) && facts.size > QuickHashBytes ? runWithPleaseWait(&window, check) : check();
    if (change == WorkbookFacts::Change::Same)
        facts.settled = seen; // the same bytes under a new time are not read again
    if (change != WorkbookFacts::Change::Changed)
        return;
    const int answer = MessageService::deliverChoice(question(path, facts), answers(), 0, 1).value_or(1);
    if (answer != 0) {
        facts.settle(path);
        return;
    }
    const WorkbookReload::Result read =
        runWithPleaseWait(&window, [loaded = table, bound = boundHeadings(window)] {
            return WorkbookReload::reload(loaded, bound);
        });
    if (!read.ok) {
        // Asked again only once the file changes again.
        facts.settle(path);
        Show_MessageBox(QStringLiteral("%1 could not be loaded again.\n%2\n\nThe rows as loaded are used.")
                            .arg(fileNameOf(path), read.reason));
        return;
    }
    takeRows(window, settings, QStringLiteral("Load Again"), path, read);
}
