#include "panels/ui/BarcodePanel.h"

#include "canvas/ui/SKTGraphicView.h"
#include "model/SKTBarcode.h"
#include "panels/ui/InspectorHost.h"
#include "panels/ui/InspectorTabs.h"
#include "panels/ui/PanelEdits.h"

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

GraphicList BarcodePanel::otherBarcodes(InspectorHost &host, const SKTGraphic &current)
{
    GraphicList others = PanelEdits::fieldTargets(host, PanelEdits::ofKind(SKTGraphic::Kind::Barcode));
    others.removeIf([&current](const GraphicPtr &g) { return g.get() == &current; });
    return others;
}

namespace
{
// Each field that differs between `opened` and `edited` goes to `to`; the rest stay its own.
template <typename... Members>
void copyChanged(const SKTGraphic &opened, const SKTGraphic &edited, SKTGraphic &to, Members... members)
{
    (
        [&](auto member) {
            if (opened.*member != edited.*member)
                to.*member = edited.*member;
        }(members),
        ...);
}
} // namespace

void BarcodePanel::passChanges(InspectorHost &host, const SKTGraphic &opened, const SKTGraphic &edited,
                               const GraphicList &others, bool valueChosen,
                               const std::function<void(SKTBarcode &, const SKTGraphic &)> &givePicture)
{
    for (const GraphicPtr &g : others) {
        const GraphicPtr before = g->clone();
        copySource(opened, edited, *g);
        copyBarcodeFields(opened, edited, *g, valueChosen);
        if (auto *b = dynamic_cast<SKTBarcode *>(g.get()); b && givePicture)
            givePicture(*b, *before);
    }
    host.Refresh_Canvas();
}

namespace
{
// The symbology is one setting: its kind (linear or 2D) and its place in that kind's list mean
// nothing apart.
bool sameType(const SKTGraphic &a, const SKTGraphic &b)
{
    return (a.linear_or_2d != 0) == (b.linear_or_2d != 0) && a.barcode_font_index == b.barcode_font_index;
}

// The value the barcode shows: the field of its own kind; the other field is what the window
// kept from an earlier kind.
std::optional<QString> &shownValue(SKTGraphic &g)
{
    return g.linear_or_2d != 0 ? g.two_d_font_val : g.linear_font_val;
}

const std::optional<QString> &shownValue(const SKTGraphic &g)
{
    return g.linear_or_2d != 0 ? g.two_d_font_val : g.linear_font_val;
}
} // namespace

void BarcodePanel::copySource(const SKTGraphic &opened, const SKTGraphic &edited, SKTGraphic &to)
{
    // The source is one setting, as for several texts: a kind, a series or a column bound together.
    if (opened.data_source_type == edited.data_source_type &&
        opened.batch_list_name == edited.batch_list_name &&
        opened.batch_list_index == edited.batch_list_index &&
        opened.excel_col_indx == edited.excel_col_indx && opened.excel_col_title == edited.excel_col_title)
        return;
    to.data_source_type = edited.data_source_type;
    to.batch_list_name = edited.batch_list_name;
    to.batch_list_index = edited.batch_list_index;
    to.excel_col_indx = edited.excel_col_indx;
    to.excel_col_title = edited.excel_col_title;
}

void BarcodePanel::copyBarcodeFields(const SKTGraphic &opened, const SKTGraphic &edited, SKTGraphic &to,
                                     bool valueChosen)
{
    using G = SKTGraphic;
    // A new type goes over whole, and the barcode keeps its own value across the change of kind,
    // as the window does for the barcode it shows.
    if (!sameType(opened, edited)) {
        const std::optional<QString> value = shownValue(to);
        to.linear_or_2d = edited.linear_or_2d != 0 ? 1 : 0;
        to.barcode_font_index = edited.barcode_font_index;
        shownValue(to) = value;
    }
    // The value goes over only when the user chose it: a change of type moves the window's value
    // into the other kind's field, or puts a stand-in in place of one the type refused, and
    // neither is a value of the other barcodes.
    if (valueChosen && shownValue(opened) != shownValue(edited))
        shownValue(to) = shownValue(edited);
    copyChanged(opened, edited, to, &G::header_val, &G::footer_val, &G::show_hide_hdr, &G::show_hide_ftr,
                &G::show_hide_val, &G::show_val_on_top, &G::align_hdr_index, &G::align_ftr_index,
                &G::linear_height_val, &G::linear_width_val, &G::qr_size_val, &G::qr_version_index,
                &G::qr_ec_index, &G::pdf_hgt_val, &G::pdf_wdt_val, &G::pdf_ec_val, &G::dm_module_val,
                &G::dm_format_index, &G::dm_encoding_index, &G::hdr_margin_val, &G::ftr_margin_val,
                &G::val_margin_val, &G::TB_marging_val, &G::LR_margin_val, &G::value_font_val,
                &G::header_font_val, &G::footer_font_val, &G::barcode_hdr_clr_val, &G::barcode_ftr_clr_val,
                &G::barcode_val_clr_val, &G::barcode_back_clr_val, &G::barcode_clr_val, &G::dpi_val_index,
                &G::dpi_custom_val, &G::kerning_value);
}
