// A picture view that paints a repeating pattern picture behind the picture it shows.
#pragma once

#include <QLabel>
#include <QPixmap>

class Promotion_Pattern : public QLabel
{
    Q_OBJECT
public:
    // Takes the pattern "pattern_1.jpg" of the data folder; without it the window colour shows.
    explicit Promotion_Pattern(QWidget *parent = nullptr);
    void setPattern(const QPixmap &pattern) { m_pattern = pattern; }
    const QPixmap &pattern() const { return m_pattern; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_pattern;
};
