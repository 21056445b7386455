// Making card objects on a canvas: by a press with a tool, at a default place, or by identifier for
// the personal details and the invitation; pictures from a file or the clipboard. One undo step each.
#pragma once

#include "model/SKTGraphic.h"

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

class QMimeData;
class SKTGraphicView;

class CanvasCreation
{
public:
    explicit CanvasCreation(SKTGraphicView &view);

    // Identifiers of the personal-details objects.
    static const QStringList &personalDetailIdentifiers();

    // A press with a tool: the object starts at the point with no size and is inserted at the
    // front; the tracking sizes it; finishCreation() keeps it or, with no size at all, takes it back.
    void beginCreation(SKTGraphic::Kind graphicClass, const QPointF &point, const QString &card_side);
    void finishCreation();

    // An object made at once: at the frame its caller laid out (use_rect with an identifier), else
    // at the next new-object place, whole on the card (see SKTGraphicView).
    GraphicPtr createGraphicOfClass(SKTGraphic::Kind graphicClass, bool use_rect, const QRectF &bound_rect,
                                    const QString &card_side, const QString &ctrl_value,
                                    const QString &ctrl_ID);
    GraphicPtr ReplaceGraphicText(SKTGraphic::Kind graphicClass, bool use_rect, const QRectF &bound_rect,
                                  const QString &card_side, const QString &ctrl_value,
                                  const QString &ctrl_ID);
    GraphicPtr Selcect_Ctrl_With_ID(const QString &ctrl_ID) const;
    void Hide_all_Text_control_FUP_Control();
    void delete_all_Text_control();
    void delete_all_control();

    // A picture file as an object centred on the point, in its proportions and on the card; false
    // with *why (the end of a sentence) when the file is not a picture this program can use.
    bool makeNewImageFromContentsOfFile(const QString &path, const QPointF &point, QString *why = nullptr);
    // Files dragged over the canvas: whether any is a local file, and the drop, whose pictures
    // become objects in one undo step; a file that is not a usable picture is named with why.
    static bool offersFiles(const QMimeData *mime);
    bool dropFiles(const QMimeData *mime, const QPointF &point);
    // A picture offered on the clipboard, centred on the point and lying on the card: scaled down
    // to the card's size when larger, moved in from the card's edges. The picture is kept as a
    // file under the data folder, which the object points at; when that cannot be written nothing
    // is pasted and the user is told why.
    static inline const QString PastedPictureNotKeptMessage =
        QStringLiteral("The pasted picture could not be kept in the data folder, so it was not pasted.");
    bool makeNewImageFromPasteboard(const QMimeData *mime, const QPointF &point);

private:
    // Steps shared by both ways in: undo group, cleared selection, the object made and inserted.
    // With onCard the frame is a new-object place's, kept on the card (frameOnCard).
    GraphicPtr start(SKTGraphic::Kind graphicClass, const QRectF &frame, const QString &ctrl_value,
                     const QString &ctrl_ID, bool onCard);
    GraphicPtr makeGraphic(SKTGraphic::Kind graphicClass, const QPointF &origin, const QString &ctrl_value,
                           const QString &ctrl_ID) const;
    void insertPicture(const GraphicPtr &image);
    // The frame of an object made at a new-object place, on the card; a picture tool's object
    // takes its picture's size and proportions.
    QRectF frameOnCard(const SKTGraphic &graphic, QRectF frame) const;
    static constexpr double DroppedPictureStep = 20.0;
    static bool isTextOrPicture(const GraphicPtr &graphic);

    SKTGraphicView &m_view;
    bool m_savedGroupsByEvent = true;
    int m_undoCountAtStart = 0;
};
