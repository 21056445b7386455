// Parses binary property lists ("bplist00") into a value tree.
// Objects are parsed once and shared, so hostile files cannot blow up through repeated references.
#include "platform/BinaryPlistReader.h"

#include <QDate>
#include <QHash>
#include <QTimeZone>

#include <cmath>
#include <cstring>

namespace
{
constexpr qint64 HeaderSize = 8;
constexpr qint64 TrailerSize = 32;

// 0001-01-01 and 10000-01-01, in seconds from 2001-01-01.
constexpr double MinDateSecs = -63113904000.0;
constexpr double MaxDateSecs = 252423993600.0;
} // namespace

BinaryPlistReader::BinaryPlistReader(const QByteArray &bytes, int maxDepth)
    : m_bytes(bytes), m_maxDepth(maxDepth)
{
}

bool BinaryPlistReader::fail(const QString &why)
{
    if (m_error.isEmpty())
        m_error = QStringLiteral("The binary property list is damaged: %1.").arg(why);
    return false;
}

bool BinaryPlistReader::tooLarge()
{
    if (m_error.isEmpty())
        m_error =
            QStringLiteral("The binary property list is too large: its shared parts expand to more than "
                           "%1 values or %2 MB.")
                .arg(MaxExpandedValues)
                .arg(MaxExpandedBytes >> 20);
    return false;
}

// Adds a parsed child's expanded size to the container at idx; false once the budget is spent.
bool BinaryPlistReader::addExpanded(qsizetype idx, quint64 child)
{
    m_expandedValues[idx] += m_expandedValues.at(qsizetype(child));
    m_expandedBytes[idx] += m_expandedBytes.at(qsizetype(child));
    if (m_expandedValues.at(idx) > MaxExpandedValues || m_expandedBytes.at(idx) > MaxExpandedBytes)
        return tooLarge();
    return true;
}

bool BinaryPlistReader::readUnsigned(qint64 pos, int size, quint64 *out) const
{
    if (pos < 0 || size < 1 || size > 8 || pos > m_bytes.size() - size)
        return false;
    quint64 v = 0;
    const auto *p = reinterpret_cast<const uchar *>(m_bytes.constData()) + pos;
    for (int i = 0; i < size; ++i)
        v = (v << 8) | p[i];
    *out = v;
    return true;
}

std::optional<plist::Value> BinaryPlistReader::read()
{
    if (m_bytes.size() < HeaderSize + TrailerSize || !m_bytes.startsWith("bplist")) {
        fail(QStringLiteral("the file is too short"));
        return std::nullopt;
    }
    if (!m_bytes.startsWith("bplist00")) {
        m_error = QStringLiteral("This binary property list version (%1) is not supported.")
                      .arg(QString::fromLatin1(m_bytes.mid(6, 2).toHex()));
        return std::nullopt;
    }
    const qint64 trailer = m_bytes.size() - TrailerSize;
    const auto *t = reinterpret_cast<const uchar *>(m_bytes.constData()) + trailer;
    m_offsetSize = t[6];
    m_refSize = t[7];
    quint64 tableOffset = 0;
    readUnsigned(trailer + 8, 8, &m_objectCount);
    readUnsigned(trailer + 16, 8, &m_topObject);
    readUnsigned(trailer + 24, 8, &tableOffset);
    if (m_offsetSize < 1 || m_offsetSize > 8 || m_refSize < 1 || m_refSize > 8) {
        fail(QStringLiteral("bad offset or reference size"));
        return std::nullopt;
    }
    if (m_objectCount == 0 || m_topObject >= m_objectCount) {
        fail(QStringLiteral("no top object"));
        return std::nullopt;
    }
    // The offset table must sit between the header and the trailer; dividing avoids overflow.
    if (tableOffset < quint64(HeaderSize) || tableOffset > quint64(trailer) ||
        m_objectCount > (quint64(trailer) - tableOffset) / quint64(m_offsetSize)) {
        fail(QStringLiteral("the offset table lies outside the file"));
        return std::nullopt;
    }
    if (m_refSize < 8 && m_objectCount > (quint64(1) << (8 * m_refSize))) {
        fail(QStringLiteral("more objects than references can name"));
        return std::nullopt;
    }
    m_offsetTable = qint64(tableOffset);
    m_limit = trailer;
    m_state = QList<quint8>(qsizetype(m_objectCount), 0);
    m_cache = QList<plist::Value>(qsizetype(m_objectCount));
    m_height = QList<int>(qsizetype(m_objectCount), 0);
    m_expandedValues = QList<quint64>(qsizetype(m_objectCount), 0);
    m_expandedBytes = QList<quint64>(qsizetype(m_objectCount), 0);
    plist::Value top;
    if (!readObject(m_topObject, 0, &top))
        return std::nullopt;
    return top;
}

