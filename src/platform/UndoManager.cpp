#include "platform/UndoManager.h"

#include <QDebug>
#include <QTimer>

struct UndoManager::Group {
    struct Item {
        const void *target = nullptr;
        Action action;
        GroupPtr nested; // set for a closed nested group
    };
    QList<Item> items;
    QString actionName;
    int actionTag = -1;

    bool isEmpty() const { return items.isEmpty(); }
    bool removeTarget(const void *target)
    {
        items.removeIf([target](const Item &it) {
            if (it.nested) {
                it.nested->removeTarget(target);
                return it.nested->isEmpty();
            }
            return it.target == target;
        });
        return isEmpty();
    }
};

UndoManager::UndoManager(QObject *parent) : QObject(parent) {}

UndoManager::~UndoManager() = default;

void UndoManager::registerUndo(const void *target, Action action)
{
    if (!action || m_disableCount > 0)
        return;
    ++m_registrations;
    m_mergeKey.clear();
    if (!m_undoing && !m_redoing && !m_redoStack.isEmpty())
        m_redoStack.clear();
    if (m_open.isEmpty()) {
        if (m_groupsByEvent) {
            beginUndoGrouping();
            m_autoGroupOpen = true;
            scheduleAutoClose();
        } else {
            // Outside any group and not grouping by event: the action is a step of its own.
            auto g = std::make_shared<Group>();
            g->items.append({target, std::move(action), nullptr});
            (m_undoing ? m_redoStack : m_undoStack).append(g);
            emit stateChanged();
            return;
        }
    }
    m_open.last()->items.append({target, std::move(action), nullptr});
    emit stateChanged();
}

void UndoManager::scheduleAutoClose()
{
    if (m_autoCloseScheduled)
        return;
    m_autoCloseScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_autoCloseScheduled = false;
        if (!m_autoGroupOpen)
            return;
        if (m_open.size() == 1)
            endUndoGrouping();
        else if (m_open.size() > 1)
            scheduleAutoClose(); // an explicit nested group is still open: try on the next turn
        else
            m_autoGroupOpen = false;
    });
}

void UndoManager::beginUndoGrouping()
{
    m_open.append(std::make_shared<Group>());
    emit checkpoint();
}

void UndoManager::endUndoGrouping()
{
    if (m_open.isEmpty()) {
        qWarning("UndoManager: endUndoGrouping without an open group");
        return;
    }
    closeTopGroup();
    emit checkpoint();
    emit stateChanged();
}

void UndoManager::closeAutomaticGroup()
{
    if (m_autoGroupOpen && m_open.size() == 1)
        endUndoGrouping();
}

void UndoManager::closeTopGroup()
{
    GroupPtr g = m_open.takeLast();
    if (m_open.isEmpty())
        m_autoGroupOpen = false;
    if (g->isEmpty())
        return;
    if (!m_open.isEmpty()) {
        GroupPtr parent = m_open.last();
        if (parent->actionName.isEmpty())
            parent->actionName = g->actionName;
        if (parent->actionTag < 0)
            parent->actionTag = g->actionTag;
        parent->items.append({nullptr, Action(), g});
        return;
    }
    // While undoing, the actions registered make up the redo step, and vice versa.
    (m_undoing ? m_redoStack : m_undoStack).append(g);
}

void UndoManager::disableUndoRegistration()
{
    ++m_disableCount;
}

void UndoManager::enableUndoRegistration()
{
    if (m_disableCount > 0)
        --m_disableCount;
}

bool UndoManager::canUndo() const
{
    if (!m_undoStack.isEmpty())
        return true;
    return m_open.size() == 1 && !m_open.first()->isEmpty();
}

bool UndoManager::canRedo() const
{
    return !m_redoStack.isEmpty();
}

void UndoManager::runGroup(const Group &group)
{
    // Undo runs the group's actions in reverse order of registration.
    for (qsizetype i = group.items.size() - 1; i >= 0; --i) {
        const Group::Item &item = group.items[i];
        if (item.nested)
            runGroup(*item.nested);
        else if (item.action)
            item.action();
    }
}

void UndoManager::undo()
{
    if (m_undoing || m_redoing)
        return;
    if (m_open.size() > 1) {
        qWarning("UndoManager: undo inside a nested group is ignored");
        return;
    }
    if (m_open.size() == 1)
        endUndoGrouping();
    m_mergeKey.clear();
    if (m_undoStack.isEmpty())
        return;
    replay(m_undoStack.takeLast(), m_undoing, m_redoStack);
}

void UndoManager::redo()
{
    if (m_undoing || m_redoing || !m_open.isEmpty() || m_redoStack.isEmpty())
        return;
    m_mergeKey.clear();
    replay(m_redoStack.takeLast(), m_redoing, m_undoStack);
}

void UndoManager::replay(const GroupPtr &group, bool &replaying, QList<GroupPtr> &opposite)
{
    // The actions registered while the group runs make up the opposite step, under the same name.
    replaying = true;
    beginUndoGrouping();
    runGroup(*group);
    const qsizetype before = opposite.size();
    closeTopGroup();
    if (opposite.size() > before) {
        opposite.last()->actionName = group->actionName;
        opposite.last()->actionTag = group->actionTag;
    }
    replaying = false;
    emit replayed();
    emit checkpoint();
    emit stateChanged();
}

void UndoManager::setActionName(const QString &name)
{
    if (!m_open.isEmpty())
        m_open.first()->actionName = name;
    else if (!m_undoStack.isEmpty())
        m_undoStack.last()->actionName = name;
    emit stateChanged();
}

void UndoManager::setActionTag(int tag)
{
    if (!m_open.isEmpty())
        m_open.first()->actionTag = tag;
    else if (!m_undoStack.isEmpty())
        m_undoStack.last()->actionTag = tag;
}

int UndoManager::undoActionTag() const
{
    if (m_open.size() == 1 && !m_open.first()->isEmpty())
        return m_open.first()->actionTag;
    return m_undoStack.isEmpty() ? -1 : m_undoStack.last()->actionTag;
}

int UndoManager::redoActionTag() const
{
    return m_redoStack.isEmpty() ? -1 : m_redoStack.last()->actionTag;
}

QString UndoManager::undoActionName() const
{
    if (m_open.size() == 1 && !m_open.first()->isEmpty())
        return m_open.first()->actionName;
    return m_undoStack.isEmpty() ? QString() : m_undoStack.last()->actionName;
}

QString UndoManager::redoActionName() const
{
    return m_redoStack.isEmpty() ? QString() : m_redoStack.last()->actionName;
}

void UndoManager::setMergeKey(const MergeKey &key)
{
    // Only a step on top of the undo stack can be extended.
    if (m_open.isEmpty() && !m_undoing && !m_redoing && !m_undoStack.isEmpty())
        m_mergeKey = key;
}

void UndoManager::removeAllActions()
{
    m_mergeKey.clear();
    m_undoStack.clear();
    m_redoStack.clear();
    for (const GroupPtr &g : std::as_const(m_open))
        g->items.clear();
    emit stateChanged();
}

void UndoManager::removeAllActionsWithTarget(const void *target)
{
    m_mergeKey.clear();
    auto prune = [target](QList<GroupPtr> &stack) {
        stack.removeIf([target](const GroupPtr &g) { return g->removeTarget(target); });
    };
    prune(m_undoStack);
    prune(m_redoStack);
    for (const GroupPtr &g : std::as_const(m_open))
        g->removeTarget(target);
    emit stateChanged();
}
