// The alignment grid shared by the canvases: colour, spacing, always-shown and snapping flags, and a
// one-second showing after a spacing change. GUI thread only.
#pragma once

#include "platform/Observable.h"

#include <QColor>
#include <QPointF>
#include <QRectF>

#include <functional>
#include <memory>

class QPainter;

inline const QString SKTGridAnyKey = QStringLiteral("any");
constexpr int SKTGridTemporaryShowingTime = 1000; // milliseconds

// The one-shot countdown a temporary showing runs on: a QTimer in the program, a timer wound by
// hand in tests (so that they need not wait for the second to pass).
class SKTGridTimer
{
public:
    virtual ~SKTGridTimer() = default;
    // (Re)starts the countdown; timeout is called on the grid's thread when it runs out.
    virtual void start(int milliseconds, std::function<void()> timeout) = 0;
    virtual void stop() = 0;
    // Milliseconds left (0 when due), or -1 when not running.
    virtual int remainingTime() const = 0;
};

class SKTGrid : public Observable
{
public:
    SKTGrid();
    explicit SKTGrid(std::unique_ptr<SKTGridTimer> hidingTimer);
    ~SKTGrid() override;
    SKTGrid(const SKTGrid &) = delete;
    SKTGrid &operator=(const SKTGrid &) = delete;

    QColor color() const { return _color; }
    void setColor(const QColor &color);
    double spacing() const { return _spacing; }
    // Starts (or extends) a one-second showing when the grid is not always shown.
    void setSpacing(double spacing);
    bool isAlwaysShown() const { return _isAlwaysShown; }
    void setAlwaysShown(bool alwaysShown);
    bool isConstraining() const { return _isConstraining; }
    void setConstraining(bool constraining);

    bool isUsable() const { return _spacing > 0; }
    bool canAlign() const { return isUsable(); }
    bool canSetColor() const { return _isAlwaysShown && isUsable(); }
    bool canSetSpacing() const { return _isAlwaysShown || _isConstraining; }
    bool isTemporarilyShown() const;
    int hidingTimeLeft() const; // milliseconds until a temporary showing ends, or -1
    // Whether drawRect would draw anything.
    bool isShowing() const { return isUsable() && (_isAlwaysShown || isTemporarilyShown()); }

    void stopShowingGridForTimer();
    QPointF constrainedPoint(const QPointF &point) const;
    QRectF alignedRect(const QRectF &rect) const;
    // Nearest multiple of the spacing; a value half-way goes up.
    double snapped(double value) const;
    void drawRect(QPainter &painter, const QRectF &rect) const;

    QVariant valueForKey(const QString &key) const override;
    bool setValueForKey(const QString &key, const QVariant &value) override;
    QStringList keyPathsForValuesAffectingValueForKey(const QString &key) const override;

    // Written directly by the grid commands (no temporary showing, no notices).
    QColor _color = QColor(170, 170, 170);
    double _spacing = 9.0;
    bool _isAlwaysShown = false;
    bool _isConstraining = false;

private:
    std::unique_ptr<SKTGridTimer> _hidingTimer;
};
