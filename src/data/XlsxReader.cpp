// Reads an XLSX workbook straight from its zip: the sheets the workbook names, its shared strings,
// and the rows of one worksheet, parsed as a stream so that large sheets need little memory.
#include "XlsxReader.h"

#include "XlsxText.h"
#include "ZipEntryDevice.h"

#include <QDir>
#include <QXmlStreamReader>

namespace
{

constexpr qint64 kSmallPartLimit = 64ll << 20;    // workbook and relationship parts
constexpr qint64 kStringsPartLimit = 256ll << 20; // shared strings
constexpr qint64 kSheetPartLimit = 8ll << 30;     // a worksheet
constexpr qsizetype kMaxRows = 1048576;           // rows a worksheet can have

// Target of a relationship, as a part name relative to the package root; "" when it leaves it.
QString resolveTarget(const QString &sourcePart, const QString &target)
{
    QString t = target;
    t.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString joined;
    if (t.startsWith(QLatin1Char('/'))) {
        joined = t.mid(1);
    } else {
        const qsizetype slash = sourcePart.lastIndexOf(QLatin1Char('/'));
        joined = (slash >= 0 ? sourcePart.left(slash + 1) : QString()) + t;
    }
    const QString clean = QDir::cleanPath(joined);
    if (clean.isEmpty() || clean.startsWith(QLatin1String("..")) || clean.startsWith(QLatin1Char('/')))
        return {};
    return clean;
}

QString relsPartOf(const QString &part)
{
    const qsizetype slash = part.lastIndexOf(QLatin1Char('/'));
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
}

// Text of a string item (<si> or <is>): its <t> and the <t> of its runs, phonetic runs left out.
QString readStringItem(QXmlStreamReader &xml)
{
    QString text;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (xml.name() == u"t") {
                text += xml.readElementText(QXmlStreamReader::SkipChildElements);
            } else if (xml.name() == u"rPh" || xml.name() == u"phoneticPr") {
                xml.skipCurrentElement();
            } else {
                ++depth;
            }
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    return XlsxText::unescape(text);
}

} // namespace

QString XlsxReader::corruptMessage()
{
    return QStringLiteral("Either file is corrupted or selected file contains invalid characters.");
}

QString XlsxReader::tooLargeMessage()
{
    return QStringLiteral("The worksheet is too large to be read.");
}

XlsxReader::XlsxReader() = default;
XlsxReader::~XlsxReader() = default;

void XlsxReader::close()
{
    m_zip.close();
    m_open = false;
    m_path.clear();
    m_sheets.clear();
    m_shared.clear();
}

bool XlsxReader::open(const QString &path, QString *message)
{
    close();
    auto failed = [&]() {
        close();
        if (message)
            *message = corruptMessage();
        return false;
    };
    if (!m_zip.open(path))
        return failed();
    QString workbookPart = QStringLiteral("xl/workbook.xml");
    QList<QStringList> rootRels;
    if (readRelationships(QStringLiteral("_rels/.rels"), &rootRels)) {
        for (const QStringList &r : rootRels) {
            if (r.at(1).endsWith(QLatin1String("/officeDocument"))) {
                workbookPart = resolveTarget(QString(), r.at(2));
                break;
            }
        }
    }
    if (workbookPart.isEmpty() || !readWorkbook(workbookPart))
        return failed();
    m_open = true;
    m_path = path;
    return true;
}

// Each relationship as {Id, Type, Target}; external targets are left out.
bool XlsxReader::readRelationships(const QString &part, QList<QStringList> *rels)
{
    rels->clear();
    if (!m_zip.locate(part))
        return false;
    auto device = m_zip.openCurrent({}, kSmallPartLimit);
    if (!device)
        return false;
    QXmlStreamReader xml(device.get());
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"Relationship") {
            const auto a = xml.attributes();
            if (a.value(QLatin1String("TargetMode")) == u"External")
                continue;
            *rels << QStringList{a.value(QLatin1String("Id")).toString(),
                                 a.value(QLatin1String("Type")).toString(),
                                 a.value(QLatin1String("Target")).toString()};
        }
    }
    return !xml.hasError() && device->finish();
}

