// Reading and writing property lists: XML and binary ("bplist00").
// The format is told by the first bytes; files are written through QSaveFile so a failure keeps the old one.
#include "platform/PropertyList.h"

#include "platform/BinaryPlistReader.h"
#include "platform/BinaryPlistWriter.h"
#include "platform/SaveFileCommit.h"
#include "platform/XmlPlistReader.h"
#include "platform/XmlPlistWriter.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

namespace
{
// Property lists are settings and designs; anything larger is not one of ours.
constexpr qint64 MaxFileSize = qint64(1) << 30;
// Enough of the start to tell the format by.
constexpr qint64 HeadBytes = 64 * 1024;

int depthOf(const plist::Value &v, int limit)
{
    if (limit < 0)
        return 0;
    int deepest = 0;
    if (v.isArray()) {
        for (const plist::Value &item : v.toArray())
            deepest = qMax(deepest, 1 + depthOf(item, limit - 1));
    } else if (v.isDict()) {
        for (const auto &item : v.toDict().items())
            deepest = qMax(deepest, 1 + depthOf(item.second, limit - 1));
    }
    return deepest;
}

// Either reader's answer: the value, or its message when it failed.
template <typename Reader> void takeResult(Reader &reader, PropertyList::ReadResult &r)
{
    if (auto v = reader.read()) {
        r.ok = true;
        r.value = std::move(*v);
    } else {
        r.error = reader.error();
    }
}

PropertyList::ReadResult readBinary(const QByteArray &bytes)
{
    PropertyList::ReadResult r;
    r.format = PropertyList::Format::Binary;
    BinaryPlistReader reader(bytes, PropertyList::MaxDepth);
    takeResult(reader, r);
    return r;
}

// Why the start of a list that is not binary cannot be XML either; "" when it may be. `whole`:
// the head is all there is.
QString notXml(QByteArrayView head, bool whole)
{
    // XML may start with a byte-order mark or white space; UTF-16 text is left to the XML reader.
    if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF"))
        return {};
    qsizetype i = head.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < head.size() && QByteArrayView(" \t\r\n").contains(head.at(i)))
        ++i;
    // White space longer than the look is left to the XML reader too, which refuses what follows
    // if it is not XML.
    if ((i >= head.size() && whole) || (i < head.size() && head.at(i) != '<'))
        return head.isEmpty() ? QStringLiteral("The property list is empty.")
                              : QStringLiteral("This is not a property list (neither XML nor binary).");
    return {};
}

PropertyList::ReadResult readXml(QIODevice &input, const PropertyList::DictSink *sink)
{
    PropertyList::ReadResult r;
    r.format = PropertyList::Format::Xml;
    XmlPlistReader reader(input, PropertyList::MaxDepth, sink);
    takeResult(reader, r);
    return r;
}
} // namespace

PropertyList::ReadResult PropertyList::read(const QByteArray &bytes, const DictSink *sink)
{
    if (bytes.startsWith("bplist"))
        return readBinary(bytes);
    ReadResult r;
    r.error = notXml(bytes, true);
    if (!r.error.isEmpty())
        return r;
    QBuffer input;
    input.setData(bytes);
    input.open(QIODevice::ReadOnly);
    return readXml(input, sink);
}

PropertyList::ReadResult PropertyList::read(QIODevice &input, const DictSink *sink)
{
    // The format is told by the first bytes, looked at without taking them.
    const QByteArray head = input.peek(HeadBytes);
    if (head.startsWith("bplist"))
        return readBinary(input.readAll());
    ReadResult r;
    r.error = notXml(head, head.size() < HeadBytes);
    if (!r.error.isEmpty())
        return r;
    return readXml(input, sink);
}

PropertyList::ReadResult PropertyList::readFile(const QString &path, const DictSink *sink)
{
    ReadResult r;
    // Devices and pipes have no end to trust (reading /dev/zero would never stop).
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir()) {
        r.error = QStringLiteral("\"%1\" is not a regular file.").arg(info.fileName());
        return r;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        r.error =
            QStringLiteral("Could not open \"%1\": %2.").arg(QFileInfo(path).fileName(), file.errorString());
        return r;
    }
    if (file.size() > MaxFileSize) {
        r.error =
            QStringLiteral("\"%1\" is too large to be a property list.").arg(QFileInfo(path).fileName());
        return r;
    }
    r = read(file, sink);
    // A read that failed on the way ends the text early: the reason is the system's, not the text's.
    if (file.error() != QFileDevice::NoError) {
        r = ReadResult();
        r.error =
            QStringLiteral("Could not read \"%1\": %2.").arg(QFileInfo(path).fileName(), file.errorString());
        return r;
    }
    if (!r.ok)
        r.error = QStringLiteral("\"%1\": %2").arg(QFileInfo(path).fileName(), r.error);
    return r;
}

QByteArray PropertyList::writeXml(const plist::Value &v)
{
    return XmlPlistWriter(MaxDepth).write(v);
}

bool PropertyList::writeXml(QIODevice &out, const plist::Value &v, const DictSource *source)
{
    return XmlPlistWriter(MaxDepth).write(out, v, source);
}

QByteArray PropertyList::writeBinary(const plist::Value &v)
{
    return BinaryPlistWriter(MaxDepth).write(v);
}

bool PropertyList::writeFile(const QString &path, const plist::Value &v, Format format, QString *error)
{
    auto setError = [&](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    const QString name = QFileInfo(path).fileName();
    if (depthOf(v, MaxDepth + 1) > MaxDepth)
        return setError(QStringLiteral("Could not save \"%1\": the data is nested too deeply.").arg(name));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return setError(QStringLiteral("Could not save \"%1\": %2.").arg(name, file.errorString()));
    // A full disk gives a short write (or a failed flush) that Qt leaves without a reason: the
    // system's own is taken then.
    auto reason = [&file](int err) {
        return err != 0 ? QString::fromLocal8Bit(std::strerror(err)) : file.errorString();
    };
    // XML is written as it is made; the compact binary form is made whole first.
    bool written = false;
    if (format == Format::Binary) {
        const QByteArray bytes = writeBinary(v);
        errno = 0;
        written = file.write(bytes) == bytes.size();
    } else {
        errno = 0;
        written = writeXml(file, v);
    }
    if (!written) {
        const QString why = reason(errno);
        file.cancelWriting();
        return setError(QStringLiteral("Could not save \"%1\": %2.").arg(name, why));
    }
    QString why;
    if (!SaveFileCommit::commit(file, &why))
        return setError(QStringLiteral("Could not save \"%1\": %2.").arg(name, why));
    return true;
}
