#include "editor/ui/MainMenus.h"

#include "canvas/ui/ZoomFactor.h"
#include "editor/ui/CommandRow.h"
#include "editor/ui/EditButtons.h"
#include "editor/ui/EditorCommands.h"
#include "editor/ui/FileCommands.h"
#include "editor/ui/SKTWindowController.h"
#include "editor/ui/SideViews.h"
#include "editor/ui/ToolController.h"
#include "support/WebLinks.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>

MainMenus::MainMenus(SKTWindowController &w) : QObject(&w), m_window(w)
{
    QMenuBar *bar = w.menuBar();
    makeFileMenu(bar);
    makeEditMenu(bar);
    makeArrangeMenu(bar);
    makeViewMenu(bar);
    makeToolsMenu(bar);
    makeDataMenu(bar);
    makeHelpMenu(bar);
    connect(&w.registry(), &WindowRegistry::entryFilled, this, &MainMenus::updateEnabled);
}

// File: the design, its outputs and the way out.
void MainMenus::makeFileMenu(QMenuBar *bar)
{
    SKTWindowController &w = m_window;
    FileCommands *files = &m_window.fileCommands();
    EditorCommands *cmd = &m_window.commands();
    QMenu *file = bar->addMenu(QStringLiteral("&File"));
    add(
        file, QStringLiteral("&New"), [files] { files->New_Btn_Clicked(); }, QKeySequence::New);
    add(
        file, QStringLiteral("&Open..."), [files] { files->Open_Btn_Clicked(); }, QKeySequence::Open);
    add(
        file, QStringLiteral("&Save"), [files] { files->Save_Btn_Clicked(); }, QKeySequence::Save);
    add(
        file, QStringLiteral("Save &As..."), [files] { files->SaveAs_Btn_Clicked(); },
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    file->addSeparator();
    addWindow(file, QStringLiteral("New from &Template..."), WindowRegistry::Window::TemplateBrowser);
    addWindow(file, QStringLiteral("&Export..."), WindowRegistry::Window::Export);
    addWindow(file, QStringLiteral("Export As Temp&late..."), WindowRegistry::Window::ExportTemplate);
    QAction *print = add(
        file, QStringLiteral("&Print..."), [cmd] { cmd->Print_Button(); }, QKeySequence::Print);
    m_windowActions.append({print, WindowRegistry::Window::Print});
    addWindow(file, QStringLiteral("&Mail..."), WindowRegistry::Window::Mail);
    addWindow(file, QStringLiteral("E-ma&il Settings..."), WindowRegistry::Window::MailSettings);
    file->addSeparator();
    add(
        file, QStringLiteral("E&xit"), [&w] { w.Exit_App(); }, QKeySequence(Qt::CTRL | Qt::Key_Q));
}

// Edit: undo, the clipboard, selection and locks, enabled with the edit buttons.
void MainMenus::makeEditMenu(QMenuBar *bar)
{
    SKTWindowController &w = m_window;
    EditorCommands *cmd = &m_window.commands();
    QMenu *edit = bar->addMenu(QStringLiteral("&Edit"));
    QAction *undo = add(
        edit, QStringLiteral("&Undo"), [cmd] { cmd->Undo_Clicked(); }, QKeySequence::Undo);
    QAction *redo = add(edit, QStringLiteral("&Redo"), [cmd] { cmd->Redo_Clicked(); });
    // Ctrl+Shift+Z and Ctrl+Y both redo, whichever the desktop names first.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence &key :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}) {
        if (!redoKeys.contains(key))
            redoKeys.append(key);
    }
    redo->setShortcuts(redoKeys);
    w.editButtons().setUndoRedoActions(undo, redo);
    edit->addSeparator();
    QAction *cut = add(
        edit, QStringLiteral("Cu&t"), [cmd] { cmd->Cut_Clicked(); }, QKeySequence::Cut);
    QAction *copy = add(
        edit, QStringLiteral("&Copy"), [cmd] { cmd->Copy_Clicked(); }, QKeySequence::Copy);
    QAction *paste = add(
        edit, QStringLiteral("&Paste"), [cmd] { cmd->Paste_Clicked(); }, QKeySequence::Paste);
    QAction *del = add(
        edit, QStringLiteral("&Delete"), [cmd] { cmd->Delete_Clicked(); }, QKeySequence(Qt::Key_Delete));
    m_objectActions << add(
        edit, QStringLiteral("Select &All"), [cmd] { cmd->Select_All_Clicked(); }, QKeySequence::SelectAll);
    edit->addSeparator();
    QAction *lock = add(edit, QStringLiteral("&Lock"), [cmd] { cmd->Lock_Clicked(); });
    QAction *unlock = add(edit, QStringLiteral("U&nlock"), [cmd] { cmd->Unlock_Clicked(); });
    // The items are enabled and disabled with the edit buttons.
    EditButtons &b = w.editButtons();
    const std::pair<QAbstractButton *, QAction *> followers[] = {
        {b.Cut_btn, cut},    {b.Copy_btn, copy}, {b.Paste_btn, paste},
        {b.Delete_btn, del}, {b.Lock_btn, lock}, {b.Unlock_btn, unlock}};
    for (const auto &[button, action] : followers)
        EditButtons::followEnabled(button, action);
}

