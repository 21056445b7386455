// The picture browser every picture chooser shows: thumbnails with titles in rows, zoomable,
// reordered by dragging within it. Selection changes reach the owner as one signal.
#pragma once

#include <QListView>

class ImageBrowserModel;
class QMimeData;

class ImageBrowser : public QListView
{
    Q_OBJECT
public:
    explicit ImageBrowser(ImageBrowserModel *model, QWidget *parent = nullptr);

    ImageBrowserModel *imageModel() const { return m_model; }

    // 0 gives the smallest thumbnails, 1 the largest.
    void setZoomValue(double zoom);
    double zoomValue() const { return m_zoom; }
    static int thumbnailSideFor(double zoom);

    // Rows selected, lowest first.
    QList<int> selectedRows() const;
    void selectRow(int row);
    QRect itemRect(int row) const { return visualRect(model()->index(row, 0)); }

    // The end of a drag within the browser at a viewport position: the dragged pictures go before
    // the one under it, or to the end past the last. False when the data is not this browser's.
    bool dropRows(const QMimeData *data, const QPoint &at);

signals:
    void imageBrowserSelectionDidChange();

protected:
    void dropEvent(QDropEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    ImageBrowserModel *m_model;
    double m_zoom = 0.4;
};
