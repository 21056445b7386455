// Parses XML property lists into a value tree; {"CF$UID": n} dictionaries become UIDs.
// Nesting is limited and every element is checked, so bad files give a clear error.
#pragma once

#include "platform/PlistValue.h"
#include "platform/PropertyList.h"

#include <QHash>
#include <QString>
#include <QXmlStreamReader>

#include <optional>

class QIODevice;

class XmlPlistReader
{
public:
    // Reads from an open device in pieces: neither a file's bytes nor their decoded text are held
    // whole, only the values read.
    XmlPlistReader(QIODevice &input, int maxDepth, const PropertyList::DictSink *sink = nullptr);

    std::optional<plist::Value> read();
    QString error() const { return m_error; }

    static std::optional<qint64> parseInteger(QStringView text);
    static std::optional<double> parseReal(QStringView text);
    static std::optional<QDateTime> parseDate(QStringView text);

private:
    bool fail(const QString &why);
    bool readValue(int depth, plist::Value *out);
    bool readDict(int depth, plist::Value *out);
    bool readArray(int depth, plist::Value *out);
    // true, false, string, integer, real, date or data, by the element's name.
    bool readScalar(const QString &name, plist::Value *out);
    bool readText(QString *out);
    bool nextElement(bool *isStart);

    // Given the bytes whole, the stream reader decoded all of them at once, a copy twice the
    // file's size held through the parse.
    QXmlStreamReader m_xml;
    // Dictionary keys repeat from row to row; each is held once.
    QHash<QString, QString> m_keys;
    const int m_maxDepth;
    const PropertyList::DictSink *m_sink;
    qsizetype m_topIndex = -1; // the element of the top array being read
    QString m_error;
};
