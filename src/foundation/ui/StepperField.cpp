#include "foundation/ui/StepperField.h"

#include <QLineEdit>

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

void StepperField::setValueLabels(const QStringList &labels)
{
    m_labels = labels;
    setDecimals(0);
    setRange(minimum(), minimum() + labels.size() - 1);
    // The widest label decides the field's width.
    setSpecialValueText(QString());
    updateGeometry();
    lineEdit()->setText(textFromValue(value()));
}

QString StepperField::textFromValue(double v) const
{
    const qsizetype i = qRound(v - minimum());
    if (!m_labels.isEmpty() && i >= 0 && i < m_labels.size())
        return m_labels.at(i);
    return QDoubleSpinBox::textFromValue(v);
}

int StepperField::labelIndexOf(const QString &text) const
{
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return -1;
    for (qsizetype i = 0; i < m_labels.size(); ++i) {
        const QString &label = m_labels.at(i);
        if (label.compare(typed, Qt::CaseInsensitive) == 0 ||
            label.section(QLatin1Char(' '), 0, 0).compare(typed, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

double StepperField::valueFromText(const QString &text) const
{
    if (m_labels.isEmpty())
        return QDoubleSpinBox::valueFromText(text);
    const int i = labelIndexOf(text);
    return i < 0 ? value() : minimum() + i;
}

QValidator::State StepperField::validate(QString &text, int &pos) const
{
    if (m_labels.isEmpty())
        return QDoubleSpinBox::validate(text, pos);
    if (labelIndexOf(text) >= 0)
        return QValidator::Acceptable;
    for (const QString &label : m_labels) {
        if (label.startsWith(text.trimmed(), Qt::CaseInsensitive))
            return QValidator::Intermediate;
    }
    return QValidator::Invalid;
}

void StepperField::commitIfChanged()
{
    if (value() == m_committed)
        return;
    m_committed = value();
    emit userChanged(m_committed);
}
