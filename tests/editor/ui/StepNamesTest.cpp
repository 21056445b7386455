// The Edit menu names the step Undo and Redo would take back or make again: a new object by its
// tool, a drag or a nudge, a resize, a paste, a delete, an arrangement; undo and redo keep the name.
#include "MainWindowFixture.h"

#include "editor/ui/EditButtons.h"
#include "editor/ui/EditorCommands.h"
#include "editor/ui/MainMenus.h"
#include "platform/UndoManager.h"

#include "canvas/ui/CanvasDriver.h"

#include <QAction>

class StepNames : public MainWindowFixture
{
protected:
    // The titles as the menu shows them (a mnemonic's "&" is not shown).
    QString undoTitle()
    {
        return window->menus().action(QStringLiteral("Edit/Undo"))->text().remove(QLatin1Char('&'));
    }
    QString redoTitle()
    {
        return window->menus().action(QStringLiteral("Edit/Redo"))->text().remove(QLatin1Char('&'));
    }
    void trigger(const char *path)
    {
        QAction *a = window->menus().action(QString::fromLatin1(path));
        ASSERT_NE(a, nullptr) << path;
        a->trigger();
        CanvasDriver::settle();
    }
    CanvasDriver drive() { return CanvasDriver(*canvas(0)); }
};

TEST_F(StepNames, UndoAndRedoNameTheStep)
{
    ASSERT_NE(window->menus().action(QStringLiteral("Edit/Undo")), nullptr);
    EXPECT_EQ(undoTitle(), QStringLiteral("Undo"));

    clickTool(3);
    CanvasDriver::settle();
    EXPECT_EQ(undoTitle(), QStringLiteral("Undo New Rectangle"));
    trigger("Edit/Undo");
    EXPECT_EQ(redoTitle(), QStringLiteral("Redo New Rectangle"));
    trigger("Edit/Redo");
    EXPECT_EQ(undoTitle(), QStringLiteral("Undo New Rectangle"));

    // A drag moves, an arrow key nudges: both are moves.
    const QRectF frame = front()[0]->bounds();
    drive().drag(frame.center(), frame.center() + QPointF(30, 10));
    CanvasDriver::settle();
    EXPECT_EQ(front()[0]->bounds().topLeft(), frame.topLeft() + QPointF(30, 10));
    EXPECT_EQ(undoTitle(), QStringLiteral("Undo Move"));
    canvas(0)->setFocus();
    drive().key(Qt::Key_Right);
    CanvasDriver::settle();
    EXPECT_EQ(undoTitle(), QStringLiteral("Undo Move"));
    trigger("Edit/Undo");
    EXPECT_EQ(redoTitle(), QStringLiteral("Redo Move"));

    // Dragging the bottom-right handle resizes.
    const QRectF moved = front()[0]->bounds();
    drive().drag(moved.bottomRight(), moved.bottomRight() + QPointF(20, 20));
    CanvasDriver::settle();
    ASSERT_NE(front()[0]->bounds().size(), moved.size());
    EXPECT_EQ(undoTitle(), QStringLiteral("Undo Resize"));

    // Copy and Paste; Delete; an arrangement.
    trigger("Edit/Copy");
    trigger("Edit/Paste");
    ASSERT_EQ(front().size(), 2);
    EXPECT_EQ(undoTitle(), QStringLiteral("Undo Paste"));
    trigger("Edit/Select All");
    window->commands().Align_Left_Clicked();
    CanvasDriver::settle();
    EXPECT_EQ(undoTitle(), QStringLiteral("Undo Align Left Edges"));
    trigger("Edit/Delete");
    EXPECT_TRUE(front().isEmpty());
    EXPECT_EQ(undoTitle(), QStringLiteral("Undo Delete"));
    trigger("Edit/Undo");
    EXPECT_EQ(front().size(), 2);
    EXPECT_EQ(redoTitle(), QStringLiteral("Redo Delete"));
    EXPECT_EQ(undoTitle(), QStringLiteral("Undo Align Left Edges"));
}

TEST_F(StepNames, StepsOfTheBackAreNamedAndRedoneByEitherKey)
{
    QAction *undo = window->menus().action(QStringLiteral("Edit/Undo"));
    QAction *redo = window->menus().action(QStringLiteral("Edit/Redo"));
    window->commands().Back_Card_Btn_Clicked();
    clickTool(4);
    ASSERT_EQ(back().size(), 1);
    EXPECT_EQ(undoTitle(), QStringLiteral("Undo New Circle"));
    // Each item keeps its mnemonic under every step name.
    EXPECT_TRUE(undo->text().startsWith(QStringLiteral("&Undo"))) << undo->text().toStdString();
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    CanvasDriver::settle();
    EXPECT_TRUE(back().isEmpty());
    EXPECT_TRUE(redo->text().startsWith(QStringLiteral("&Redo"))) << redo->text().toStdString();
    for (const QKeySequence &keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}) {
        QTest::keySequence(window.get(), keys);
        CanvasDriver::settle();
        EXPECT_EQ(back().size(), 1) << keys.toString().toStdString();
        EXPECT_EQ(undoTitle(), QStringLiteral("Undo New Circle"));
        QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
        CanvasDriver::settle();
    }
}
