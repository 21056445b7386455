// Writes a value tree as a binary property list ("bplist00") with the standard trailer.
// Containers nested deeper than the readers accept are left out rather than written unreadable.
#include "platform/BinaryPlistWriter.h"

#include <QTimeZone>

#include <cstring>

namespace
{
void appendBigEndian(QByteArray &out, quint64 v, int size)
{
    for (int i = size - 1; i >= 0; --i)
        out.append(char((v >> (8 * i)) & 0xFF));
}

int bytesFor(quint64 v)
{
    if (v < 0x100)
        return 1;
    if (v < 0x10000)
        return 2;
    if (v < 0x100000000ULL)
        return 4;
    return 8;
}

void appendInteger(QByteArray &out, qint64 v)
{
    // Negative integers always take 8 bytes; the smaller sizes are unsigned.
    const int size = v < 0 ? 8 : bytesFor(quint64(v));
    const int nibble = size == 1 ? 0 : size == 2 ? 1 : size == 4 ? 2 : 3;
    out.append(char(0x10 | nibble));
    appendBigEndian(out, quint64(v), size);
}

void appendMarker(QByteArray &out, int kind, quint64 count)
{
    if (count < 15) {
        out.append(char(kind | int(count)));
    } else {
        out.append(char(kind | 0x0F));
        appendInteger(out, qint64(count));
    }
}
} // namespace

QByteArray BinaryPlistWriter::encodeScalar(const plist::Value &v)
{
    QByteArray out;
    switch (v.type()) {
    case plist::Value::Type::Bool:
        out.append(char(v.toBool() ? 0x09 : 0x08));
        break;
    case plist::Value::Type::Integer:
        appendInteger(out, v.toInteger());
        break;
    case plist::Value::Type::Real: {
        const double d = v.toReal();
        quint64 bits;
        std::memcpy(&bits, &d, 8);
        out.append(char(0x23));
        appendBigEndian(out, bits, 8);
        break;
    }
    case plist::Value::Type::Date: {
        const QDateTime t = v.toDate();
        const double secs =
            t.isValid() ? double(t.toMSecsSinceEpoch() - plist::Epoch2001Secs * 1000) / 1000.0 : 0.0;
        quint64 bits;
        std::memcpy(&bits, &secs, 8);
        out.append(char(0x33));
        appendBigEndian(out, bits, 8);
        break;
    }
    case plist::Value::Type::Data: {
        const QByteArray data = v.toData();
        appendMarker(out, 0x40, quint64(data.size()));
        out.append(data);
        break;
    }
    case plist::Value::Type::String: {
        const QString s = v.toString();
        bool ascii = true;
        for (QChar c : s) {
            if (c.unicode() >= 128) {
                ascii = false;
                break;
            }
        }
        if (ascii) {
            appendMarker(out, 0x50, quint64(s.size()));
            out.append(s.toLatin1());
        } else {
            appendMarker(out, 0x60, quint64(s.size()));
            for (QChar c : s) {
                out.append(char(c.unicode() >> 8));
                out.append(char(c.unicode() & 0xFF));
            }
        }
        break;
    }
    case plist::Value::Type::Uid: {
        const quint64 u = v.toUid().value;
        const int size = bytesFor(u);
        out.append(char(0x80 | (size - 1)));
        appendBigEndian(out, u, size);
        break;
    }
    default:
        out.append(char(0x00));
        break;
    }
    return out;
}

quint64 BinaryPlistWriter::addScalar(const QByteArray &encoded)
{
    const auto it = m_scalars.constFind(encoded);
    if (it != m_scalars.constEnd())
        return *it;
    const quint64 ref = quint64(m_objects.size());
    m_objects.append(Object{encoded, 0, {}});
    m_scalars.insert(encoded, ref);
    return ref;
}

quint64 BinaryPlistWriter::flatten(const plist::Value &v, int depth)
{
    if (v.isArray() || v.isDict()) {
        const quint64 ref = quint64(m_objects.size());
        m_objects.append(Object{{}, v.isArray() ? 0xA0 : 0xD0, {}});
        QList<quint64> refs;
        if (depth < m_maxDepth) {
            if (v.isArray()) {
                for (const plist::Value &item : v.toArray()) {
                    if (!item.isNull())
                        refs.append(flatten(item, depth + 1));
                }
            } else {
                QList<quint64> values;
                for (const auto &[key, item] : v.toDict().items()) {
                    if (item.isNull())
                        continue; // no value: no entry
                    refs.append(addScalar(encodeScalar(plist::Value(key))));
                    values.append(flatten(item, depth + 1));
                }
                refs.append(values);
            }
        }
        m_objects[qsizetype(ref)].refs = refs;
        return ref;
    }
    return addScalar(encodeScalar(v));
}

QByteArray BinaryPlistWriter::write(const plist::Value &top)
{
    m_objects.clear();
    m_scalars.clear();
    // A null top value has no stored form; an empty dictionary stands for it.
    flatten(top.isNull() ? plist::Value(plist::Dict()) : top, 0);

    const quint64 count = quint64(m_objects.size());
    const int refSize = bytesFor(count - 1);
    QByteArray out("bplist00");
    QList<quint64> offsets;
    offsets.reserve(m_objects.size());
    for (const Object &o : std::as_const(m_objects)) {
        offsets.append(quint64(out.size()));
        if (o.marker == 0) {
            out.append(o.scalar);
            continue;
        }
        const quint64 n = quint64(o.refs.size()) / (o.marker == 0xD0 ? 2 : 1);
        appendMarker(out, o.marker, n);
        for (quint64 r : o.refs)
            appendBigEndian(out, r, refSize);
    }
    const quint64 tableOffset = quint64(out.size());
    const int offsetSize = bytesFor(offsets.last()); // offsets only grow
    for (quint64 off : std::as_const(offsets))
        appendBigEndian(out, off, offsetSize);
    out.append(QByteArray(6, '\0'));
    out.append(char(offsetSize));
    out.append(char(refSize));
    appendBigEndian(out, count, 8);
    appendBigEndian(out, 0, 8);
    appendBigEndian(out, tableOffset, 8);
    return out;
}
