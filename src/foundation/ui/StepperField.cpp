#include "foundation/ui/StepperField.h"

StepperField::StepperField(double minimum, double maximum, double step, int decimals, QWidget *parent)
    : QDoubleSpinBox(parent)
{
    setKeyboardTracking(false);
    setDecimals(decimals);
    setRange(minimum, maximum);
    setSingleStep(step);
    m_committed = value();
    connect(this, &QAbstractSpinBox::editingFinished, this, &StepperField::commitIfChanged);
}

void StepperField::setValue(double v)
{
    QDoubleSpinBox::setValue(v);
    m_committed = value();
}

void StepperField::stepBy(int steps)
{
    QDoubleSpinBox::stepBy(steps);
    commitIfChanged();
}

void StepperField::commitIfChanged()
{
    if (value() == m_committed)
        return;
    m_committed = value();
    emit userChanged(m_committed);
}
