#include "XlsxReader.h"

#include "XlsxSheetReader.h"
#include "XlsxXmlScanner.h"
#include "ZipEntryDevice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace
{

constexpr qint64 kSmallPartLimit = 64ll << 20;    // workbook and relationship parts
constexpr qint64 kStringsPartLimit = 256ll << 20; // shared strings
constexpr qint64 kSheetPartLimit = 8ll << 30;     // a worksheet
constexpr qint64 kSniffLimit = 64ll << 20;        // bytes looked through to name a refused file

using Token = XlsxXmlScanner::Token;

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

// Part names compare without regard to case, and some archivers store backslashes.
QString foldedPartName(QString name)
{
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (name.startsWith(QLatin1Char('/')))
        name.remove(0, 1);
    return name.toCaseFolded();
}

QString attributeOf(XlsxXmlScanner &xml, std::string_view name, bool prefixed = false)
{
    std::string value;
    return xml.attribute(name, &value, prefixed) ? QString::fromStdString(value) : QString();
}

bool isTrue(const QString &flag)
{
    return flag == u"1" || flag.compare(u"true", Qt::CaseInsensitive) == 0;
}

QByteArray utf16le(const char *latin1)
{
    QByteArray out;
    for (const char *p = latin1; *p; ++p) {
        out.append(*p);
        out.append('\0');
    }
    return out;
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

QString XlsxReader::encryptedMessage()
{
    return corruptMessage() + QLatin1Char('\n') +
           QStringLiteral(
               "The workbook is protected with a password. Remove the password in your spreadsheet "
               "program, save the workbook and choose it again.");
}

QString XlsxReader::oldFormatMessage()
{
    return corruptMessage() + QLatin1Char('\n') +
           QStringLiteral(
               "The file is an Excel 97-2003 workbook (.xls). Save it as an Excel workbook (.xlsx) "
               "in your spreadsheet program and choose it again.");
}

QString XlsxReader::notAFileMessage()
{
    return corruptMessage() + QLatin1Char('\n') + QStringLiteral("The selected item is not a regular file.");
}

XlsxReader::XlsxReader() : m_shared(std::make_shared<XlsxStringPool>()) {}
XlsxReader::~XlsxReader() = default;

void XlsxReader::close()
{
    m_zip.close();
    m_open = false;
    m_path.clear();
    m_sheets.clear();
    m_recalculatedOnLoad = false;
    // Tables already read keep the strings they refer to.
    m_shared = std::make_shared<XlsxStringPool>();
    m_formats.reset();
}

bool XlsxReader::open(const QString &path, QString *message)
{
    close();
    auto failed = [&](const QString &why) {
        close();
        if (message)
            *message = why;
        return false;
    };
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return failed(notAFileMessage()); // a pipe or device would block or never end
    if (!m_zip.open(path))
        return failed(refusalOf(path));
    QString why = corruptMessage();
    if (!entriesSound(&why))
        return failed(why);
    QString workbookPart = QStringLiteral("xl/workbook.xml");
    QList<Relationship> rootRels;
    const PartState root = readRelationships(QStringLiteral("_rels/.rels"), &rootRels);
    if (root == PartState::Bad)
        return failed(corruptMessage());
    for (const Relationship &r : rootRels) {
        if (r.type.endsWith(QLatin1String("/officeDocument"))) {
            workbookPart = resolveTarget(QString(), r.target);
            break;
        }
    }
    if (workbookPart.isEmpty() || !readWorkbook(workbookPart))
        return failed(corruptMessage());
    m_open = true;
    m_path = path;
    return true;
}

// A file that is no zip archive: an encrypted workbook and an old binary workbook are both
// compound files, told apart by the streams they name.
QString XlsxReader::refusalOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(8) != QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))
        return corruptMessage();
    const QByteArray encrypted = utf16le("EncryptedPackage");
    const QByteArray workbook = utf16le("Workbook");
    bool sawWorkbook = false;
    QByteArray tail;
    for (qint64 seen = 0; seen < kSniffLimit && !file.atEnd();) {
        const QByteArray chunk = tail + file.read(1 << 20);
        if (chunk.size() == tail.size())
            break;
        seen += chunk.size() - tail.size();
        if (chunk.contains(encrypted))
            return encryptedMessage();
        sawWorkbook = sawWorkbook || chunk.contains(workbook);
        tail = chunk.right(encrypted.size());
    }
    return sawWorkbook ? oldFormatMessage() : corruptMessage();
}

// Two entries of one part name would let two programs show different data; an encrypted entry
// cannot be read without its password.
bool XlsxReader::entriesSound(QString *message)
{
    QSet<QString> names;
    bool more = m_zip.goToFirst();
    while (more) {
        ZipEntryInfo info;
        if (!m_zip.currentInfo(&info))
            return false;
        if (info.encrypted) {
            *message = encryptedMessage();
            return false;
        }
        const QString folded = foldedPartName(info.name);
        if (names.contains(folded))
            return false;
        names.insert(folded);
        bool error = false;
        more = m_zip.goToNext(&error);
        if (error)
            return false;
    }
    return true;
}

// Each internal relationship of the part; external targets are left out.
XlsxReader::PartState XlsxReader::readRelationships(const QString &part, QList<Relationship> *rels)
{
    rels->clear();
    if (!m_zip.locate(part))
        return PartState::Missing;
    auto device = m_zip.openCurrent({}, kSmallPartLimit);
    if (!device)
        return PartState::Bad;
    XlsxXmlScanner xml(device.get());
    for (Token t = xml.next(); t != Token::EndOfDocument; t = xml.next()) {
        if (t == Token::Invalid)
            return PartState::Bad;
        if (t != Token::StartElement || xml.name() != "Relationship")
            continue;
        if (attributeOf(xml, "TargetMode") == u"External")
            continue;
        rels->append({attributeOf(xml, "Id"), attributeOf(xml, "Type"), attributeOf(xml, "Target")});
    }
    return device->finish() ? PartState::Read : PartState::Bad;
}

