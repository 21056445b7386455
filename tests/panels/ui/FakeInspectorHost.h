// The inspector without a main window: a plain window holds its tab pages, a document with a front
// and a back canvas stands for the sides, and every command the inspector asks of its window is
// recorded rather than carried out.
#pragma once

#include "canvas/ui/CanvasHost.h"
#include "canvas/ui/SKTGraphicView.h"
#include "canvas/ui/SideSelection.h"
#include "foundation/DateFormats.h"
#include "foundation/WindowRegistry.h"
#include "model/SKTDocument.h"
#include "panels/Card_Property.h"
#include "panels/ui/Inspector.h"
#include "panels/ui/InspectorHost.h"
#include "panels/ui/InspectorLayout.h"
#include "panels/ui/InspectorTabs.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QTabWidget>
#include <QWidget>

#include <array>
#include <memory>

class FakeInspectorHost : public InspectorHost, public CanvasHost
{
public:
    FakeInspectorHost() : m_window(std::make_unique<QWidget>())
    {
        m_window->setObjectName(QStringLiteral("fake_inspector_window"));
        m_tabs = std::make_unique<InspectorTabs>(m_window.get());
        auto *row = new QHBoxLayout(m_window.get());
        for (int side = 0; side < 2; ++side) {
            auto *canvas = new SKTGraphicView(m_window.get());
            canvas->setHost(this);
            m_selections[std::size_t(side)] = std::make_unique<SideSelection>(m_document, side);
            canvas->bindSelection(*m_selections[std::size_t(side)]);
            canvas->bindGraphics(m_document, side);
            canvas->setVisible(side == 0);
            row->addWidget(canvas);
            m_canvases[std::size_t(side)] = canvas;
        }
        m_layout.buildPages(*m_tabs);
        // The format lists the window fills at start.
        m_layout.Text_Date_style->addItems(DateFormats::dateFormats());
        m_layout.Text_Time_style->addItems(DateFormats::timeFormats());
        m_inspector = new Inspector(*this);
        row->addWidget(m_tabs->sett_tab());
        m_tabs->keepOneWidth();
    }
    ~FakeInspectorHost() override
    {
        for (SKTGraphicView *canvas : m_canvases) {
            canvas->unbindGraphics();
            canvas->unbindSelection();
        }
    }

    Inspector &inspector() { return *m_inspector; }
    QWidget &window() { return *m_window; }

    // What the inspector asked of its window.
    int arrowChosen = 0;
    int buttonsForCard = 0;
    QList<bool> buttonsForObject; // locked or not, per call
    int unlocks = 0;
    int refreshes = 0;
    int live = 0; // the side being edited: 0 front, 1 back
    bool preview = false;

    // --- InspectorHost ---
    QWidget &inspectorWindow() override { return *m_window; }
    InspectorTabs &inspectorTabs() const override { return *m_tabs; }
    InspectorLayout &inspectorLayout() override { return m_layout; }
    WindowRegistry &registry() const override { return const_cast<WindowRegistry &>(m_registry); }
    SKTDocument &document() override { return m_document; }
    SKTGraphicView *sideCanvas(int side) const override { return m_canvases.at(std::size_t(side)); }
    SKTGraphicView *liveCanvas() const override { return sideCanvas(live); }
    bool previewShown() const override { return preview; }
    Card_Property &cardProperty(int side) override { return m_pages.at(std::size_t(side)); }
    const Card_Property *liveCardProperty() const override { return &m_pages.at(std::size_t(live)); }
    QRectF frontCanvasBounds() const override { return QRectF(QPointF(), m_size); }
    void Refresh_Canvas() override { ++refreshes; }
    void Set_Document_Size(const QSizeF &size) override { m_size = size; }
    void SetDocumentCanvasSize(const QSizeF &size) override { m_size = size; }
    void set_Front_BG_Image(const QString &) override {}
    void set_Back_BG_Image(const QString &) override {}
    void setBackSideEnabled(bool) override {}
    FontDescriptor All_Text_font() const override { return m_font; }
    void setContentFont(const FontDescriptor &font, const QColor &) override { m_font = font; }
    void setAllTextFont(const FontDescriptor &font) override { m_font = font; }
    void selectArrowTool() override { ++arrowChosen; }
    void editButtonsForCard() override { ++buttonsForCard; }
    void editButtonsForObject(bool locked) override { buttonsForObject << locked; }
    void unlockSelection() override { ++unlocks; }
    void Open_Barcode_Window(const GraphicPtr &) override {}

private:
    SKTDocument m_document;
    std::unique_ptr<InspectorTabs> m_tabs;
    InspectorLayout m_layout;
    WindowRegistry m_registry;
    std::array<SKTGraphicView *, 2> m_canvases{};
    std::array<std::unique_ptr<SideSelection>, 2> m_selections;
    std::array<Card_Property, 2> m_pages;
    Inspector *m_inspector = nullptr;
    QSizeF m_size{243, 154};
    FontDescriptor m_font;
    // Last, so the panels and canvases it holds go first, while the document is still there.
    std::unique_ptr<QWidget> m_window;
};
