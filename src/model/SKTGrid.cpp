#include "model/SKTGrid.h"

#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include <cmath>

namespace
{
// The program's countdown. The QTimer is made on first use, on the thread that starts it.
class QtGridTimer : public SKTGridTimer
{
public:
    void start(int milliseconds, std::function<void()> timeout) override
    {
        if (!m_timer) {
            m_timer = std::make_unique<QTimer>();
            m_timer->setSingleShot(true);
            QObject::connect(m_timer.get(), &QTimer::timeout, m_timer.get(), [this] {
                if (m_timeout)
                    m_timeout();
            });
        }
        m_timeout = std::move(timeout);
        m_timer->start(milliseconds);
    }
    void stop() override
    {
        if (m_timer)
            m_timer->stop();
    }
    int remainingTime() const override { return m_timer ? m_timer->remainingTime() : -1; }

private:
    std::unique_ptr<QTimer> m_timer;
    std::function<void()> m_timeout;
};
} // namespace

SKTGrid::SKTGrid() : SKTGrid(std::make_unique<QtGridTimer>()) {}

SKTGrid::SKTGrid(std::unique_ptr<SKTGridTimer> hidingTimer)
    : _hidingTimer(hidingTimer ? std::move(hidingTimer) : std::make_unique<QtGridTimer>())
{
}

SKTGrid::~SKTGrid() = default;

void SKTGrid::setColor(const QColor &color)
{
    setAndNotify(QStringLiteral("color"), _color, color);
}

void SKTGrid::setConstraining(bool constraining)
{
    setAndNotify(QStringLiteral("constraining"), _isConstraining, constraining);
}

bool SKTGrid::isTemporarilyShown() const
{
    return _hidingTimer->remainingTime() >= 0;
}

int SKTGrid::hidingTimeLeft() const
{
    return _hidingTimer->remainingTime();
}

void SKTGrid::setAlwaysShown(bool alwaysShown)
{
    if (alwaysShown == _isAlwaysShown)
        return;
    willChangeValueForKey(QStringLiteral("alwaysShown"));
    _isAlwaysShown = alwaysShown;
    // Always shown needs no hiding; switched off, the grid hides at once.
    _hidingTimer->stop();
    didChangeValueForKey(QStringLiteral("alwaysShown"));
}

void SKTGrid::setSpacing(double spacing)
{
    if (spacing == _spacing)
        return;
    willChangeValueForKey(QStringLiteral("spacing"));
    _spacing = spacing;
    if (spacing > 0 && !_isAlwaysShown) // restarting extends the showing
        _hidingTimer->start(SKTGridTemporaryShowingTime, [this] { stopShowingGridForTimer(); });
    didChangeValueForKey(QStringLiteral("spacing"));
}

void SKTGrid::stopShowingGridForTimer()
{
    _hidingTimer->stop();
    willChangeValueForKey(SKTGridAnyKey);
    didChangeValueForKey(SKTGridAnyKey);
}

double SKTGrid::snapped(double v) const
{
    return std::floor(v / _spacing + 0.5) * _spacing;
}

QPointF SKTGrid::constrainedPoint(const QPointF &point) const
{
    if (!isUsable() || !_isConstraining)
        return point;
    return QPointF(snapped(point.x()), snapped(point.y()));
}

QRectF SKTGrid::alignedRect(const QRectF &r) const
{
    const double x = snapped(r.x());
    const double y = snapped(r.y());
    const double fx = snapped(r.x() + r.width());
    const double fy = snapped(r.y() + r.height());
    return QRectF(x, y, fx - x, fy - y);
}

void SKTGrid::drawRect(QPainter &painter, const QRectF &r) const
{
    if (!isShowing())
        return;
    const double s = _spacing;
    // Guard against a huge number of lines from a tiny spacing.
    if ((r.width() / s) + (r.height() / s) > 100000)
        return;
    QPainterPath path;
    for (double n = std::ceil(r.left() / s); n <= std::floor(r.right() / s); n += 1.0) {
        path.moveTo(n * s, r.top());
        path.lineTo(n * s, r.bottom());
    }
    for (double n = std::ceil(r.top() / s); n <= std::floor(r.bottom() / s); n += 1.0) {
        path.moveTo(r.left(), n * s);
        path.lineTo(r.right(), n * s);
    }
    painter.save();
    QPen pen(_color);
    pen.setWidthF(0); // the thinnest line the device shows
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.restore();
}

QVariant SKTGrid::valueForKey(const QString &key) const
{
    if (key == QLatin1String("color"))
        return _color;
    if (key == QLatin1String("spacing"))
        return _spacing;
    if (key == QLatin1String("alwaysShown"))
        return _isAlwaysShown;
    if (key == QLatin1String("constraining"))
        return _isConstraining;
    if (key == QLatin1String("usable"))
        return isUsable();
    if (key == QLatin1String("canSetColor"))
        return canSetColor();
    if (key == QLatin1String("canSetSpacing"))
        return canSetSpacing();
    return QVariant();
}

bool SKTGrid::setValueForKey(const QString &key, const QVariant &value)
{
    if (key == QLatin1String("color"))
        setColor(value.value<QColor>());
    else if (key == QLatin1String("spacing"))
        setSpacing(value.toDouble());
    else if (key == QLatin1String("alwaysShown"))
        setAlwaysShown(value.toBool());
    else if (key == QLatin1String("constraining"))
        setConstraining(value.toBool());
    else
        return false;
    return true;
}

QStringList SKTGrid::keyPathsForValuesAffectingValueForKey(const QString &key) const
{
    if (key == SKTGridAnyKey)
        return {QStringLiteral("color"), QStringLiteral("spacing"), QStringLiteral("alwaysShown"),
                QStringLiteral("constraining")};
    if (key == QLatin1String("usable"))
        return {QStringLiteral("spacing")};
    if (key == QLatin1String("canSetColor"))
        return {QStringLiteral("alwaysShown"), QStringLiteral("spacing")};
    if (key == QLatin1String("canSetSpacing"))
        return {QStringLiteral("alwaysShown"), QStringLiteral("constraining")};
    return {};
}
