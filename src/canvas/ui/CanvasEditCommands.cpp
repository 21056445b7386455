#include "canvas/ui/CanvasEditCommands.h"

#include "canvas/DocumentData.h"
#include "canvas/NewObjectFrames.h"
#include "canvas/SKTRenderingView.h"
#include "canvas/ui/CanvasCreation.h"
#include "canvas/ui/CanvasHost.h"
#include "canvas/ui/PasteboardWatcher.h"
#include "canvas/ui/SKTGraphicView.h"
#include "canvas/ui/SKTZoomingScrollView.h"
#include "foundation/CardCodes.h"
#include "foundation/DataRoot.h"
#include "foundation/MessageBoxes.h"
#include "model/Card_Property.h"
#include "model/GraphicPasteboard.h"
#include "model/SKTDocument.h"
#include "model/SKTGrid.h"
#include "model/SKTText.h"
#include "platform/UndoManager.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QMimeData>

CanvasEditCommands::CanvasEditCommands(SKTGraphicView &view) : m_view(view) {}

bool CanvasEditCommands::There_Is_Any_Lock_Contrl() const
{
    for (const GraphicPtr &g : m_view.selectedGraphics()) {
        if (g->ctrl_is_locked)
            return true;
    }
    return false;
}

bool CanvasEditCommands::refuseLocked() const
{
    if (!There_Is_Any_Lock_Contrl())
        return false;
    Show_MessageBox(LockedMessage);
    return true;
}

void CanvasEditCommands::updateUndoButtons() const
{
    m_view.host().Undo_Redo_Button_state();
}

// --- delete and the clipboard ---

void CanvasEditCommands::delete_()
{
    if (refuseLocked())
        return;
    const QList<int> selection = m_view.selectionIndexes();
    if (!selection.isEmpty())
        m_view.removeGraphicsAtIndexes(selection);
    updateUndoButtons();
    m_view.host().Show_RHS_Properties(nullptr);
}

void CanvasEditCommands::copy()
{
    if (refuseLocked())
        return;
    const GraphicList selected = m_view.selectedGraphics();
    QMimeData *mime = GraphicPasteboard::mimeDataWithGraphics(selected);
    // A canvas without a document draws its objects on a new design's card.
    const SKTDocument *document = m_view.document();
    const RenderSide side = document ? RenderSide::of(document->design(), m_view.host().Card_Front_Or_Back(),
                                                      selected, Resource_Path)
                                     : RenderSide::of(DesignSettings(), 0, selected, Resource_Path);
    mime->setData(PdfType, SKTRenderingView::pdfDataWithGraphics_data(side));
    mime->setData(TiffType, SKTRenderingView::tiffDataWithGraphics(selected, Resource_Path));
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setMimeData(mime);
    else
        delete mime;
    m_view._pasteboardChangeCount = PasteboardWatcher::instance().changeCount();
    m_view._pasteCascadeNumber = 1;
    m_view.host().Set_Paste_Button_Status();
}

void CanvasEditCommands::cut()
{
    if (refuseLocked())
        return;
    copy();
    delete_();
    updateUndoButtons();
}

void CanvasEditCommands::paste()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *mime = clipboard ? clipboard->mimeData() : nullptr;
    QString offered;
    if (mime) {
        for (const QString &format : mime->formats()) {
            if (format == GraphicPasteboard::MimeType || format == FileNamesType) {
                offered = format;
                break;
            }
        }
    }
    if (offered == FileNamesType)
        return; // file names alone make nothing
    if (offered.isEmpty()) {
        m_view.m_creation->makeNewImageFromPasteboard(mime, pictureLandingPoint());
        return;
    }
    int errorCode = 0;
    const std::optional<GraphicList> pasted = GraphicPasteboard::graphicsFromMimeData(mime, &errorCode);
    if (!pasted) {
        const SKTError error = DocumentData::SKTErrorWithCode(errorCode ? errorCode : 2);
        m_view.host().presentError(error.localizedDescription + QLatin1Char('\n') +
                                   error.localizedFailureReason);
        return;
    }
    const qint64 count = PasteboardWatcher::instance().changeCount();
    if (count != m_view._pasteboardChangeCount) {
        m_view._pasteboardChangeCount = count;
        m_view._pasteCascadeNumber = 0;
    }
    const GraphicList &objects = *pasted;
    if (objects.isEmpty())
        return;
    // The objects land together, in their places relative to each other: the same contents
    // pasted again go to the side's next new-object place, and the group lies whole on the card,
    // moved in or scaled down in proportion as a tool's new object is.
    std::optional<QPointF> origin;
    if (m_view._pasteCascadeNumber > 0) {
        const QString side =
            m_view.host().Card_Front_Or_Back() == 1 ? QString(SideCode::Back) : QString(SideCode::Front);
        origin = m_view.host().Control_New_Point(side);
    }
    QList<QRectF> frames;
    for (const GraphicPtr &g : objects)
        frames.append(g->bounds());
    frames = NewObjectFrames::grouped(frames, origin, m_view.cardSize());
    for (qsizetype i = 0; i < objects.size(); ++i)
        objects.at(i)->setBounds(frames.at(i));
    ++m_view._pasteCascadeNumber;
    QList<int> indexes;
    for (int i = 0; i < objects.size(); ++i)
        indexes.append(i);
    m_view.insertGraphics(objects, indexes);
    m_view.changeSelectionIndexes(indexes);
    m_view.setSelectedGraphic(objects.first());
    updateUndoButtons();
}

