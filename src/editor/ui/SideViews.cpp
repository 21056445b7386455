#include "editor/ui/SideViews.h"

#include "canvas/ui/SKTGraphicView.h"
#include "canvas/ui/SKTZoomingScrollView.h"
#include "canvas/ui/SideSelection.h"
#include "canvas/ui/ZoomFactor.h"
#include "model/SKTDocument.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

SideViews::SideViews(QWidget *parent, SKTDocument &document, SKTGrid &grid, ZoomFactor &zoom,
                     CanvasHost *host)
    : QObject(parent), m_document(document), m_zoom(zoom)
{
    myTargetView = new QWidget(parent);
    myTargetView->setObjectName(QStringLiteral("myTargetView"));
    auto *layout = new QVBoxLayout(myTargetView);
    layout->setContentsMargins(0, 0, 0, 0);
    m_stash = new QWidget(parent);
    m_stash->hide();
    Front_back_label = new QLabel(QStringLiteral("Front"), parent);
    Front_back_label->setObjectName(QStringLiteral("Front_back_label"));
    QFont f = Front_back_label->font();
    f.setBold(true);
    Front_back_label->setFont(f);

    static const char *const names[] = {"first_view", "second_view", "temp_design_view"};
    for (int side = 0; side < 3; ++side) {
        auto *scroll = new SKTZoomingScrollView(m_stash);
        scroll->setObjectName(QString::fromLatin1(names[side]));
        auto *canvas = new SKTGraphicView;
        canvas->setHost(host);
        scroll->setDocumentView(canvas);
        auto *selection = new SideSelection(document, side);
        canvas->bindSelection(*selection);
        canvas->bindGraphics(document, side);
        canvas->setGrid(&grid);
        scroll->bindFactor(zoom);
        if (side == SKTDocument::Temp) {
            // The preview shows the live side's own objects: nothing is picked or edited there.
            canvas->setEnabled(false);
        }
        m_scrollViews[std::size_t(side)] = scroll;
        m_canvases[std::size_t(side)] = canvas;
        m_selections[std::size_t(side)] = selection;
    }
}

SideViews::~SideViews()
{
    for (int side = 0; side < 3; ++side) {
        m_canvases[std::size_t(side)]->unbindGraphics();
        m_canvases[std::size_t(side)]->unbindSelection();
        m_canvases[std::size_t(side)]->setGrid(nullptr);
        m_scrollViews[std::size_t(side)]->unbindFactor();
        delete m_selections[std::size_t(side)];
    }
}

void SideViews::changeViewController(int index)
{
    if (index < 0 || index > 2 || index == m_shown)
        return;
    auto *layout = static_cast<QVBoxLayout *>(myTargetView->layout());
    // The side shown takes the keyboard where the one it replaces had it (or at the start), so
    // arrows and Delete go on acting on the card rather than on whatever Qt focuses next.
    QWidget *focus = QApplication::focusWidget();
    bool keyboardOnCard = m_shown < 0 || !focus;
    if (m_shown >= 0) {
        SKTZoomingScrollView *old = m_scrollViews.at(std::size_t(m_shown));
        keyboardOnCard = keyboardOnCard || old->isAncestorOf(focus);
        layout->removeWidget(old);
        old->setParent(m_stash);
    }
    SKTZoomingScrollView *chosen = m_scrollViews.at(std::size_t(index));
    chosen->setParent(myTargetView);
    layout->addWidget(chosen);
    chosen->show();
    if (keyboardOnCard)
        m_canvases.at(std::size_t(index))->setFocus();
    m_shown = index;
    emit shownSideChanged(index);
}

void SideViews::Select_front_side()
{
    Front_back_label->setText(QStringLiteral("Front"));
    m_edited = 0;
    changeViewController(0);
}

void SideViews::Select_back_side()
{
    Front_back_label->setText(QStringLiteral("Back"));
    m_edited = 1;
    changeViewController(1);
}

void SideViews::Select_temp_design_side()
{
    changeViewController(2);
    showPreviewCaption();
}

void SideViews::showPreviewCaption()
{
    // The preview shows the side last edited: the caption names it.
    if (m_shown == 2)
        Front_back_label->setText(m_edited != 0 ? QStringLiteral("Preview of the Back")
                                                : QStringLiteral("Preview of the Front"));
}

void SideViews::Temp_Design_Control_Assign()
{
    SKTGraphicView *preview = canvas(SKTDocument::Temp);
    // Showing the preview edits nothing: its list is never recorded.
    preview->delete_all_control();
    const GraphicList &source = m_edited != 0 ? m_document.graphics_back() : m_document.graphics();
    if (!source.isEmpty()) {
        QList<int> indexes;
        for (int i = 0; i < source.size(); ++i)
            indexes << i;
        m_document.insertGraphicsIntoSide(SKTDocument::Temp, GraphicList(source), indexes);
    }
    preview->update();
}

SKTGraphicView *SideViews::liveCanvas() const
{
    return canvas(m_edited != 0 ? SKTDocument::Back : SKTDocument::Front);
}

void SideViews::showWholeCard()
{
    const SKTZoomingScrollView *shown = scrollView(m_shown < 0 ? 0 : m_shown);
    // Before the window is laid out there is no area to measure: the card shows at 100 %.
    const double f = shown->isVisible()
                         ? ZoomFactor::wholeCardFactor(liveCanvas()->cardSize(), shown->areaForWholeCard())
                         : 1.0;
    m_zoom.setFactor(f);
    for (SKTZoomingScrollView *s : m_scrollViews)
        s->scrollToCardOrigin();
}

void SideViews::showRulers(bool visible)
{
    for (SKTZoomingScrollView *s : m_scrollViews)
        s->setRulersVisible(visible);
}
