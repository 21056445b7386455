#include "SpreadsheetWriter.h"

#include "DataState.h"
#include "SSZipArchive.h"
#include "XlsxText.h"
#include "ZipReader.h"
#include "foundation/FoundationState.h"
#include "platform/ResourceRoot.h"

#include <QBuffer>
#include <QFileInfo>
#include <QXmlStreamWriter>

namespace
{

const QString kMainNs = QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main");
const QString kRelNs = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
const QString kMcNs = QStringLiteral("http://schemas.openxmlformats.org/markup-compatibility/2006");
const QString kX14acNs = QStringLiteral("http://schemas.microsoft.com/office/spreadsheetml/2009/9/ac");
const QString kMxNs = QStringLiteral("http://schemas.microsoft.com/office/mac/excel/2008/main");
const QString kSheetPart = QStringLiteral("xl/worksheets/sheet1.xml");
const QString kStringsPart = QStringLiteral("xl/sharedStrings.xml");

QString &templateOverride()
{
    static QString path;
    return path;
}

// A standalone UTF-8 XML document whose body write() produces.
template <typename WriteBody> QByteArray xmlDocument(WriteBody write)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter w(&buffer);
    w.setAutoFormatting(true);
    w.writeStartDocument(QStringLiteral("1.0"), true);
    write(w);
    w.writeEndDocument();
    return out;
}

void writeText(QXmlStreamWriter &w, const QString &text)
{
    w.writeStartElement(QStringLiteral("t"));
    const QString escaped = XlsxText::escape(text);
    if (!escaped.isEmpty() && (escaped.front().isSpace() || escaped.back().isSpace()))
        w.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
    w.writeCharacters(escaped);
    w.writeEndElement();
}

} // namespace

SpreadsheetWriter &SpreadsheetWriter::shared()
{
    static SpreadsheetWriter instance;
    return instance;
}

XlsxRows SpreadsheetWriter::ReadWorkbook(const QString &path, bool only_col)
{
    XlsxReader &reader = shared().m_reader;
    DataState &state = DataState::instance();
    XlsxRows result;
    if (only_col || !reader.isOpen() || reader.path() != path) {
        if (only_col)
            state.Excel_Sheet_Columns = 1;
        if (!reader.open(path, &result.message))
            return result;
        if (only_col) {
            result.ok = true;
            return result;
        }
    }
    result = reader.readSheet(state.Excel_Sheet_Number, false);
    if (result.ok)
        state.Excel_Sheet_Columns = result.columns;
    return result;
}

XlsxRows SpreadsheetWriter::ReadData_only_column()
{
    DataState &state = DataState::instance();
    XlsxRows result = shared().m_reader.readSheet(state.Excel_Sheet_Number, true);
    if (result.ok)
        state.Excel_Sheet_Columns = result.columns;
    return result;
}

QStringList SpreadsheetWriter::Read_Sheet_Name()
{
    return shared().m_reader.sheetNames();
}

QString SpreadsheetWriter::ColumnIndexToName(int n)
{
    return XlsxText::ColumnIndexToName(n);
}

void SpreadsheetWriter::setTemplatePath(const QString &path)
{
    templateOverride() = path;
}

QString SpreadsheetWriter::templatePath()
{
    if (!templateOverride().isEmpty())
        return templateOverride();
    // The per-user data root first: it holds the shipped resources, copied at first start.
    if (!Resource_Path.isEmpty() && QFileInfo::exists(Resource_Path + QStringLiteral("Template.xlsx")))
        return Resource_Path + QStringLiteral("Template.xlsx");
    const QString shipped = ResourceRoot::shippedLocation() + QStringLiteral("/Template.xlsx");
    if (QFileInfo::exists(shipped))
        return shipped;
    return QStringLiteral(TESSALY_SOURCE_RESOURCES "/Template.xlsx");
}

