// Card objects on the system clipboard: the private MIME type carrying the pasteboard data.
// Used by the canvas for copy and paste and by the main window for its Paste button.
#pragma once

#include "model/SKTGraphic.h"

class QClipboard;
class QMimeData;

class GraphicPasteboard
{
public:
    static inline const QString MimeType = QStringLiteral("application/x-tessaly-card-objects");

    // Mime data holding the objects under the private type (the caller may add image renderings).
    static QMimeData *mimeDataWithGraphics(const GraphicList &graphics);
    static bool hasGraphics(const QMimeData *mime);
    // The objects of the mime data; none (error code 2) when the private data is unreadable.
    static std::optional<GraphicList> graphicsFromMimeData(const QMimeData *mime, int *errorCode = nullptr);

    static void copyToClipboard(QClipboard *clipboard, const GraphicList &graphics);
    static bool clipboardHasGraphics(const QClipboard *clipboard);
    static std::optional<GraphicList> graphicsFromClipboard(const QClipboard *clipboard,
                                                            int *errorCode = nullptr);
};