bool BinaryPlistReader::readRef(qint64 pos, quint64 *out) const
{
    return pos + m_refSize <= m_limit && readUnsigned(pos, m_refSize, out);
}

// A length held in the marker's low nibble, or (nibble 0xF) in a following integer object.
bool BinaryPlistReader::readLength(qint64 *pos, int nibble, quint64 *out)
{
    if (nibble != 0xF) {
        *out = quint64(nibble);
        return true;
    }
    if (*pos >= m_limit)
        return fail(QStringLiteral("a length runs past the end"));
    const int marker = uchar(m_bytes.at(*pos));
    if ((marker & 0xF0) != 0x10 || (marker & 0x0F) > 3)
        return fail(QStringLiteral("a length is not an integer"));
    const int size = 1 << (marker & 0x0F);
    quint64 v = 0;
    if (*pos + 1 + size > m_limit || !readUnsigned(*pos + 1, size, &v))
        return fail(QStringLiteral("a length runs past the end"));
    if (size == 8 && (v >> 63))
        return fail(QStringLiteral("a negative length"));
    *pos += 1 + size;
    *out = v;
    return true;
}

bool BinaryPlistReader::readString(qint64 pos, quint64 count, bool utf16, plist::Value *out)
{
    const quint64 unit = utf16 ? 2 : 1;
    if (count > quint64(m_limit - pos) / unit)
        return fail(QStringLiteral("a string runs past the end"));
    const auto *p = reinterpret_cast<const uchar *>(m_bytes.constData()) + pos;
    if (!utf16) {
        *out = QString::fromLatin1(reinterpret_cast<const char *>(p), qsizetype(count));
        return true;
    }
    QString s(qsizetype(count), Qt::Uninitialized);
    for (quint64 i = 0; i < count; ++i)
        s[qsizetype(i)] = QChar(char16_t((p[2 * i] << 8) | p[2 * i + 1]));
    *out = s;
    return true;
}

bool BinaryPlistReader::readObject(quint64 ref, int depth, plist::Value *out)
{
    if (ref >= m_objectCount)
        return fail(QStringLiteral("an object reference is out of range"));
    const qsizetype idx = qsizetype(ref);
    if (m_state.at(idx) == 2) {
        // A shared object met again deeper down must still fit the nesting limit.
        if (depth + m_height.at(idx) > m_maxDepth)
            return fail(QStringLiteral("containers are nested too deeply"));
        *out = m_cache.at(idx);
        return true;
    }
    if (m_state.at(idx) == 1)
        return fail(QStringLiteral("an object contains itself"));
    if (depth > m_maxDepth)
        return fail(QStringLiteral("containers are nested too deeply"));
    quint64 offset = 0;
    if (!readUnsigned(m_offsetTable + qint64(ref) * m_offsetSize, m_offsetSize, &offset))
        return fail(QStringLiteral("the offset table is cut short"));
    if (offset < quint64(HeaderSize) || offset >= quint64(m_limit))
        return fail(QStringLiteral("an object offset is out of range"));
    const qint64 pos = qint64(offset) + 1;
    const int marker = uchar(m_bytes.at(qint64(offset)));
    const int nibble = marker & 0x0F;
    plist::Value v;
    bool ok = false;
    switch (marker >> 4) {
    case 0x0:
        ok = readSingleton(marker, &v);
        break;
    case 0x1:
        ok = readInteger(pos, nibble, &v);
        break;
    case 0x2:
        ok = readReal(pos, nibble, &v);
        break;
    case 0x3:
        ok = readDate(marker, pos, &v);
        break;
    case 0x4:
        ok = readData(pos, nibble, &v);
        break;
    case 0x5:
    case 0x6: {
        qint64 at = pos;
        quint64 len = 0;
        ok = readLength(&at, nibble, &len) && readString(at, len, (marker >> 4) == 0x6, &v);
        break;
    }
    case 0x8:
        ok = readUid(pos, nibble, &v);
        break;
    case 0xA:
    case 0xC:
    case 0xD:
        m_state[idx] = 1;
        ok = readContainer(idx, marker >> 4, nibble, pos, depth, &v);
        break;
    default:
        ok = fail(QStringLiteral("unknown object type 0x%1").arg(marker, 2, 16, QLatin1Char('0')));
    }
    if (!ok)
        return false;
    if (!v.isArray() && !v.isDict()) {
        m_expandedValues[idx] = 1;
        m_expandedBytes[idx] = quint64(v.isData()     ? v.toData().size()
                                       : v.isString() ? v.toString().size()
                                                      : 0);
    }
    m_state[idx] = 2;
    m_cache[idx] = v;
    *out = v;
    return true;
}

