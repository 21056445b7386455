#include "ZipReader.h"

#include "ZipDeviceIo.h"
#include "ZipEntryDevice.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QtEndian>

#include <minizip/unzip.h>

namespace
{
constexpr int kMaxNameLength = 65535;
constexpr int kMaxEntries = 1000000;

QString foldName(QString name)
{
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (name.startsWith(QLatin1Char('/')))
        name.remove(0, 1);
    return name.toCaseFolded();
}
constexpr quint64 Escaped = 0xFFFFFFFFu;

// Sizes that the central directory leaves to the zip64 extra field (where minizip does not look):
// each escaped size is taken from there, in the order the format gives.
bool readZip64Sizes(const QByteArray &extra, ZipEntryInfo *info)
{
    const auto *p = extra.constData();
    for (qsizetype at = 0; at + 4 <= extra.size();) {
        const quint16 id = qFromLittleEndian<quint16>(p + at);
        const quint16 length = qFromLittleEndian<quint16>(p + at + 2);
        const qsizetype body = at + 4;
        if (body + length > extra.size())
            return false;
        if (id == 0x0001) {
            qsizetype field = body;
            quint64 sizes[2] = {info->size, info->compressedSize};
            for (quint64 &v : sizes) {
                if (v != Escaped)
                    continue;
                if (field + 8 > body + length)
                    return false;
                v = qFromLittleEndian<quint64>(p + field);
                field += 8;
            }
            info->size = sizes[0];
            info->compressedSize = sizes[1];
            return true;
        }
        at = body + length;
    }
    return false;
}
} // namespace

ZipReader::ZipReader() = default;

ZipReader::~ZipReader()
{
    close();
}

bool ZipReader::open(const QString &path)
{
    close();
    // A pipe or a device has no end to find, and reading one could block for ever.
    if (!QFileInfo(path).isFile())
        return false;
    m_file.setFileName(path);
    // Unbuffered: minizip reads through a window of its own, which a device buffer would only copy.
    if (!m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    m_window.device = &m_file;
    m_window.fd = m_file.handle();
    zlib_filefunc64_def io;
    ZipDeviceIo::fillReader(&io, &m_window);
    m_zip = unzOpen2_64("archive", &io);
    if (!m_zip) {
        m_empty = isEmptyArchive(m_file);
        m_file.close();
        return m_empty;
    }
    if (!buildIndex()) {
        close();
        return false;
    }
    return true;
}

void ZipReader::close()
{
    if (m_zip)
        unzClose(static_cast<unzFile>(m_zip));
    m_zip = nullptr;
    m_empty = false;
    m_names.clear();
    m_index.clear();
    if (m_file.isOpen())
        m_file.close();
    m_window.fd = -1;
    m_window.clear();
    m_lastDosDate = 0;
    m_lastModified = QDateTime();
}

// minizip looks for the end record only after the first byte, so it cannot open the archive that
// is nothing but that record (and its comment).
bool ZipReader::isEmptyArchive(QFile &file)
{
    constexpr qint64 RecordSize = 22;
    const qint64 size = file.size();
    if (size < RecordSize || size > RecordSize + 0xFFFF || !file.seek(0))
        return false;
    const QByteArray bytes = file.read(size);
    if (bytes.size() != size || !bytes.startsWith(QByteArray("PK\x05\x06", 4)))
        return false;
    const auto *p = bytes.constData();
    for (int at = 4; at < 20; ++at) {
        if (p[at] != 0) // disks, entry counts, directory size and offset
            return false;
    }
    return qFromLittleEndian<quint16>(p + 20) == size - RecordSize;
}

// The extra field of the current entry's central header, read from the file: minizip fails to hand
// it out when it holds zip64 sizes.
QByteArray ZipReader::centralExtraField()
{
    constexpr qint64 HeaderSize = 46;
    const qint64 at = qint64(unzGetOffset64(static_cast<unzFile>(m_zip)));
    if (at <= 0 || !m_file.seek(at))
        return {};
    const QByteArray header = m_file.read(HeaderSize);
    if (header.size() != HeaderSize || !header.startsWith(QByteArray("PK\x01\x02", 4)))
        return {};
    const quint16 nameLength = qFromLittleEndian<quint16>(header.constData() + 28);
    const quint16 extraLength = qFromLittleEndian<quint16>(header.constData() + 30);
    if (!m_file.seek(at + HeaderSize + nameLength))
        return {};
    const QByteArray extra = m_file.read(extraLength);
    return extra.size() == extraLength ? extra : QByteArray();
}

QString ZipReader::decodeName(const QByteArray &raw, bool utf8Flag)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString name = utf8.decode(raw);
    if (utf8.hasError() && !utf8Flag)
        name = QString::fromLatin1(raw); // old archivers wrote the OEM code page
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return name;
}

