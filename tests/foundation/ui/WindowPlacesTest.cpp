// Every dialog opens where the last window of its kind stood when it closed, however it is shown:
// a window added tomorrow, run by its own exec() or show() rather than the program's modal
// runner, gets the rule as well, and a user's move is kept.
#include "foundation/ui/WindowLook.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

namespace
{
// Windows no code of the program knows of.
class NewWindow : public QDialog
{
public:
    using QDialog::QDialog;
};
class OtherNewWindow : public QDialog
{
public:
    using QDialog::QDialog;
};
// A main window: no name, and a title that follows the design.
class Owner : public QWidget
{
};

// The place a dialog of this size opens at, beside its parent's top-left corner; the user then
// drags it by `drag` through the window system (not by the program's move) before it closes.
QPoint opensAt(QDialog &dialog, QSize size, QPoint drag = {}, bool modal = true)
{
    dialog.resize(size);
    QPoint at;
    const auto look = [&] {
        at = dialog.geometry().topLeft() - dialog.parentWidget()->geometry().topLeft();
        if (!drag.isNull()) {
            dialog.windowHandle()->setPosition(dialog.windowHandle()->position() + drag);
            (void)QTest::qWaitFor(
                [&] {
                    return dialog.geometry().topLeft() - dialog.parentWidget()->geometry().topLeft() ==
                           at + drag;
                },
                1000);
        }
        dialog.reject();
    };
    if (modal) {
        QTimer::singleShot(0, look);
        dialog.exec();
    } else {
        dialog.show();
        QCoreApplication::processEvents();
        look();
    }
    return at;
}
} // namespace

TEST(WindowPlaces, EveryDialogOpensWhereItsKindLastClosed)
{
    Owner parent;
    parent.setWindowTitle(QStringLiteral("Untitled"));
    parent.setGeometry(120, 90, 900, 700);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));

    NewWindow kept(&parent);
    const QPoint first = opensAt(kept, QSize(300, 200));
    // Larger now, which Qt would centre elsewhere; shown without exec; and a fresh window of the
    // same kind: each opens where the first did.
    EXPECT_EQ(opensAt(kept, QSize(500, 420)), first);
    EXPECT_EQ(opensAt(kept, QSize(260, 180), {}, false), first);
    {
        NewWindow fresh(&parent);
        EXPECT_EQ(opensAt(fresh, QSize(400, 300), QPoint(30, -20)), first);
    }
    parent.setWindowTitle(QStringLiteral("Untitled*"));
    EXPECT_EQ(opensAt(kept, QSize(300, 200)), first + QPoint(30, -20)); // where its user left it

    // Another kind keeps its own place, and so does the same kind over another window.
    OtherNewWindow other(&parent);
    const QPoint otherFirst = opensAt(other, QSize(500, 420), QPoint(-40, 25));
    EXPECT_EQ(opensAt(other, QSize(500, 420)), otherFirst + QPoint(-40, 25));
    EXPECT_EQ(opensAt(kept, QSize(300, 200)), first + QPoint(30, -20));
    QWidget elsewhere;
    elsewhere.setObjectName(QStringLiteral("elsewhere"));
    elsewhere.setGeometry(300, 200, 400, 300);
    elsewhere.show();
    NewWindow overElsewhere(&elsewhere);
    EXPECT_EQ(opensAt(overElsewhere, QSize(200, 100)), QPoint(100, 100)); // centred, as at a first opening
}
