// Turns an outside list (a TXT, CSV or RTF file, or a folder of pictures) into series values by
// the import wizard's rules, without writing anything; the wizard and cardtool share it.
#include "data/ListImport.h"

#include "data/RtfText.h"
#include "foundation/StringUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

namespace
{
const QString fontMarker = QStringLiteral("NSFont = ");

// Lines end at CRLF, CR or LF, whichever the text was written with.
const QRegularExpression &lineEnd()
{
    static const QRegularExpression re(QStringLiteral("\r\n|\r|\n"));
    return re;
}

} // namespace

const QString ListImport::MsgInvalidFile = QStringLiteral("Please select a valid file.");
const QString ListImport::MsgCorrupted =
    QStringLiteral("Either file is corrupted or selected file contains invalid characters.");
const QString ListImport::MsgEnterData = QStringLiteral("Please enter some data.");
const QStringList ListImport::pictureExtensions = {
    QStringLiteral("jpg"),  QStringLiteral("jpeg"), QStringLiteral("jpe"),
    QStringLiteral("jfif"), QStringLiteral("gif"),  QStringLiteral("bmp"),
    QStringLiteral("png"),  QStringLiteral("tif"),  QStringLiteral("tiff")};

ListImport::Kind ListImport::kindOf(const QString &path)
{
    const QString ext = QFileInfo(path).suffix().toUpper();
    if (ext == QLatin1String("RTF"))
        return Kind::Rtf;
    if (ext == QLatin1String("CSV"))
        return Kind::Csv;
    return Kind::Txt;
}

QString ListImport::clean(const QString &value)
{
    QString v = value;
    v.remove(QLatin1Char('\\'));
    v.remove(QLatin1Char('{'));
    v.remove(QLatin1Char('}'));
    return Trim_Str(v);
}

QStringList ListImport::fromText(const QString &text)
{
    QStringList values;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QString v = clean(line);
        if (v.contains(fontMarker))
            break;
        if (!v.isEmpty())
            values << v;
    }
    return values;
}

QStringList ListImport::fromCsv(const QString &text, int column)
{
    QStringList values;
    for (const QString &row : text.split(lineEnd())) {
        const QStringList fields = row.split(QLatin1Char(','));
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const QString v = clean(fields.at(i));
            if (v.contains(fontMarker))
                break;
            if (column > 0 && i != column - 1)
                continue;
            if (!v.isEmpty())
                values << v;
        }
    }
    return values;
}

QStringList ListImport::fromPaste(const QString &text, bool newSeries)
{
    QStringList values;
    const QString all = Trim_Str(text);
    if (all.isEmpty())
        return values;
    for (const QString &line : all.split(lineEnd())) {
        const QString v = newSeries ? line : Trim_Str(line);
        if (!v.isEmpty())
            values << v;
    }
    return values;
}

QStringList ListImport::fromRtf(const QByteArray &bytes, bool *parsed)
{
    const RtfText doc = RtfText::parse(bytes);
    // A document without any text is as unusable as one that does not parse.
    const bool usable = doc.ok() && !doc.runs().isEmpty();
    if (parsed)
        *parsed = usable;
    return usable ? fromText(doc.firstRunText()) : QStringList();
}

QString ListImport::decodeText(const QByteArray &bytes)
{
    if (const auto bom = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*bom);
        if (*bom != QStringConverter::Utf8)
            return decoder.decode(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return RtfText::decodeWindows1252(bytes);
}

ListImportResult ListImport::readFile(const QString &path, Kind kind, int column)
{
    ListImportResult result;
    auto refuse = [&result](const QString &message, const QString &reason) {
        static_cast<OpResult &>(result) = OpResult::failed(message, reason);
        return result;
    };
    QFile file(path);
    if (path.isEmpty() || QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return refuse(MsgInvalidFile, path + QStringLiteral(": cannot be opened"));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return refuse(MsgInvalidFile, path + QStringLiteral(": ") + file.errorString());
    if (kind == Kind::Rtf) {
        bool parsed = false;
        result.values = fromRtf(bytes, &parsed);
        if (!parsed)
            return refuse(MsgCorrupted, path + QStringLiteral(": not RTF, or no text in it"));
    } else {
        const QString text = decodeText(bytes);
        if (text.isEmpty())
            return refuse(MsgCorrupted, path + QStringLiteral(": no text"));
        result.values = kind == Kind::Csv ? fromCsv(text, column) : fromText(text);
    }
    return result;
}

QStringList ListImport::pictureFiles(const QString &folder)
{
    QStringList paths;
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return paths;
    QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    std::sort(entries.begin(), entries.end(), [](const QFileInfo &a, const QFileInfo &b) {
        const int c = a.fileName().compare(b.fileName(), Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.fileName() < b.fileName();
    });
    for (const QFileInfo &fi : entries) {
        if (fi.isDir() || !fi.exists())
            continue;
        if (pictureExtensions.contains(fi.suffix().toLower()))
            paths << dir.filePath(fi.fileName());
    }
    return paths;
}
