// Parses XML property lists into a value tree; {"CF$UID": n} dictionaries become UIDs.
// External entities are never fetched and entity expansion is capped by the stream reader.
#include "platform/XmlPlistReader.h"

#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QTimeZone>

#include <cmath>
#include <limits>

namespace
{
// Keys held once at most: a file of ever new keys gains nothing from holding them.
constexpr qsizetype MaxHeldKeys = 4096;
} // namespace

XmlPlistReader::XmlPlistReader(QIODevice &input, int maxDepth, const PropertyList::DictSink *sink)
    : m_xml(&input), m_maxDepth(maxDepth), m_sink(sink)
{
}

bool XmlPlistReader::fail(const QString &why)
{
    if (m_error.isEmpty())
        m_error = QStringLiteral("The XML property list is damaged: %1 (line %2).")
                      .arg(why)
                      .arg(m_xml.lineNumber());
    return false;
}

std::optional<qint64> XmlPlistReader::parseInteger(QStringView text)
{
    QStringView t = text.trimmed();
    bool negative = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        negative = t.startsWith(u'-');
        t = t.mid(1);
    }
    int base = 10;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        t = t.mid(2);
    }
    if (t.isEmpty())
        return std::nullopt;
    for (QChar c : t) {
        const bool digit = c.isDigit() && c.unicode() < 128;
        const bool hex = base == 16 && QStringLiteral("abcdefABCDEF").contains(c);
        if (!digit && !hex)
            return std::nullopt;
    }
    bool ok = false;
    const quint64 magnitude = t.toULongLong(&ok, base);
    if (!ok)
        return std::nullopt;
    if (negative) {
        if (magnitude > quint64(std::numeric_limits<qint64>::max()) + 1)
            return std::nullopt;
        return qint64(0 - magnitude);
    }
    if (magnitude > quint64(std::numeric_limits<qint64>::max()))
        return std::nullopt;
    return qint64(magnitude);
}

std::optional<double> XmlPlistReader::parseReal(QStringView text)
{
    const QStringView t = text.trimmed();
    const QString lower = t.toString().toLower();
    if (lower == QLatin1String("nan") || lower == QLatin1String("+nan") || lower == QLatin1String("-nan"))
        return std::numeric_limits<double>::quiet_NaN();
    if (lower == QLatin1String("inf") || lower == QLatin1String("+inf") ||
        lower == QLatin1String("infinity") || lower == QLatin1String("+infinity"))
        return std::numeric_limits<double>::infinity();
    if (lower == QLatin1String("-inf") || lower == QLatin1String("-infinity"))
        return -std::numeric_limits<double>::infinity();
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double d = c.toDouble(t, &ok);
    if (!ok)
        return std::nullopt;
    return d;
}

std::optional<QDateTime> XmlPlistReader::parseDate(QStringView text)
{
    // ISO 8601 in UTC; parts may be left off from the right, and seconds may carry a fraction.
    static const QRegularExpression re(QStringLiteral(
        R"(^(\d{4})(?:-(\d\d)(?:-(\d\d)(?:T(\d\d)(?::(\d\d)(?::(\d\d)(?:\.(\d+))?)?)?)?)?)?Z$)"));
    const auto m = re.match(text.trimmed().toString());
    if (!m.hasMatch())
        return std::nullopt;
    auto part = [&](int i, int fallback) {
        return m.capturedView(i).isEmpty() ? fallback : m.capturedView(i).toInt();
    };
    const QDate date(part(1, 1), part(2, 1), part(3, 1));
    int ms = 0;
    if (!m.capturedView(7).isEmpty())
        ms = int(std::lround((QStringLiteral("0.") + m.captured(7).left(9)).toDouble() * 1000.0));
    const QTime time(part(4, 0), part(5, 0), part(6, 0));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, QTimeZone::utc()).addMSecs(ms);
}

// Moves to the next start or end element; text other than white space between elements is an error.
bool XmlPlistReader::nextElement(bool *isStart)
{
    while (!m_xml.atEnd()) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::StartElement:
            *isStart = true;
            return true;
        case QXmlStreamReader::EndElement:
            *isStart = false;
            return true;
        case QXmlStreamReader::Characters:
            if (!m_xml.isWhitespace())
                return fail(QStringLiteral("unexpected text"));
            break;
        case QXmlStreamReader::Invalid:
            return fail(m_xml.errorString());
        default:
            break;
        }
    }
    return fail(m_xml.hasError() ? m_xml.errorString() : QStringLiteral("the file ends early"));
}

bool XmlPlistReader::readText(QString *out)
{
    *out = m_xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
    if (m_xml.hasError())
        return fail(m_xml.errorString());
    return true;
}

bool XmlPlistReader::readValue(int depth, plist::Value *out)
{
    if (depth > m_maxDepth)
        return fail(QStringLiteral("containers are nested too deeply"));
    const QString name = m_xml.name().toString();
    if (name == QLatin1String("dict"))
        return readDict(depth, out);
    if (name == QLatin1String("array"))
        return readArray(depth, out);
    return readScalar(name, out);
}

