// A button that shows a colour and lets the user choose another through the colour chooser
// (with alpha). colorPicked is emitted for the user's choice only.
#pragma once

#include <QColor>
#include <QPushButton>

class ColorWell : public QPushButton
{
    Q_OBJECT
public:
    explicit ColorWell(const QColor &color = Qt::black, QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor &color); // no signal

signals:
    void colorPicked(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void choose();
    QColor m_color;
};
