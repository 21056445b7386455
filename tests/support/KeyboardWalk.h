// What a user sees while moving about a window by keyboard: where each Tab lands, and which labels
// are on screen.
#pragma once

#include <QApplication>
#include <QLabel>
#include <QList>
#include <QTest>
#include <QWidget>

namespace testsupport
{

// Shows the window and gives it the keyboard, as a user's click on it would; true once it has it.
inline bool showWithKeyboard(QWidget &window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// Presses Tab `presses` times from `start` and returns where the keyboard went after each press.
inline QList<QWidget *> tabStopsFrom(QWidget *start, int presses)
{
    start->setFocus();
    QList<QWidget *> visited;
    for (int i = 0; i < presses; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget();
    }
    return visited;
}

// How many labels reading `text` the window shows.
inline int shownLabels(const QWidget &window, const QString &text)
{
    int shown = 0;
    for (const QLabel *label : window.findChildren<QLabel *>())
        shown += label->text() == text && label->isVisibleTo(&window);
    return shown;
}

} // namespace testsupport
