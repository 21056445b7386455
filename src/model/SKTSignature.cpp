#include "model/SKTSignature.h"

#include "foundation/CardCodes.h"
#include "model/ModelGlobals.h"
#include "model/ModelHost.h"
#include "model/PathUtil.h"

namespace
{

QString samplePath(const QString &code)
{
    const QString name = code == SignatureCode::Signature ? QStringLiteral("sign_sample.png")
                                                          : QStringLiteral("fingerprints.png");
    return PathUtil::resourceFile(name);
}

std::optional<Picture> load(const QString &path)
{
    Picture p = PathUtil::loadPicture(path);
    if (p.isNull())
        return std::nullopt;
    return p;
}

} // namespace

QString SKTSignature::resolvedPath(const QString &path) const
{
    return path == QLatin1String("Default") ? samplePath(Sign_Or_FP_Val()) : path;
}

void SKTSignature::setFilePath(const QString &path)
{
    file_path = resolvedPath(path);
    Set_Control_File_path(file_path);
    _contents_img = load(file_path);
}

void SKTSignature::syncPicture()
{
    const QString recordPath = FilePath();
    if (file_path.isEmpty() || file_path != recordPath) {
        file_path = recordPath;
        setFilePath(file_path);
    }
}

std::optional<Picture> SKTSignature::pictureForDrawing() const
{
    const QString recordPath = FilePath();
    if (!file_path.isEmpty() && file_path == recordPath)
        return _contents_img;
    return load(resolvedPath(recordPath));
}

std::shared_ptr<SKTSignature> SKTSignature::initWithPosition(const QPointF &point, const Picture &contents,
                                                             const QString &sign_or_FP)
{
    auto s = std::make_shared<SKTSignature>();
    if (!contents.isNull())
        s->_contents_img = contents;
    s->file_path = samplePath(sign_or_FP);
    s->Set_Control_File_path(s->file_path);
    s->Set_Sign_Or_FP(sign_or_FP);
    const QSizeF sz = contents.size();
    s->setBounds(QRectF(point.x() - sz.width() / 2, point.y() - sz.height() / 2, sz.width(), sz.height()));
    ModelGlobals::instance().host().Reset_Image_Editing_Controls();
    return s;
}

std::shared_ptr<SKTSignature> SKTSignature::initWithPath(const QPointF &point, const QString &path,
                                                         const QString &sign_or_FP)
{
    auto s = std::make_shared<SKTSignature>();
    s->file_path = path;
    s->setFilePath(path);
    s->Set_Sign_Or_FP(sign_or_FP);
    const QSizeF sz = s->_contents_img ? s->_contents_img->size() : QSizeF();
    s->setBounds(QRectF(point.x() - sz.width() / 2, point.y() - sz.height() / 2, sz.width(), sz.height()));
    ModelGlobals::instance().host().Reset_Image_Editing_Controls();
    return s;
}
