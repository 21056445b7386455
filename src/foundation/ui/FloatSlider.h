// A slider over a range of real values with a label that shows the value. The value is kept in
// its own units (not slider steps); userChanged is emitted for the user's moves only.
#pragma once

#include <QWidget>

class QLabel;
class QSlider;

class FloatSlider : public QWidget
{
    Q_OBJECT
public:
    // steps: the number of slider positions between minimum and maximum.
    FloatSlider(double minimum, double maximum, int steps = 100, int decimals = 1, QWidget *parent = nullptr);

    double value() const { return m_value; }
    void setValue(double value); // no signal
    double minimum() const { return m_min; }
    double maximum() const { return m_max; }

    QSlider *slider() const { return m_slider; }
    QLabel *valueLabel() const { return m_label; }

signals:
    void userChanged(double value);

private:
    void showValue();
    double m_min;
    double m_max;
    int m_steps;
    int m_decimals;
    double m_value;
    QSlider *m_slider = nullptr;
    QLabel *m_label = nullptr;
};
