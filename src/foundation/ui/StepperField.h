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

    // Shows each whole value from the minimum up as the label at its place ("Hexagon" for a
    // stored choice), where the number itself would mean nothing to the user. A label typed in,
    // or its first word, chooses its value.
    void setValueLabels(const QStringList &labels);

protected:
    QString textFromValue(double value) const override;
    double valueFromText(const QString &text) const override;
    QValidator::State validate(QString &text, int &pos) const override;

signals:
    void userChanged(double value);

private:
    void commitIfChanged();
    int labelIndexOf(const QString &text) const;
    double m_committed = 0;
    QStringList m_labels;
};
