// The main window's menu bar: File, Edit, Arrange, View, Tools, Data and Help with the standard
// shortcuts. Items of windows not built yet stay disabled until their registry entry is filled.
#pragma once

#include "foundation/WindowRegistry.h"

#include <QHash>
#include <QKeySequence>
#include <QObject>

class QAction;
class QMenu;
class QMenuBar;
class SKTWindowController;

class MainMenus : public QObject
{
    Q_OBJECT
public:
    explicit MainMenus(SKTWindowController &window);

    // The item by its title path, e.g. "File/Save As..." (tests and scripts).
    QAction *action(const QString &path) const { return m_actions.value(path); }
    QStringList actionPaths() const { return m_actions.keys(); }
    // Items of registry windows follow whether their entry is filled.
    void updateEnabled();
    // Select All and the Arrange items, which act on the objects of the side shown (off in Preview).
    void setObjectCommandsEnabled(bool enabled);

private:
    // One maker per menu, in the bar's order.
    void makeFileMenu(QMenuBar *bar);
    void makeEditMenu(QMenuBar *bar);
    void makeArrangeMenu(QMenuBar *bar);
    void makeViewMenu(QMenuBar *bar);
    void makeToolsMenu(QMenuBar *bar);
    void makeDataMenu(QMenuBar *bar);
    void makeHelpMenu(QMenuBar *bar);
    QAction *add(QMenu *menu, const QString &title, std::function<void()> command,
                 const QKeySequence &shortcut = QKeySequence());
    QAction *addWindow(QMenu *menu, const QString &title, WindowRegistry::Window window,
                       const QString &argument = QString());

    SKTWindowController &m_window;
    QHash<QString, QAction *> m_actions;
    QList<QPair<QAction *, WindowRegistry::Window>> m_windowActions;
    QList<QAction *> m_objectActions;
};
