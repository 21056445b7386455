// Lists of card objects as pasteboard data and back.
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

std::optional<GraphicList> SKTGraphic::graphicsWithPasteboardData(const QByteArray &data, int *errorCode)
{
    const PropertyList::ReadResult r = PropertyList::read(data);
    if (!r.ok || !r.value.isArray()) {
        if (errorCode)
            *errorCode = 2;
        return std::nullopt;
    }
    return graphicsWithProperties(r.value.toArray());
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
