#include "model/GraphicPasteboard.h"

#include <QClipboard>
#include <QMimeData>

QMimeData *GraphicPasteboard::mimeDataWithGraphics(const GraphicList &graphics)
{
    auto *mime = new QMimeData;
    mime->setData(MimeType, SKTGraphic::pasteboardDataWithGraphics(graphics));
    return mime;
}

bool GraphicPasteboard::hasGraphics(const QMimeData *mime)
{
    return mime && mime->hasFormat(MimeType);
}

std::optional<GraphicList> GraphicPasteboard::graphicsFromMimeData(const QMimeData *mime, int *errorCode)
{
    if (!hasGraphics(mime)) {
        if (errorCode)
            *errorCode = 2;
        return std::nullopt;
    }
    return SKTGraphic::graphicsWithPasteboardData(mime->data(MimeType), errorCode);
}

void GraphicPasteboard::copyToClipboard(QClipboard *clipboard, const GraphicList &graphics)
{
    if (clipboard)
        clipboard->setMimeData(mimeDataWithGraphics(graphics));
}

bool GraphicPasteboard::clipboardHasGraphics(const QClipboard *clipboard)
{
    return clipboard && hasGraphics(clipboard->mimeData());
}

std::optional<GraphicList> GraphicPasteboard::graphicsFromClipboard(const QClipboard *clipboard,
                                                                    int *errorCode)
{
    return graphicsFromMimeData(clipboard ? clipboard->mimeData() : nullptr, errorCode);
}
