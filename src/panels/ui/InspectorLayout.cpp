#include "panels/ui/InspectorLayout.h"

#include "foundation/ui/PanelWidgets.h"
#include "panels/ui/InspectorTabs.h"

#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>

using PanelWidgets::combo;

void InspectorLayout::buildPages(InspectorTabs &tabs)
{
    const QStringList borderStyles = PanelWidgets::borderStyleNames();

    // Shape and text: the combos the window fills at start; their panels lay the pages out.
    QWidget *shape = tabs.page(InspectorTabs::shape_tab);
    shape_border_style = combo(shape, "shape_border_style", borderStyles);
    shape_hatch_style = combo(shape, "shape_hatch_style");
    QWidget *text = tabs.page(InspectorTabs::text_prop_tab);
    Text_Date_style = combo(text, "Text_Date_style");
    Text_Time_style = combo(text, "Text_Time_style");
    // Items in the order of the stored codes: the panel stores the index.
    Text_align_combo = combo(text, "Text_align_combo",
                             {QStringLiteral("Left"), QStringLiteral("Right"), QStringLiteral("Centre"),
                              QStringLiteral("Justified"), QStringLiteral("Natural")});
    Text_case_combo = combo(text, "Text_case_combo",
                            {QStringLiteral("As Typed"), QStringLiteral("UPPER CASE"),
                             QStringLiteral("lower case"), QStringLiteral("Capitalized")});

    // The pages still to be filled by their panels say so.
    for (InspectorTabs::Item item : {InspectorTabs::card_info_tab}) {
        auto *l = new QVBoxLayout(tabs.page(item));
        l->addWidget(new QLabel(tabs.label(item), tabs.page(item)));
        l->addStretch();
    }
}
