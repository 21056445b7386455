#include "canvas/ui/ImageBrowser.h"

#include "canvas/ui/ImageBrowserModel.h"

#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cmath>

namespace
{
// A cell is as large as a whole thumbnail and its title whether that thumbnail has been read yet or
// not: the view sizes its cells once, from the first row, before any thumbnail arrives.
class ThumbnailCellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        cell.features |= QStyleOptionViewItem::HasDecoration;
        cell.decorationSize = option.decorationSize; // the view's icon size: the largest thumbnail
        const QWidget *view = option.widget;
        QStyle *style = view ? view->style() : QApplication::style();
        return style->sizeFromContents(QStyle::CT_ItemViewItem, &cell, QSize(), view);
    }
};
} // namespace

ImageBrowser::ImageBrowser(ImageBrowserModel *model, QWidget *parent) : QListView(parent), m_model(model)
{
    setObjectName(QStringLiteral("imageBrowser"));
    setModel(model);
    setViewMode(QListView::IconMode);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Snap);
    setUniformItemSizes(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideMiddle);
    setSpacing(6);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setItemDelegate(new ThumbnailCellDelegate(this));
    setZoomValue(m_zoom);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ImageBrowser::imageBrowserSelectionDidChange);
}

int ImageBrowser::thumbnailSideFor(double zoom)
{
    return int(std::lround(48 + 208 * std::clamp(zoom, 0.0, 1.0)));
}

void ImageBrowser::setZoomValue(double zoom)
{
    m_zoom = std::clamp(zoom, 0.0, 1.0);
    const int side = thumbnailSideFor(m_zoom);
    m_model->setThumbnailSide(side);
    setIconSize(QSize(side, side));
    setGridSize(QSize(side + 16, side + fontMetrics().height() + 14));
    doItemsLayout();
}

QList<int> ImageBrowser::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &i : selectionModel()->selectedIndexes())
        rows << i.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void ImageBrowser::selectRow(int row)
{
    const QModelIndex index = model()->index(row, 0);
    if (!index.isValid())
        return;
    selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
    setCurrentIndex(index);
    scrollTo(index);
}

bool ImageBrowser::dropRows(const QMimeData *data, const QPoint &at)
{
    if (!data || !data->hasFormat(ImageBrowserModel::RowsMimeType))
        return false;
    const QModelIndex target = indexAt(at);
    const int row = target.isValid() ? target.row() : m_model->count();
    return m_model->dropMimeData(data, Qt::MoveAction, row, 0, QModelIndex());
}

void ImageBrowser::dropEvent(QDropEvent *event)
{
    // The view's own icon-mode drop would only move icons around; the list order is what counts.
    // Rows only make sense in the browser they came from.
    if (event->source() != this || !dropRows(event->mimeData(), event->position().toPoint())) {
        event->ignore();
        return;
    }
    // Copy tells the drag's source not to remove anything: the move is done.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void ImageBrowser::keyPressEvent(QKeyEvent *event)
{
    // Delete and Backspace remove nothing from a browser.
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}
