// Parses binary property lists ("bplist00") into a value tree.
// Every offset, length and reference is checked; reference cycles and deep nesting are refused.
#pragma once

#include "platform/PlistValue.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

class BinaryPlistReader
{
public:
    BinaryPlistReader(const QByteArray &bytes, int maxDepth);

    // The top value, or nullopt with error() set.
    std::optional<plist::Value> read();
    QString error() const { return m_error; }

    // Writers repeat a shared object at every reference, so a small file could expand without bound.
    static constexpr quint64 MaxExpandedValues = 4'000'000;
    static constexpr quint64 MaxExpandedBytes = quint64(256) << 20;

private:
    bool fail(const QString &why);
    bool tooLarge();
    bool addExpanded(qsizetype idx, quint64 child);
    // One object by reference: cached, checked for cycles and depth, then read by its kind below.
    bool readObject(quint64 ref, int depth, plist::Value *out);
    bool readSingleton(int marker, plist::Value *out); // null, false, true
    bool readInteger(qint64 pos, int nibble, plist::Value *out);
    bool readReal(qint64 pos, int nibble, plist::Value *out);
    bool readDate(int marker, qint64 pos, plist::Value *out);
    bool readData(qint64 pos, int nibble, plist::Value *out);
    bool readUid(qint64 pos, int nibble, plist::Value *out);
    bool readUnsigned(qint64 pos, int size, quint64 *out) const;
    bool readLength(qint64 *pos, int nibble, quint64 *out);
    bool readRef(qint64 pos, quint64 *out) const;
    bool readString(qint64 pos, quint64 count, bool utf16, plist::Value *out);
    bool readContainer(qsizetype idx, int marker, int nibble, qint64 pos, int depth, plist::Value *out);
    bool readDict(qsizetype idx, quint64 count, qint64 pos, int depth, int *height, plist::Value *out);
    bool readArray(qsizetype idx, quint64 count, qint64 pos, int depth, int *height, plist::Value *out);

    const QByteArray m_bytes;
    const int m_maxDepth;
    QString m_error;
    int m_offsetSize = 0;
    int m_refSize = 0;
    quint64 m_objectCount = 0;
    quint64 m_topObject = 0;
    qint64 m_offsetTable = 0;
    qint64 m_limit = 0;          // objects lie before the trailer
    QList<quint8> m_state;       // 0 unread, 1 being read, 2 read
    QList<plist::Value> m_cache; // shared objects are parsed once
    QList<int> m_height;         // nesting height of each parsed object
    // What each parsed object becomes once written out again, where shared objects are repeated:
    // its values (itself included) and its string and data bytes.
    QList<quint64> m_expandedValues;
    QList<quint64> m_expandedBytes;
};
