// The three card sides of the main window (front, back, preview), each a canvas in its zooming
// scroll view, shown one at a time in the target view, and the side label above them.
#pragma once

#include <QObject>
#include <QSizeF>

#include <array>

class CanvasHost;
class QLabel;
class QWidget;
class SideSelection;
class SKTDocument;
class SKTGraphicView;
class SKTGrid;
class SKTZoomingScrollView;
class ZoomFactor;

class SideViews : public QObject
{
    Q_OBJECT
public:
    SideViews(QWidget *parent, SKTDocument &document, SKTGrid &grid, ZoomFactor &zoom, CanvasHost *host);
    ~SideViews() override;

    // 0 front, 1 back, 2 preview; any other index changes nothing.
    void changeViewController(int index);
    int shownIndex() const { return m_shown; }

    // The side commands: label, current side (the preview keeps it) and the view.
    void Select_front_side();
    void Select_back_side();
    void Select_temp_design_side();
    // The preview side holds the live side's own objects (the same instances), once each.
    void Temp_Design_Control_Assign();

    SKTGraphicView *canvas(int side) const { return m_canvases.at(std::size_t(side)); }
    SKTZoomingScrollView *scrollView(int side) const { return m_scrollViews.at(std::size_t(side)); }
    SideSelection &selection(int side) const { return *m_selections.at(std::size_t(side)); }
    // The side being edited: 0 front, 1 back; showing the preview keeps it.
    int Card_Front_Or_Back() const { return m_edited; }
    // The canvas of the side being edited.
    SKTGraphicView *liveCanvas() const;

    // While the preview is shown, its caption names the side it shows.
    void showPreviewCaption();
    void showRulers(bool visible);
    // The zoom that shows the whole card in the side shown (100 % when it fits there), every
    // side scrolled back to the card's corner: a design opened or made new starts so.
    void showWholeCard();

    QWidget *myTargetView = nullptr;
    QLabel *Front_back_label = nullptr;

signals:
    // Another side came into view (0 front, 1 back, 2 preview).
    void shownSideChanged(int index);

private:
    std::array<SKTGraphicView *, 3> m_canvases{};
    std::array<SKTZoomingScrollView *, 3> m_scrollViews{};
    std::array<SideSelection *, 3> m_selections{};
    QWidget *m_stash = nullptr; // holds the sides not shown
    SKTDocument &m_document;
    ZoomFactor &m_zoom;
    int m_shown = -1;
    int m_edited = 0;
};
