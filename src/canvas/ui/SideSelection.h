// The selection of one card side: sorted positions in the side's list, observable under the key
// "selectionIndexes". It follows insertions and removals, so the same objects stay selected.
#pragma once

#include "platform/ChangeObserver.h"
#include "platform/Observable.h"

#include <QList>

class SKTDocument;

inline const QString SideSelectionIndexesKey = QStringLiteral("selectionIndexes");

class SideSelection : public Observable, public ChangeObserver
{
public:
    SideSelection();
    // Follows the list of `side` in the document, which must outlive the selection or be unbound.
    SideSelection(SKTDocument &document, int side);
    ~SideSelection() override;
    SideSelection(const SideSelection &) = delete;
    SideSelection &operator=(const SideSelection &) = delete;

    void bindList(SKTDocument &document, int side);
    void unbindList();

    QList<int> selectionIndexes() const { return m_indexes; }
    // Sorts, drops duplicates and negative positions; an equal set sends no notice.
    void setSelectionIndexes(QList<int> indexes);
    bool contains(int index) const { return m_indexes.contains(index); }
    bool isEmpty() const { return m_indexes.isEmpty(); }
    int count() const { return int(m_indexes.size()); }

    QVariant valueForKey(const QString &key) const override;
    bool setValueForKey(const QString &key, const QVariant &value) override;
    void observeValueForKeyPath(const QString &keyPath, Observable *object, const ObservedChange &change,
                                void *context) override;

private:
    QList<int> m_indexes;
    SKTDocument *m_document = nullptr;
    int m_side = 0;
};
