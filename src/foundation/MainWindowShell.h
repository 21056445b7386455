// The program's main window frame: title, size and the Quit command. The editor's own window
// controller builds on it.
#pragma once

#include <QMainWindow>

class QAction;

class MainWindowShell : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindowShell(QWidget *parent = nullptr);

    QAction *quitAction() const { return m_quit; }

private:
    QAction *m_quit = nullptr;
};
