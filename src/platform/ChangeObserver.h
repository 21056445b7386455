// The receiving side of change observation: what an observer of an Observable gets told.
// Plain C++ (no QObject), because observed card objects are copied to and painted on worker threads.
#pragma once

#include <QFlags>
#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <utility>

class Observable;

// What changed under one key. For a to-many key (an ordered list) the kind says how the list
// changed and `indexes` lists the positions concerned.
struct ObservedChange {
    enum class Kind { Setting, Insertion, Removal, Replacement };
    Kind kind = Kind::Setting;
    QVariant oldValue;    // filled when the observer asked for old values
    QVariant newValue;    // filled when the observer asked for new values (never for a prior call)
    QList<int> indexes;   // positions for insertion, removal and replacement
    bool isPrior = false; // true for the call made before the change (ObservingOption::Prior)
};

enum class ObservingOption {
    New = 0x1,
    Old = 0x2,
    Initial = 0x4, // one call at registration time with the current value as new value
    Prior = 0x8,   // an extra call before each change
};
Q_DECLARE_FLAGS(ObservingOptions, ObservingOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(ObservingOptions)

class ChangeObserver
{
public:
    virtual ~ChangeObserver() = default;
    // Called on the thread that made the change, after it was made (before, for a prior call).
    virtual void observeValueForKeyPath(const QString &keyPath, Observable *object,
                                        const ObservedChange &change, void *context) = 0;
};

// An observer that calls one function on every change it is told of, whatever the key.
class ChangeCallback : public ChangeObserver
{
public:
    explicit ChangeCallback(std::function<void()> changed) : m_changed(std::move(changed)) {}
    void observeValueForKeyPath(const QString &, Observable *, const ObservedChange &, void *) override
    {
        m_changed();
    }

private:
    std::function<void()> m_changed;
};
