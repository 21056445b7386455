// Reads a zip archive entry by entry through minizip: the index of entry names, whole small
// entries, and large entries as a stream. Every length is checked; recorded sizes are not trusted.
#pragma once

#include "ZipDeviceIo.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

class ZipEntryDevice;

struct ZipEntryInfo {
    QString name; // with "/" between folders, as stored apart from backslashes
    bool isFolder = false;
    bool encrypted = false;
    QDateTime modified; // invalid when the entry records no date
    quint64 size = 0;   // uncompressed, as recorded (the zip64 extra field included)
    quint64 compressedSize = 0;
    quint32 crc = 0;
    int method = 0;
    bool zip64Sizes = false; // a size is held only in the zip64 extra field
};

class ZipReader
{
public:
    ZipReader();
    ~ZipReader();
    ZipReader(const ZipReader &) = delete;
    ZipReader &operator=(const ZipReader &) = delete;

    // False when the file cannot be read, is not a regular file or is not a zip archive.
    bool open(const QString &path);
    void close();
    bool isOpen() const { return m_zip != nullptr || m_empty; }
    qsizetype entryCount() const { return m_names.size(); }

    // Walking the entries in archive order.
    bool goToFirst();
    bool goToNext(bool *error = nullptr);
    bool currentInfo(ZipEntryInfo *info);

    // Finds an entry by name (case-insensitive, as package part names are) and makes it current.
    bool locate(const QString &name);
    bool contains(const QString &name) const;

    // Opens the current entry; at most one is open at a time. Null when it cannot be opened
    // (an encrypted entry without password, an unknown method, a damaged header).
    std::unique_ptr<ZipEntryDevice> openCurrent(const QByteArray &password = {}, qint64 limit = -1);

    // The whole entry; false on a missing entry, a read or checksum error, or more than limit bytes.
    bool readEntry(const QString &name, QByteArray *out, qint64 limit);
    bool readCurrent(QByteArray *out, qint64 limit);

    static QString decodeName(const QByteArray &raw, bool utf8Flag);

private:
    bool buildIndex();
    static bool isEmptyArchive(QFile &file);
    QByteArray centralExtraField();

    QFile m_file;
    ZipReadWindow m_window;
    quint32 m_lastDosDate = 0; // the last entry time converted, and what it gave
    QDateTime m_lastModified;
    void *m_zip = nullptr;
    bool m_empty = false; // an archive of no entries, which minizip cannot open
    QStringList m_names;
    QHash<QString, QPair<quint64, quint64>> m_index; // folded name -> position in the directory
};
