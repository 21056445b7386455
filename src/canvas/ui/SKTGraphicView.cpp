#include "canvas/ui/SKTGraphicView.h"

#include "canvas/SKTRenderingView.h"
#include "canvas/ui/CanvasAssertion.h"
#include "canvas/ui/CanvasCreation.h"
#include "canvas/ui/CanvasEditCommands.h"
#include "canvas/ui/CanvasHost.h"
#include "canvas/ui/CanvasPictureFilters.h"
#include "canvas/ui/CanvasTracking.h"
#include "canvas/ui/PasteboardWatcher.h"
#include "canvas/ui/SKTZoomingScrollView.h"
#include "canvas/ui/SideSelection.h"
#include "foundation/DataRoot.h"
#include "model/ModelGlobals.h"
#include "model/SKTDocument.h"
#include "model/SKTGrid.h"
#include "paint/PaintingScope.h"
#include "panels/CardPageDrawing.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>

#include <cmath>

namespace
{
int listContextTag;
int individualContextTag;
int selectionContextTag;
int gridContextTag;
int designContextTag;
void *const SKTGraphicViewGraphicsObservationContext = &listContextTag;
void *const SKTGraphicViewIndividualGraphicObservationContext = &individualContextTag;
void *const SKTGraphicViewSelectionIndexesObservationContext = &selectionContextTag;
void *const SKTGraphicViewAnyGridPropertyObservationContext = &gridContextTag;
void *const SKTGraphicViewDesignObservationContext = &designContextTag;

CanvasHost &idleHost()
{
    static CanvasHost host;
    return host;
}
} // namespace

SKTGraphicView::SKTGraphicView(QWidget *parent)
    : QWidget(parent), m_tracking(std::make_unique<CanvasTracking>(*this)),
      m_creation(std::make_unique<CanvasCreation>(*this)),
      m_editCommands(std::make_unique<CanvasEditCommands>(*this)),
      m_pictureFilters(std::make_unique<CanvasPictureFilters>(*this)),
      m_decodes(std::make_unique<PictureDecodes::Canvas>([this] { update(); }))
{
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    PasteboardWatcher::instance(); // count clipboard changes from now on
    resizeToZoom();
}

SKTGraphicView::~SKTGraphicView()
{
    m_tracking->cancelGesture();
    stopEditing();
    setGrid(nullptr);
    unbindGraphics();
    unbindSelection();
}

void SKTGraphicView::setHost(CanvasHost *host)
{
    m_host = host;
}

CanvasHost &SKTGraphicView::host() const
{
    return m_host ? *m_host : idleHost();
}

// --- bindings ---

void SKTGraphicView::bindGraphics(SKTDocument &document, int side)
{
    unbindGraphics();
    m_document = &document;
    m_side = side;
    document.addObserver(this, SKTDocument::keyForSide(side), ObservingOption::New | ObservingOption::Old,
                         SKTGraphicViewGraphicsObservationContext);
    // The card's size, outline and page are the design's: a change of them resizes and redraws.
    document.addObserver(this, SKTDocumentDesignKey, {}, SKTGraphicViewDesignObservationContext);
    startObservingGraphics(document.list(side));
    m_cardPageShownWhileEmpty = false;
    resizeToZoom();
    update();
}

void SKTGraphicView::unbindGraphics()
{
    if (!m_document)
        return;
    stopEditing();
    stopObservingGraphics(m_observedGraphics);
    m_document->removeObserver(this, SKTDocument::keyForSide(m_side),
                               SKTGraphicViewGraphicsObservationContext);
    m_document->removeObserver(this, SKTDocumentDesignKey, SKTGraphicViewDesignObservationContext);
    m_document = nullptr;
    _Selected_Graphic.reset();
    update();
}

void SKTGraphicView::bindSelection(SideSelection &selection)
{
    unbindSelection();
    m_selection = &selection;
    selection.addObserver(this, SideSelectionIndexesKey, ObservingOption::New | ObservingOption::Old,
                          SKTGraphicViewSelectionIndexesObservationContext);
    update();
}

void SKTGraphicView::unbindSelection()
{
    if (!m_selection)
        return;
    m_selection->removeObserver(this, SideSelectionIndexesKey,
                                SKTGraphicViewSelectionIndexesObservationContext);
    m_selection = nullptr;
    update();
}

