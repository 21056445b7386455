// A series open for editing in this instance of the program: a lock file beside the series file
// tells other instances it is in use, and the file's size and time as opened tell a save whether
// another instance or program wrote it since.
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
    // The series file is not as it was opened: written, replaced or removed since.
    bool changedSinceOpened() const;

    // ".name.txt.lock" beside the series file: hidden, so the list of series never shows it.
    static QString lockPath(const QString &folder, const QString &name);
    // Another running instance of the program holds the series' lock (a lock left by an instance
    // that is gone does not count).
    static bool lockedElsewhere(const QString &folder, const QString &name);

private:
    std::unique_ptr<QLockFile> m_lock;
    QString m_path;
    qint64 m_size = -1;
    qint64 m_modifiedMs = -1;
};
