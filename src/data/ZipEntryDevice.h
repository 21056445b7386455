// A read-only, sequential device over the entry currently open in a minizip reader, so that large
// parts of an archive are parsed as a stream instead of being inflated into memory first.
#pragma once

#include <QIODevice>

#include <memory>

class ZipEntryDevice : public QIODevice
{
    Q_OBJECT
public:
    // Where the entry's data is read without minizip: for entries whose sizes only the zip64
    // extra field holds, which minizip does not read.
    struct Direct {
        QIODevice *file = nullptr; // null: read through minizip
        qint64 dataPos = 0;
        quint64 compressedSize = 0;
        int method = 0; // 0 stored, 8 deflated
    };

    // zip is an unzFile whose current entry has been opened; limit caps the bytes handed out
    // (sizes recorded in the archive are not trusted), -1 for none. The size and checksum are
    // what the central directory records, checked at the end.
    ZipEntryDevice(void *zip, qint64 limit, quint64 expectedSize, unsigned long expectedCrc,
                   const Direct &direct, QObject *parent = nullptr);
    ~ZipEntryDevice() override;

    bool isSequential() const override { return true; }
    bool atEnd() const override;
    void close() override;

    // Reads what is left of the entry and closes it; false when a read failed, the limit was
    // passed or the checksum does not match.
    bool finish();
    bool failed() const { return m_failed; }
    bool overLimit() const { return m_overLimit; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    bool closeEntry();
    qint64 readDirect(char *data, qint64 maxSize);
    struct Inflater;

    void *m_zip = nullptr;
    qint64 m_limit = -1;
    qint64 m_total = 0;
    quint64 m_expectedSize = 0;
    unsigned long m_expectedCrc = 0;
    unsigned long m_crc = 0;
    bool m_entryOpen = true;
    bool m_eof = false;
    bool m_failed = false;
    bool m_overLimit = false;
    Direct m_direct;
    quint64 m_consumed = 0; // compressed bytes taken from the file in direct reading
    std::unique_ptr<Inflater> m_inflater;
};