bool XlsxReader::readWorkbook(const QString &part)
{
    QList<QStringList> rels;
    readRelationships(relsPartOf(part), &rels);
    if (!m_zip.locate(part))
        return false;
    QList<QPair<QString, QString>> sheets; // name, relationship id
    {
        auto device = m_zip.openCurrent({}, kSmallPartLimit);
        if (!device)
            return false;
        QXmlStreamReader xml(device.get());
        bool inSheets = false;
        while (!xml.atEnd()) {
            const auto token = xml.readNext();
            if (token == QXmlStreamReader::EndElement && xml.name() == u"sheets")
                inSheets = false;
            if (token != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"sheets")
                inSheets = true;
            if (!inSheets || xml.name() != u"sheet")
                continue;
            QString id;
            for (const QXmlStreamAttribute &a : xml.attributes()) {
                if (a.name() == u"id" && !a.namespaceUri().isEmpty())
                    id = a.value().toString();
            }
            sheets.append({xml.attributes().value(QLatin1String("name")).toString(), id});
        }
        if (xml.hasError() || !device->finish())
            return false;
    }
    for (const auto &[name, id] : sheets) {
        QString target;
        for (const QStringList &r : rels) {
            if (r.at(0) == id)
                target = resolveTarget(part, r.at(2));
        }
        m_sheets.append({name, target});
    }
    QString stringsPart;
    for (const QStringList &r : rels) {
        if (r.at(1).endsWith(QLatin1String("/sharedStrings")))
            stringsPart = resolveTarget(part, r.at(2));
    }
    if (stringsPart.isEmpty() && m_zip.contains(QStringLiteral("xl/sharedStrings.xml")))
        stringsPart = QStringLiteral("xl/sharedStrings.xml");
    return stringsPart.isEmpty() || readSharedStrings(stringsPart);
}

bool XlsxReader::readSharedStrings(const QString &part)
{
    m_shared.clear();
    if (!m_zip.locate(part))
        return true; // a workbook of numbers alone may name the part without holding it
    auto device = m_zip.openCurrent({}, kStringsPartLimit);
    if (!device)
        return false;
    QXmlStreamReader xml(device.get());
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si")
            m_shared << readStringItem(xml);
    }
    return !xml.hasError() && device->finish();
}

QStringList XlsxReader::sheetNames() const
{
    QStringList names;
    for (const Sheet &s : m_sheets)
        names << s.name;
    return names;
}