QByteArray SpreadsheetWriter::WriteWorksheetData(const QList<QStringList> &rows, QStringList *sharedStrings)
{
    sharedStrings->clear();
    const int columns = rows.isEmpty() ? 0 : int(rows.first().size());
    const int rowCount = int(rows.size());
    const QString last =
        XlsxText::ColumnIndexToName(std::max(columns, 1)) + QString::number(std::max(rowCount, 1));
    return xmlDocument([&](QXmlStreamWriter &w) {
        w.writeStartElement(QStringLiteral("worksheet"));
        w.writeAttribute(QStringLiteral("xmlns"), kMainNs);
        w.writeAttribute(QStringLiteral("xmlns:r"), kRelNs);
        w.writeAttribute(QStringLiteral("xmlns:mc"), kMcNs);
        w.writeAttribute(QStringLiteral("xmlns:x14ac"), kX14acNs);
        w.writeAttribute(QStringLiteral("mc:Ignorable"), QStringLiteral("x14ac"));
        w.writeEmptyElement(QStringLiteral("dimension"));
        w.writeAttribute(QStringLiteral("ref"),
                         rowCount > 0 && columns > 0 ? QStringLiteral("A1:") + last : QStringLiteral("A1"));
        w.writeStartElement(QStringLiteral("sheetViews"));
        w.writeStartElement(QStringLiteral("sheetView"));
        w.writeAttribute(QStringLiteral("tabSelected"), QStringLiteral("1"));
        w.writeAttribute(QStringLiteral("workbookViewId"), QStringLiteral("0"));
        w.writeEmptyElement(QStringLiteral("selection"));
        w.writeAttribute(QStringLiteral("activeCell"), last);
        w.writeAttribute(QStringLiteral("sqref"), last);
        w.writeEndElement();
        w.writeEndElement();
        w.writeEmptyElement(QStringLiteral("sheetFormatPr"));
        w.writeAttribute(QStringLiteral("baseColWidth"), QStringLiteral("10"));
        w.writeAttribute(QStringLiteral("defaultRowHeight"), QStringLiteral("15"));
        w.writeAttribute(QStringLiteral("x14ac:dyDescent"), QStringLiteral("0"));
        w.writeStartElement(QStringLiteral("sheetData"));
        for (int k = 0; k < rowCount; ++k) {
            const QString rowNumber = QString::number(k + 1);
            w.writeStartElement(QStringLiteral("row"));
            w.writeAttribute(QStringLiteral("r"), rowNumber);
            w.writeAttribute(QStringLiteral("spans"), QStringLiteral("1:%1").arg(std::max(columns, 1)));
            const QStringList &row = rows.at(k);
            for (int j = 0; j < row.size() && j < XlsxText::MaxColumns; ++j) {
                const QString &value = row.at(j);
                if (value.isEmpty())
                    continue; // an empty cell needs no element
                w.writeStartElement(QStringLiteral("c"));
                w.writeAttribute(QStringLiteral("r"), XlsxText::ColumnIndexToName(j + 1) + rowNumber);
                if (XlsxText::isPlainNumber(value)) {
                    w.writeTextElement(QStringLiteral("v"), value);
                } else {
                    w.writeAttribute(QStringLiteral("t"), QStringLiteral("s"));
                    sharedStrings->append(value);
                    w.writeTextElement(QStringLiteral("v"), QString::number(sharedStrings->size() - 1));
                }
                w.writeEndElement();
            }
            w.writeEndElement();
        }
        w.writeEndElement(); // sheetData
        w.writeEmptyElement(QStringLiteral("pageMargins"));
        w.writeAttribute(QStringLiteral("left"), QStringLiteral("0.75"));
        w.writeAttribute(QStringLiteral("right"), QStringLiteral("0.75"));
        w.writeAttribute(QStringLiteral("top"), QStringLiteral("1"));
        w.writeAttribute(QStringLiteral("bottom"), QStringLiteral("0.5"));
        w.writeAttribute(QStringLiteral("header"), QStringLiteral("0.5"));
        w.writeAttribute(QStringLiteral("footer"), QStringLiteral("0.5"));
        w.writeStartElement(QStringLiteral("extLst"));
        w.writeStartElement(QStringLiteral("ext"));
        w.writeAttribute(QStringLiteral("xmlns:mx"), kMxNs);
        w.writeAttribute(QStringLiteral("uri"), QStringLiteral("{64002731-A6B0-56B0-2670-7721B7C09600}"));
        w.writeEmptyElement(QStringLiteral("mx:PLV"));
        w.writeAttribute(QStringLiteral("Mode"), QStringLiteral("0"));
        w.writeAttribute(QStringLiteral("OnePage"), QStringLiteral("0"));
        w.writeAttribute(QStringLiteral("WScale"), QStringLiteral("0"));
        w.writeEndElement();
        w.writeEndElement();
        w.writeEndElement(); // worksheet
    });
}

QByteArray SpreadsheetWriter::WriteSharedStringsXML(const QStringList &sharedStrings)
{
    return xmlDocument([&](QXmlStreamWriter &w) {
        w.writeStartElement(QStringLiteral("sst"));
        w.writeAttribute(QStringLiteral("xmlns"), kMainNs);
        if (!sharedStrings.isEmpty()) {
            const QString count = QString::number(sharedStrings.size());
            w.writeAttribute(QStringLiteral("count"), count);
            w.writeAttribute(QStringLiteral("uniqueCount"), count);
        }
        for (const QString &s : sharedStrings) {
            w.writeStartElement(QStringLiteral("si"));
            writeText(w, s);
            w.writeEndElement();
        }
        w.writeEndElement();
    });
}

bool SpreadsheetWriter::WriteWorkbook(const QString &path, const QList<QStringList> &rows, bool hasTitleRow,
                                      QString *message)
{
    Q_UNUSED(hasTitleRow);
    auto fail = [&](const QString &text) {
        if (message)
            *message = text;
        return false;
    };
    ZipReader templ;
    if (!templ.open(templatePath()) || !templ.goToFirst())
        return fail(QStringLiteral("The workbook template \"Template.xlsx\" is missing or damaged."));
    QStringList strings;
    const QByteArray sheet = WriteWorksheetData(rows, &strings);
    const QByteArray sst = WriteSharedStringsXML(strings);

    SSZipArchive archive(path);
    if (!archive.open())
        return fail(QStringLiteral("Error in file accessing."));
    bool ok = true;
    bool sheetDone = false;
    bool stringsDone = false;
    for (bool more = true; ok && more; more = templ.goToNext()) {
        ZipEntryInfo info;
        if (!templ.currentInfo(&info)) {
            ok = false;
            break;
        }
        if (info.isFolder)
            continue;
        if (info.name.compare(kSheetPart, Qt::CaseInsensitive) == 0) {
            ok = archive.writeData(sheet, kSheetPart);
            sheetDone = true;
        } else if (info.name.compare(kStringsPart, Qt::CaseInsensitive) == 0) {
            ok = archive.writeData(sst, kStringsPart);
            stringsDone = true;
        } else {
            QByteArray bytes;
            ok = templ.readCurrent(&bytes, 64 << 20) && archive.writeData(bytes, info.name);
        }
    }
    if (ok && !sheetDone)
        ok = archive.writeData(sheet, kSheetPart);
    if (ok && !stringsDone)
        ok = archive.writeData(sst, kStringsPart);
    if (!archive.close(ok) || !ok)
        return fail(QStringLiteral("Error in file accessing."));
    return true;
}
