// Base of plain objects whose properties can be read and written by key and observed for changes.
// Observers live with one object: a copy (e.g. a snapshot for a worker thread) starts unobserved.
#pragma once

#include "platform/ChangeObserver.h"

#include <QSet>
#include <QStringList>
#include <QVariant>

#include <memory>

class Observable
{
public:
    Observable();
    Observable(const Observable &);            // the copy starts with no observers
    Observable &operator=(const Observable &); // keeps this object's observers
    virtual ~Observable();

    // Key-value access, mapped by subclasses onto their fields. Unknown keys read as an invalid
    // QVariant and refuse to be set.
    virtual QVariant valueForKey(const QString &key) const;
    virtual bool setValueForKey(const QString &key, const QVariant &value);
    // Follows a dotted path through values that hold an Observable pointer.
    QVariant valueForKeyPath(const QString &keyPath) const;

    // Keys whose change also changes `key` (dependent keys): observers of `key` are told
    // whenever one of these changes.
    virtual QStringList keyPathsForValuesAffectingValueForKey(const QString &key) const;

    // Observation. Registration and notification happen on the thread that owns the object
    // (the GUI thread for the document's objects); the registry itself is not locked.
    void addObserver(ChangeObserver *observer, const QString &keyPath,
                     ObservingOptions options = ObservingOption::New | ObservingOption::Old,
                     void *context = nullptr);
    // Removes the most recent registration of (observer, keyPath), with any context.
    void removeObserver(ChangeObserver *observer, const QString &keyPath);
    void removeObserver(ChangeObserver *observer, const QString &keyPath, void *context);
    void removeAllObservers(ChangeObserver *observer);
    bool hasObservers() const;
    int observationCount(const QString &keyPath) const;

    // Announcing changes. Setters call will... before and did... after changing a field;
    // pairs may nest. With nobody observing these cost almost nothing.
    void willChangeValueForKey(const QString &key);
    void didChangeValueForKey(const QString &key);
    void willChange(ObservedChange::Kind kind, const QList<int> &indexes, const QString &key);
    void didChange(ObservedChange::Kind kind, const QList<int> &indexes, const QString &key);

    // Sets a field and announces it; returns whether the value differed.
    template <typename T> bool setAndNotify(const QString &key, T &field, const T &value)
    {
        if (field == value)
            return false;
        willChangeValueForKey(key);
        field = value;
        didChangeValueForKey(key);
        return true;
    }

private:
    struct Registry;
    QStringList affectedObservedKeys(const QString &changedKey) const;

    std::unique_ptr<Registry> m_registry; // created on first observation
};

Q_DECLARE_METATYPE(Observable *)
