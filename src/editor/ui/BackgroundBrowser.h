// The main window's strip of background pictures: a click puts the picture on the page of the side
// being edited at once, as one undo step.
#pragma once

#include <QObject>
#include <QString>

class ImageBrowser;
class ImageBrowserModel;
class InspectorHost;
class QWidget;

class BackgroundBrowser : public QObject
{
    Q_OBJECT
public:
    BackgroundBrowser(InspectorHost &host, QWidget *parent);

    // Lists the pictures of the data root's "Background" folder again; a missing folder keeps the
    // list as it is.
    void Load_and_fill_backgrounds();
    void addImageWithPath(const QString &path, const QString &imageName, const QString &image_UID);
    void imageBrowserSelectionDidChange();

    ImageBrowserModel *images = nullptr;
    ImageBrowser *imageBrowser = nullptr;
    QString selected_image;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    InspectorHost &m_host;
    bool m_pressedRowWasSelected = false;
};
