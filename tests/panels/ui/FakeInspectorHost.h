// The inspector without a main window: a plain window holds its tab pages, a document with a front
// and a back canvas stands for the sides, and every command the inspector asks of its window is
// recorded rather than carried out. What the window holds for the panels (page settings, content
// font, card size, background pictures) it holds too, and shows where the window shows it.
#pragma once

#include "canvas/ui/CanvasHost.h"
#include "canvas/ui/SKTGraphicView.h"
#include "canvas/ui/SideSelection.h"
#include "foundation/WindowRegistry.h"
#include "foundation/ui/ColorWell.h"
#include "model/Card_Property.h"
#include "model/ModelGlobals.h"
#include "model/SKTDocument.h"
#include "panels/ui/CardPagePanel.h"
#include "panels/ui/Inspector.h"
#include "panels/ui/InspectorHost.h"
#include "panels/ui/InspectorTabs.h"
#include "panels/ui/TextPanel.h"
#include "platform/ChangeObserver.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
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
        // The canvases keep their own size here, as in the window's scroll views (a layout would
        // squeeze them to nothing, and nothing would be painted).
        m_desk = new QWidget(m_window.get());
        for (int side = 0; side < 2; ++side) {
            auto *canvas = new SKTGraphicView(m_desk);
            canvas->setHost(this);
            m_selections[std::size_t(side)] = std::make_unique<SideSelection>(m_document, side);
            canvas->bindSelection(*m_selections[std::size_t(side)]);
            canvas->bindGraphics(m_document, side);
            canvas->setVisible(side == 0);
            m_canvases[std::size_t(side)] = canvas;
        }
        m_desk->setMinimumSize(m_canvases[0]->size());
        row->addWidget(m_desk);
        m_inspector = new Inspector(*this);
        // As the window's Back button, from the design's notice.
        m_designWatch =
            std::make_unique<ChangeCallback>([this] { backSideEnabled = m_document.design().isTwoSided(); });
        m_document.addObserver(m_designWatch.get(), SKTDocumentDesignKey, {});
        row->addWidget(m_tabs->sett_tab());
        m_tabs->keepOneWidth();
    }
    ~FakeInspectorHost() override
    {
        m_document.removeAllObservers(m_designWatch.get());
        for (SKTGraphicView *canvas : m_canvases) {
            canvas->unbindGraphics();
            canvas->unbindSelection();
        }
    }

    Inspector &inspector() { return *m_inspector; }
    QWidget &window() { return *m_window; }
    // The window's Front and Back buttons: the side being edited changes, its canvas is shown.
    void showSide(int side)
    {
        live = side;
        for (int s = 0; s < 2; ++s)
            m_canvases[std::size_t(s)]->setVisible(s == side);
    }

    // What the inspector asked of its window.
    int arrowChosen = 0;
    int buttonsForCard = 0;
    QList<bool> buttonsForObject; // locked or not, per call
    int unlocks = 0;
    int refreshes = 0;
    int live = 0; // the side being edited: 0 front, 1 back
    bool preview = false;
    bool backSideEnabled = true; // the Back button
    QStringList backgrounds;     // the background pictures asked for, front and back alike

    // --- InspectorHost ---
    QWidget &inspectorWindow() override { return *m_window; }
    InspectorTabs &inspectorTabs() const override { return *m_tabs; }
    WindowRegistry &registry() const override { return const_cast<WindowRegistry &>(m_registry); }
    SKTDocument &document() override { return m_document; }
    bool inspectorFilling() const override { return m_inspector && m_inspector->filling(); }
    int Card_Front_Or_Back() const override { return live; }
    SKTGraphicView *sideCanvas(int side) const override { return m_canvases.at(std::size_t(side)); }
    SKTGraphicView *liveCanvas() const override { return sideCanvas(live); }
    bool previewShown() const override { return preview; }
    const Card_Property &cardProperty(int side) const override { return m_document.design().page(side); }
    const Card_Property *liveCardProperty() const override { return &m_document.design().page(live); }
    QRectF frontCanvasBounds() const override
    {
        return QRectF(QPointF(0, 0), m_document.design().cardSize());
    }
    void Refresh_Canvas() override
    {
        ++refreshes;
        liveCanvas()->Refresh_Canvas();
    }
    void set_Front_BG_Image(const QString &path) override { setBackground(0, path); }
    void set_Back_BG_Image(const QString &path) override { setBackground(1, path); }
    void selectArrowTool() override { ++arrowChosen; }
    void editButtonsForCard() override { ++buttonsForCard; }
    void editButtonsForObject(bool locked) override { buttonsForObject << locked; }
    void unlockSelection() override { ++unlocks; }
    void Open_Barcode_Window(const GraphicPtr &) override {}

private:
    // The page takes a picture it can read (one it cannot keeps the page as it was); the card
    // page shows it from the design's notice.
    void setBackground(int side, const QString &path)
    {
        backgrounds << path;
        if (!path.isEmpty())
            m_document.changeSettingsRecorded(QStringLiteral("Background"), side,
                                              [&](DesignSettings &settings) {
                                                  Card_Property &page = settings.page(side);
                                                  if (page.Card_BG_Image_Path != path || !page.Card_BG_Image)
                                                      page.setBackgroundImage(path);
                                              });
    }

    SKTDocument m_document;
    std::unique_ptr<InspectorTabs> m_tabs;
    WindowRegistry m_registry;
    QWidget *m_desk = nullptr;
    std::array<SKTGraphicView *, 2> m_canvases{};
    std::array<std::unique_ptr<SideSelection>, 2> m_selections;
    Inspector *m_inspector = nullptr;
    std::unique_ptr<ChangeObserver> m_designWatch;
    // Last, so the panels and canvases it holds go first, while the document is still there.
    std::unique_ptr<QWidget> m_window;
};
