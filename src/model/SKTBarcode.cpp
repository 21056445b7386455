#include "model/SKTBarcode.h"

#include "model/PathUtil.h"

std::optional<Picture> SKTBarcode::shownPicture() const
{
    if (_barcode_image && !_barcode_image->isNull())
        return _barcode_image;
    Picture p = PathUtil::loadPicture(PathUtil::resourceFile(QStringLiteral("barcode_sample.png")));
    if (p.isNull())
        return std::nullopt;
    return p;
}

void SKTBarcode::barcode_image_var_assign()
{
    _contents = shownPicture();
}

std::shared_ptr<SKTBarcode> SKTBarcode::initWithPosition(const QPointF &point, const Picture &contents)
{
    auto b = std::make_shared<SKTBarcode>();
    if (!contents.isNull())
        b->Set_Barcode_image(contents);
    b->barcode_image_var_assign();
    const QSizeF s = b->_contents ? b->_contents->size() : QSizeF();
    b->setBounds(QRectF(point.x() - s.width() / 2, point.y() - s.height() / 2, s.width(), s.height()));
    return b;
}

std::optional<QSizeF> SKTBarcode::drawnSize() const
{
    if (!_barcode_image || _barcode_image->isNull() || _barcode_image->size().isEmpty())
        return std::nullopt;
    return _barcode_image->size();
}

QRectF SKTBarcode::drawnBox() const
{
    const std::optional<QSizeF> size = drawnSize();
    return size ? drawnArea(bounds(), *size) : bounds();
}

void SKTBarcode::setBounds(const QRectF &bounds)
{
    const std::optional<QSizeF> size = drawnSize();
    SKTGraphic::setBounds(size ? drawnArea(bounds, *size) : bounds);
}

int SKTBarcode::resizeByMovingHandle(int handle, const QPointF &point)
{
    if (!drawnSize())
        return SKTGraphic::resizeByMovingHandle(handle, point);
    return handle;
}

void SKTBarcode::initWithCoder(KeyedUnarchiver &coder)
{
    SKTGraphic::initWithCoder(coder);
    _bounds = drawnBox();
}

bool SKTBarcode::canMakeNaturalSize() const
{
    return drawnSize() && bounds() != drawnBox();
}

void SKTBarcode::makeNaturalSize()
{
    if (ctrl_is_locked || !canMakeNaturalSize())
        return;
    setBounds(drawnBox());
}

QRectF SKTBarcode::drawingBounds() const
{
    const QRectF frame = SKTGraphic::drawingBounds();
    // The picture drawn, or the sample the canvas shows in its place.
    const std::optional<Picture> &picture =
        _barcode_image && !_barcode_image->isNull() ? _barcode_image : _contents;
    if (!picture || picture->isNull())
        return frame;
    // The same outset around the picture as around the frame.
    const QRectF b = bounds();
    const QRectF drawn = drawnArea(b, picture->size());
    return frame.united(drawn.adjusted(frame.left() - b.left(), frame.top() - b.top(),
                                       frame.right() - b.right(), frame.bottom() - b.bottom()));
}
