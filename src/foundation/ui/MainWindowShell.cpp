#include "foundation/ui/MainWindowShell.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>

MainWindowShell::MainWindowShell(QWidget *parent, bool withQuitMenu) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Tessaly Greeting Designer"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor::fromRgbF(241 / 255.0, 244 / 255.0, 250 / 255.0, 1.0));
    setPalette(pal);
    // The frame's corner at (100, 0), the window 1000 x 800.
    resize(1000, 800);
    move(100, 0);
    if (!withQuitMenu)
        return;

    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    m_quit = file->addAction(QStringLiteral("&Quit"));
    m_quit->setShortcut(QKeySequence::Quit);
    connect(m_quit, &QAction::triggered, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}
