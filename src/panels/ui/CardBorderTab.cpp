#include "panels/ui/CardBorderTab.h"

#include "foundation/ui/ColorWell.h"
#include "foundation/ui/PanelWidgets.h"
#include "foundation/ui/StepperField.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

using PanelWidgets::combo;
using PanelWidgets::named;

CardBorderTab::CardBorderTab(QWidget *page)
{
    auto *layout = new QVBoxLayout(page);
    Card_border_chk = named(new QCheckBox(QStringLiteral("Border"), page), "Card_border_chk");
    layout->addWidget(Card_border_chk);
    Card_Border_Box = named(new QGroupBox(page), "Card_Border_Box");
    auto *form = new QFormLayout(Card_Border_Box);
    Card_bordr_clr = named(new ColorWell(Qt::black, Card_Border_Box), "Card_bordr_clr");
    Card_bor_Stepper = named(new StepperField(0, 50, 1, 0, Card_Border_Box), "Card_bor_Stepper");
    // Items in code order: the index is the stored dash code.
    Card_border_style = combo(Card_Border_Box, "Card_border_style",
                              {QStringLiteral("Solid"), QStringLiteral("Dash"), QStringLiteral("Dot"),
                               QStringLiteral("Dash Dot"), QStringLiteral("Dash Dot Dot")});
    form->addRow(QStringLiteral("Colour:"), Card_bordr_clr);
    form->addRow(QStringLiteral("Width:"), Card_bor_Stepper);
    form->addRow(QStringLiteral("Style:"), Card_border_style);
    layout->addWidget(Card_Border_Box);
    layout->addStretch();
}
