#include "panels/ui/TextPropertiesTab.h"
#include "foundation/CardCodes.h"

#include "foundation/ui/ColorWell.h"
#include "foundation/ui/ControlUtils.h"
#include "foundation/ui/PanelWidgets.h"
#include "foundation/ui/StepperField.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using PanelWidgets::named;

TextPropertiesTab::TextPropertiesTab(QWidget *p) : page(p)
{
    // Items in the order of the stored codes: the panel stores the index.
    Text_align_combo =
        PanelWidgets::combo(page, "Text_align_combo",
                            {QStringLiteral("Left"), QStringLiteral("Right"), QStringLiteral("Centre"),
                             QStringLiteral("Justified"), QStringLiteral("Natural")});
    Text_case_combo = PanelWidgets::combo(page, "Text_case_combo",
                                          {QStringLiteral("As Typed"), QStringLiteral("UPPER CASE"),
                                           QStringLiteral("lower case"), QStringLiteral("Capitalized")});
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(PanelWidgets::title(page, QStringLiteral("Text Properties")));
    layout->addLayout(makeLookForm());
    Text_border_chk = named(new QCheckBox(QStringLiteral("Border"), page), "Text_border_chk");
    layout->addWidget(Text_border_chk);
    layout->addWidget(makeBorderBox());
    Text_fill_chk = named(new QCheckBox(QStringLiteral("Fill"), page), "Text_fill_chk");
    layout->addWidget(Text_fill_chk);
    layout->addWidget(makeFillBox());
    layout->addStretch();
    enableFillOpacity(Text_fill_chk->isChecked());

    // The combos were made first: Tab goes through the controls as they stand.
    PanelWidgets::tabOrder({Text_Font_btn, Text_clr, Text_align_combo, Text_case_combo, Text_Kern_Stepper,
                            Text_alpha_Stepper, Text_border_chk, Text_bordr_clr, Text_bor_Stepper,
                            Text_border_style, Text_fill_chk, Text_solid_fill_rd, Text_fill_clr,
                            Text_gradient_fill_rd, Text_fill_Grd_1_clr, Text_fill_Grd_2_clr,
                            Text_grad_Stepper});
}

// Font, colour, alignment, case, spacing and opacity.
QFormLayout *TextPropertiesTab::makeLookForm()
{
    auto *form = new QFormLayout;
    Text_font_value = named(new QLabel(page), "Text_font_value");
    Text_font_value->setWordWrap(true);
    Text_Font_btn = named(new QPushButton(QStringLiteral("Font..."), page), "Text_Font_btn");
    form->addRow(QStringLiteral("Font:"), Text_font_value);
    form->addRow(QString(), Text_Font_btn);
    Text_clr = named(new ColorWell(Qt::black, page), "Text_clr");
    form->addRow(QStringLiteral("Colour:"), Text_clr);
    form->addRow(QStringLiteral("Align:"), Text_align_combo);
    form->addRow(QStringLiteral("Case:"), Text_case_combo);
    Text_Kern_Stepper = named(new StepperField(-20, 100, 0.5, 1, page), "Text_Kern_Stepper");
    form->addRow(QStringLiteral("Spacing:"), Text_Kern_Stepper);
    Text_alpha_Stepper = named(new StepperField(0, 100, 1, 0, page), "Text_alpha_Stepper");
    // The stored opacity is the fill's, not the words'.
    Text_alpha_Stepper->setToolTip(FillOpacityTip);
    form->addRow(QStringLiteral("Opacity (%):"), Text_alpha_Stepper);
    Text_alpha_label = qobject_cast<QLabel *>(form->labelForField(Text_alpha_Stepper));
    if (Text_alpha_label)
        Text_alpha_label->setToolTip(FillOpacityTip);
    return form;
}

QGroupBox *TextPropertiesTab::makeBorderBox()
{
    Text_Border_Box = named(new QGroupBox(page), "Text_Border_Box");
    auto *border = new QFormLayout(Text_Border_Box);
    Text_bordr_clr = named(new ColorWell(Qt::black, Text_Border_Box), "Text_bordr_clr");
    Text_bor_Stepper = named(new StepperField(0, 50, 1, 0, Text_Border_Box), "Text_bor_Stepper");
    Text_border_style = named(new QComboBox(Text_Border_Box), "Text_border_style");
    Text_border_style->addItems(PanelWidgets::borderStyleNames());
    border->addRow(QStringLiteral("Colour:"), Text_bordr_clr);
    border->addRow(QStringLiteral("Width:"), Text_bor_Stepper);
    border->addRow(QStringLiteral("Style:"), Text_border_style);
    return Text_Border_Box;
}

QGroupBox *TextPropertiesTab::makeFillBox()
{
    Text_Fill_Box = named(new QGroupBox(page), "Text_Fill_Box");
    auto *fill = new QFormLayout(Text_Fill_Box);
    auto *radios = new QButtonGroup(Text_Fill_Box);
    Text_solid_fill_rd =
        named(new QRadioButton(QStringLiteral("Solid"), Text_Fill_Box), "Text_solid_fill_rd");
    Text_gradient_fill_rd =
        named(new QRadioButton(QStringLiteral("Gradient"), Text_Fill_Box), "Text_gradient_fill_rd");
    radios->addButton(Text_solid_fill_rd);
    radios->addButton(Text_gradient_fill_rd);
    Text_fill_clr = named(new ColorWell(Qt::white, Text_Fill_Box), "Text_fill_clr");
    Text_fill_Grd_1_clr = named(new ColorWell(Qt::white, Text_Fill_Box), "Text_fill_Grd_1_clr");
    Text_fill_Grd_2_clr = named(new ColorWell(Qt::white, Text_Fill_Box), "Text_fill_Grd_2_clr");
    Text_grad_Stepper = named(new StepperField(0, 360, 1, 0, Text_Fill_Box), "Text_grad_Stepper");
    fill->addRow(Text_solid_fill_rd, Text_fill_clr);
    fill->addRow(Text_gradient_fill_rd);
    fill->addRow(QStringLiteral("From:"), Text_fill_Grd_1_clr);
    fill->addRow(QStringLiteral("To:"), Text_fill_Grd_2_clr);
    fill->addRow(QStringLiteral("Angle:"), Text_grad_Stepper);
    return Text_Fill_Box;
}

void TextPropertiesTab::enableFillOpacity(bool fillOn)
{
    SetObjEnabled(Text_alpha_Stepper, fillOn);
    SetObjEnabled(Text_alpha_label, fillOn);
}

void TextPropertiesTab::enableFillControls(const QString &fillCode)
{
    const bool gradient = fillCode == FillCode::Gradient;
    SetObjEnabled(Text_fill_clr, !gradient);
    for (QWidget *w :
         {static_cast<QWidget *>(Text_fill_Grd_1_clr), static_cast<QWidget *>(Text_fill_Grd_2_clr),
          static_cast<QWidget *>(Text_grad_Stepper)})
        SetObjEnabled(w, gradient);
}