// Arrange: order, alignment and sizes of the selected objects, and the grid.
void MainMenus::makeArrangeMenu(QMenuBar *bar)
{
    EditorCommands *cmd = &m_window.commands();
    QMenu *arrange = bar->addMenu(QStringLiteral("&Arrange"));
    add(arrange, QStringLiteral("Bring to &Front"), [cmd] { cmd->Begin_Front_Clicked(); });
    add(arrange, QStringLiteral("Send to &Back"), [cmd] { cmd->Send_Back_Clicked(); });
    arrange->addSeparator();
    add(arrange, QStringLiteral("Align &Left Edges"), [cmd] { cmd->Align_Left_Clicked(); });
    add(arrange, QStringLiteral("Align &Right Edges"), [cmd] { cmd->Align_Right_Clicked(); });
    add(arrange, QStringLiteral("Align &Top Edges"), [cmd] { cmd->Align_Top_Clicked(); });
    add(arrange, QStringLiteral("Align B&ottom Edges"), [cmd] { cmd->Align_Bottom_Clicked(); });
    add(arrange, QStringLiteral("Align &Centres"), [cmd] { cmd->Align_Center_Clicked(); });
    add(arrange, QStringLiteral("Align &Horizontal Centres"), [cmd] { cmd->Align_Horz_Clicked(); });
    add(arrange, QStringLiteral("Align &Vertical Centres"), [cmd] { cmd->Align_Vert_Clicked(); });
    arrange->addSeparator();
    add(arrange, QStringLiteral("Make Same &Width"), [cmd] { cmd->Make_Same_Width_Clicked(); });
    add(arrange, QStringLiteral("Make Same H&eight"), [cmd] { cmd->Make_Same_Height_Clicked(); });
    add(arrange, QStringLiteral("Make &Natural Size"), [cmd] { cmd->Make_Natural_Clicked(); });
    add(arrange, QStringLiteral("Align to &Grid"), [cmd] { cmd->Align_To_Grid_Clicked(); });
    for (QAction *a : arrange->actions()) {
        if (!a->isSeparator())
            m_objectActions << a;
    }
    arrange->addSeparator();
    add(arrange, QStringLiteral("Grid O&ptions..."), [cmd] { cmd->toggleGridShowing(); });
    QAction *snap = add(arrange, QStringLiteral("&Snap to Grid"), [cmd] { cmd->toggleGridConstraining(); });
    snap->setCheckable(true);
}

