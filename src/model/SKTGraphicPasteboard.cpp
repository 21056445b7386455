// Lists of card objects as pasteboard data and back.
#include "model/ObjectListLimits.h"
#include "model/SKTGraphic.h"
#include "model/SKTImage.h"
#include "platform/PropertyList.h"

#include <QFileInfo>

QList<QByteArray> SKTGraphic::propertiesWithGraphics(const GraphicList &graphics)
{
    QList<QByteArray> archives;
    archives.reserve(graphics.size());
    for (const GraphicPtr &g : graphics)
        archives.append(g->archivedData());
    return archives;
}

QByteArray SKTGraphic::pasteboardDataWithGraphics(const GraphicList &graphics)
{
    plist::Array array;
    for (const QByteArray &archive : propertiesWithGraphics(graphics))
        array.append(plist::Value(archive));
    return PropertyList::writeBinary(plist::Value(array));
}

static std::optional<GraphicList> refusedPaste(int *errorCode, int code)
{
    if (errorCode)
        *errorCode = code;
    return std::nullopt;
}

std::optional<GraphicList> SKTGraphic::graphicsWithPasteboardData(const QByteArray &data, int *errorCode)
{
    // The archives alone may not pass the limit, so data much larger than it is refused unread.
    constexpr qint64 containerSlack = qint64(1) << 20;
    if (data.size() > ObjectListLimits::MaxObjectArchiveBytes + containerSlack)
        return refusedPaste(errorCode, PasteTooLargeBytes);
    const PropertyList::ReadResult r = PropertyList::read(data);
    if (!r.ok || !r.value.isArray())
        return refusedPaste(errorCode, 2);
    // The same limits as a design file, checked before anything is decoded: a small clipboard can
    // name one archive many thousand times.
    const plist::Array archives = r.value.toArray();
    if (archives.size() > ObjectListLimits::MaxObjects)
        return refusedPaste(errorCode, PasteTooManyObjects);
    qint64 bytes = 0;
    for (const plist::Value &element : archives) {
        if (element.isData())
            bytes += element.toData().size();
        if (bytes > ObjectListLimits::MaxObjectArchiveBytes)
            return refusedPaste(errorCode, PasteTooLargeBytes);
    }
    return graphicsWithProperties(archives);
}

GraphicList SKTGraphic::graphicsWithProperties(const plist::Array &archives)
{
    GraphicList result;
    for (const plist::Value &element : archives) {
        if (!element.isData())
            continue;
        GraphicPtr g = unarchive(element.toData());
        if (!g)
            continue;
        if (g->kind() == Kind::Image) {
            const QString path = g->FilePath();
            if (!path.isEmpty() && QFileInfo::exists(path))
                static_cast<SKTImage &>(*g).setFilePath(path);
        }
        result.append(g);
    }
    return result;
}