void SKTGraphicView::setGrid(SKTGrid *grid)
{
    if (grid == _grid)
        return;
    if (_grid)
        _grid->removeObserver(this, SKTGridAnyKey, SKTGraphicViewAnyGridPropertyObservationContext);
    _grid = grid;
    if (_grid)
        _grid->addObserver(this, SKTGridAnyKey, {}, SKTGraphicViewAnyGridPropertyObservationContext);
    update();
}

QSizeF SKTGraphicView::cardSize() const
{
    return m_document ? m_document->design().cardSize() : DesignSettings::DefaultCardSize;
}

void SKTGraphicView::setZoom(double factor)
{
    if (!(std::isfinite(factor) && factor > 0) || factor == m_zoom)
        return;
    m_zoom = factor;
    resizeToZoom();
    update();
}

void SKTGraphicView::resizeToZoom()
{
    const QSizeF card = cardSize();
    const QSize pixels(int(std::ceil(card.width() * m_zoom - 1e-9)),
                       int(std::ceil(card.height() * m_zoom - 1e-9)));
    resize(pixels);
    if (m_scrollView)
        m_scrollView->documentResized();
}

// --- the list and the selection ---

GraphicList SKTGraphicView::graphics() const
{
    return m_document ? m_document->list(m_side) : GraphicList();
}

void SKTGraphicView::insertGraphics(const GraphicList &graphics, const QList<int> &indexes)
{
    if (!canvasCheck(m_document != nullptr,
                     "An SKTGraphicView's 'graphics' property is not bound to anything."))
        return;
    m_document->insertGraphicsIntoSide(m_side, graphics, indexes);
}

void SKTGraphicView::removeGraphicsAtIndexes(const QList<int> &indexes)
{
    if (!canvasCheck(m_document != nullptr,
                     "An SKTGraphicView's 'graphics' property is not bound to anything."))
        return;
    m_document->removeGraphicsFromSide(m_side, indexes);
}

QList<int> SKTGraphicView::selectionIndexes() const
{
    return m_selection ? m_selection->selectionIndexes() : QList<int>();
}

void SKTGraphicView::changeSelectionIndexes(const QList<int> &indexes)
{
    if (!canvasCheck(m_selection != nullptr,
                     "An SKTGraphicView's 'selectionIndexes' property is not bound to anything."))
        return;
    m_selection->setSelectionIndexes(indexes);
    host().setSameSizeButtonsEnabled(m_selection->count() >= 2);
}

GraphicList SKTGraphicView::selectedGraphics() const
{
    const GraphicList all = graphics();
    GraphicList selected;
    for (int i : selectionIndexes()) {
        if (i >= 0 && i < all.size())
            selected.append(all.at(i));
    }
    return selected;
}

GraphicPtr SKTGraphicView::selectedGraphic() const
{
    GraphicPtr g = _Selected_Graphic.lock();
    return indexOfGraphic(g) >= 0 ? g : nullptr;
}

void SKTGraphicView::setSelectedGraphic(const GraphicPtr &graphic)
{
    _Selected_Graphic = graphic;
}

int SKTGraphicView::indexOfGraphic(const GraphicPtr &graphic) const
{
    if (!graphic || !m_document)
        return -1;
    return int(m_document->list(m_side).indexOf(graphic));
}

// --- drawing state ---

void SKTGraphicView::invalidateHandlesOfGraphics(const GraphicList &graphics)
{
    for (const GraphicPtr &g : graphics)
        setNeedsDisplayInRect(g->drawingBounds());
}

void SKTGraphicView::setNeedsDisplayInRect(const QRectF &rect)
{
    if (rect.isEmpty())
        return;
    const QRectF px(rect.x() * m_zoom, rect.y() * m_zoom, rect.width() * m_zoom, rect.height() * m_zoom);
    update(px.toAlignedRect().adjusted(-2, -2, 2, 2));
}

bool SKTGraphicView::acceptsFirstMouse() const
{
    return selectionIndexes().isEmpty();
}

void SKTGraphicView::startEditingGraphic(const GraphicPtr &graphic)
{
    if (!canvasCheck(!_editingGraphic, "-[SKTGraphicView startEditingGraphic:] is being mis-invoked."))
        return;
    // No kind of card object supplies an editing view, so the canvas stays as it is.
    Q_UNUSED(graphic);
}

void SKTGraphicView::stopEditing()
{
    _editingGraphic.reset();
}

