#include "SeriesFiles.h"

#include "SeriesName.h"
#include "SpreadsheetWriter.h"
#include "foundation/StringUtils.h"
#include "platform/SaveFileCommit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>

const QString SeriesFiles::batch_file_EXT = QStringLiteral("txt");
const QString SeriesFiles::MsgListEmpty = QStringLiteral("List is empty.");
const QString SeriesFiles::MsgFileAccess = QStringLiteral("Error in file accessing.");
const QString SeriesFiles::MsgAlreadyExists =
    QStringLiteral("Batch Processing Series already exists. Do you want to replace it?");
const QString SeriesFiles::MsgCantUpdateInUse =
    QStringLiteral("Batch Processing Series can't be updated because it is in use.");
const QString SeriesFiles::MsgCantDeleteInUse =
    QStringLiteral("Batch Processing Series can't be delete because it is currently in use.");
const QString SeriesFiles::MsgConfirmDelete =
    QStringLiteral("Are you sure want to delete selected Batch Processing Series?");
const QString SeriesFiles::MsgSelectRecord =
    QStringLiteral("Please select a record from the available list to continue.");
const QString SeriesFiles::MsgAvailableListEmpty = QStringLiteral("Available list is empty.");
const QString SeriesFiles::MsgExported = QStringLiteral("Record has been exported successfully.");

namespace
{

SeriesResult failure(const QString &message)
{
    return {OpResult::failed(message)};
}

SeriesResult success(const QString &message = {})
{
    return {OpResult::done(message)};
}

SeriesResult cancelled()
{
    return {OpResult::cancelledByUser()};
}

// The bytes of a series file; null when there is none. *problem says why an existing file could
// not be read (a device or pipe, too large, a read error).
std::optional<QByteArray> readFile(const QString &path, const QString &name, QString *problem)
{
    if (path.isEmpty())
        return std::nullopt;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return std::nullopt;
    auto refuse = [&](const QString &why) -> std::optional<QByteArray> {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    if (!info.isFile())
        return refuse(QStringLiteral("The series \"%1\" is not a regular file.").arg(name));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return refuse(QStringLiteral("The series \"%1\" could not be read: %2.").arg(name, f.errorString()));
    if (f.size() > SeriesFiles::MaxFileSize)
        return refuse(SeriesFiles::tooLargeMessage(name));
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return refuse(QStringLiteral("The series \"%1\" could not be read: %2.").arg(name, f.errorString()));
    return bytes;
}

// UTF-8 text of a series; bytes that are not UTF-8 read as U+FFFD, with a warning.
QString decodeSeries(const QByteArray &bytes, const QString &name, QString *warning)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError() && warning)
        *warning = QStringLiteral("The series \"%1\" holds bytes that are not UTF-8 text; they were read as "
                                  "\"\uFFFD\".")
                       .arg(name);
    return text;
}

enum class WriteStop { None, File, TooLarge };

// Writes the produced values one a line, atomically. *stop tells a write failure (*why: the
// system's reason) or a series grown past the limit from a producer that stopped for its own reason.
bool writeProduced(const QString &path, const SeriesValueProducer &produce, bool trimValues, WriteStop *stop,
                   QString *why = nullptr)
{
    *stop = WriteStop::None;
    QSaveFile f(path);
    const auto fileFailed = [&](const QString &reason) {
        *stop = WriteStop::File;
        if (why)
            *why = reason;
    };
    if (!f.open(QIODevice::WriteOnly)) {
        fileFailed(f.errorString());
        return false;
    }
    qint64 written = 0;
    const bool produced = produce([&](const QString &value) {
        const QString line = trimValues ? Trim_Str(SeriesFiles::oneLine(value)) : SeriesFiles::oneLine(value);
        if (trimValues && line.isEmpty())
            return true;
        const QByteArray bytes = line.toUtf8() + '\n';
        written += bytes.size();
        if (written > SeriesFiles::MaxFileSize) {
            *stop = WriteStop::TooLarge;
            return false;
        }
        if (f.write(bytes) != bytes.size()) {
            fileFailed(f.errorString());
            return false;
        }
        return true;
    });
    if (!produced || *stop != WriteStop::None) {
        f.cancelWriting();
        return false;
    }
    QString reason;
    if (!SaveFileCommit::commit(f, &reason)) {
        fileFailed(reason);
        return false;
    }
    return true;
}