bool XmlPlistReader::readDict(int depth, plist::Value *out)
{
    bool isStart = false;
    QList<QPair<QString, plist::Value>> items;
    QHash<QString, qsizetype> seen;
    for (;;) {
        if (!nextElement(&isStart))
            return false;
        if (!isStart)
            break;
        if (m_xml.name() != QLatin1String("key"))
            return fail(QStringLiteral("a dictionary entry has no key"));
        QString key;
        if (!readText(&key))
            return false;
        if (const auto held = m_keys.constFind(key); held != m_keys.constEnd())
            key = *held;
        else if (m_keys.size() < MaxHeldKeys)
            m_keys.insert(key, key);
        if (!nextElement(&isStart))
            return false;
        if (!isStart)
            return fail(QStringLiteral("the key \"%1\" has no value").arg(key.left(80)));
        plist::Value item;
        if (!readValue(depth + 1, &item))
            return false;
        const auto it = seen.constFind(key);
        if (it != seen.constEnd()) {
            items[*it].second = item;
        } else {
            seen.insert(key, items.size());
            items.append({key, item});
        }
    }
    if (items.size() == 1 && items.first().first == QLatin1String("CF$UID") &&
        items.first().second.isInteger() && items.first().second.toInteger() >= 0) {
        *out = plist::Value(plist::Uid{quint64(items.first().second.toInteger())});
    } else {
        *out = plist::Value(plist::Dict::fromUniqueItems(std::move(items)));
    }
    return true;
}

bool XmlPlistReader::readArray(int depth, plist::Value *out)
{
    bool isStart = false;
    plist::Array array;
    // The top array's elements are counted, and the one the sink names hands its dictionaries over.
    const bool top = depth == 0;
    const bool sinking = m_sink && depth == 1 && m_topIndex == m_sink->array;
    for (qsizetype index = 0;; ++index) {
        if (!nextElement(&isStart))
            return false;
        if (!isStart)
            break;
        if (top)
            m_topIndex = index;
        plist::Value item;
        if (!readValue(depth + 1, &item))
            return false;
        if (sinking && item.isDict() && m_sink->take(item.toDict()))
            continue;
        array.append(item);
    }
    *out = plist::Value(array);
    return true;
}

bool XmlPlistReader::readScalar(const QString &name, plist::Value *out)
{
    QString text;
    if (!readText(&text))
        return false;
    if (name == QLatin1String("true") || name == QLatin1String("false")) {
        *out = plist::Value(name == QLatin1String("true"));
        return true;
    }
    // A parsed scalar, or a message saying what the text should have been.
    auto scalar = [&](const auto &parsed, const char *what) {
        if (!parsed)
            return fail(QStringLiteral("\"%1\" is not %2").arg(text.left(40), QLatin1String(what)));
        *out = plist::Value(*parsed);
        return true;
    };
    if (name == QLatin1String("string")) {
        *out = plist::Value(text);
    } else if (name == QLatin1String("integer")) {
        return scalar(parseInteger(text), "an integer in range");
    } else if (name == QLatin1String("real")) {
        return scalar(parseReal(text), "a number");
    } else if (name == QLatin1String("date")) {
        return scalar(parseDate(text), "a date");
    } else if (name == QLatin1String("data")) {
        QByteArray b64 = text.toLatin1();
        b64.replace(' ', "").replace('\t', "").replace('\n', "").replace('\r', "");
        const auto decoded = QByteArray::fromBase64Encoding(b64, QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return fail(QStringLiteral("data is not valid base64"));
        *out = plist::Value(decoded.decoded);
    } else {
        return fail(QStringLiteral("unknown element <%1>").arg(name.left(40)));
    }
    return true;
}

std::optional<plist::Value> XmlPlistReader::read()
{
    bool isStart = false;
    if (!nextElement(&isStart))
        return std::nullopt;
    plist::Value top;
    if (m_xml.name() == QLatin1String("plist")) {
        if (!nextElement(&isStart))
            return std::nullopt;
        if (!isStart) {
            fail(QStringLiteral("the property list is empty"));
            return std::nullopt;
        }
        if (!readValue(0, &top))
            return std::nullopt;
        if (!nextElement(&isStart))
            return std::nullopt;
        if (isStart) {
            fail(QStringLiteral("more than one top value"));
            return std::nullopt;
        }
    } else if (!readValue(0, &top)) {
        return std::nullopt;
    }
    // The rest must still be well-formed XML.
    while (!m_xml.atEnd()) {
        const auto token = m_xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            fail(QStringLiteral("content after the end of the property list"));
            return std::nullopt;
        }
    }
    if (m_xml.hasError() && m_xml.error() != QXmlStreamReader::PrematureEndOfDocumentError) {
        fail(m_xml.errorString());
        return std::nullopt;
    }
    return top;
}
