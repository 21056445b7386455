#include "model/SKTImage.h"

#include "model/ModelGlobals.h"
#include "model/ModelHost.h"
#include "model/PathUtil.h"
#include "platform/EncodedPicture.h"
#include "platform/PictureReader.h"
#include "platform/SharedPictures.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

std::shared_ptr<SKTImage> SKTImage::initWithPath(const QPointF &point, const QString &path)
{
    auto image = std::make_shared<SKTImage>();
    image->setFilePath(path);
    const QSizeF s = image->_contents ? image->_contents->size() : QSizeF();
    image->setBounds(QRectF(point.x() - s.width() / 2, point.y() - s.height() / 2, s.width(), s.height()));
    ModelGlobals::instance().host().Reset_Image_Editing_Controls();
    return image;
}

std::shared_ptr<SKTImage> SKTImage::initWithPosition(const QPointF &point, const Picture &contents)
{
    auto image = std::make_shared<SKTImage>();
    if (!contents.isNull())
        image->_contents = cappedPicture(contents);
    image->_file_path = ModelGlobals::instance().Library_Selected_Image;
    const QSizeF s = image->_contents ? image->_contents->size() : QSizeF();
    image->setBounds(QRectF(point.x() - s.width() / 2, point.y() - s.height() / 2, s.width(), s.height()));
    ModelGlobals::instance().host().Reset_Image_Editing_Controls();
    return image;
}

Picture SKTImage::cappedPicture(const Picture &picture)
{
    const QSizeF s = picture.size();
    const double factor = std::min(s.width() > MaxWidth ? MaxWidth / s.width() : 1.0,
                                   s.height() > MaxHeight ? MaxHeight / s.height() : 1.0);
    return factor < 1.0 ? picture.withSize(s * factor) : picture;
}

void SKTImage::setFilePath(const QString &path)
{
    Set_Control_File_path(path);
    const Picture loaded = PathUtil::loadPicture(path);
    if (loaded.isNull())
        _contents.reset();
    else
        _contents = cappedPicture(loaded);
}

QString SKTImage::loadFile(const QString &path)
{
    const PictureReader::Result read = SharedPictures::read(PathUtil::standardizedPath(path));
    if (!read.ok())
        return read.error;
    Set_Control_File_path(path);
    _contents = cappedPicture(read.picture);
    return {};
}

QList<SKTImage::MissingPicture> SKTImage::missingPictures(const GraphicList &side)
{
    QList<MissingPicture> out;
    for (const GraphicPtr &g : side) {
        if (!g || g->kind() != Kind::Image || !g->ctrl_is_visible ||
            g->data_source_type != DataSourceCode::Fixed)
            continue;
        const QString path = g->FilePath();
        const auto &image = static_cast<const SKTImage &>(*g);
        const bool shown = image._contents && !image._contents->isNull();
        // A large picture is decoded from its file when it is drawn: one whose file has gone since
        // it was read would draw nothing.
        const auto encoded = shown ? image._contents->encoded() : nullptr;
        const bool fileGone =
            encoded && !encoded->origin().path.isEmpty() && !QFileInfo(encoded->origin().path).isFile();
        if (path.isEmpty() || (shown && !fileGone))
            continue;
        out.append({g, path, !QFileInfo(PathUtil::standardizedPath(path)).isFile()});
    }
    return out;
}

QString SKTImage::describe(const MissingPicture &missing)
{
    const QFileInfo file(PathUtil::standardizedPath(missing.path));
    const QString folder = QDir::toNativeSeparators(file.absolutePath());
    return missing.gone ? QStringLiteral("\"%1\", which was in %2").arg(file.fileName(), folder)
                        : QStringLiteral("\"%1\" in %2, which is not a picture that can be read")
                              .arg(file.fileName(), folder);
}

void SKTImage::setFlippedHorizontally(bool v)
{
    changeValue(SKTImageIsFlippedHorizontallyKey, [&] { _isFlippedHorizontally = v; });
}

void SKTImage::setFlippedVertically(bool v)
{
    changeValue(SKTImageIsFlippedVerticallyKey, [&] { _isFlippedVertically = v; });
}

void SKTImage::makeNaturalSize()
{
    if (ctrl_is_locked)
        return;
    const QSizeF s = _contents ? _contents->size() : QSizeF(0, 0);
    setBounds(QRectF(bounds().topLeft(), s));
    setFlippedHorizontally(false);
    setFlippedVertically(false);
}

QVariant SKTImage::valueForKey(const QString &key) const
{
    if (key == SKTImageIsFlippedHorizontallyKey)
        return _isFlippedHorizontally;
    if (key == SKTImageIsFlippedVerticallyKey)
        return _isFlippedVertically;
    return SKTGraphic::valueForKey(key);
}

bool SKTImage::setValueForKey(const QString &key, const QVariant &value)
{
    if (key == SKTImageIsFlippedHorizontallyKey) {
        setFlippedHorizontally(value.toBool());
        return true;
    }
    if (key == SKTImageIsFlippedVerticallyKey) {
        setFlippedVertically(value.toBool());
        return true;
    }
    return SKTGraphic::setValueForKey(key, value);
}

QSet<QString> SKTImage::keysForValuesToObserveForUndo() const
{
    QSet<QString> keys = SKTGraphic::keysForValuesToObserveForUndo();
    keys.insert(SKTImageIsFlippedHorizontallyKey);
    keys.insert(SKTImageIsFlippedVerticallyKey);
    return keys;
}

QStringList SKTImage::keyPathsForValuesAffectingValueForKey(const QString &key) const
{
    QStringList keys = SKTGraphic::keyPathsForValuesAffectingValueForKey(key);
    if (key == SKTGraphicDrawingContentsKey)
        keys << SKTImageIsFlippedHorizontallyKey << SKTImageIsFlippedVerticallyKey;
    return keys;
}

GraphicPtr SKTImage::copy() const
{
    GraphicPtr c = SKTGraphic::copy();
    static_cast<SKTImage &>(*c)._contents = _contents;
    return c;
}
