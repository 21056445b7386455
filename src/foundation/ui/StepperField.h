// One number entry with up and down arrows, standing for a stepper and its text field together.
// A typed value counts once committed; userChanged is emitted for the user's changes only.
#pragma once

#include <QDoubleSpinBox>

class StepperField : public QDoubleSpinBox
{
    Q_OBJECT
public:
    // decimals 0 makes an integer field.
    explicit StepperField(double minimum, double maximum, double step = 1.0, int decimals = 0,
                          QWidget *parent = nullptr);

    // Sets the value as code does: no userChanged. Hides QDoubleSpinBox::setValue on purpose.
    void setValue(double value);

    void stepBy(int steps) override;

signals:
    void userChanged(double value);

private:
    void commitIfChanged();
    double m_committed = 0;
};
