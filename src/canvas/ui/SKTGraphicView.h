// The editing canvas of one card side: paints the page, the grid and the side's objects with the
// selection handles, and forwards presses, keys and commands to its tracking, creation and edit parts.
#pragma once

#include "model/SKTGraphic.h"
#include "platform/ChangeObserver.h"
#include "platform/PictureDecodes.h"

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QWidget>

#include <memory>
#include <optional>

class CanvasCreation;
class CanvasEditCommands;
class CanvasPictureFilters;
class CanvasHost;
class CanvasTracking;
class QTimer;
class SideSelection;
class SKTDocument;
class SKTGrid;
class SKTZoomingScrollView;

inline const QString SKTGraphicViewGraphicsBindingName = QStringLiteral("graphics");
inline const QString SKTGraphicViewGraphicsBindingName_back = QStringLiteral("graphics_back");
inline const QString SKTGraphicViewGraphicsBindingName_temp = QStringLiteral("graphics_temp");
inline const QString SKTGraphicViewSelectionIndexesBindingName = QStringLiteral("selectionIndexes");
inline const QString SKTGraphicViewGridBindingName = QStringLiteral("grid");
inline const QString SKTGraphicViewPasteboardType = QStringLiteral("Tessaly Card Designer pasteboard type");

class SKTGraphicView : public QWidget, public ChangeObserver
{
    Q_OBJECT
public:
    explicit SKTGraphicView(QWidget *parent = nullptr);
    ~SKTGraphicView() override;

    // The window that answers the canvas's questions; null uses a host that does nothing.
    void setHost(CanvasHost *host);
    CanvasHost &host() const;

    // --- bindings ---
    // The document, the selection and the grid must outlive the canvas or be unbound first (the
    // canvas stops observing them when it goes).
    // Shows and edits the list of `side` (0 front, 1 back, 2 preview) of the document.
    void bindGraphics(SKTDocument &document, int side);
    void unbindGraphics();
    void bindSelection(SideSelection &selection);
    void unbindSelection();
    void setGrid(SKTGrid *grid);
    SKTGrid *grid() const { return _grid; }
    SKTDocument *document() const { return m_document; }
    int side() const { return m_side; }

    // The card in points, its document's design's (the default card without a document); the
    // widget is ceil(size x zoom) pixels, following each change of the design.
    QSizeF cardSize() const;
    // The outline of the card it shows: its document's design's (a rectangle without a document).
    int cardOutline() const;
    QRectF bounds() const { return QRectF(QPointF(0, 0), cardSize()); }
    void setZoom(double factor);
    double zoom() const { return m_zoom; }
    SKTZoomingScrollView *enclosingScrollView() const { return m_scrollView; }

    // --- the list and the selection ---
    GraphicList graphics() const;
    // Insertions and removals go through the document, which records them for undo on the front.
    void insertGraphics(const GraphicList &graphics, const QList<int> &indexes);
    void removeGraphicsAtIndexes(const QList<int> &indexes);
    QList<int> selectionIndexes() const;
    void changeSelectionIndexes(const QList<int> &indexes);
    GraphicList selectedGraphics() const;
    // The current graphic: the object last picked or created, while it is still on this side.
    GraphicPtr selectedGraphic() const;
    void setSelectedGraphic(const GraphicPtr &graphic);
    int indexOfGraphic(const GraphicPtr &graphic) const;

    // --- drawing state ---
    bool isHidingHandles() const { return _isHidingHandles; }
    QRectF marqueeSelectionBounds() const { return _marqueeSelectionBounds; }
    GraphicPtr creatingGraphic() const { return _creatingGraphic; }
    void invalidateHandlesOfGraphics(const GraphicList &graphics);
    // Marks a rectangle in card points for repainting.
    void setNeedsDisplayInRect(const QRectF &rect);
    void Refresh_Canvas() { update(); }
    // Paint passes so far (tests check that an idle canvas stays idle).
    int paintCount() const { return m_paintCount; }
    bool acceptsFirstMouse() const;

    // In-place editing: no kind of object offers an editing view, so these only keep the rule
    // that one edit runs at a time.
    void startEditingGraphic(const GraphicPtr &graphic);
    void stopEditing();
    GraphicPtr editingGraphic() const { return _editingGraphic; }

    // --- mouse and keyboard (CanvasTracking) ---
    GraphicPtr graphicUnderPoint(const QPointF &point, int *index = nullptr, bool *isSelected = nullptr,
                                 int *handle = nullptr) const;
    QList<int> indexesOfGraphicsIntersectingRect(const QRectF &rect) const;
    void moveLeft();
    void moveRight();
    void moveUp();
    void moveDown();
    void moveSelectedGraphicsByX(double dx, double dy);
    void hideHandlesMomentarily();
    QRectF rulerEchoedBounds() const { return _rulerEchoedBounds; }

