#include "panels/ui/CardBorderTab.h"

#include "foundation/ui/ColorWell.h"
#include "foundation/ui/PanelWidgets.h"
#include "foundation/ui/StepperField.h"
#include "panels/ui/InspectorLayout.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

using PanelWidgets::combo;
using PanelWidgets::named;

CardBorderTab::CardBorderTab(QWidget *page, InspectorLayout &ui)
{
    auto *layout = new QVBoxLayout(page);
    ui.Card_border_chk = named(new QCheckBox(QStringLiteral("Border"), page), "Card_border_chk");
    layout->addWidget(ui.Card_border_chk);
    ui.Card_Border_Box = named(new QGroupBox(page), "Card_Border_Box");
    auto *form = new QFormLayout(ui.Card_Border_Box);
    ui.Card_bordr_clr = named(new ColorWell(Qt::black, ui.Card_Border_Box), "Card_bordr_clr");
    ui.Card_bor_Stepper = named(new StepperField(0, 50, 1, 0, ui.Card_Border_Box), "Card_bor_Stepper");
    // Items in code order: the index is the stored dash code.
    ui.Card_border_style = combo(ui.Card_Border_Box, "Card_border_style",
                                 {QStringLiteral("Solid"), QStringLiteral("Dash"), QStringLiteral("Dot"),
                                  QStringLiteral("Dash Dot"), QStringLiteral("Dash Dot Dot")});
    form->addRow(QStringLiteral("Colour:"), ui.Card_bordr_clr);
    form->addRow(QStringLiteral("Width:"), ui.Card_bor_Stepper);
    form->addRow(QStringLiteral("Style:"), ui.Card_border_style);
    layout->addWidget(ui.Card_Border_Box);
    layout->addStretch();
}