bool BinaryPlistReader::readSingleton(int marker, plist::Value *out)
{
    if (marker == 0x00) {
        *out = plist::Value();
    } else if (marker == 0x08 || marker == 0x09) {
        *out = plist::Value(marker == 0x09);
    } else {
        return fail(QStringLiteral("unknown object type 0x%1").arg(marker, 2, 16, QLatin1Char('0')));
    }
    return true;
}

bool BinaryPlistReader::readInteger(qint64 pos, int nibble, plist::Value *out)
{
    if (nibble > 4)
        return fail(QStringLiteral("an integer has a bad size"));
    const int size = 1 << nibble;
    if (pos + size > m_limit)
        return fail(QStringLiteral("an integer runs past the end"));
    if (size == 16) {
        // 128-bit integers: only values that fit 64 bits signed are taken.
        quint64 hi = 0, lo = 0;
        readUnsigned(pos, 8, &hi);
        readUnsigned(pos + 8, 8, &lo);
        const bool fitsPositive = hi == 0 && !(lo >> 63);
        const bool fitsNegative = hi == ~quint64(0) && (lo >> 63);
        if (!fitsPositive && !fitsNegative)
            return fail(QStringLiteral("an integer is too large"));
        *out = plist::Value(qint64(lo));
    } else {
        quint64 u = 0;
        readUnsigned(pos, size, &u);
        // 1, 2 and 4 bytes are unsigned, 8 bytes signed.
        *out = plist::Value(qint64(u));
    }
    return true;
}

bool BinaryPlistReader::readReal(qint64 pos, int nibble, plist::Value *out)
{
    if (nibble != 2 && nibble != 3)
        return fail(QStringLiteral("a real has a bad size"));
    const int size = nibble == 2 ? 4 : 8;
    quint64 u = 0;
    if (!readUnsigned(pos, size, &u) || pos + size > m_limit)
        return fail(QStringLiteral("a real runs past the end"));
    if (size == 4) {
        const quint32 bits = quint32(u);
        float f;
        std::memcpy(&f, &bits, 4);
        *out = plist::Value(double(f));
    } else {
        double d;
        std::memcpy(&d, &u, 8);
        *out = plist::Value(d);
    }
    return true;
}

bool BinaryPlistReader::readDate(int marker, qint64 pos, plist::Value *out)
{
    quint64 u = 0;
    if (marker != 0x33 || pos + 8 > m_limit || !readUnsigned(pos, 8, &u))
        return fail(QStringLiteral("a date is malformed"));
    double secs;
    std::memcpy(&secs, &u, 8);
    // Years 1 to 9999: what XML property lists and other readers can carry.
    if (!std::isfinite(secs) || secs < MinDateSecs - 1 || secs > MaxDateSecs + 1)
        return fail(QStringLiteral("a date is out of range"));
    const qint64 since2001 = qint64(std::llround(secs * 1000.0));
    if (since2001 < qint64(MinDateSecs) * 1000 || since2001 >= qint64(MaxDateSecs) * 1000)
        return fail(QStringLiteral("a date is out of range"));
    const qint64 ms = since2001 + plist::Epoch2001Secs * 1000;
    *out = plist::Value(QDateTime::fromMSecsSinceEpoch(ms, QTimeZone::utc()));
    return true;
}

