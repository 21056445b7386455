#include "editor/ui/BackgroundBrowser.h"

#include "canvas/ui/ImageBrowser.h"
#include "canvas/ui/ImageBrowserModel.h"
#include "foundation/DataRoot.h"
#include "panels/ui/InspectorHost.h"
#include "panels/ui/PanelEdits.h"

#include <QEvent>
#include <QMouseEvent>

BackgroundBrowser::BackgroundBrowser(InspectorHost &host, QWidget *parent) : QObject(parent), m_host(host)
{
    images = new ImageBrowserModel(this);
    imageBrowser = new ImageBrowser(images, parent);
    imageBrowser->setObjectName(QStringLiteral("background_imageBrowser"));
    imageBrowser->setZoomValue(0.4);
    imageBrowser->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    imageBrowser->setToolTip(QStringLiteral("Click a picture to make it the background of the side shown"));
    connect(imageBrowser, &ImageBrowser::imageBrowserSelectionDidChange, this,
            &BackgroundBrowser::imageBrowserSelectionDidChange);
    // A click on the picture already selected (chosen for the other side before) applies it too;
    // a click that changes the selection has applied it already.
    imageBrowser->viewport()->installEventFilter(this);
    connect(imageBrowser, &ImageBrowser::clicked, this, [this](const QModelIndex &index) {
        if (index.isValid() && m_pressedRowWasSelected &&
            imageBrowser->selectedRows() == QList<int>{index.row()})
            imageBrowserSelectionDidChange();
    });
    Load_and_fill_backgrounds();
}

bool BackgroundBrowser::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const QModelIndex index =
            imageBrowser->indexAt(static_cast<QMouseEvent *>(event)->position().toPoint());
        m_pressedRowWasSelected = index.isValid() && imageBrowser->selectedRows() == QList<int>{index.row()};
    }
    return QObject::eventFilter(watched, event);
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
    PanelEdits::cardPage(m_host, QStringLiteral("Background"),
                         [this] { m_host.setLiveBackground(selected_image); });
    m_host.Refresh_Canvas();
}
