// A question shown in a real message box and answered as a stray Return answers it: the test
// learns which button was the default and what the box said.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace testsupport
{
// Once the event loop runs, waits for the next modal message box, notes its default button (and,
// where asked, its text and number of buttons) and presses Return on it.
inline void pressReturnOnNextBox(QString &defaultAnswer, QString *text = nullptr,
                                 qsizetype *buttons = nullptr)
{
    QTimer::singleShot(0, [&defaultAnswer, text, buttons] {
        QMessageBox *box = nullptr;
        (void)QTest::qWaitFor(
            [&] { return (box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())); });
        if (!box)
            return;
        defaultAnswer = box->defaultButton() ? box->defaultButton()->text() : QString();
        if (text)
            *text = box->text();
        if (buttons)
            *buttons = box->buttons().size();
        QTest::keyClick(box, Qt::Key_Return);
    });
}
} // namespace testsupport