bool BinaryPlistReader::readData(qint64 pos, int nibble, plist::Value *out)
{
    quint64 len = 0;
    if (!readLength(&pos, nibble, &len))
        return false;
    if (len > quint64(m_limit - pos))
        return fail(QStringLiteral("data runs past the end"));
    *out = plist::Value(m_bytes.mid(pos, qsizetype(len)));
    return true;
}

bool BinaryPlistReader::readUid(qint64 pos, int nibble, plist::Value *out)
{
    quint64 u = 0;
    if (pos + nibble + 1 > m_limit || !readUnsigned(pos, nibble + 1, &u))
        return fail(QStringLiteral("a UID runs past the end"));
    // Larger UIDs name no object any archive can hold, and would not fit an XML integer.
    if (u >> 63)
        return fail(QStringLiteral("a UID is out of range"));
    *out = plist::Value(plist::Uid{u});
    return true;
}

bool BinaryPlistReader::readContainer(qsizetype idx, int kind, int nibble, qint64 pos, int depth,
                                      plist::Value *out)
{
    quint64 count = 0;
    if (!readLength(&pos, nibble, &count))
        return false;
    const quint64 refsPerEntry = kind == 0xD ? 2 : 1;
    if (count > quint64(m_limit - pos) / quint64(m_refSize) / refsPerEntry)
        return fail(QStringLiteral("a container runs past the end"));
    m_expandedValues[idx] = 1;
    m_expandedBytes[idx] = 0;
    int height = 1;
    const bool ok = kind == 0xD ? readDict(idx, count, pos, depth, &height, out)
                                : readArray(idx, count, pos, depth, &height, out);
    if (!ok)
        return false;
    m_height[idx] = height;
    return true;
}

bool BinaryPlistReader::readDict(qsizetype idx, quint64 count, qint64 pos, int depth, int *height,
                                 plist::Value *out)
{
    QList<QPair<QString, plist::Value>> items;
    QHash<QString, qsizetype> seen;
    items.reserve(qsizetype(count));
    const qint64 valuesAt = pos + qint64(count) * m_refSize;
    for (quint64 i = 0; i < count; ++i) {
        quint64 keyRef = 0, valueRef = 0;
        readRef(pos + qint64(i) * m_refSize, &keyRef);
        readRef(valuesAt + qint64(i) * m_refSize, &valueRef);
        plist::Value key, value;
        if (!readObject(keyRef, depth + 1, &key) || !readObject(valueRef, depth + 1, &value))
            return false;
        if (!key.isString())
            return fail(QStringLiteral("a dictionary key is not a string"));
        *height = qMax(*height, 1 + m_height.at(qsizetype(valueRef)));
        if (!addExpanded(idx, keyRef) || !addExpanded(idx, valueRef))
            return false;
        // A repeated key keeps its last value, as other readers do.
        const auto it = seen.constFind(key.toString());
        if (it != seen.constEnd()) {
            items[*it].second = value;
        } else {
            seen.insert(key.toString(), items.size());
            items.append({key.toString(), value});
        }
    }
    *out = plist::Value(plist::Dict::fromUniqueItems(std::move(items)));
    return true;
}

bool BinaryPlistReader::readArray(qsizetype idx, quint64 count, qint64 pos, int depth, int *height,
                                  plist::Value *out)
{
    plist::Array array;
    array.reserve(qsizetype(count));
    for (quint64 i = 0; i < count; ++i) {
        quint64 r = 0;
        readRef(pos + qint64(i) * m_refSize, &r);
        plist::Value item;
        if (!readObject(r, depth + 1, &item))
            return false;
        *height = qMax(*height, 1 + m_height.at(qsizetype(r)));
        if (!addExpanded(idx, r))
            return false;
        array.append(item);
    }
    *out = plist::Value(array);
    return true;
}
