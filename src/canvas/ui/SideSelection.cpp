#include "canvas/ui/SideSelection.h"

#include "model/SKTDocument.h"

#include <algorithm>

namespace
{
QList<int> normalized(QList<int> indexes)
{
    indexes.removeIf([](int i) { return i < 0; });
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    return indexes;
}
} // namespace

SideSelection::SideSelection() = default;

SideSelection::SideSelection(SKTDocument &document, int side)
{
    bindList(document, side);
}

SideSelection::~SideSelection()
{
    unbindList();
}

void SideSelection::bindList(SKTDocument &document, int side)
{
    unbindList();
    m_document = &document;
    m_side = side;
    document.addObserver(this, SKTDocument::keyForSide(side), ObservingOption::New | ObservingOption::Old);
    const int count = int(document.list(side).size());
    QList<int> kept = m_indexes;
    kept.removeIf([count](int i) { return i >= count; });
    setSelectionIndexes(kept);
}

void SideSelection::unbindList()
{
    if (m_document)
        m_document->removeObserver(this, SKTDocument::keyForSide(m_side));
    m_document = nullptr;
}

void SideSelection::setSelectionIndexes(QList<int> indexes)
{
    indexes = normalized(indexes);
    setAndNotify(SideSelectionIndexesKey, m_indexes, indexes);
}

QVariant SideSelection::valueForKey(const QString &key) const
{
    if (key == SideSelectionIndexesKey)
        return QVariant::fromValue(m_indexes);
    return Observable::valueForKey(key);
}

bool SideSelection::setValueForKey(const QString &key, const QVariant &value)
{
    if (key != SideSelectionIndexesKey)
        return false;
    setSelectionIndexes(value.value<QList<int>>());
    return true;
}

void SideSelection::observeValueForKeyPath(const QString &, Observable *object, const ObservedChange &change,
                                           void *)
{
    if (!m_document || object != m_document || change.isPrior)
        return;
    QList<int> changed = normalized(change.indexes);
    QList<int> next;
    switch (change.kind) {
    case ObservedChange::Kind::Insertion:
        // Each selected object moves down by the number of objects inserted before it. The
        // inserted positions are final positions, so walk them in order.
        for (int s : std::as_const(m_indexes)) {
            int p = s;
            for (int ins : std::as_const(changed)) {
                if (ins <= p)
                    ++p;
                else
                    break;
            }
            next.append(p);
        }
        break;
    case ObservedChange::Kind::Removal:
        for (int s : std::as_const(m_indexes)) {
            if (changed.contains(s))
                continue;
            const auto before = std::count_if(changed.begin(), changed.end(), [s](int r) { return r < s; });
            next.append(s - int(before));
        }
        break;
    case ObservedChange::Kind::Replacement:
        next = m_indexes; // the same places now hold other objects; keep the places
        break;
    case ObservedChange::Kind::Setting:
        break; // a new list: nothing of the old selection can be found in it
    }
    const int count = int(m_document->list(m_side).size());
    next.removeIf([count](int i) { return i >= count; });
    setSelectionIndexes(next);
}