// --- observation ---

void SKTGraphicView::startObservingGraphics(const GraphicList &graphics)
{
    for (const GraphicPtr &g : graphics) {
        g->addObserver(this, SKTGraphicDrawingBoundsKey, ObservingOption::New | ObservingOption::Old,
                       SKTGraphicViewIndividualGraphicObservationContext);
        g->addObserver(this, SKTGraphicDrawingContentsKey, {},
                       SKTGraphicViewIndividualGraphicObservationContext);
        m_observedGraphics.append(g);
    }
}

void SKTGraphicView::stopObservingGraphics(const GraphicList &graphics)
{
    const GraphicList copy = graphics;
    for (const GraphicPtr &g : copy) {
        g->removeObserver(this, SKTGraphicDrawingContentsKey,
                          SKTGraphicViewIndividualGraphicObservationContext);
        g->removeObserver(this, SKTGraphicDrawingBoundsKey,
                          SKTGraphicViewIndividualGraphicObservationContext);
        m_observedGraphics.removeOne(g);
    }
}

void SKTGraphicView::syncObservedGraphics(const ObservedChange &change)
{
    // The document's notice carries positions, not objects: compare with the objects followed so far.
    const GraphicList now = graphics();
    QSet<SKTGraphic *> current;
    for (const GraphicPtr &g : now)
        current.insert(g.get());
    QSet<SKTGraphic *> followed;
    GraphicList gone;
    for (const GraphicPtr &g : std::as_const(m_observedGraphics)) {
        followed.insert(g.get());
        if (!current.contains(g.get()))
            gone.append(g);
    }
    GraphicList added;
    for (const GraphicPtr &g : now) {
        if (!followed.contains(g.get()))
            added.append(g);
    }
    if (!gone.isEmpty()) {
        stopObservingGraphics(gone);
        invalidateHandlesOfGraphics(gone);
        if (_editingGraphic && gone.contains(_editingGraphic))
            stopEditing();
        if (GraphicPtr sel = _Selected_Graphic.lock(); sel && gone.contains(sel))
            _Selected_Graphic.reset();
    }
    if (!added.isEmpty()) {
        startObservingGraphics(added);
        invalidateHandlesOfGraphics(added);
    }
    if (change.kind == ObservedChange::Kind::Setting) {
        for (int i = 0; i < now.size(); ++i)
            collectUndoIndex(i);
    } else if (change.kind != ObservedChange::Kind::Removal) {
        for (int i : change.indexes)
            collectUndoIndex(i);
    }
    m_cardPageShownWhileEmpty = false;
}

void SKTGraphicView::collectUndoIndex(int index)
{
    if (_undoSelectionIndexes && index >= 0 && !_undoSelectionIndexes->contains(index))
        _undoSelectionIndexes->append(index);
}

void SKTGraphicView::observeValueForKeyPath(const QString &keyPath, Observable *object,
                                            const ObservedChange &change, void *context)
{
    if (change.isPrior)
        return;
    if (context == SKTGraphicViewGraphicsObservationContext) {
        syncObservedGraphics(change);
    } else if (context == SKTGraphicViewIndividualGraphicObservationContext) {
        auto *graphic = dynamic_cast<SKTGraphic *>(object);
        if (!graphic)
            return;
        if (keyPath == SKTGraphicDrawingBoundsKey) {
            setNeedsDisplayInRect(change.oldValue.toRectF());
            setNeedsDisplayInRect(change.newValue.toRectF());
        } else {
            setNeedsDisplayInRect(graphic->drawingBounds());
        }
        if (_undoSelectionIndexes) {
            const GraphicList all = graphics();
            for (int i = 0; i < all.size(); ++i) {
                if (all.at(i).get() == graphic)
                    collectUndoIndex(i);
            }
        }
    } else if (context == SKTGraphicViewSelectionIndexesObservationContext) {
        if (!change.oldValue.isValid() || !change.newValue.isValid()) {
            update();
            return;
        }
        const QList<int> before = change.oldValue.value<QList<int>>();
        const QList<int> after = change.newValue.value<QList<int>>();
        const GraphicList all = graphics();
        for (int i : before) {
            if (!after.contains(i) && i < all.size())
                setNeedsDisplayInRect(all.at(i)->drawingBounds());
        }
        for (int i : after) {
            if (!before.contains(i) && i < all.size())
                setNeedsDisplayInRect(all.at(i)->drawingBounds());
        }
    } else if (context == SKTGraphicViewAnyGridPropertyObservationContext) {
        update();
    } else if (context == SKTGraphicViewDesignObservationContext) {
        resizeToZoom();
        update();
    }
}

