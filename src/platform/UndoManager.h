// Undo and redo stacks of grouped actions: explicit and nested groups, a group per event-loop
// turn, counted disabling of registration, action names. GUI thread only.
#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class UndoManager : public QObject
{
    Q_OBJECT
public:
    using Action = std::function<void()>;

    explicit UndoManager(QObject *parent = nullptr);
    ~UndoManager() override;

    // Records an action that undoes a change just made. While undoing it goes to the redo stack,
    // while redoing to the undo stack; otherwise it goes to the undo stack and clears redo.
    // `target` only serves removeAllActionsWithTarget. Ignored while registration is disabled.
    // With no group open and grouping by event on, a group is opened that closes on the next
    // turn of the event loop.
    void registerUndo(const void *target, Action action);

    void beginUndoGrouping();
    void endUndoGrouping();
    // Closes the group that registration opened for this turn of the event loop, when it is the
    // only one open: a command that starts a step of its own ends the one before it.
    void closeAutomaticGroup();
    int groupingLevel() const { return int(m_open.size()); }
    bool groupsByEvent() const { return m_groupsByEvent; }
    void setGroupsByEvent(bool on) { m_groupsByEvent = on; }

    // Counted: every disable needs its enable. Extra enables are ignored (the count never goes
    // below zero).
    void disableUndoRegistration();
    void enableUndoRegistration();
    bool isUndoRegistrationEnabled() const { return m_disableCount == 0; }

    // While one lives nothing is registered: for writes that are no step of the history. It ends
    // on every way out of its scope, a throw included. Nests.
    class Unrecorded
    {
    public:
        explicit Unrecorded(UndoManager &undo) : m_undo(undo) { m_undo.disableUndoRegistration(); }
        ~Unrecorded() { m_undo.enableUndoRegistration(); }
        Unrecorded(const Unrecorded &) = delete;
        Unrecorded &operator=(const Unrecorded &) = delete;

    private:
        UndoManager &m_undo;
    };

    bool canUndo() const;
    bool canRedo() const;
    // Undo closes a group still open at the top level first; inside a nested group it does nothing.
    void undo();
    void redo();
    bool isUndoing() const { return m_undoing; }
    bool isRedoing() const { return m_redoing; }

    // Names the open group, or else the group that undo would revert next.
    void setActionName(const QString &name);
    QString undoActionName() const;
    QString redoActionName() const;
    // A number the recorder keeps with the step, set like the name (the document keeps the card
    // side there); -1 when none was set. Undo and redo carry it over to the opposite step.
    void setActionTag(int tag);
    int undoActionTag() const;
    int redoActionTag() const;

    void removeAllActions();
    void removeAllActionsWithTarget(const void *target);

    // An edit that arrives in many small writes (typing, a slider drag) is one step: its recorder
    // marks the step it just recorded with a key naming the control and what it wrote, and a later
    // write under the same key adds nothing, since that step already puts back the state from
    // before the first write. Any other registration, an undo or redo, forgetting actions or
    // endMerge() ends the merge.
    using MergeKey = QList<const void *>;
    void setMergeKey(const MergeKey &key);
    bool continuesMerge(const MergeKey &key) const { return !key.isEmpty() && key == m_mergeKey; }
    void endMerge() { m_mergeKey.clear(); }

    int undoCount() const { return int(m_undoStack.size()); }
    // How many actions were recorded so far: a command that raised it made an undo step, which
    // it may then name.
    quint64 registrationCount() const { return m_registrations; }
    int redoCount() const { return int(m_redoStack.size()); }

signals:
    // A group was opened or closed (also around undo and redo): per-group bookkeeping ends here.
    void checkpoint();
    // The stacks or names changed (menus refresh their titles and enabled state).
    void stateChanged();
    // An undo or redo has run, its step wholly in place (what derives from it may follow).
    void replayed();

private:
    struct Group;
    using GroupPtr = std::shared_ptr<Group>;
    void closeTopGroup();
    void runGroup(const Group &group);
    // Undoes or redoes one step; `replaying` is m_undoing or m_redoing, `opposite` the other stack.
    void replay(const GroupPtr &group, bool &replaying, QList<GroupPtr> &opposite);
    void scheduleAutoClose();

    QList<GroupPtr> m_open;      // open groups, outermost first
    QList<GroupPtr> m_undoStack; // last is next to undo
    QList<GroupPtr> m_redoStack; // last is next to redo
    int m_disableCount = 0;
    bool m_groupsByEvent = true;
    bool m_autoGroupOpen = false; // the outermost open group was opened by registration
    bool m_autoCloseScheduled = false;
    bool m_undoing = false;
    bool m_redoing = false;
    quint64 m_registrations = 0;
    MergeKey m_mergeKey;
};
