// Writes a value tree as a binary property list ("bplist00") with the standard trailer.
// Equal scalars are stored once; object references and offsets use the fewest bytes that fit.
#pragma once

#include "platform/PlistValue.h"

#include <QByteArray>
#include <QHash>
#include <QList>

class BinaryPlistWriter
{
public:
    explicit BinaryPlistWriter(int maxDepth) : m_maxDepth(maxDepth) {}

    QByteArray write(const plist::Value &top);

private:
    struct Object {
        QByteArray scalar;   // encoded bytes for scalars
        int marker = 0;      // 0xA0 or 0xD0 for containers
        QList<quint64> refs; // containers: keys then values, or items
    };

    quint64 flatten(const plist::Value &v, int depth);
    quint64 addScalar(const QByteArray &encoded);
    static QByteArray encodeScalar(const plist::Value &v);

    const int m_maxDepth;
    QList<Object> m_objects;
    QHash<QByteArray, quint64> m_scalars;
};