QPointF CanvasEditCommands::pictureLandingPoint() const
{
    // The canvas is cut to its scroll view's visible area, its parent.
    QRect inSight = m_view.isVisible() ? m_view.rect() : QRect();
    if (const QWidget *area = m_view.parentWidget())
        inSight &= QRect(m_view.mapFrom(area, QPoint(0, 0)), area->size());
    if (inSight.isEmpty())
        return m_view.bounds().center();
    const QPoint cursor = QCursor::pos();
    const QPoint mouse = m_view.mapFromGlobal(cursor);
    if (inSight.contains(mouse) && QApplication::topLevelAt(cursor) == m_view.window())
        return QPointF(mouse) / m_view.zoom();
    return QRectF(inSight).center() / m_view.zoom();
}

// --- order ---

void CanvasEditCommands::reorder(bool toFront)
{
    if (refuseLocked())
        return;
    const QList<int> selection = m_view.selectionIndexes();
    const GraphicList moving = m_view.selectedGraphics();
    if (!moving.isEmpty()) {
        m_view.removeGraphicsAtIndexes(selection);
        const QList<int> indexes =
            GraphicArrangement::reorderedIndexes(int(m_view.graphics().size()), int(moving.size()), toFront);
        m_view.insertGraphics(moving, indexes);
        m_view.changeSelectionIndexes(indexes);
    }
    updateUndoButtons();
}

void CanvasEditCommands::bringToFront()
{
    reorder(true);
}

void CanvasEditCommands::sendToBack()
{
    reorder(false);
}

// --- alignment and sizes ---

void CanvasEditCommands::align(Edge edge)
{
    if (GraphicArrangement::alignGraphics(m_view.selectedGraphics(), m_view.bounds(), edge))
        updateUndoButtons();
}

void CanvasEditCommands::alignformCenter()
{
    if (GraphicArrangement::centreGraphics(m_view.selectedGraphics(), m_view.cardSize()))
        updateUndoButtons();
}

void CanvasEditCommands::alignWithGrid()
{
    if (const SKTGrid *grid = m_view.grid())
        GraphicArrangement::alignGraphicsWithGrid(m_view.selectedGraphics(), *grid);
    updateUndoButtons();
}

void CanvasEditCommands::makeSameSize(bool width)
{
    using GraphicArrangement::Dimension;
    GraphicArrangement::makeGraphicsSameSize(m_view.selectedGraphics(),
                                             width ? Dimension::Width : Dimension::Height);
    updateUndoButtons();
}

void CanvasEditCommands::makeNaturalSize()
{
    for (const GraphicPtr &g : m_view.selectedGraphics()) {
        // A text may reach the card's edge, whatever its frame's width wraps now.
        if (auto *text = dynamic_cast<SKTText *>(g.get()))
            text->makeNaturalSize(m_view.bounds());
        else
            g->makeNaturalSize();
    }
    updateUndoButtons();
}

void CanvasEditCommands::print_contol_or_not(int flag)
{
    for (const GraphicPtr &g : m_view.selectedGraphics()) {
        if (!g->ctrl_is_locked)
            g->print_object = flag;
    }
}

// --- undo and redo ---

void CanvasEditCommands::undoOrRedo(bool undo)
{
    if (!m_view.document())
        return;
    m_view._undoSelectionIndexes = QList<int>();
    UndoManager &manager = m_view.document()->undoManager();
    if (undo)
        manager.undo();
    else
        manager.redo();
    const QList<int> touched = *m_view._undoSelectionIndexes;
    m_view._undoSelectionIndexes.reset();
    if (!touched.isEmpty()) {
        // Positions taken during the run may have moved since; keep the ones still in the list.
        QList<int> valid;
        const int count = int(m_view.graphics().size());
        for (int i : touched) {
            if (i < count)
                valid.append(i);
        }
        m_view.changeSelectionIndexes(valid);
    }
    updateUndoButtons();
}

// --- menus ---

bool CanvasEditCommands::validateMenuItem(const QString &action, QString *title) const
{
    const GraphicList selected = m_view.selectedGraphics();
    if (action == QLatin1String("makeNaturalSize")) {
        for (const GraphicPtr &g : selected) {
            if (g->canMakeNaturalSize())
                return true;
        }
        return false;
    }
    if (action == QLatin1String("alignWithGrid"))
        return m_view.grid() && m_view.grid()->canAlign() && !selected.isEmpty();
    static const QStringList needOne = {QStringLiteral("delete"), QStringLiteral("bringToFront"),
                                        QStringLiteral("sendToBack"), QStringLiteral("cut"),
                                        QStringLiteral("copy")};
    if (needOne.contains(action))
        return !selected.isEmpty();
    static const QStringList needTwo = {
        QStringLiteral("alignLeftEdges"),         QStringLiteral("alignRightEdges"),
        QStringLiteral("alignTopEdges"),          QStringLiteral("alignBottomEdges"),
        QStringLiteral("alignHorizontalCenters"), QStringLiteral("alignVerticalCenters"),
        QStringLiteral("makeSameWidth"),          QStringLiteral("makeSameHeight")};
    if (needTwo.contains(action))
        return selected.size() >= 2;
    if (action == QLatin1String("undo"))
        return m_view.document() && m_view.document()->undoManager().canUndo();
    if (action == QLatin1String("redo"))
        return m_view.document() && m_view.document()->undoManager().canRedo();
    if (action == QLatin1String("showOrHideRulers")) {
        if (title) {
            const bool shown = m_view.enclosingScrollView() && m_view.enclosingScrollView()->rulersVisible();
            *title = shown ? QStringLiteral("Hide Ruler") : QStringLiteral("Show Ruler");
        }
        return true;
    }
    return true;
}
