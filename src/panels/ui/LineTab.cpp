#include "panels/ui/LineTab.h"

#include "foundation/ui/ColorWell.h"
#include "foundation/ui/PanelWidgets.h"
#include "foundation/ui/StepperField.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

using PanelWidgets::combo;
using PanelWidgets::named;

LineTab::LineTab(QWidget *p) : page(p)
{
    auto *outer = new QVBoxLayout(page);
    outer->addWidget(PanelWidgets::title(page, QStringLiteral("Line Properties")));
    auto *form = new QFormLayout;
    Line_clr = named(new ColorWell(Qt::black, page), "Line_clr");
    Line_Wdt_Stepper = named(new StepperField(0, 50, 1, 0, page), "Line_Wdt_Stepper");
    // Items in the order of the stored codes: dash styles 0..4, orientation and cap as indexes.
    Line_border_style = combo(page, "Line_border_style", PanelWidgets::borderStyleNames());
    Line_ori_style =
        combo(page, "Line_ori_style",
              {QStringLiteral("Free"), QStringLiteral("Horizontal"), QStringLiteral("Vertical")});
    Line_cap_style = combo(page, "Line_cap_style",
                           {QStringLiteral("Butt"), QStringLiteral("Round"), QStringLiteral("Square")});
    Line_alpha_Stepper = named(new StepperField(0, 100, 1, 0, page), "Line_alpha_Stepper");
    form->addRow(QStringLiteral("Colour:"), Line_clr);
    form->addRow(QStringLiteral("Width:"), Line_Wdt_Stepper);
    form->addRow(QStringLiteral("Style:"), Line_border_style);
    form->addRow(QStringLiteral("Orientation:"), Line_ori_style);
    form->addRow(QStringLiteral("Cap:"), Line_cap_style);
    form->addRow(QStringLiteral("Opacity (%):"), Line_alpha_Stepper);
    outer->addLayout(form);
    outer->addStretch();
}
