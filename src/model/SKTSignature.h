// A signature or fingerprint picture drawn stretched into its bounds. Its path may be rewritten by
// the panel; the picture follows the path the next time it is asked for.
#pragma once

#include "model/SKTGraphic.h"

class SKTSignature : public SKTGraphicKind<SKTSignature, SKTGraphic::Kind::Signature>
{
public:
    SKTSignature() = default;
    explicit SKTSignature(ZeroFields z) : SKTGraphicKind(z) {}
    SKTSignature(const SKTSignature &) = default;

    static std::shared_ptr<SKTSignature> initWithPosition(const QPointF &point, const Picture &contents,
                                                          const QString &sign_or_FP);
    static std::shared_ptr<SKTSignature> initWithPath(const QPointF &point, const QString &path,
                                                      const QString &sign_or_FP);

    // "Default" stands for the sample picture of the object's code; loads the picture.
    void setFilePath(const QString &path);
    // The path "Default" or any other path resolves to, by the current code.
    QString resolvedPath(const QString &path) const;
    // Reloads the picture when the record's path was changed from outside.
    void syncPicture();
    // The picture for the record's current path, loaded without storing it when out of date,
    // so painting on any thread changes nothing.
    std::optional<Picture> pictureForDrawing() const;

    bool isDrawingFill() const override { return false; }
    void drawContentsInView(QPainter &painter, const GraphicDrawContext &context,
                            bool isBeingCreateOrEdited) const override;

    std::optional<Picture> _contents_img;
    QString file_path; // the path the picture was last loaded from
};
