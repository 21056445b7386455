// One ruler beside a card canvas: millimetres from the card's corner at the current zoom, and the
// marker lines that follow an object while it moves or resizes.
#pragma once

#include <QList>
#include <QWidget>

class RulerView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Thickness = 20;

    RulerView(Qt::Orientation orientation, QWidget *parent = nullptr);

    Qt::Orientation orientation() const { return m_orientation; }
    // Where the card's corner sits along the ruler, in pixels, and the zoom factor.
    void setPlacement(double cardOriginPx, double factor);

    // Moves a marker line from one place to another (card points); -1 stands for no line, so
    // (-1, x) adds a line and (x, -1) removes it.
    void moveRulerlineFromLocation(double from, double to);
    QList<double> markerLines() const { return m_lines; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double toPixels(double points) const { return m_originPx + points * m_factor; }

    Qt::Orientation m_orientation;
    double m_originPx = 0;
    double m_factor = 1.0;
    QList<double> m_lines;
};
