// The per-user data root the program treats as its resource folder: where it is, and filling it
// from the shipped read-only resources (a shipped file missing from it is copied again).
#pragma once

#include <QString>
#include <QStringList>

class ResourceRoot
{
public:
    struct Result {
        bool ok = false;
        QString path;       // the data root, without a trailing slash
        QString error;      // user-readable reason when !ok
        int copied = 0;     // shipped files copied in this run
        QStringList failed; // shipped files that could not be copied (relative paths)
    };

    // The per-user application-data folder of "tessaly-designer".
    static QString defaultLocation();
    // The installed resources when they exist, else the source tree's (a build run in place).
    // Those installed beside the running program come first, then the configured prefix's.
    static QString shippedLocation();
    static QString shippedLocationFor(const QString &programDir);

    // Creates `root` (default permissions) and copies into it every file of `shipped` that it
    // lacks, keeping the folder structure. Existing files are never overwritten. A missing or
    // empty `shipped` folder is not an error.
    static Result prepare(const QString &root, const QString &shipped);
};
