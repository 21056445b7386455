// Undo manager: groups, nesting, grouping by event-loop turn, counted disabling, names, redo.
#include "platform/UndoManager.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

namespace
{
// A value whose setter registers its own undo, as document objects do.
struct UndoableValue {
    UndoManager &um;
    int v = 0;
    void set(int nv)
    {
        const int old = v;
        um.registerUndo(this, [this, old] { set(old); });
        v = nv;
    }
};

void nextTurn()
{
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
}
} // namespace

TEST(UndoManager, ExplicitGroupUndoesInReverseAndRedoes)
{
    UndoManager um;
    um.setGroupsByEvent(false);
    UndoableValue a{um};
    QStringList order;
    um.beginUndoGrouping();
    a.set(1);
    a.set(2);
    um.registerUndo(nullptr, [&] { order << "last"; });
    um.setActionName(QStringLiteral("Change Value"));
    um.endUndoGrouping();
    EXPECT_TRUE(um.canUndo());
    EXPECT_FALSE(um.canRedo());
    EXPECT_EQ(um.undoActionName(), QStringLiteral("Change Value"));

    um.undo();
    EXPECT_EQ(a.v, 0);
    EXPECT_EQ(order, QStringList{"last"});
    EXPECT_FALSE(um.canUndo());
    ASSERT_TRUE(um.canRedo());
    EXPECT_EQ(um.redoActionName(), QStringLiteral("Change Value"));

    um.redo();
    EXPECT_EQ(a.v, 2);
    EXPECT_TRUE(um.canUndo());
    EXPECT_FALSE(um.canRedo());
    EXPECT_EQ(um.undoActionName(), QStringLiteral("Change Value"));
    um.undo();
    EXPECT_EQ(a.v, 0);
}

TEST(UndoManager, NestedGroupsAreOneStep)
{
    UndoManager um;
    um.setGroupsByEvent(false);
    UndoableValue a{um};
    um.beginUndoGrouping();
    a.set(1);
    um.beginUndoGrouping();
    EXPECT_EQ(um.groupingLevel(), 2);
    a.set(2);
    um.undo(); // inside a nested group: ignored
    EXPECT_EQ(a.v, 2);
    EXPECT_EQ(um.groupingLevel(), 2);
    um.endUndoGrouping();
    um.endUndoGrouping();
    EXPECT_EQ(um.undoCount(), 1);
    um.undo();
    EXPECT_EQ(a.v, 0);
    // Empty groups leave no step.
    um.beginUndoGrouping();
    um.endUndoGrouping();
    EXPECT_EQ(um.undoCount(), 0);
}

TEST(UndoManager, GroupsByEventLoopTurn)
{
    UndoManager um;
    UndoableValue a{um};
    int checkpoints = 0;
    QObject::connect(&um, &UndoManager::checkpoint, [&] { ++checkpoints; });
    a.set(1);
    a.set(2);
    EXPECT_EQ(um.groupingLevel(), 1);
    EXPECT_TRUE(um.canUndo());
    nextTurn();
    EXPECT_EQ(um.groupingLevel(), 0);
    EXPECT_GE(checkpoints, 2);
    a.set(3);
    nextTurn();
    EXPECT_EQ(um.undoCount(), 2);
    um.undo();
    EXPECT_EQ(a.v, 2);
    um.undo();
    EXPECT_EQ(a.v, 0);

    // Undo in the same turn closes the open group first.
    a.set(5);
    um.undo();
    EXPECT_EQ(a.v, 0);
    nextTurn();
    EXPECT_EQ(um.groupingLevel(), 0);
    EXPECT_TRUE(um.canRedo());
}

TEST(UndoManager, DisablingIsCountedAndNeverNegative)
{
    UndoManager um;
    um.setGroupsByEvent(false);
    UndoableValue a{um};
    um.enableUndoRegistration(); // extra enable: ignored
    EXPECT_TRUE(um.isUndoRegistrationEnabled());
    um.disableUndoRegistration();
    um.disableUndoRegistration();
    um.enableUndoRegistration();
    EXPECT_FALSE(um.isUndoRegistrationEnabled());
    um.beginUndoGrouping();
    a.set(1);
    um.endUndoGrouping();
    EXPECT_FALSE(um.canUndo());
    um.enableUndoRegistration();
    EXPECT_TRUE(um.isUndoRegistrationEnabled());
    um.disableUndoRegistration(); // a single disable after the extra enable still disables
    EXPECT_FALSE(um.isUndoRegistrationEnabled());
}

TEST(UndoManager, NewChangeClearsRedoAndClearingRemovesAll)
{
    UndoManager um;
    um.setGroupsByEvent(false);
    UndoableValue a{um}, b{um};
    for (int i = 1; i <= 2; ++i) {
        um.beginUndoGrouping();
        a.set(i);
        b.set(i * 10);
        um.endUndoGrouping();
    }
    um.undo();
    EXPECT_TRUE(um.canRedo());
    um.beginUndoGrouping();
    a.set(7);
    um.endUndoGrouping();
    EXPECT_FALSE(um.canRedo());

    um.removeAllActionsWithTarget(&a);
    EXPECT_EQ(um.undoCount(), 1); // the group holding only a's action is gone
    um.undo();
    EXPECT_EQ(b.v, 0);
    EXPECT_EQ(a.v, 7);
    um.removeAllActions();
    EXPECT_FALSE(um.canUndo());
    EXPECT_FALSE(um.canRedo());
}

TEST(UndoManager, MergeKeyLastsUntilAnythingElseHappens)
{
    UndoManager um;
    um.setGroupsByEvent(false);
    UndoableValue a{um};
    const UndoManager::MergeKey key{&a};
    const auto stepWithKey = [&] {
        a.set(a.v + 1);
        um.setMergeKey(key);
    };
    stepWithKey();
    EXPECT_TRUE(um.continuesMerge(key));
    EXPECT_FALSE(um.continuesMerge({&um}));
    EXPECT_FALSE(um.continuesMerge({}));

    const std::function<void()> enders[] = {[&] { a.set(5); }, [&] { um.undo(); }, [&] { um.endMerge(); },
                                            [&] { um.removeAllActions(); },
                                            [&] { um.removeAllActionsWithTarget(&um); }};
    for (const auto &end : enders) {
        stepWithKey();
        end();
        EXPECT_FALSE(um.continuesMerge(key));
    }
    // Only a step on top of the stack takes a key: not while a group is open.
    um.beginUndoGrouping();
    a.set(9);
    um.setMergeKey(key);
    EXPECT_FALSE(um.continuesMerge(key));
    um.endUndoGrouping();
}

TEST(UndoManager, ClosingTheAutomaticGroupLeavesExplicitOnesOpen)
{
    UndoManager um;
    UndoableValue a{um};
    a.set(1); // opens the group of this turn
    um.closeAutomaticGroup();
    a.set(2);
    um.closeAutomaticGroup();
    EXPECT_EQ(um.undoCount(), 2);
    um.beginUndoGrouping();
    a.set(3);
    um.closeAutomaticGroup();
    EXPECT_EQ(um.groupingLevel(), 1);
    um.endUndoGrouping();
    EXPECT_EQ(um.undoCount(), 3);
}
