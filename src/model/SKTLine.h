// A straight line: its end points follow from the bounds and two direction flags. It never fills,
// always strokes, has one handle per end and is hit close to the segment.
#pragma once

#include "foundation/CardCodes.h"
#include "model/SKTGraphic.h"

inline const QString SKTLineBeginPointKey = QStringLiteral("beginPoint");
inline const QString SKTLineEndPointKey = QStringLiteral("endPoint");
inline const QString SKTLineOrientationKey = QStringLiteral("lineOrientation");

class SKTLine : public SKTGraphicKind<SKTLine, SKTGraphic::Kind::Line>
{
public:
    SKTLine() = default;
    explicit SKTLine(ZeroFields z) : SKTGraphicKind(z) {}
    SKTLine(const SKTLine &) = default;

    QPointF beginPoint() const;
    QPointF endPoint() const;
    void setBeginPoint(const QPointF &p);
    void setEndPoint(const QPointF &p);
    // Turns the line about its middle, keeping its length, to lie level (Horizontal) or upright
    // (Vertical), and keeps it so while its ends are dragged; Free changes nothing.
    void setOrientation(int orientation);
    static QRectF boundsWithBeginPoint(const QPointF &begin, const QPointF &end, bool *pointsRight = nullptr,
                                       bool *pointsDown = nullptr);

    bool isDrawingFill() const override { return false; }
    bool isDrawingStroke() const override { return true; }
    bool canSetDrawingFill() const override { return false; }
    bool canSetDrawingStroke() const override { return false; }
    bool canMakeNaturalSize() const override { return false; }
    int creationSizingHandle() const override { return LineHandle::End; }
    int handleUnderPoint(const QPointF &point) const override;
    int resizeByMovingHandle(int handle, const QPointF &point) override;
    bool isContentsUnderPoint(const QPointF &point) const override;
    void setColor(const QColor &color) override;
    GraphicPtr copy() const override;

    QVariant valueForKey(const QString &key) const override;
    bool setValueForKey(const QString &key, const QVariant &value) override;
    QStringList keyPathsForValuesAffectingValueForKey(const QString &key) const override;
    QSet<QString> keysForValuesToObserveForUndo() const override;

    std::optional<QPainterPath> bezierPathForDrawing() const override;
    void drawContentsInView(QPainter &painter, const GraphicDrawContext &context,
                            bool isBeingCreateOrEdited) const override;
    void drawHandlesInView(QPainter &painter, const GraphicDrawContext &context,
                           bool lock_hai) const override;

    // The direction flags are archived after the record so that a line keeps its direction.
    void encodeWithCoder(KeyedArchiver &coder) const override;
    void initWithCoder(KeyedUnarchiver &coder) override;

    bool _pointsRight = false;
    bool _pointsDown = false;

private:
    void setPoints(const QPointF &begin, const QPointF &end);
};