bool XlsxReader::readWorkbook(const QString &part)
{
    QList<Relationship> rels;
    if (readRelationships(relsPartOf(part), &rels) == PartState::Bad || !m_zip.locate(part))
        return false;
    QList<QPair<QString, QString>> sheets; // name, relationship id
    bool date1904 = false;
    {
        auto device = m_zip.openCurrent({}, kSmallPartLimit);
        if (!device)
            return false;
        XlsxXmlScanner xml(device.get());
        bool inSheets = false;
        for (Token t = xml.next(); t != Token::EndOfDocument; t = xml.next()) {
            if (t == Token::Invalid)
                return false;
            if (t == Token::StartElement && xml.name() == "workbookPr")
                date1904 = isTrue(attributeOf(xml, "date1904"));
            // Writers that cannot work formulas out store none or 0 and ask for this.
            if (t == Token::StartElement && xml.name() == "calcPr")
                m_recalculatedOnLoad = isTrue(attributeOf(xml, "fullCalcOnLoad"));
            if (xml.name() == "sheets")
                inSheets = t == Token::StartElement;
            else if (t == Token::StartElement && inSheets && xml.name() == "sheet")
                sheets.append({attributeOf(xml, "name"), attributeOf(xml, "id", true)});
        }
        if (!device->finish())
            return false;
    }
    for (const auto &[name, id] : sheets) {
        QString target;
        for (const Relationship &r : rels) {
            if (r.id == id)
                target = resolveTarget(part, r.target);
        }
        m_sheets.append({name, target});
    }
    QString stringsPart;
    for (const Relationship &r : rels) {
        if (r.type.endsWith(QLatin1String("/sharedStrings")))
            stringsPart = resolveTarget(part, r.target);
    }
    if (stringsPart.isEmpty() && m_zip.contains(QStringLiteral("xl/sharedStrings.xml")))
        stringsPart = QStringLiteral("xl/sharedStrings.xml");
    QString stylesPart;
    for (const Relationship &r : rels) {
        if (r.type.endsWith(QLatin1String("/styles")))
            stylesPart = resolveTarget(part, r.target);
    }
    if (stylesPart.isEmpty() && m_zip.contains(QStringLiteral("xl/styles.xml")))
        stylesPart = QStringLiteral("xl/styles.xml");
    return (stringsPart.isEmpty() || readSharedStrings(stringsPart)) && readStyles(stylesPart, date1904);
}

// The formats of the cell styles, so cells read as the spreadsheet shows them.
bool XlsxReader::readStyles(const QString &part, bool date1904)
{
    auto formats = std::make_shared<XlsxCellFormats>();
    formats->setDate1904(date1904);
    if (!part.isEmpty() && m_zip.locate(part)) {
        auto device = m_zip.openCurrent({}, kSmallPartLimit);
        if (!device)
            return false;
        XlsxXmlScanner xml(device.get());
        if (!formats->read(xml) || !device->finish())
            return false;
    }
    m_formats = std::move(formats);
    return true;
}

bool XlsxReader::readSharedStrings(const QString &part)
{
    if (!m_zip.locate(part))
        return true; // a workbook of numbers alone may name the part without holding it
    auto device = m_zip.openCurrent({}, kStringsPartLimit);
    if (!device)
        return false;
    XlsxXmlScanner xml(device.get());
    std::string item;
    // A part in UTF-16 may grow by half as UTF-8; nothing beyond that is kept.
    const size_t limit = size_t(kStringsPartLimit) * 3 / 2;
    for (Token t = xml.next(); t != Token::EndOfDocument; t = xml.next()) {
        if (t == Token::Invalid)
            return false;
        if (t != Token::StartElement || xml.name() != "si")
            continue;
        item.clear();
        if (!XlsxSheetReader::readStringItem(xml, &item, limit - m_shared->textBytes()))
            return false;
        m_shared->append(item, item.find("_x") != std::string::npos);
    }
    return device->finish();
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
    result.message = corruptMessage();
    if (!m_open || sheetNumber < 1 || sheetNumber > m_sheets.size())
        return result;
    const QString part = m_sheets.at(sheetNumber - 1).part;
    if (part.isEmpty() || !m_zip.locate(part))
        return result;
    auto device = m_zip.openCurrent({}, kSheetPartLimit);
    if (!device)
        return result;
    XlsxXmlScanner xml(device.get());
    XlsxSheetReader sheet(xml, m_shared, {CellBudget, TextBudget, MaxRows});
    sheet.setCellFormats(m_formats);
    sheet.setRecalculatedOnLoad(m_recalculatedOnLoad);
    using Outcome = XlsxSheetReader::Outcome;
    Outcome outcome = sheet.read(titleRow);
    // The rest of the part is read only to check it arrived whole.
    if (outcome == Outcome::Ok && !titleRow && !device->finish())
        outcome = Outcome::Corrupt;
    if (device->failed())
        outcome = device->overLimit() ? Outcome::TooLarge : Outcome::Corrupt;
    if (outcome == Outcome::Ok)
        outcome = sheet.finish(titleRow, &result.rows);
    if (outcome != Outcome::Ok) {
        result.rows = XlsxTable();
        result.message = outcome == Outcome::TooLarge ? tooLargeMessage() : corruptMessage();
        return result;
    }
    result.columns = result.rows.columnCount();
    result.message.clear();
    result.ok = true;
    return result;
}
