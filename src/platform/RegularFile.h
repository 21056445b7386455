// Opening a file that a user or another program named, which may turn out to be a FIFO, a device
// or far larger than its reader expects. Anything but a regular file of bounded size is refused.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QFile;

class RegularFile
{
public:
    // An open file (nullptr when refused) and, when refused, why: a sentence part such as
    // "it is not a regular file" or "the file is too large (30 MB; at most 1 MB)".
    struct Opened {
        std::unique_ptr<QFile> file;
        qint64 size = 0;
        QString error;
    };
    struct Contents {
        QByteArray bytes;
        QString error;
        bool ok() const { return error.isEmpty(); }
    };

    // Opens `path` for reading without ever blocking (a FIFO would wait for a writer forever),
    // follows links, and refuses anything but a regular file of at most maxBytes.
    static Opened open(const QString &path, qint64 maxBytes);
    // The whole file under the same rules; never reads more than maxBytes, even from a file
    // that grows while it is read.
    static Contents readAll(const QString &path, qint64 maxBytes);

    // "1 MB", "300 KB": a size in words for the messages above.
    static QString sizeText(qint64 bytes);
};
