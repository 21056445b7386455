#include "data/ListImport.h"

#include "data/ListEncoding.h"
#include "data/RtfText.h"
#include "foundation/StringUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

QString ListImport::tooLargeMessage()
{
    return QStringLiteral(
               "The list file is larger than %1 MB, the most a list may hold. Please split it into "
               "smaller files.")
        .arg(MaxFileSize >> 20);
}

QString ListImport::valueTooLongMessage()
{
    return QStringLiteral("A value in the list is longer than %L1 characters, the most a value may hold.")
        .arg(MaxValueLength);
}

QString ListImport::clean(QStringView value)
{
    QString v = value.toString();
    if (v.contains(QLatin1Char('\\')) || v.contains(QLatin1Char('{')) || v.contains(QLatin1Char('}'))) {
        v.remove(QLatin1Char('\\'));
        v.remove(QLatin1Char('{'));
        v.remove(QLatin1Char('}'));
    }
    return Trim_Str(v);
}

namespace
{
// Adds a cleaned value unless it is empty; false (with the problem told) when it is too long.
bool takeValue(ListValues &values, const QString &v, QString *problem)
{
    if (v.isEmpty())
        return true;
    if (v.size() > ListImport::MaxValueLength) {
        if (problem)
            *problem = ListImport::valueTooLongMessage();
        return false;
    }
    values.append(v);
    return true;
}

// Where a CSV field ended: at its separator, at the end of its row, or at the end of the text.
enum class FieldEnd { Separator, Row, Text };

// Reads the field that starts at i into field and moves i past what ended it. A separator of 0
// splits nothing: the field runs to the end of its row. A field whose first character after any
// blanks is a double quote runs to the matching closing one (a doubled quote is one quote) and
// keeps separators and line breaks; text after the closing quote is kept as written.
FieldEnd readCsvField(QStringView text, qsizetype &i, char16_t separator, QString &field)
{
    const qsizetype n = text.size();
    field.clear();
    qsizetype j = i;
    while (j < n && (text[j] == u' ' || (separator != u'\t' && text[j] == u'\t')))
        ++j;
    if (j < n && text[j] == u'"') {
        i = j + 1;
        for (;;) {
            const qsizetype q = text.indexOf(QLatin1Char('"'), i);
            if (q < 0) { // never closed: the field runs to the end of the file
                field += text.mid(i);
                i = n;
                return FieldEnd::Text;
            }
            field += text.mid(i, q - i);
            i = q + 1;
            if (i < n && text[i] == u'"') {
                field += QLatin1Char('"');
                ++i;
                continue;
            }
            break;
        }
    }
    const qsizetype rest = i;
    while (i < n && text[i] != u'\r' && text[i] != u'\n' && (separator == 0 || text[i] != separator))
        ++i;
    field += text.mid(rest, i - rest);
    if (i >= n)
        return FieldEnd::Text;
    if (text[i] == separator) {
        ++i;
        return FieldEnd::Separator;
    }
    // A line end outside quotes ends the row: CRLF, CR or LF.
    i += (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n') ? 2 : 1;
    return FieldEnd::Row;
}

// The number of fields the separator gives each of the first rows (blank rows left out) when it
// gives them all the same number; 0 when the counts differ.
int uniformFieldCount(QStringView text, char16_t separator)
{
    constexpr int RowsLookedAt = 20;
    int rows = 0;
    int common = 0;
    int fields = 1;
    QString field;
    for (qsizetype i = 0; i < text.size() && rows < RowsLookedAt;) {
        const FieldEnd end = readCsvField(text, i, separator, field);
        if (end == FieldEnd::Separator) {
            ++fields;
            continue;
        }
        if (fields > 1 || !field.trimmed().isEmpty()) {
            if (rows > 0 && fields != common)
                return 0;
            common = fields;
            ++rows;
        }
        fields = 1;
        if (end == FieldEnd::Text)
            break;
    }
    return common;
}

// Spreadsheets save lists with commas, semicolons or tabs, and a field may hold the others (a
// name "Smith, John", a price "12,50"): the separator is the one that splits every one of the
// first rows into the same number of fields, more than one; of several, the one giving more
// fields, and on a tie the less common one in text (tab, then semicolon). None (0) when no
// separator splits the rows alike: each row is then one value.
char16_t csvSeparator(QStringView text)
{
    char16_t best = 0;
    int bestFields = 1;
    for (const char16_t candidate : {u'\t', u';', u','}) {
        const int fields = uniformFieldCount(text, candidate);
        if (fields > bestFields) {
            best = candidate;
            bestFields = fields;
        }
    }
    return best;
}
} // namespace

ListValues ListImport::fromText(QStringView text, QString *problem)
{
    ListValues values;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        const QString v = clean(text.mid(start, end - start));
        if (v.contains(fontMarker) || !takeValue(values, v, problem))
            break;
        start = end + 1;
    }
    return values;
}

