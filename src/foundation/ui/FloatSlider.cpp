#include "foundation/ui/FloatSlider.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>
#include <cmath>

FloatSlider::FloatSlider(double minimum, double maximum, int steps, int decimals, QWidget *parent)
    : QWidget(parent), m_min(minimum), m_max(maximum), m_steps(std::max(1, steps)), m_decimals(decimals),
      m_value(minimum)
{
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setRange(0, m_steps);
    m_label = new QLabel(this);
    m_label->setMinimumWidth(40);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_slider, 1);
    layout->addWidget(m_label);
    // valueChanged also fires for code's changes; those run under a signal blocker.
    connect(m_slider, &QSlider::valueChanged, this, [this](int position) {
        m_value = m_min + (m_max - m_min) * double(position) / double(m_steps);
        showValue();
        emit userChanged(m_value);
    });
    showValue();
}

void FloatSlider::setValue(double v)
{
    m_value = std::clamp(v, std::min(m_min, m_max), std::max(m_min, m_max));
    const QSignalBlocker block(m_slider);
    if (m_max != m_min)
        m_slider->setValue(int(std::lround((m_value - m_min) / (m_max - m_min) * m_steps)));
    showValue();
}

void FloatSlider::showValue()
{
    m_label->setText(QString::number(m_value, 'f', m_decimals));
}
