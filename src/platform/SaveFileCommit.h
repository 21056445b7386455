// Finishing a QSaveFile so that a failed write is never committed: Qt's own commit replaces the
// old file even when flushing its buffer hit a full disk, leaving a cut-off file and no error.
#pragma once

#include <QSaveFile>
#include <QString>

#include <cerrno>
#include <cstring>

namespace SaveFileCommit
{

// Flushes, then commits; on failure the old file stays, the new one is discarded and *why holds
// the system's reason ("No space left on device").
inline bool commit(QSaveFile &file, QString *why = nullptr)
{
    errno = 0;
    if (!file.flush()) {
        // After a partly written buffer Qt's own text is "Unknown error": the system's is taken.
        const int err = errno;
        if (why)
            *why = err != 0 ? QString::fromLocal8Bit(std::strerror(err)) : file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (why)
            *why = file.errorString();
        return false;
    }
    return true;
}

} // namespace SaveFileCommit
