// A picture on the card, loaded from its file path and drawn stretched into its bounds, mirrored by
// its flip flags, through the picture filters at its transparency. Only the path is stored.
#pragma once

#include "model/SKTGraphic.h"
#include "paint/ProcessedPictures.h"

inline const QString SKTImageContentsKey = QStringLiteral("contents");
inline const QString SKTImageIsFlippedHorizontallyKey = QStringLiteral("flippedHorizontally");
inline const QString SKTImageIsFlippedVerticallyKey = QStringLiteral("flippedVertically");

class SKTImage : public SKTGraphicKind<SKTImage, SKTGraphic::Kind::Image>
{
public:
    SKTImage() = default;
    explicit SKTImage(ZeroFields z) : SKTGraphicKind(z) {}
    SKTImage(const SKTImage &) = default;

    // Created centred on a point at the picture's own size.
    static std::shared_ptr<SKTImage> initWithPath(const QPointF &point, const QString &path);
    static std::shared_ptr<SKTImage> initWithPosition(const QPointF &point, const Picture &contents);

    // Stores the path and loads the picture from it (none when unreadable); bounds unchanged.
    void setFilePath(const QString &path);
    // The same for a picture the user chose: a picture that cannot be used changes nothing, and
    // the answer says why (PictureReader's words); "" when the picture was taken.
    QString loadFile(const QString &path);
    // A picture object that shows nothing because the file it links to gave no picture.
    struct MissingPicture {
        GraphicPtr object;
        QString path; // as the object keeps it
        bool gone;    // no file at the path any more (else there, but not a picture that reads)
    };
    // The visible picture objects of a side that take their picture from their own file (not a
    // data source) and have none, in the side's order.
    static QList<MissingPicture> missingPictures(const GraphicList &side);
    // One line for a user: the file's name and the folder it was in.
    static QString describe(const MissingPicture &missing);

    // Size cap of pictures, applied once when a picture is loaded: a picture past it is scaled
    // down in its own proportions, so Natural Size and a new object keep its shape.
    static Picture cappedPicture(const Picture &picture);
    static constexpr double MaxWidth = 724.0;
    static constexpr double MaxHeight = 468.0;

    bool isDrawingFill() const override { return false; }
    bool canSetDrawingFill() const override { return false; }
    bool canSetDrawingStroke() const override { return false; }
    void setFlippedHorizontally(bool v) override;
    void setFlippedVertically(bool v) override;
    void flipHorizontally() override { setFlippedHorizontally(!_isFlippedHorizontally); }
    void flipVertically() override { setFlippedVertically(!_isFlippedVertically); }
    void makeNaturalSize() override;

    QVariant valueForKey(const QString &key) const override;
    bool setValueForKey(const QString &key, const QVariant &value) override;
    QStringList keyPathsForValuesAffectingValueForKey(const QString &key) const override;
    QSet<QString> keysForValuesToObserveForUndo() const override;
    GraphicPtr copy() const override;

    void drawContentsInView(QPainter &painter, const GraphicDrawContext &context,
                            bool isBeingCreateOrEdited) const override;

    // The filter values the object gives the chain.
    ProcessedPictures::Filters filters() const;
    // The picture with the pixels a device of this many pixels per point shows of it (a large
    // photo decoded small): what drawing filters and draws.
    Picture shownSource(QSizeF devicePixelsPerPoint) const;
    // What an editing canvas shows of the picture (canvas thread only): whether it is the picture
    // filtered as the object asks now, and noting a filtered picture made for it.
    bool showsFiltered() const;
    bool showsFiltered(const Picture &source) const; // at the pixels given
    void noteShown(const Picture &source, const ProcessedPictures::Filters &filters,
                   const std::optional<Picture> &filtered) const;

    std::optional<Picture> _contents; // the loaded picture, capped in size

private:
    // What a canvas last drew, with what it was made from: drawn again without filtering, and
    // while the next filtering is made.
    struct Shown {
        Picture source;
        ProcessedPictures::Filters filters;
        std::optional<Picture> filtered;
    };
    // Not copied with the object: the copies that undo steps and output runs keep would hold
    // filtered pixels for nothing.
    struct ShownNote {
        std::optional<Shown> shown;
        ShownNote() = default;
        ShownNote(const ShownNote &) {}
        ShownNote &operator=(const ShownNote &) { return *this; }
    };
    mutable ShownNote m_shown;
};