    // --- creation and operations by identifier (CanvasCreation) ---
    // Creates one object of the kind at a default place (use_rect false: 50 x 50 at the next new-object
    // point; true: bound_rect, whose origin is replaced by that point when ctrl_ID is empty). An
    // object at a new-object point lies on the card: scaled down in proportion when larger, and
    // started again nearer the corner when it would pass an edge; a picture tool's object takes its
    // picture's proportions.
    GraphicPtr createGraphicOfClass(SKTGraphic::Kind graphicClass, bool use_rect, const QRectF &bound_rect,
                                    const QString &card_side, const QString &ctrl_value,
                                    const QString &ctrl_ID);
    GraphicPtr ReplaceGraphicText(SKTGraphic::Kind graphicClass, bool use_rect, const QRectF &bound_rect,
                                  const QString &card_side, const QString &ctrl_value,
                                  const QString &ctrl_ID);
    GraphicPtr Selcect_Ctrl_With_ID(const QString &ctrl_ID) const;
    void Hide_all_Text_control_FUP_Control();
    void delete_all_Text_control();
    void delete_all_control();
    bool makeNewImageFromContentsOfFile(const QString &path, const QPointF &point);

    // --- edit commands (CanvasEditCommands) ---
    void delete_();
    void deleteBackward();
    void deleteForward();
    void copy();
    void cut();
    void paste();
    void bringToFront();
    void sendToBack();
    void alignformCenter();
    void alignLeftEdges();
    void alignRightEdges();
    void alignTopEdges();
    void alignBottomEdges();
    void alignHorizontalCenters();
    void alignVerticalCenters();
    void alignWithGrid();
    void makeSameWidth();
    void makeSameHeight();
    void makeNaturalSize();
    void print_contol_or_not(int flag);
    void selectAll();
    void deselectAll();
    void Clear_Control_Selection();
    // A press on the desk beside the card: keyboard to the card, nothing selected, the card page.
    void deskPressed();
    void undo();
    void redo();
    void showOrHideRulers();
    void Refresh_ScrollView();
    // Whether the command named by its action ("alignLeftEdges", "delete", "undo", ...) can run now;
    // for "showOrHideRulers" *title receives "Show Ruler" or "Hide Ruler".
    bool validateMenuItem(const QString &action, QString *title = nullptr) const;
    bool There_Is_Any_Lock_Contrl() const;

    CanvasTracking &tracking() const { return *m_tracking; }
    CanvasCreation &creation() const { return *m_creation; }
    CanvasEditCommands &editCommands() const { return *m_editCommands; }
    CanvasPictureFilters &pictureFilters() const { return *m_pictureFilters; }

    void observeValueForKeyPath(const QString &keyPath, Observable *object, const ObservedChange &change,
                                void *context) override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    // Picture files dropped on the card become picture objects there.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    friend class CanvasTracking;
    friend class CanvasCreation;
    friend class CanvasEditCommands;
    friend class SKTZoomingScrollView;

    QPointF pointFromEvent(const QMouseEvent *event) const;
    void startObservingGraphics(const GraphicList &graphics);
    void stopObservingGraphics(const GraphicList &graphics);
    void syncObservedGraphics(const ObservedChange &change);
    void collectUndoIndex(int index);
    // The empty side shows the card page in the inspector, asked once per turn of the event loop.
    void postShowCardPage();
    void resizeToZoom();
    // Scrolls the enclosing view so that a point in card points comes into sight.
    void autoscroll(const QPointF &point);

    CanvasHost *m_host = nullptr;
    SKTDocument *m_document = nullptr;
    int m_side = 0;
    SideSelection *m_selection = nullptr;
    SKTGrid *_grid = nullptr;
    SKTZoomingScrollView *m_scrollView = nullptr;
    double m_zoom = 1.0;

    GraphicList m_observedGraphics; // the objects whose change notices this view follows
    QRectF _rulerEchoedBounds;
    GraphicPtr _creatingGraphic;
    GraphicPtr _editingGraphic;
    std::weak_ptr<SKTGraphic> _Selected_Graphic;
    QRectF _marqueeSelectionBounds;
    bool _isHidingHandles = false;
    QTimer *_handleShowingTimer = nullptr;
    qint64 _pasteboardChangeCount = -1;
    qint64 _pasteCascadeNumber = 0;
    std::optional<QList<int>> _undoSelectionIndexes; // only while an undo or redo runs

    int m_paintCount = 0;
    bool m_cardPagePosted = false;
    bool m_cardPageShownWhileEmpty = false;

    std::unique_ptr<CanvasTracking> m_tracking;
    std::unique_ptr<CanvasCreation> m_creation;
    std::unique_ptr<CanvasEditCommands> m_editCommands;
    std::unique_ptr<CanvasPictureFilters> m_pictureFilters;
    // Large photos this canvas waits for, decoded on workers; it paints again when they are ready.
    std::unique_ptr<PictureDecodes::Canvas> m_decodes;
};
