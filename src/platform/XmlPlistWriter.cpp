// Writes a value tree as an XML property list with the usual DOCTYPE header.
// Characters XML cannot hold are dropped (lone surrogates become U+FFFD) so the file always reads back.
#include "platform/XmlPlistWriter.h"

#include <QIODevice>
#include <QLocale>
#include <QTimeZone>

#include <cmath>

namespace
{
// Characters XML 1.0 cannot carry at all, even as references.
bool allowedInXml(char32_t c)
{
    if (c < 0x20)
        return c == 0x09 || c == 0x0A || c == 0x0D;
    if (c >= 0xD800 && c <= 0xDFFF)
        return false;
    return c != 0xFFFE && c != 0xFFFF;
}

// Written to a device in pieces of about this size.
constexpr qsizetype ChunkBytes = 256 * 1024;
} // namespace

QByteArray XmlPlistWriter::escape(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out.append(c);
            out.append(text.at(++i));
            continue;
        }
        switch (c.unicode()) {
        case '&':
            out.append(QLatin1String("&amp;"));
            break;
        case '<':
            out.append(QLatin1String("&lt;"));
            break;
        case '>':
            out.append(QLatin1String("&gt;"));
            break;
        case '\r':
            out.append(QLatin1String("&#13;")); // a bare CR would read back as LF
            break;
        default:
            // A lone surrogate half stands for a character that was lost: show that, as UTF-8 decoders do.
            if (c.isSurrogate())
                out.append(QChar::ReplacementCharacter);
            else if (allowedInXml(c.unicode()))
                out.append(c);
            break;
        }
    }
    return out.toUtf8();
}

QString XmlPlistWriter::realText(double v)
{
    if (std::isnan(v))
        return QStringLiteral("nan");
    if (std::isinf(v))
        return v > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    return QLocale::c().toString(v, 'g', QLocale::FloatingPointShortest);
}

void XmlPlistWriter::indent(int depth)
{
    m_out.append(QByteArray(depth, '\t'));
}

void XmlPlistWriter::writeValue(const plist::Value &v, int depth)
{
    indent(depth);
    switch (v.type()) {
    case plist::Value::Type::Null:
    case plist::Value::Type::Dict:
        if (v.toDict().isEmpty() || depth >= m_maxDepth) {
            m_out.append("<dict/>\n");
            break;
        }
        m_out.append("<dict>\n");
        for (const auto &[key, item] : v.toDict().items()) {
            if (item.isNull())
                continue; // no value: no entry
            indent(depth + 1);
            m_out.append("<key>" + escape(key) + "</key>\n");
            writeValue(item, depth + 1);
        }
        indent(depth);
        m_out.append("</dict>\n");
        break;
    case plist::Value::Type::Array:
        if (v.toArray().isEmpty() || depth >= m_maxDepth) {
            m_out.append("<array/>\n");
            break;
        }
        m_out.append("<array>\n");
        for (qsizetype i = 0; i < v.toArray().size(); ++i) {
            const plist::Value &item = v.toArray().at(i);
            if (depth == 0 && m_source && i == m_source->array)
                writeSource(depth + 1);
            else if (!item.isNull())
                writeValue(item, depth + 1);
            spill();
        }
        indent(depth);
        m_out.append("</array>\n");
        break;
    case plist::Value::Type::Bool:
        m_out.append(v.toBool() ? "<true/>\n" : "<false/>\n");
        break;
    case plist::Value::Type::Integer:
        m_out.append("<integer>" + QByteArray::number(v.toInteger()) + "</integer>\n");
        break;
    case plist::Value::Type::Real:
        m_out.append("<real>" + realText(v.toReal()).toLatin1() + "</real>\n");
        break;
    case plist::Value::Type::String:
        m_out.append("<string>" + escape(v.toString()) + "</string>\n");
        break;
    case plist::Value::Type::Data: {
        // Base64 in lines of 68 characters, as property-list editors lay it out.
        const QByteArray b64 = v.toData().toBase64();
        m_out.append("<data>\n");
        for (qsizetype i = 0; i < b64.size(); i += 68) {
            indent(depth);
            m_out.append(b64.mid(i, 68));
            m_out.append('\n');
        }
        indent(depth);
        m_out.append("</data>\n");
        break;
    }
    case plist::Value::Type::Date: {
        // Whole seconds: the form every XML plist reader takes.
        const QDateTime t =
            v.toDate().isValid() ? v.toDate().toUTC() : QDateTime::fromSecsSinceEpoch(0, QTimeZone::utc());
        m_out.append("<date>" + t.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'")).toLatin1() +
                     "</date>\n");
        break;
    }
    case plist::Value::Type::Uid:
        m_out.append("<dict>\n");
        indent(depth + 1);
        m_out.append("<key>CF$UID</key>\n");
        indent(depth + 1);
        m_out.append("<integer>" + QByteArray::number(v.toUid().value) + "</integer>\n");
        indent(depth);
        m_out.append("</dict>\n");
        break;
    }
}

void XmlPlistWriter::writeSource(int depth)
{
    // As an array of these dictionaries would be written, one dictionary made at a time.
    indent(depth);
    if (m_source->count <= 0 || depth >= m_maxDepth) {
        m_out.append("<array/>\n");
        return;
    }
    m_out.append("<array>\n");
    for (qsizetype i = 0; i < m_source->count && !m_failed; ++i) {
        writeValue(plist::Value(m_source->at(i)), depth + 1);
        spill();
    }
    indent(depth);
    m_out.append("</array>\n");
}

void XmlPlistWriter::writeHead()
{
    m_out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
            "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
            "<plist version=\"1.0\">\n";
}

void XmlPlistWriter::spill(bool end)
{
    if (!m_device || (!end && m_out.size() < ChunkBytes))
        return;
    if (!m_failed && m_device->write(m_out) != m_out.size())
        m_failed = true;
    m_out.resize(0); // the room stays for the next piece
}

QByteArray XmlPlistWriter::write(const plist::Value &top)
{
    writeHead();
    writeValue(top, 0);
    m_out.append("</plist>\n");
    return std::move(m_out);
}

bool XmlPlistWriter::write(QIODevice &out, const plist::Value &top, const PropertyList::DictSource *source)
{
    m_device = &out;
    m_source = source;
    m_failed = false;
    writeHead();
    writeValue(top, 0);
    m_out.append("</plist>\n");
    spill(true);
    m_out = QByteArray();
    m_device = nullptr;
    m_source = nullptr;
    return !m_failed;
}
