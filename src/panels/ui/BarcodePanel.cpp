#include "panels/ui/BarcodePanel.h"

#include "canvas/ui/SKTGraphicView.h"
#include "model/ModelGlobals.h"
#include "model/SKTBarcode.h"
#include "panels/ui/InspectorHost.h"
#include "panels/ui/InspectorLayout.h"
#include "panels/ui/InspectorTabs.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

BarcodePanel::BarcodePanel(InspectorHost &host) : QObject(&host.inspectorWindow()), m_host(host)
{
    QWidget *page = host.inspectorTabs().page(InspectorTabs::barcode_tab);
    auto *layout = new QVBoxLayout(page);
    auto *hint = new QLabel(QStringLiteral("Symbology, value, texts, colours and sizes of the barcode."));
    hint->setWordWrap(true);
    barcode_prop_btn = new QPushButton(QStringLiteral("Barcode Properties..."));
    barcode_prop_btn->setObjectName(QStringLiteral("barcode_prop_btn"));
    layout->addWidget(hint);
    layout->addWidget(barcode_prop_btn);
    layout->addStretch();
    connect(barcode_prop_btn, &QPushButton::clicked, this, [this] { View_barcode_prop_Button(); });
}

void BarcodePanel::loadFrom(const SKTGraphic &graphic)
{
    barcode_prop_btn->setEnabled(graphic.kind() == SKTGraphic::Kind::Barcode);
}

void BarcodePanel::View_barcode_prop_Button()
{
    m_host.Open_Barcode_Window(m_host.liveCanvas()->selectedGraphic());
}

void BarcodePanel::Update_Barcode_Graphics(InspectorHost &host, const SKTGraphic &source,
                                           const std::function<void(SKTBarcode &)> &givePicture)
{
    if (Not_Draw_Only_Prop_Change & 1)
        return;
    SKTGraphicView *canvas = host.liveCanvas();
    const GraphicList selected = canvas->selectedGraphics();
    if (selected.isEmpty())
        return;
    const QCheckBox *print = host.inspectorLayout().print_object_chk;
    for (const GraphicPtr &g : selected) {
        if (print)
            g->print_object = print->isChecked() ? 1 : 0;
        if (g.get() == &source)
            continue;
        copyBarcodeFields(source, *g);
        if (auto *b = dynamic_cast<SKTBarcode *>(g.get()); b && givePicture)
            givePicture(*b);
    }
    host.Refresh_Canvas();
}

void BarcodePanel::copyBarcodeFields(const SKTGraphic &f, SKTGraphic &t)
{
    t.linear_or_2d = f.linear_or_2d;
    t.barcode_font_index = f.barcode_font_index;
    t.linear_font_val = f.linear_font_val;
    t.two_d_font_val = f.two_d_font_val;
    t.header_val = f.header_val;
    t.footer_val = f.footer_val;
    t.show_hide_hdr = f.show_hide_hdr;
    t.show_hide_ftr = f.show_hide_ftr;
    t.show_hide_val = f.show_hide_val;
    t.show_val_on_top = f.show_val_on_top;
    t.align_hdr_index = f.align_hdr_index;
    t.align_ftr_index = f.align_ftr_index;
    t.linear_height_val = f.linear_height_val;
    t.linear_width_val = f.linear_width_val;
    t.qr_size_val = f.qr_size_val;
    t.qr_version_index = f.qr_version_index;
    t.qr_ec_index = f.qr_ec_index;
    t.pdf_hgt_val = f.pdf_hgt_val;
    t.pdf_wdt_val = f.pdf_wdt_val;
    t.pdf_ec_val = f.pdf_ec_val;
    t.dm_module_val = f.dm_module_val;
    t.dm_format_index = f.dm_format_index;
    t.dm_encoding_index = f.dm_encoding_index;
    t.hdr_margin_val = f.hdr_margin_val;
    t.ftr_margin_val = f.ftr_margin_val;
    t.val_margin_val = f.val_margin_val;
    t.TB_marging_val = f.TB_marging_val;
    t.LR_margin_val = f.LR_margin_val;
    t.value_font_val = f.value_font_val;
    t.header_font_val = f.header_font_val;
    t.footer_font_val = f.footer_font_val;
    t.barcode_hdr_clr_val = f.barcode_hdr_clr_val;
    t.barcode_ftr_clr_val = f.barcode_ftr_clr_val;
    t.barcode_val_clr_val = f.barcode_val_clr_val;
    t.barcode_back_clr_val = f.barcode_back_clr_val;
    t.barcode_clr_val = f.barcode_clr_val;
    t.dpi_val_index = f.dpi_val_index;
    t.dpi_custom_val = f.dpi_custom_val;
    t.kerning_value = f.kerning_value;
}
