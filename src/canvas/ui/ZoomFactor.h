// The zoom shared by the three card canvases: one factor (1.0 = 100 %) and the table of the
// zoom pop-up's rows. Every scroll view and pop-up follows its changed() signal.
#pragma once

#include <QObject>
#include <QSizeF>
#include <QStringList>

#include <array>

class ZoomFactor : public QObject
{
    Q_OBJECT
public:
    static constexpr int RowCount = 11;
    // Factors of the pop-up rows; row 0 is the single-precision 0.1 the table always held.
    static const std::array<double, RowCount> &factors();
    // "10%" ... "1600%", in row order.
    static QStringList labels();
    // The row whose factor equals f, or -1.
    static int rowForFactor(double f);
    // The factor `steps` rows away from f (positive: larger), kept within the table; a factor
    // between two rows takes the first row in that direction as its first step.
    static double steppedFactor(double f, int steps);
    // The largest factor of the table, 1.0 at most, at which a card of cardPoints fits whole
    // into area pixels; the smallest row when none does.
    static double wholeCardFactor(const QSizeF &cardPoints, const QSizeF &area);

    explicit ZoomFactor(QObject *parent = nullptr);

    double factor() const { return m_factor; }
    // Ignores a factor that is not a finite positive number; equal values send nothing.
    void setFactor(double factor);
    // One row of the table up or down.
    void zoomIn() { setFactor(steppedFactor(m_factor, 1)); }
    void zoomOut() { setFactor(steppedFactor(m_factor, -1)); }

signals:
    void changed(double factor);

private:
    double m_factor = 1.0;
};
