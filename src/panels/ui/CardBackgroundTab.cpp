#include "panels/ui/CardBackgroundTab.h"

#include "foundation/ui/ColorWell.h"
#include "foundation/ui/PanelWidgets.h"
#include "foundation/ui/StepperField.h"
#include "panels/ui/InspectorLayout.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using PanelWidgets::combo;
using PanelWidgets::named;

CardBackgroundTab::CardBackgroundTab(QWidget *page, InspectorLayout &ui) : m_ui(ui)
{
    auto *layout = new QVBoxLayout(page);
    ui.Card_fill_chk = named(new QCheckBox(QStringLiteral("Fill the card"), page), "Card_fill_chk");
    layout->addWidget(ui.Card_fill_chk);

    ui.Card_Fill_Box = named(new QGroupBox(page), "Card_Fill_Box");
    auto *form = new QFormLayout(ui.Card_Fill_Box);
    makeSolidAndGradient(form);
    makePattern(form);
    makePicture(form);
    ui.Card_alpha_Stepper = named(new StepperField(0, 100, 1, 0, ui.Card_Fill_Box), "Card_alpha_Stepper");
    ui.Card_alpha_Stepper->setSuffix(QStringLiteral(" %"));
    form->addRow(QStringLiteral("Opacity:"), ui.Card_alpha_Stepper);
    layout->addWidget(ui.Card_Fill_Box);
    layout->addStretch();
}

ColorWell *CardBackgroundTab::well(ColorWell *&field, const char *name)
{
    field = named(new ColorWell(Qt::white, m_ui.Card_Fill_Box), name);
    return field;
}

void CardBackgroundTab::makeSolidAndGradient(QFormLayout *form)
{
    InspectorLayout &ui = m_ui;
    ui.Card_solid_fill_rd =
        named(new QRadioButton(QStringLiteral("Solid"), ui.Card_Fill_Box), "Card_solid_fill_rd");
    form->addRow(ui.Card_solid_fill_rd, well(ui.Card_fill_clr, "Card_fill_clr"));

    ui.Card_gradient_fill_rd =
        named(new QRadioButton(QStringLiteral("Gradient"), ui.Card_Fill_Box), "Card_gradient_fill_rd");
    auto *gradient = new QHBoxLayout;
    gradient->addWidget(well(ui.Card_fill_Grd_1_clr, "Card_fill_Grd_1_clr"));
    gradient->addWidget(well(ui.Card_fill_Grd_2_clr, "Card_fill_Grd_2_clr"));
    form->addRow(ui.Card_gradient_fill_rd, gradient);
    ui.Card_grad_Stepper = named(new StepperField(0, 360, 1, 0, ui.Card_Fill_Box), "Card_grad_Stepper");
    ui.Card_grad_Stepper->setSuffix(QStringLiteral("°"));
    form->addRow(QStringLiteral("Angle:"), ui.Card_grad_Stepper);
}

void CardBackgroundTab::makePattern(QFormLayout *form)
{
    InspectorLayout &ui = m_ui;
    ui.Card_Style_fill_rd =
        named(new QRadioButton(QStringLiteral("Pattern"), ui.Card_Fill_Box), "Card_Style_fill_rd");
    ui.Card_hatch_style = combo(ui.Card_Fill_Box, "Card_hatch_style");
    form->addRow(ui.Card_Style_fill_rd, ui.Card_hatch_style);
    form->addRow(QStringLiteral("Pattern back:"), well(ui.Card_hatch_bk_clr, "Card_hatch_bk_clr"));
}

void CardBackgroundTab::makePicture(QFormLayout *form)
{
    InspectorLayout &ui = m_ui;
    ui.Card_Image_fill_rd =
        named(new QRadioButton(QStringLiteral("Picture"), ui.Card_Fill_Box), "Card_Image_fill_rd");
    form->addRow(ui.Card_Image_fill_rd);
    ui.Card_image_box = named(new QGroupBox(ui.Card_Fill_Box), "Card_image_box");
    auto *imageForm = new QFormLayout(ui.Card_image_box);
    ui.Card_Image_path = named(new QLineEdit(ui.Card_image_box), "Card_Image_path");
    ui.Card_Image_path->setReadOnly(true);
    auto *buttons = new QHBoxLayout;
    ui.Card_Image_Browse_btn =
        named(new QPushButton(QStringLiteral("Browse..."), ui.Card_image_box), "Card_Image_Browse_btn");
    ui.Card_Image_Library_btn =
        named(new QPushButton(QStringLiteral("Library..."), ui.Card_image_box), "Card_Image_Library_btn");
    buttons->addWidget(ui.Card_Image_Browse_btn);
    buttons->addWidget(ui.Card_Image_Library_btn);
    ui.Card_image_layout =
        combo(ui.Card_image_box, "Card_image_layout", {QStringLiteral("Stretch"), QStringLiteral("Tile")});
    imageForm->addRow(ui.Card_Image_path);
    imageForm->addRow(buttons);
    imageForm->addRow(QStringLiteral("Layout:"), ui.Card_image_layout);
    form->addRow(ui.Card_image_box);
}
