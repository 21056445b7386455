// The program's main window frame: title, size and the Quit command. The editor's own window
// controller builds on it.
#pragma once

#include <QMainWindow>

class QAction;

class MainWindowShell : public QMainWindow
{
    Q_OBJECT
public:
    // withQuitMenu false leaves the menu bar to the window built on the shell.
    explicit MainWindowShell(QWidget *parent = nullptr, bool withQuitMenu = true);

    QAction *quitAction() const { return m_quit; }

private:
    QAction *m_quit = nullptr;
};
