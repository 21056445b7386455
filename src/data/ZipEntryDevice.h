// A read-only, sequential device over the entry currently open in a minizip reader, so that large
// parts of an archive are parsed as a stream instead of being inflated into memory first.
#pragma once

#include <QIODevice>

class ZipEntryDevice : public QIODevice
{
    Q_OBJECT
public:
    // zip is an unzFile whose current entry has been opened; limit caps the bytes handed out
    // (sizes recorded in the archive are not trusted), -1 for none.
    ZipEntryDevice(void *zip, qint64 limit, QObject *parent = nullptr);
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
};