QString stopMessage(WriteStop stop, const QString &name, const QString &path, const QString &why)
{
    switch (stop) {
    case WriteStop::File:
        return SeriesFiles::fileAccessMessage(path, why);
    case WriteStop::TooLarge:
        return SeriesFiles::tooLargeMessage(name);
    case WriteStop::None:
        break;
    }
    return {};
}

SeriesValueProducer listProducer(const QStringList &values)
{
    return [&values](const SeriesValueWriter &write) {
        for (const QString &v : values) {
            if (!write(v))
                return false;
        }
        return true;
    };
}

bool writeLines(const QString &path, const QStringList &lines)
{
    WriteStop stop = WriteStop::None;
    return writeProduced(path, listProducer(lines), false, &stop);
}

} // namespace

QString SeriesFiles::fileAccessMessage(const QString &path, const QString &reason)
{
    return MsgFileAccess + QStringLiteral("\n\nThe file \"%1\" could not be written: %2.")
                               .arg(QDir::toNativeSeparators(path), reason);
}

QString SeriesFiles::oneLine(const QString &s)
{
    QString out = s;
    out.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (QChar &c : out) {
        const char16_t u = c.unicode();
        if (u == u'\n' || u == u'\r' || u == 0x0B || u == 0x0C || u == 0x85 || u == 0x2028 || u == 0x2029)
            c = QLatin1Char(' ');
    }
    return out;
}

SeriesResult SeriesFiles::appendSeries(const QString &folder, const QString &name, const QStringList &values)
{
    const QString bad = checkName(name);
    if (!bad.isEmpty())
        return failure(bad);
    const QString path = filePath(folder, name);
    QByteArray old;
    if (QFileInfo::exists(path)) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return failure(MsgFileAccess);
        if (f.size() > MaxFileSize)
            return failure(tooLargeMessage(name));
        old = f.readAll();
        if (f.error() != QFileDevice::NoError)
            return failure(MsgFileAccess);
        if (!old.isEmpty() && !old.endsWith('\n'))
            old += '\n';
    }
    if (!QDir().mkpath(folder))
        return failure(fileAccessMessage(folder, QStringLiteral("the folder could not be made")));
    // The old bytes go first unchanged, so appending never alters what the series held.
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(old) != old.size())
        return failure(fileAccessMessage(path, f.errorString()));
    qint64 written = old.size();
    for (const QString &v : values) {
        const QByteArray bytes = oneLine(v).toUtf8() + '\n';
        written += bytes.size();
        if (written > MaxFileSize) {
            f.cancelWriting();
            return failure(tooLargeMessage(name));
        }
        if (f.write(bytes) != bytes.size()) {
            const QString why = f.errorString();
            f.cancelWriting();
            return failure(fileAccessMessage(path, why));
        }
    }
    if (QString why; !SaveFileCommit::commit(f, &why))
        return failure(fileAccessMessage(path, why));
    return success();
}

QString SeriesFiles::checkName(const QString &name)
{
    return SeriesName::problem(name);
}

QString SeriesFiles::filePath(const QString &folder, const QString &name)
{
    return QDir(folder).filePath(SeriesName::fileStem(name) + QLatin1Char('.') + batch_file_EXT);
}

QString SeriesFiles::safePath(const QString &folder, const QString &name)
{
    return SeriesName::reachable(name) ? filePath(folder, name) : QString();
}

QStringList SeriesFiles::Get_datasheet_File_Name_Array(const QString &folder)
{
    QStringList names;
    const QDir dir(folder);
    if (!dir.exists())
        return names;
    for (const QFileInfo &fi : dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot))
        names << fi.completeBaseName();
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

