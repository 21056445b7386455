// A read-only, sequential device over the entry currently open in a minizip reader, so that large
// parts of an archive are parsed as a stream instead of being inflated into memory first.
#include "ZipEntryDevice.h"

#include <minizip/unzip.h>
#include <zlib.h>

#include <algorithm>

ZipEntryDevice::ZipEntryDevice(void *zip, qint64 limit, QObject *parent)
    : QIODevice(parent), m_zip(zip), m_limit(limit)
{
    QIODevice::open(QIODevice::ReadOnly);
    // minizip checks the checksum only when the data reaches the recorded size, so an entry whose
    // recorded size is too large would pass unchecked: both are checked here at the end.
    unz_file_info64 info;
    if (unzGetCurrentFileInfo64(static_cast<unzFile>(m_zip), &info, nullptr, 0, nullptr, 0, nullptr, 0) ==
        UNZ_OK) {
        m_expectedSize = info.uncompressed_size;
        m_expectedCrc = info.crc;
    } else {
        m_failed = true;
    }
    m_crc = crc32(0L, Z_NULL, 0);
}

ZipEntryDevice::~ZipEntryDevice()
{
    closeEntry();
}

void ZipEntryDevice::close()
{
    closeEntry();
    QIODevice::close();
}

bool ZipEntryDevice::closeEntry()
{
    if (!m_entryOpen)
        return !m_failed;
    m_entryOpen = false;
    const int rc = unzCloseCurrentFile(static_cast<unzFile>(m_zip));
    // minizip checks the checksum only when the whole entry was read.
    if (rc != UNZ_OK && (m_eof || rc != UNZ_CRCERROR))
        m_failed = true;
    return !m_failed;
}

bool ZipEntryDevice::atEnd() const
{
    return (m_eof || m_failed || !m_entryOpen) && QIODevice::bytesAvailable() == 0;
}

qint64 ZipEntryDevice::readData(char *data, qint64 maxSize)
{
    if (!m_entryOpen || m_failed || m_eof)
        return -1;
    const unsigned chunk = unsigned(std::min<qint64>(maxSize, 1 << 20));
    if (chunk == 0)
        return 0;
    const int n = unzReadCurrentFile(static_cast<unzFile>(m_zip), data, chunk);
    if (n < 0) {
        m_failed = true;
        return -1;
    }
    if (n == 0) {
        m_eof = true;
        if (quint64(m_total) != m_expectedSize || m_crc != m_expectedCrc)
            m_failed = true;
        if (!closeEntry())
            return -1;
        return -1; // end of data
    }
    m_total += n;
    m_crc = crc32(m_crc, reinterpret_cast<const Bytef *>(data), uInt(n));
    if (m_limit >= 0 && m_total > m_limit) {
        m_failed = true;
        m_overLimit = true;
        return -1;
    }
    return n;
}

bool ZipEntryDevice::finish()
{
    char buf[16384];
    while (m_entryOpen && !m_failed && !m_eof) {
        if (readData(buf, sizeof buf) < 0)
            break;
    }
    closeEntry();
    return !m_failed;
}