// --- painting ---

int SKTGraphicView::cardOutline() const
{
    return m_document ? int(m_document->design().outline()) : 0;
}

void SKTGraphicView::paintEvent(QPaintEvent *event)
{
    ++m_paintCount;
    // Objects ask for a canvas refresh at the end of their paint: dropped here, or this would never end.
    PaintingScope painting;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(m_zoom, m_zoom);
    // Photos not decoded at the pixels this zoom shows are drawn as held while they decode.
    const PictureDecodes::Painting decoding(*m_decodes, painter.device(), m_zoom * devicePixelRatioF(),
                                            visibleRegion().boundingRect());
    const QRectF dirtyPx = QRectF(event->rect()).adjusted(-1, -1, 1, 1);
    const QRectF dirty(dirtyPx.x() / m_zoom, dirtyPx.y() / m_zoom, dirtyPx.width() / m_zoom,
                       dirtyPx.height() / m_zoom);

    const int outline = cardOutline();
    if (const Card_Property *page = host().liveCardProperty()) {
        CardPageDrawing::Card_Base_Drawing(painter, *page, outline, bounds(), Resource_Path);
    } else {
        painter.fillPath(CardPageDrawing::outlinePath(outline, bounds()), Qt::white);
    }
    if (_grid)
        _grid->drawRect(painter, dirty.intersected(bounds()));

    GraphicDrawContext context;
    context.flipped = true;
    context.onCanvas = true;
    context.resourcePath = Resource_Path;
    context.deviceScale = m_zoom * devicePixelRatioF();
    const GraphicList all = graphics();
    GraphicList drawnObjects;
    for (const GraphicPtr &g : all) {
        if (g->drawingBounds().intersects(dirty))
            drawnObjects.append(g);
    }
    context.editingCanvas = true;
    context.waitForFilters = m_pictureFilters->paintMayFilter(drawnObjects, context.deviceScale);
    const QList<int> selected = selectionIndexes();
    // The card's own road, with the objects the user cannot print shown too and the handles over.
    SKTRenderingView::ObjectPass pass;
    pass.draws = [&dirty](qsizetype, const SKTGraphic &g) { return g.drawingBounds().intersects(dirty); };
    pass.beingEdited = [this](const SKTGraphic &g) {
        return &g == _creatingGraphic.get() || &g == _editingGraphic.get();
    };
    pass.over = [&](QPainter &p, qsizetype i, const SKTGraphic &g) {
        if (!_isHidingHandles && !pass.beingEdited(g) && selected.contains(int(i)))
            g.drawHandlesInView(p, context, g.ctrl_is_locked);
    };
    SKTRenderingView::drawObjects(painter, all, context, pass);
    if (all.isEmpty())
        postShowCardPage();

    if (!_marqueeSelectionBounds.isNull()) {
        QPen pen(palette().color(QPalette::Highlight));
        pen.setWidthF(1.0 / m_zoom);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(_marqueeSelectionBounds);
    }
}

void SKTGraphicView::postShowCardPage()
{
    // Never from inside the paint (the inspector may ask for a repaint), and once per turn of the
    // event loop; after that not again until the list changes or the canvas is shown anew.
    if (m_cardPagePosted || m_cardPageShownWhileEmpty)
        return;
    m_cardPagePosted = true;
    QTimer::singleShot(0, this, [this] {
        m_cardPagePosted = false;
        if (!graphics().isEmpty())
            return;
        m_cardPageShownWhileEmpty = true;
        host().Show_RHS_Properties(nullptr);
    });
}

// --- events ---

QPointF SKTGraphicView::pointFromEvent(const QMouseEvent *event) const
{
    return event->position() / m_zoom;
}

void SKTGraphicView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_tracking->forgetNudgeKey();
    m_tracking->mouseDown(pointFromEvent(event), event->modifiers(), 1);
}

void SKTGraphicView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    m_tracking->mouseDown(pointFromEvent(event), event->modifiers(), 2);
}

void SKTGraphicView::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        m_tracking->mouseDragged(pointFromEvent(event));
}