XlsxRows XlsxReader::readSheet(int sheetNumber, bool titleRow)
{
    XlsxRows result;
    if (!m_open || sheetNumber < 1 || sheetNumber > m_sheets.size()) {
        result.message = corruptMessage();
        return result;
    }
    const QString part = m_sheets.at(sheetNumber - 1).part;
    if (part.isEmpty() || !m_zip.locate(part)) {
        result.message = corruptMessage();
        return result;
    }
    auto device = m_zip.openCurrent({}, kSheetPartLimit);
    if (!device) {
        result.message = corruptMessage();
        return result;
    }
    const qsizetype sharedCount = m_shared.size();
    QXmlStreamReader xml(device.get());
    int dimensionColumns = 0;
    int usedColumns = 0;
    qint64 cells = 0;
    bool inSheetData = false;
    bool inRow = false;
    bool done = false;
    QStringList row;
    int nextColumn = 1;
    while (!done && !xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QStringView name = xml.name();
            if (inRow && name == u"c") {
                const auto attrs = xml.attributes();
                int column = attrs.hasAttribute(QLatin1String("r"))
                                 ? XlsxText::columnOfReference(attrs.value(QLatin1String("r")))
                                 : 0;
                if (column == 0)
                    column = nextColumn;
                const QStringView type = attrs.value(QLatin1String("t"));
                const bool sharedType = type == u"s";
                const bool boolType = type == u"b";
                QString v;
                QString inlineText;
                bool hasInline = false;
                while (!xml.atEnd()) {
                    const auto t = xml.readNext();
                    if (t == QXmlStreamReader::EndElement)
                        break;
                    if (t != QXmlStreamReader::StartElement)
                        continue;
                    if (xml.name() == u"v") {
                        v = xml.readElementText(QXmlStreamReader::SkipChildElements);
                    } else if (xml.name() == u"is") {
                        inlineText = readStringItem(xml);
                        hasInline = true;
                    } else {
                        xml.skipCurrentElement(); // a formula: its cached value is in <v>
                    }
                }
                QString text;
                if (sharedType) {
                    bool ok = false;
                    const qlonglong i = v.trimmed().toLongLong(&ok);
                    if (ok && i >= 0 && i < sharedCount)
                        text = m_shared.at(qsizetype(i));
                } else if (hasInline) {
                    text = inlineText;
                } else if (boolType) {
                    const QString b = v.trimmed();
                    text = (b == u"1" || b.compare(u"true", Qt::CaseInsensitive) == 0) ? QStringLiteral("1")
                           : (b == u"0" || b.compare(u"false", Qt::CaseInsensitive) == 0)
                               ? QStringLiteral("0")
                               : b;
                } else {
                    text = v;
                }
                if (column <= XlsxText::MaxColumns) {
                    if (row.size() < column) {
                        cells += column - row.size();
                        row.resize(column);
                    }
                    if (!text.isEmpty())
                        row[column - 1] = text;
                    usedColumns = std::max(usedColumns, column);
                }
                nextColumn = column + 1;
                if (cells > CellBudget) {
                    result.message = tooLargeMessage();
                    return result;
                }
            } else if (inSheetData && name == u"row") {
                inRow = true;
                row.clear();
                nextColumn = 1;
            } else if (name == u"sheetData") {
                inSheetData = true;
            } else if (name == u"dimension" && !inSheetData && dimensionColumns == 0) {
                const auto attrs = xml.attributes();
                const QStringView ref = attrs.value(QLatin1String("ref"));
                const qsizetype colon = ref.indexOf(QLatin1Char(':'));
                dimensionColumns = XlsxText::columnOfReference(ref.mid(colon + 1).trimmed());
            } else if (!inSheetData) {
                if (name != u"worksheet")
                    xml.skipCurrentElement();
            } else {
                xml.skipCurrentElement();
            }
        } else if (token == QXmlStreamReader::EndElement) {
            const QStringView name = xml.name();
            if (inRow && name == u"row") {
                inRow = false;
                result.rows.append(row);
                row.clear();
                if (result.rows.size() > kMaxRows || ++cells > CellBudget) {
                    result = XlsxRows();
                    result.message = tooLargeMessage();
                    return result;
                }
                if (titleRow) {
                    usedColumns = int(result.rows.constFirst().size());
                    done = true;
                }
            } else if (name == u"sheetData") {
                done = true; // nothing after the cells is read
            }
        }
    }
    if (xml.hasError() || (!titleRow && !device->finish()) || device->failed()) {
        result = XlsxRows();
        result.message = device->overLimit() ? tooLargeMessage() : corruptMessage();
        return result;
    }
    int width = std::max(dimensionColumns, usedColumns);
    if (qint64(width) * result.rows.size() > CellBudget)
        width = usedColumns; // a dimension far beyond the cells is not worth the memory
    if (qint64(width) * result.rows.size() > CellBudget) {
        result = XlsxRows();
        result.message = tooLargeMessage();
        return result;
    }
    for (QStringList &r : result.rows)
        r.resize(width);
    if (titleRow && !result.rows.isEmpty()) {
        QStringList &titles = result.rows.first();
        for (int i = 0; i < titles.size(); ++i) {
            if (titles.at(i).isEmpty())
                titles[i] = QStringLiteral("Untitled Column %1").arg(i + 1);
        }
    }
    result.columns = width;
    result.ok = true;
    return result;
}