// View: the ruler, the side shown and the zoom.
void MainMenus::makeViewMenu(QMenuBar *bar)
{
    SKTWindowController &w = m_window;
    EditorCommands *cmd = &m_window.commands();
    QMenu *view = bar->addMenu(QStringLiteral("&View"));
    QAction *ruler = add(view, QStringLiteral("Show &Ruler"), [&w, cmd] {
        w.commandRow().Show_Ruler_chk->toggle();
        cmd->Show_Hide_Ruler_ChkBox();
    });
    ruler->setCheckable(true);
    connect(w.commandRow().Show_Ruler_chk, &QCheckBox::toggled, ruler, &QAction::setChecked);
    view->addSeparator();
    add(view, QStringLiteral("&Front Side"), [cmd] { cmd->Front_Card_Btn_Clicked(); });
    add(view, QStringLiteral("&Back Side"), [cmd] { cmd->Back_Card_Btn_Clicked(); });
    add(view, QStringLiteral("&Preview"), [cmd] { cmd->Temp_Card_Btn_Clicked(); });
    QMenu *zoom = view->addMenu(QStringLiteral("&Zoom"));
    ZoomFactor *shared = &w.zoomFactor();
    QAction *in = add(
        zoom, QStringLiteral("Zoom &In"), [shared] { shared->zoomIn(); }, QKeySequence::ZoomIn);
    // Ctrl+= is Ctrl++ without Shift on most keyboards.
    in->setShortcuts(
        {QKeySequence::keyBindings(QKeySequence::ZoomIn).value(0), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    add(
        zoom, QStringLiteral("Zoom &Out"), [shared] { shared->zoomOut(); }, QKeySequence::ZoomOut);
    add(
        zoom, QStringLiteral("&Whole Card"), [&w] { w.sideViews().showWholeCard(); },
        QKeySequence(Qt::CTRL | Qt::Key_0));
    zoom->addSeparator();
    const QStringList labels = ZoomFactor::labels();
    for (int row = 0; row < labels.size(); ++row) {
        const double factor = ZoomFactor::factors()[std::size_t(row)];
        add(zoom, labels.at(row), [&w, factor] { w.zoomFactor().setFactor(factor); });
    }
}

void MainMenus::makeToolsMenu(QMenuBar *bar)
{
    SKTWindowController &w = m_window;
    QMenu *tools = bar->addMenu(QStringLiteral("&Tools"));
    const QString toolMnemonics = QStringLiteral("ALTRCOIDPYBSFZWG");
    for (int tool = 0; tool < ToolController::ToolCount; ++tool) {
        // Each tool has its own mnemonic, so scripts and keyboards reach it: Alt+T, then the letter.
        QString title = ToolController::toolTitle(tool);
        const int at = int(title.indexOf(toolMnemonics.at(tool), 0, Qt::CaseInsensitive));
        title = at >= 0 ? title.insert(at, QLatin1Char('&'))
                        : title + QStringLiteral(" (&%1)").arg(toolMnemonics.at(tool));
        QAction *a = add(tools, title, [&w, tool] { w.tools().Select_tool(tool); });
        EditButtons::followEnabled(w.tools().button(tool), a);
        if (tool == 9)
            m_windowActions.append({a, WindowRegistry::Window::ImageLibrary});
    }
}

// Data: the series windows.
void MainMenus::makeDataMenu(QMenuBar *bar)
{
    QMenu *data = bar->addMenu(QStringLiteral("&Data"));
    addWindow(data, QStringLiteral("&Series Manager..."), WindowRegistry::Window::SeriesManager);
    addWindow(data, QStringLiteral("&Generate Series..."), WindowRegistry::Window::SeriesGenerator);
    addWindow(data, QStringLiteral("&Import Series..."), WindowRegistry::Window::ImportWizard);
}

// Help: help, sharing, the web links and the promotions.
void MainMenus::makeHelpMenu(QMenuBar *bar)
{
    QMenu *help = bar->addMenu(QStringLiteral("&Help"));
    addWindow(help, QStringLiteral("&Help and Support..."), WindowRegistry::Window::Help);
    addWindow(help, QStringLiteral("&Share..."), WindowRegistry::Window::Share);
    help->addSeparator();
    const std::pair<const char *, const char *> links[] = {
        {"Visit the &Website", "website1"},   {"Tessaly &Community", "website2"},
        {"&Greeting Ideas", "website3"},      {"E-mail S&upport...", "support"},
        {"&Reseller Enquiry...", "reseller"}, {"Social Co&mments", "comments"}};
    for (const auto &[title, key] : links)
        addWindow(help, QString::fromLatin1(title), WindowRegistry::Window::WebLinks,
                  QString::fromLatin1(key));
    help->addSeparator();
    for (const WebLinks::Product &product : WebLinks::products())
        addWindow(help, product.title + QStringLiteral("..."), WindowRegistry::Window::Promotion,
                  product.code);
}

QAction *MainMenus::add(QMenu *menu, const QString &title, std::function<void()> command,
                        const QKeySequence &shortcut)
{
    QAction *a = menu->addAction(title);
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    // Commands may run modal windows or end the program: never inside the menu's own event.
    connect(a, &QAction::triggered, this, [command = std::move(command)] { command(); });
    QString path = menu->title() + QLatin1Char('/') + title;
    path.remove(QLatin1Char('&'));
    m_actions.insert(path, a);
    return a;
}

QAction *MainMenus::addWindow(QMenu *menu, const QString &title, WindowRegistry::Window window,
                              const QString &argument)
{
    SKTWindowController *w = &m_window;
    QAction *a = add(menu, title, [w, window, argument] { w->registry().open(window, argument); });
    m_windowActions.append({a, window});
    return a;
}

void MainMenus::setObjectCommandsEnabled(bool enabled)
{
    for (QAction *a : std::as_const(m_objectActions))
        a->setEnabled(enabled);
}

void MainMenus::updateEnabled()
{
    for (const auto &[action, window] : m_windowActions)
        action->setEnabled(m_window.registry().isFilled(window));
}