ListValues ListImport::fromCsv(QStringView text, int column, QString *problem)
{
    ListValues values;
    const char16_t separator = csvSeparator(text);
    qsizetype i = 0;
    int index = 0;         // the field's place in its row, from 0
    bool rowEnded = false; // a font line ended the row; its other fields are passed over
    QString field;
    while (i < text.size()) {
        const FieldEnd end = readCsvField(text, i, separator, field);
        if (!rowEnded) {
            const QString v = clean(field);
            if (v.contains(fontMarker))
                rowEnded = true;
            else if ((column <= 0 || index == column - 1) && !takeValue(values, v, problem))
                return values;
        }
        if (end == FieldEnd::Separator) {
            ++index;
        } else {
            index = 0;
            rowEnded = false;
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

ListValues ListImport::fromRtf(const QByteArray &bytes, bool *parsed, QString *problem)
{
    const RtfText doc = RtfText::parse(bytes);
    // A document without any text is as unusable as one that does not parse.
    const bool usable = doc.ok() && !doc.runs().isEmpty();
    if (parsed)
        *parsed = usable;
    ListValues values;
    if (!usable)
        return values;
    // Every paragraph is a value, whatever its formatting: a list set partly in bold is still
    // one list.
    const QString text = doc.plainText();
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        if (!takeValue(values, clean(QStringView(text).mid(start, end - start)), problem))
            break;
        start = end + 1;
    }
    return values;
}

namespace
{
// Reads a regular file of at most ListImport::MaxFileSize bytes. The file is opened without
// waiting, so a pipe with no writer cannot hold the program, and checked after opening, so
// nothing can be swapped in between.
bool readListFile(const QString &path, QByteArray *bytes, QString *message, QString *reason)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *message = ListImport::MsgInvalidFile;
        *reason = path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    QFile file;
    struct stat st {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        *message = ListImport::MsgInvalidFile;
        *reason = path + QStringLiteral(": not a regular file");
        return false;
    }
    if (st.st_size > ListImport::MaxFileSize) {
        ::close(fd);
        *message = ListImport::tooLargeMessage();
        *reason = path + QStringLiteral(": %1 bytes").arg(qint64(st.st_size));
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *message = ListImport::MsgInvalidFile;
        *reason = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    // A file that grew since it was measured is read only as far as the limit allows.
    *bytes = file.read(ListImport::MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        *message = ListImport::MsgInvalidFile;
        *reason = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    if (bytes->size() > ListImport::MaxFileSize) {
        bytes->clear();
        *message = ListImport::tooLargeMessage();
        *reason = path + QStringLiteral(": grew past the limit while read");
        return false;
    }
    return true;
}
} // namespace

ListImportResult ListImport::readBytes(const QString &path, QByteArray *bytes)
{
    if (path.isEmpty() || QFileInfo(path).isDir())
        return {OpResult::failed(MsgInvalidFile, path + QStringLiteral(": cannot be opened")), {}, {}};
    QString message, reason;
    if (!readListFile(path, bytes, &message, &reason))
        return {OpResult::failed(message, reason), {}, {}};
    return {};
}

ListImportResult ListImport::fromBytes(QByteArray bytes, const QString &path, Kind kind, int column,
                                       const QByteArray &charset)
{
    ListImportResult result;
    auto refuse = [&result](const QString &message, const QString &reason) {
        static_cast<OpResult &>(result) = OpResult::failed(message, reason);
        result.values = ListValues();
        result.note.clear();
        return result;
    };
    QString problem;
    if (kind == Kind::Rtf) {
        bool parsed = false;
        result.values = fromRtf(bytes, &parsed, &problem);
        if (!parsed)
            return refuse(MsgCorrupted, path + QStringLiteral(": not RTF, or no text in it"));
    } else {
        const QString name = QFileInfo(path).fileName();
        ListText text = charset.isEmpty() ? ListEncoding::detect(bytes, name)
                                          : ListEncoding::decode(bytes, charset, name);
        bytes = QByteArray();
        if (!text.ok())
            return refuse(text.problem, path + QStringLiteral(": ") + text.problem);
        if (text.text.isEmpty())
            return refuse(MsgCorrupted, path + QStringLiteral(": no text"));
        result.note = text.note;
        if (!text.sure) {
            // Read without a question (cardtool): the guess is named, so it is no silent one.
            const QString guess = QStringLiteral("\"%1\" was read as %2, a guess: several character sets "
                                                 "read it differently.")
                                      .arg(name, ListEncoding::labelOf(text.charset));
            result.note = result.note.isEmpty() ? guess : result.note + QLatin1Char('\n') + guess;
        }
        result.values =
            kind == Kind::Csv ? fromCsv(text.text, column, &problem) : fromText(text.text, &problem);
    }
    if (!problem.isEmpty())
        return refuse(problem, path + QStringLiteral(": ") + problem);
    return result;
}

ListImportResult ListImport::readFile(const QString &path, Kind kind, int column, const QByteArray &charset)
{
    QByteArray bytes;
    ListImportResult read = readBytes(path, &bytes);
    if (!read.ok())
        return read;
    return fromBytes(std::move(bytes), path, kind, column, charset);
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
