// Painting of SKTSignature. Painting reads the record and changes nothing, so it may run on any thread.
#include "model/SKTSignature.h"

#include "model/GraphicPainting.h"
#include "paint/ResourcePictures.h"

#include <QDir>
#include <QPainter>

namespace
{

// The picture to show: the loaded one while the path is unchanged; for the sample pictures the
// shared copy read once; for another new path, the file read for this paint only.
std::optional<Picture> shownPicture(const SKTSignature &s, const QString &resourcePath)
{
    const QString recordPath = s.FilePath();
    if (!s.file_path.isEmpty() && s.file_path == recordPath)
        return s._contents_img;
    const QString path = QDir::cleanPath(s.resolvedPath(recordPath));
    for (const char *name : {ResourcePictures::SignatureSample, ResourcePictures::FingerprintSample}) {
        if (path == QDir::cleanPath(QDir(resourcePath).filePath(QLatin1String(name))))
            return ResourcePictures::load(path);
    }
    return s.pictureForDrawing();
}

} // namespace

void SKTSignature::drawContentsInView(QPainter &painter, const GraphicDrawContext &context, bool) const
{
    if (!ctrl_is_visible)
        return;
    const QRectF b = bounds();
    if (isDrawingStroke())
        GraphicPainting::strokeBounds(painter, *this); // under the picture
    const std::optional<Picture> picture = shownPicture(*this, context.resourcePath);
    if (picture && !picture->isNull() && picture->size().width() > 0 && picture->size().height() > 0)
        PathPainting::drawPicture(painter, *picture, b); // stretched, upright, opaque
    GraphicPainting::requestCanvasRefresh();
}