QString SeriesFiles::tooLargeMessage(const QString &name)
{
    return QStringLiteral("The series \"%1\" is too large: a series file can hold at most %2 MB.")
        .arg(name)
        .arg(MaxFileSize >> 20);
}

std::optional<QStringList> SeriesFiles::readValues(const QString &folder, const QString &name,
                                                   QString *message, QString *warning)
{
    QString problem;
    const auto bytes = readFile(safePath(folder, name), name, &problem);
    if (!bytes) {
        if (message)
            *message = problem == tooLargeMessage(name) ? problem : MsgFileAccess;
        return std::nullopt;
    }
    QStringList values;
    for (const QString &line : decodeSeries(*bytes, name, warning).split(QLatin1Char('\n'))) {
        const QString v = Trim_Str(line);
        if (!v.isEmpty())
            values << v;
    }
    return values;
}

std::optional<QStringList> SeriesFiles::readRows(const QString &folder, const QString &name, QString *problem,
                                                 QString *warning)
{
    const auto bytes = readFile(safePath(folder, name), name, problem);
    if (!bytes)
        return std::nullopt;
    const QString text = Trim_Str(decodeSeries(*bytes, name, warning));
    if (text.isEmpty())
        return QStringList();
    return text.split(QLatin1Char('\n'));
}

QString SeriesFiles::Get_First_Value_Of_Dataset(const QString &folder, const QString &name)
{
    const auto bytes = readFile(safePath(folder, name), name, nullptr);
    if (!bytes)
        return {};
    const qsizetype nl = bytes->indexOf('\n');
    return QString::fromUtf8(nl < 0 ? *bytes : bytes->left(nl));
}

SeriesResult SeriesFiles::writeSeries(const QString &folder, const QString &name, const QStringList &values,
                                      bool trimValues)
{
    const QString bad = checkName(name);
    if (!bad.isEmpty())
        return failure(bad);
    WriteStop stop = WriteStop::None;
    if (!QDir().mkpath(folder))
        return failure(fileAccessMessage(folder, QStringLiteral("the folder could not be made")));
    const QString path = filePath(folder, name);
    QString why;
    if (!writeProduced(path, listProducer(values), trimValues, &stop, &why))
        return failure(stop == WriteStop::None ? MsgFileAccess : stopMessage(stop, name, path, why));
    return success();
}

SeriesResult SeriesFiles::writeNew(const QString &folder, const QString &name, const QStringList &values,
                                   const SeriesQuestion &ask, bool trimValues, const SeriesInUseTest &inUse)
{
    return writeNew(folder, name, listProducer(values), ask, trimValues, inUse);
}

SeriesResult SeriesFiles::writeNew(const QString &folder, const QString &name,
                                   const SeriesValueProducer &produce, const SeriesQuestion &ask,
                                   bool trimValues, const SeriesInUseTest &inUse)
{
    const QString bad = checkName(name);
    if (!bad.isEmpty())
        return failure(bad);
    if (QFileInfo::exists(filePath(folder, name))) {
        // A series a design reads or a manager edits is no more replaced than it is updated.
        if (inUse && inUse(name))
            return failure(MsgCantUpdateInUse);
        if (!(ask && ask(MsgAlreadyExists)))
            return cancelled();
    }
    WriteStop stop = WriteStop::None;
    if (!QDir().mkpath(folder))
        return failure(fileAccessMessage(folder, QStringLiteral("the folder could not be made")));
    const QString path = filePath(folder, name);
    QString why;
    if (!writeProduced(path, produce, trimValues, &stop, &why))
        return failure(stopMessage(stop, name, path, why));
    return success();
}