void SKTGraphicView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_tracking->mouseUp(pointFromEvent(event));
}

void SKTGraphicView::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down) {
        const bool held = m_tracking->nudgeKeyPressed(key, event->isAutoRepeat(), event->timestamp());
        const double dx = key == Qt::Key_Left ? -1.0 : key == Qt::Key_Right ? 1.0 : 0.0;
        const double dy = key == Qt::Key_Up ? -1.0 : key == Qt::Key_Down ? 1.0 : 0.0;
        m_tracking->moveSelectedGraphicsByX(dx, dy, held);
        event->accept();
        return;
    }
    m_tracking->forgetNudgeKey();
    switch (key) {
    case Qt::Key_Backspace:
        deleteBackward();
        break;
    case Qt::Key_Delete:
        deleteForward();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void SKTGraphicView::keyReleaseEvent(QKeyEvent *event)
{
    m_tracking->nudgeKeyReleased(event->key(), event->isAutoRepeat(), event->timestamp());
    QWidget::keyReleaseEvent(event);
}

void SKTGraphicView::wheelEvent(QWheelEvent *event)
{
    // With Ctrl the wheel zooms; otherwise it scrolls the view around the card.
    if (event->modifiers().testFlag(Qt::ControlModifier) && m_scrollView) {
        m_scrollView->zoomByWheel(*event);
        event->accept();
        return;
    }
    event->ignore();
}

void SKTGraphicView::dragEnterEvent(QDragEnterEvent *event)
{
    if (CanvasCreation::offersFiles(event->mimeData()))
        event->acceptProposedAction();
}

void SKTGraphicView::dropEvent(QDropEvent *event)
{
    if (m_creation->dropFiles(event->mimeData(), event->position() / m_zoom))
        event->acceptProposedAction();
}

void SKTGraphicView::hideEvent(QHideEvent *event)
{
    // A canvas taken away in the middle of a press closes its gesture (and its undo group).
    m_tracking->cancelGesture();
    QWidget::hideEvent(event);
}

void SKTGraphicView::showEvent(QShowEvent *event)
{
    m_cardPageShownWhileEmpty = false;
    QWidget::showEvent(event);
}

void SKTGraphicView::autoscroll(const QPointF &point)
{
    if (m_scrollView)
        m_scrollView->autoscrollTo(QPointF(point.x() * m_zoom, point.y() * m_zoom));
}

// --- forwarding to the parts ---

GraphicPtr SKTGraphicView::graphicUnderPoint(const QPointF &point, int *index, bool *isSelected,
                                             int *handle) const
{
    return m_tracking->graphicUnderPoint(point, index, isSelected, handle);
}

QList<int> SKTGraphicView::indexesOfGraphicsIntersectingRect(const QRectF &rect) const
{
    return m_tracking->indexesOfGraphicsIntersectingRect(rect);
}

void SKTGraphicView::moveLeft()
{
    moveSelectedGraphicsByX(-1.0, 0.0);
}

void SKTGraphicView::moveRight()
{
    moveSelectedGraphicsByX(1.0, 0.0);
}

void SKTGraphicView::moveUp()
{
    moveSelectedGraphicsByX(0.0, -1.0);
}

void SKTGraphicView::moveDown()
{
    moveSelectedGraphicsByX(0.0, 1.0);
}

void SKTGraphicView::moveSelectedGraphicsByX(double dx, double dy)
{
    m_tracking->moveSelectedGraphicsByX(dx, dy);
}

void SKTGraphicView::hideHandlesMomentarily()
{
    m_tracking->hideHandlesMomentarily();
}

GraphicPtr SKTGraphicView::createGraphicOfClass(SKTGraphic::Kind graphicClass, bool use_rect,
                                                const QRectF &bound_rect, const QString &card_side,
                                                const QString &ctrl_value, const QString &ctrl_ID)
{
    return m_creation->createGraphicOfClass(graphicClass, use_rect, bound_rect, card_side, ctrl_value,
                                            ctrl_ID);
}

GraphicPtr SKTGraphicView::ReplaceGraphicText(SKTGraphic::Kind graphicClass, bool use_rect,
                                              const QRectF &bound_rect, const QString &card_side,
                                              const QString &ctrl_value, const QString &ctrl_ID)
{
    return m_creation->ReplaceGraphicText(graphicClass, use_rect, bound_rect, card_side, ctrl_value, ctrl_ID);
}

GraphicPtr SKTGraphicView::Selcect_Ctrl_With_ID(const QString &ctrl_ID) const
{
    return m_creation->Selcect_Ctrl_With_ID(ctrl_ID);
}

void SKTGraphicView::Hide_all_Text_control_FUP_Control()
{
    m_creation->Hide_all_Text_control_FUP_Control();
}

void SKTGraphicView::delete_all_Text_control()
{
    m_creation->delete_all_Text_control();
}

void SKTGraphicView::delete_all_control()
{
    m_creation->delete_all_control();
}

bool SKTGraphicView::makeNewImageFromContentsOfFile(const QString &path, const QPointF &point)
{
    return m_creation->makeNewImageFromContentsOfFile(path, point);
}

void SKTGraphicView::delete_()
{
    m_editCommands->delete_();
}

void SKTGraphicView::deleteBackward()
{
    m_editCommands->delete_();
}

void SKTGraphicView::deleteForward()
{
    m_editCommands->delete_();
}

void SKTGraphicView::copy()
{
    m_editCommands->copy();
}

void SKTGraphicView::cut()
{
    m_editCommands->cut();
}

void SKTGraphicView::paste()
{
    m_editCommands->paste();
}

void SKTGraphicView::bringToFront()
{
    m_editCommands->bringToFront();
}

void SKTGraphicView::sendToBack()
{
    m_editCommands->sendToBack();
}

void SKTGraphicView::alignformCenter()
{
    m_editCommands->alignformCenter();
}

void SKTGraphicView::alignLeftEdges()
{
    m_editCommands->align(CanvasEditCommands::Left);
}

void SKTGraphicView::alignRightEdges()
{
    m_editCommands->align(CanvasEditCommands::Right);
}

void SKTGraphicView::alignTopEdges()
{
    m_editCommands->align(CanvasEditCommands::Top);
}

void SKTGraphicView::alignBottomEdges()
{
    m_editCommands->align(CanvasEditCommands::Bottom);
}

void SKTGraphicView::alignHorizontalCenters()
{
    m_editCommands->align(CanvasEditCommands::HorizontalCenter);
}

void SKTGraphicView::alignVerticalCenters()
{
    m_editCommands->align(CanvasEditCommands::VerticalCenter);
}

void SKTGraphicView::alignWithGrid()
{
    m_editCommands->alignWithGrid();
}

void SKTGraphicView::makeSameWidth()
{
    m_editCommands->makeSameSize(true);
}

void SKTGraphicView::makeSameHeight()
{
    m_editCommands->makeSameSize(false);
}

void SKTGraphicView::makeNaturalSize()
{
    m_editCommands->makeNaturalSize();
}

void SKTGraphicView::print_contol_or_not(int flag)
{
    m_editCommands->print_contol_or_not(flag);
}

void SKTGraphicView::selectAll()
{
    QList<int> all;
    for (int i = 0; i < graphics().size(); ++i)
        all.append(i);
    changeSelectionIndexes(all);
}

void SKTGraphicView::deselectAll()
{
    changeSelectionIndexes({});
}

void SKTGraphicView::Clear_Control_Selection()
{
    changeSelectionIndexes({});
}

void SKTGraphicView::deskPressed()
{
    if (!isEnabled())
        return; // the preview takes no keyboard and keeps nothing selected
    m_tracking->cancelGesture();
    setFocus(Qt::MouseFocusReason);
    setSelectedGraphic(nullptr);
    if (m_selection)
        Clear_Control_Selection();
    host().Show_RHS_Properties(nullptr);
}

void SKTGraphicView::undo()
{
    m_editCommands->undoOrRedo(true);
}

void SKTGraphicView::redo()
{
    m_editCommands->undoOrRedo(false);
}

void SKTGraphicView::showOrHideRulers()
{
    if (m_scrollView)
        m_scrollView->setRulersVisible(!m_scrollView->rulersVisible());
}

void SKTGraphicView::Refresh_ScrollView()
{
    if (m_scrollView)
        m_scrollView->viewport()->update();
}

bool SKTGraphicView::validateMenuItem(const QString &action, QString *title) const
{
    return m_editCommands->validateMenuItem(action, title);
}

bool SKTGraphicView::There_Is_Any_Lock_Contrl() const
{
    return m_editCommands->There_Is_Any_Lock_Contrl();
}
