// Base of plain objects whose properties can be read and written by key and observed for changes.
// Keeps per-object registrations and the stack of changes announced but not yet finished.
#include "platform/Observable.h"

namespace
{
struct Registration {
    ChangeObserver *observer = nullptr;
    QString keyPath;
    ObservingOptions options;
    void *context = nullptr;
};

struct PendingChange {
    QString key; // the key announced by will...
    ObservedChange::Kind kind = ObservedChange::Kind::Setting;
    QList<int> indexes;
    QStringList affected;      // observed keys touched by this change (key + dependents)
    QList<QVariant> oldValues; // one per affected key
};

// Removes the most recent registration that matches.
template <typename Match> void removeLatest(QList<Registration> &regs, Match match)
{
    for (qsizetype i = regs.size() - 1; i >= 0; --i) {
        if (match(regs[i])) {
            regs.removeAt(i);
            return;
        }
    }
}
} // namespace

struct Observable::Registry {
    QList<Registration> registrations;
    QList<PendingChange> pending;
};

Observable::Observable() = default;

Observable::Observable(const Observable &) {}

Observable &Observable::operator=(const Observable &)
{
    return *this;
}

Observable::~Observable() = default;

QVariant Observable::valueForKey(const QString &) const
{
    return {};
}

bool Observable::setValueForKey(const QString &, const QVariant &)
{
    return false;
}

QVariant Observable::valueForKeyPath(const QString &keyPath) const
{
    const QStringList parts = keyPath.split(QLatin1Char('.'));
    const Observable *object = this;
    QVariant value;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (!object)
            return {};
        value = object->valueForKey(parts[i]);
        if (i + 1 < parts.size())
            object = value.canConvert<Observable *>() ? value.value<Observable *>() : nullptr;
    }
    return value;
}

QStringList Observable::keyPathsForValuesAffectingValueForKey(const QString &) const
{
    return {};
}

void Observable::addObserver(ChangeObserver *observer, const QString &keyPath, ObservingOptions options,
                             void *context)
{
    if (!observer || keyPath.isEmpty())
        return;
    if (!m_registry)
        m_registry = std::make_unique<Registry>();
    m_registry->registrations.append({observer, keyPath, options, context});
    if (options.testFlag(ObservingOption::Initial)) {
        ObservedChange change;
        if (options.testFlag(ObservingOption::New))
            change.newValue = valueForKeyPath(keyPath);
        observer->observeValueForKeyPath(keyPath, this, change, context);
    }
}

void Observable::removeObserver(ChangeObserver *observer, const QString &keyPath)
{
    if (m_registry)
        removeLatest(m_registry->registrations,
                     [&](const Registration &r) { return r.observer == observer && r.keyPath == keyPath; });
}

void Observable::removeObserver(ChangeObserver *observer, const QString &keyPath, void *context)
{
    if (m_registry)
        removeLatest(m_registry->registrations, [&](const Registration &r) {
            return r.observer == observer && r.keyPath == keyPath && r.context == context;
        });
}

void Observable::removeAllObservers(ChangeObserver *observer)
{
    if (!m_registry)
        return;
    m_registry->registrations.removeIf([observer](const Registration &r) { return r.observer == observer; });
}

bool Observable::hasObservers() const
{
    return m_registry && !m_registry->registrations.isEmpty();
}

int Observable::observationCount(const QString &keyPath) const
{
    if (!m_registry)
        return 0;
    int n = 0;
    for (const Registration &r : m_registry->registrations)
        n += r.keyPath == keyPath ? 1 : 0;
    return n;
}

QStringList Observable::affectedObservedKeys(const QString &changedKey) const
{
    QStringList keys;
    for (const Registration &r : m_registry->registrations) {
        if (keys.contains(r.keyPath))
            continue;
        if (r.keyPath == changedKey || r.keyPath.startsWith(changedKey + QLatin1Char('.')) ||
            keyPathsForValuesAffectingValueForKey(r.keyPath).contains(changedKey))
            keys.append(r.keyPath);
    }
    return keys;
}

void Observable::willChangeValueForKey(const QString &key)
{
    willChange(ObservedChange::Kind::Setting, {}, key);
}

void Observable::didChangeValueForKey(const QString &key)
{
    didChange(ObservedChange::Kind::Setting, {}, key);
}

void Observable::willChange(ObservedChange::Kind kind, const QList<int> &indexes, const QString &key)
{
    if (!hasObservers())
        return;
    PendingChange p;
    p.key = key;
    p.kind = kind;
    p.indexes = indexes;
    p.affected = affectedObservedKeys(key);
    for (const QString &k : std::as_const(p.affected))
        p.oldValues.append(valueForKeyPath(k));
    m_registry->pending.append(p);

    // Prior calls go out after the old values are taken, to a copy of the list, so observers
    // may register or unregister while being told.
    const QList<Registration> regs = m_registry->registrations;
    for (const Registration &r : regs) {
        if (!r.options.testFlag(ObservingOption::Prior))
            continue;
        const qsizetype i = p.affected.indexOf(r.keyPath);
        if (i < 0)
            continue;
        ObservedChange change;
        change.kind = r.keyPath == key ? kind : ObservedChange::Kind::Setting;
        change.indexes = r.keyPath == key ? indexes : QList<int>();
        change.isPrior = true;
        if (r.options.testFlag(ObservingOption::Old))
            change.oldValue = p.oldValues[i];
        r.observer->observeValueForKeyPath(r.keyPath, this, change, r.context);
    }
}

void Observable::didChange(ObservedChange::Kind, const QList<int> &, const QString &key)
{
    if (!m_registry)
        return;
    auto &pending = m_registry->pending;
    qsizetype at = -1;
    for (qsizetype i = pending.size() - 1; i >= 0; --i) {
        if (pending[i].key == key) {
            at = i;
            break;
        }
    }
    if (at < 0)
        return; // the will... came before anybody observed
    const PendingChange p = pending.takeAt(at);

    const QList<Registration> regs = m_registry->registrations;
    for (const Registration &r : regs) {
        const qsizetype i = p.affected.indexOf(r.keyPath);
        if (i < 0)
            continue;
        // An observer removed by an earlier observer in this round is not told.
        bool stillThere = false;
        for (const Registration &cur : std::as_const(m_registry->registrations))
            stillThere = stillThere ||
                         (cur.observer == r.observer && cur.keyPath == r.keyPath && cur.context == r.context);
        if (!stillThere)
            continue;
        ObservedChange change;
        const bool direct = r.keyPath == key;
        change.kind = direct ? p.kind : ObservedChange::Kind::Setting;
        change.indexes = direct ? p.indexes : QList<int>();
        if (r.options.testFlag(ObservingOption::Old))
            change.oldValue = p.oldValues[i];
        if (r.options.testFlag(ObservingOption::New))
            change.newValue = valueForKeyPath(r.keyPath);
        r.observer->observeValueForKeyPath(r.keyPath, this, change, r.context);
        if (!m_registry)
            return;
    }
}