bool ZipReader::buildIndex()
{
    auto *zip = static_cast<unzFile>(m_zip);
    unz_global_info64 global;
    if (unzGetGlobalInfo64(zip, &global) != UNZ_OK)
        return false;
    if (global.number_entry == 0)
        return true;
    int rc = unzGoToFirstFile(zip);
    if (rc == UNZ_END_OF_LIST_OF_FILE)
        return true;
    while (rc == UNZ_OK) {
        ZipEntryInfo info;
        if (!currentInfo(&info))
            return false;
        unz64_file_pos pos;
        if (unzGetFilePos64(zip, &pos) != UNZ_OK)
            return false;
        m_names << info.name;
        const QString key = foldName(info.name);
        if (!m_index.contains(key))
            m_index.insert(key, {pos.pos_in_zip_directory, pos.num_of_file});
        if (m_names.size() > kMaxEntries)
            return false;
        rc = unzGoToNextFile(zip);
    }
    return rc == UNZ_END_OF_LIST_OF_FILE;
}

bool ZipReader::goToFirst()
{
    return m_zip && unzGoToFirstFile(static_cast<unzFile>(m_zip)) == UNZ_OK;
}

bool ZipReader::goToNext(bool *error)
{
    if (error)
        *error = false;
    if (!m_zip)
        return false;
    const int rc = unzGoToNextFile(static_cast<unzFile>(m_zip));
    if (rc != UNZ_OK && rc != UNZ_END_OF_LIST_OF_FILE && error)
        *error = true;
    return rc == UNZ_OK;
}

bool ZipReader::currentInfo(ZipEntryInfo *info)
{
    if (!m_zip)
        return false;
    auto *zip = static_cast<unzFile>(m_zip);
    unz_file_info64 fi;
    if (unzGetCurrentFileInfo64(zip, &fi, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return false;
    if (fi.size_filename > kMaxNameLength)
        return false;
    QByteArray raw(qsizetype(fi.size_filename) + 1, '\0');
    if (unzGetCurrentFileInfo64(zip, &fi, raw.data(), uLong(raw.size()), nullptr, 0, nullptr, 0) != UNZ_OK)
        return false;
    raw.resize(qsizetype(fi.size_filename));
    info->size = fi.uncompressed_size;
    info->compressedSize = fi.compressed_size;
    info->crc = quint32(fi.crc);
    info->method = int(fi.compression_method);
    info->zip64Sizes = (info->size == Escaped || info->compressedSize == Escaped) &&
                       readZip64Sizes(centralExtraField(), info);
    info->name = decodeName(raw, fi.flag & (1u << 11));
    info->isFolder = info->name.endsWith(QLatin1Char('/'));
    info->encrypted = fi.flag & 1u;
    info->modified = QDateTime();
    if (fi.dosDate != 0 && fi.dosDate == m_lastDosDate) {
        // Local time costs the system a look at the time zone file: entries of one time share it.
        info->modified = m_lastModified;
    } else if (fi.dosDate != 0) {
        const QDate d(int(fi.tmu_date.tm_year), int(fi.tmu_date.tm_mon) + 1, int(fi.tmu_date.tm_mday));
        const QTime t(int(fi.tmu_date.tm_hour), int(fi.tmu_date.tm_min), int(fi.tmu_date.tm_sec));
        if (d.isValid() && t.isValid())
            info->modified = QDateTime(d, t).toUTC(); // the zip format keeps local time
        m_lastDosDate = fi.dosDate;
        m_lastModified = info->modified;
    }
    return true;
}

bool ZipReader::contains(const QString &name) const
{
    return m_index.contains(foldName(name));
}

bool ZipReader::locate(const QString &name)
{
    if (!m_zip)
        return false;
    auto it = m_index.constFind(foldName(name));
    if (it == m_index.constEnd())
        return false;
    unz64_file_pos pos{it->first, it->second};
    return unzGoToFilePos64(static_cast<unzFile>(m_zip), &pos) == UNZ_OK;
}

std::unique_ptr<ZipEntryDevice> ZipReader::openCurrent(const QByteArray &password, qint64 limit)
{
    if (!m_zip)
        return nullptr;
    m_window.check(m_file.handle());
    auto *zip = static_cast<unzFile>(m_zip);
    ZipEntryInfo info;
    if (!currentInfo(&info))
        return nullptr;
    if (info.encrypted && password.isEmpty())
        return nullptr;
    if (info.zip64Sizes && (info.encrypted || (info.method != 0 && info.method != Z_DEFLATED)))
        return nullptr;
    const int rc =
        password.isEmpty() ? unzOpenCurrentFile(zip) : unzOpenCurrentFilePassword(zip, password.constData());
    if (rc != UNZ_OK)
        return nullptr;
    ZipEntryDevice::Direct direct;
    if (info.zip64Sizes) {
        // minizip would stop at the escaped size: the data is read from the file itself.
        direct.file = &m_file;
        direct.dataPos = qint64(unzGetCurrentFileZStreamPos64(zip));
        direct.compressedSize = info.compressedSize;
        direct.method = info.method;
    }
    return std::make_unique<ZipEntryDevice>(m_zip, limit, info.size, info.crc, direct);
}

bool ZipReader::readEntry(const QString &name, QByteArray *out, qint64 limit)
{
    out->clear();
    return locate(name) && readCurrent(out, limit);
}

bool ZipReader::readCurrent(QByteArray *out, qint64 limit)
{
    out->clear();
    auto device = openCurrent({}, limit);
    if (!device)
        return false;
    char buf[16384];
    for (;;) {
        const qint64 n = device->read(buf, sizeof buf);
        if (n <= 0)
            break;
        out->append(buf, n);
    }
    if (!device->finish()) {
        out->clear();
        return false;
    }
    return true;
}
