// A view whose background is the program's banner picture, tiled from its top-left corner.
// The main window hands over the banner once; every such view paints it.
#pragma once

#include <QImage>
#include <QWidget>

class Repeat_Image : public QWidget
{
    Q_OBJECT
public:
    explicit Repeat_Image(QWidget *parent = nullptr);

    static void setBannerImage(const QImage &image); // GUI thread
    static QImage bannerImage();

protected:
    void paintEvent(QPaintEvent *event) override;
};
