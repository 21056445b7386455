#include "ZipEntryDevice.h"

#include <minizip/unzip.h>
#include <zlib.h>

#include <algorithm>

struct ZipEntryDevice::Inflater {
    z_stream stream{};
    bool ready = false;
    QByteArray input = QByteArray(65536, Qt::Uninitialized);
    ~Inflater()
    {
        if (ready)
            inflateEnd(&stream);
    }
};

ZipEntryDevice::ZipEntryDevice(void *zip, qint64 limit, quint64 expectedSize, unsigned long expectedCrc,
                               const Direct &direct, QObject *parent)
    : QIODevice(parent), m_zip(zip), m_limit(limit), m_expectedSize(expectedSize), m_expectedCrc(expectedCrc),
      m_direct(direct)
{
    QIODevice::open(QIODevice::ReadOnly);
    // minizip checks the checksum only when the data reaches the recorded size, so an entry whose
    // recorded size is too large would pass unchecked: both are checked here at the end.
    m_crc = crc32(0L, Z_NULL, 0);
    if (m_direct.file && m_direct.method == 8) {
        m_inflater = std::make_unique<Inflater>();
        m_inflater->ready = inflateInit2(&m_inflater->stream, -MAX_WBITS) == Z_OK;
        m_failed = !m_inflater->ready;
    } else if (m_direct.file && m_direct.method != 0) {
        m_failed = true;
    }
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
    const qint64 n = m_direct.file ? readDirect(data, chunk)
                                   : unzReadCurrentFile(static_cast<unzFile>(m_zip), data, chunk);
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

// Stored or deflated data straight from the archive, ending where the compressed size says.
qint64 ZipEntryDevice::readDirect(char *data, qint64 maxSize)
{
    QIODevice *file = m_direct.file;
    auto fetch = [&](char *to, qint64 want) -> qint64 {
        want = qint64(std::min<quint64>(quint64(want), m_direct.compressedSize - m_consumed));
        if (want == 0)
            return 0;
        if (!file->seek(m_direct.dataPos + qint64(m_consumed)))
            return -1;
        const qint64 got = file->read(to, want);
        if (got <= 0)
            return -1; // the archive ends inside the entry
        m_consumed += quint64(got);
        return got;
    };
    if (!m_inflater)
        return fetch(data, maxSize);
    z_stream &z = m_inflater->stream;
    for (;;) {
        if (z.avail_in == 0) {
            const qint64 got = fetch(m_inflater->input.data(), m_inflater->input.size());
            if (got < 0)
                return -1;
            z.next_in = reinterpret_cast<Bytef *>(m_inflater->input.data());
            z.avail_in = uInt(got);
        }
        z.next_out = reinterpret_cast<Bytef *>(data);
        z.avail_out = uInt(maxSize);
        const int rc = inflate(&z, Z_NO_FLUSH);
        const qint64 produced = maxSize - qint64(z.avail_out);
        if (rc == Z_STREAM_END || produced > 0)
            return produced;
        if (rc != Z_OK && rc != Z_BUF_ERROR)
            return -1;
        if (z.avail_in == 0 && m_consumed >= m_direct.compressedSize)
            return -1; // the deflated data stops short of its end
    }
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
