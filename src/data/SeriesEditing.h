// A series open for editing in this instance of the program: a lock file beside the series file
// tells other instances it is in use, and the file's size and time as opened tell a save whether
// another instance or program wrote it since. Where the series' folder takes no lock file, the
// lock is held in the user's runtime folder instead, so other instances still find it in use.
#pragma once

#include <QString>

#include <memory>

class QLockFile;

class SeriesEditing
{
public:
    // Takes the series' lock when no other instance holds it, and notes the file as it is now.
    SeriesEditing(const QString &folder, const QString &name);
    ~SeriesEditing(); // the lock goes with it
    SeriesEditing(const SeriesEditing &) = delete;
    SeriesEditing &operator=(const SeriesEditing &) = delete;

    bool holdsLock() const;
    // The lock this editing could not take is held by this instance itself (the design it has
    // open reads the series), not by another instance.
    bool heldByThisInstance() const { return m_heldHere; }
    // The lock file this editing holds or found held: beside the series, or in its stead.
    QString lockFile() const { return m_lockFile; }
    // Why no lock file could be made beside the series: the lock file and the reason, for the
    // user; "" when it could (or the series is held by another instance).
    QString lockProblem() const { return m_lockProblem; }
    // The series file is not as it was opened: written, replaced or removed since.
    bool changedSinceOpened() const;

    // ".name.txt.lock" beside the series file: hidden, so the list of series never shows it.
    static QString lockPath(const QString &folder, const QString &name);
    // The lock held instead where the series' folder takes none: in the user's runtime folder,
    // named after the series file's whole path.
    static QString fallbackLockPath(const QString &folder, const QString &name);
    // Another running instance of the program holds the series' lock, beside it or in its stead
    // (a lock left by an instance that is gone does not count).
    static bool lockedElsewhere(const QString &folder, const QString &name);
    // The lock file by which another running instance holds the series; "" when none does.
    static QString lockHeldElsewhere(const QString &folder, const QString &name);

private:
    std::unique_ptr<QLockFile> m_lock;
    QString m_lockProblem;
    QString m_lockFile;
    bool m_heldHere = false;
    QString m_path;
    qint64 m_size = -1;
    qint64 m_modifiedMs = -1;
};