SeriesResult SeriesFiles::Save(const QString &folder, const QString &newName, const QString &oldName,
                               const QStringList &values, const SeriesInUseTest &inUse,
                               const SeriesQuestion &ask)
{
    if (values.isEmpty())
        return failure(MsgListEmpty);
    const QString bad = checkName(newName);
    if (!bad.isEmpty())
        return failure(bad);
    const bool editing = !Trim_Str(oldName).isEmpty();
    if (editing && inUse && inUse(oldName))
        return failure(MsgCantUpdateInUse);
    const QString f = filePath(folder, newName);
    const QString g = editing ? filePath(folder, oldName) : QString();
    const bool sameFile = editing && f == g;
    const bool fExisted = QFileInfo::exists(f);
    if (fExisted && !sameFile && !(ask && ask(MsgAlreadyExists)))
        return cancelled();
    const SeriesResult written = writeSeries(folder, newName, values, true);
    if (!written.ok())
        return written;
    // Renaming: the old file goes only now that the new one is safely written.
    if (editing && !sameFile && !fExisted && QFileInfo::exists(g))
        QFile::remove(g);
    return success();
}

SeriesResult SeriesFiles::Delete(const QString &folder, const QStringList &selected, const QString &current,
                                 const SeriesInUseTest &inUse, const SeriesQuestion &ask, bool applyAll,
                                 QStringList *deleted)
{
    if (deleted)
        deleted->clear();
    if (selected.isEmpty() || Trim_Str(current).isEmpty())
        return failure(MsgSelectRecord);
    if (inUse && inUse(current))
        return failure(MsgCantDeleteInUse);
    if (!(ask && ask(MsgConfirmDelete)))
        return cancelled();
    bool anyInUse = false;
    QString notRemoved;
    for (const QString &name : selected) {
        if (inUse && inUse(name)) {
            anyInUse = true;
            if (!applyAll)
                break;
            continue;
        }
        const QString path = safePath(folder, name);
        QFile file(path);
        // A file already gone counts as deleted; one that stays is named with the reason.
        if (!path.isEmpty() && (file.remove() || !QFileInfo::exists(path))) {
            if (deleted)
                *deleted << name;
        } else if (notRemoved.isEmpty()) {
            notRemoved = QStringLiteral("The Batch Processing Series \"%1\" could not be deleted: %2.")
                             .arg(name, path.isEmpty() ? QStringLiteral("its name leads out of the folder")
                                                       : file.errorString());
        }
    }
    if (anyInUse)
        return failure(applyAll ? QString() : MsgCantDeleteInUse);
    if (!notRemoved.isEmpty())
        return failure(notRemoved);
    return success();
}

QString SeriesFiles::exportPath(const QString &path, bool asXlsx)
{
    const QFileInfo fi(path);
    QString base = path;
    if (!fi.suffix().isEmpty())
        base.chop(fi.suffix().size() + 1);
    return base + (asXlsx ? QStringLiteral(".xlsx") : QStringLiteral(".txt"));
}

QString SeriesFiles::exportProblem(qsizetype valueCount, bool asXlsx)
{
    if (valueCount == 0)
        return MsgListEmpty;
    // A spreadsheet drops every row past its last, so a longer list would be exported in part.
    if (asXlsx && valueCount + 1 > XlsxReader::MaxRows)
        return QStringLiteral("The list has %L1 values, but a workbook sheet holds at most %L2 rows "
                              "(%L3 values under the heading). Please export it as a text file (txt).")
            .arg(valueCount)
            .arg(XlsxReader::MaxRows)
            .arg(XlsxReader::MaxRows - 1);
    return {};
}

SeriesResult SeriesFiles::Export(const QStringList &values, const QString &path, bool asXlsx)
{
    if (const QString problem = exportProblem(values.size(), asXlsx); !problem.isEmpty())
        return failure(problem);
    if (asXlsx) {
        QList<QStringList> rows;
        rows.reserve(values.size() + 1);
        rows << QStringList{QStringLiteral("Batch Value")};
        for (const QString &v : values)
            rows << QStringList{oneLine(v)};
        QString message;
        if (!SpreadsheetWriter::WriteWorkbook(path, rows, false, &message))
            return failure(message.isEmpty() ? MsgFileAccess : message);
    } else {
        QStringList lines;
        for (const QString &v : values)
            lines << oneLine(v);
        if (!writeLines(path, lines))
            return failure(MsgFileAccess);
    }
    return success(MsgExported);
}
