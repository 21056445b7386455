// The main window's strip of background pictures: a click puts the picture on the front side's
// page at once, whichever side is showing.
#include "editor/BackgroundBrowser.h"

#include "canvas/ImageBrowser.h"
#include "canvas/ImageBrowserModel.h"
#include "editor/DesignEditor.h"
#include "foundation/FoundationState.h"
#include "model/ModelHost.h"

BackgroundBrowser::BackgroundBrowser(DesignEditor &editor, ModelHost &host, QWidget *parent)
    : QObject(parent), m_editor(editor), m_host(host)
{
    images = new ImageBrowserModel(this);
    imageBrowser = new ImageBrowser(images, parent);
    imageBrowser->setObjectName(QStringLiteral("background_imageBrowser"));
    imageBrowser->setZoomValue(0.4);
    imageBrowser->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    imageBrowser->setToolTip(QStringLiteral("Click a picture to make it the front background"));
    connect(imageBrowser, &ImageBrowser::imageBrowserSelectionDidChange, this,
            &BackgroundBrowser::imageBrowserSelectionDidChange);
    Load_and_fill_backgrounds();
}

void BackgroundBrowser::Load_and_fill_backgrounds()
{
    images->fillFromFolder(Resource_Path + QStringLiteral("Background"));
}

void BackgroundBrowser::addImageWithPath(const QString &path, const QString &imageName,
                                         const QString &image_UID)
{
    images->addImageWithPath(path, imageName, image_UID);
}

void BackgroundBrowser::imageBrowserSelectionDidChange()
{
    const QList<int> rows = imageBrowser->selectedRows();
    if (rows.isEmpty())
        return;
    selected_image = images->item(rows.first()).path();
    m_editor.set_Front_BG_Image(selected_image);
    m_host.Refresh_Canvas();
}
