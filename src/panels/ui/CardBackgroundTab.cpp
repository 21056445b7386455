#include "panels/ui/CardBackgroundTab.h"

#include "foundation/ui/ColorWell.h"
#include "foundation/ui/PanelWidgets.h"
#include "foundation/ui/StepperField.h"

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

CardBackgroundTab::CardBackgroundTab(QWidget *page)
{
    auto *layout = new QVBoxLayout(page);
    Card_fill_chk = named(new QCheckBox(QStringLiteral("Fill the card"), page), "Card_fill_chk");
    layout->addWidget(Card_fill_chk);

    Card_Fill_Box = named(new QGroupBox(page), "Card_Fill_Box");
    auto *form = new QFormLayout(Card_Fill_Box);
    makeSolidAndGradient(form);
    makePattern(form);
    makePicture(form);
    Card_alpha_Stepper = named(new StepperField(0, 100, 1, 0, Card_Fill_Box), "Card_alpha_Stepper");
    Card_alpha_Stepper->setSuffix(QStringLiteral(" %"));
    form->addRow(QStringLiteral("Opacity:"), Card_alpha_Stepper);
    layout->addWidget(Card_Fill_Box);
    layout->addStretch();
}

ColorWell *CardBackgroundTab::well(ColorWell *&field, const char *name)
{
    field = named(new ColorWell(Qt::white, Card_Fill_Box), name);
    return field;
}

void CardBackgroundTab::makeSolidAndGradient(QFormLayout *form)
{
    Card_solid_fill_rd =
        named(new QRadioButton(QStringLiteral("Solid"), Card_Fill_Box), "Card_solid_fill_rd");
    form->addRow(Card_solid_fill_rd, well(Card_fill_clr, "Card_fill_clr"));

    Card_gradient_fill_rd =
        named(new QRadioButton(QStringLiteral("Gradient"), Card_Fill_Box), "Card_gradient_fill_rd");
    auto *gradient = new QHBoxLayout;
    gradient->addWidget(well(Card_fill_Grd_1_clr, "Card_fill_Grd_1_clr"));
    gradient->addWidget(well(Card_fill_Grd_2_clr, "Card_fill_Grd_2_clr"));
    form->addRow(Card_gradient_fill_rd, gradient);
    Card_grad_Stepper = named(new StepperField(0, 360, 1, 0, Card_Fill_Box), "Card_grad_Stepper");
    Card_grad_Stepper->setSuffix(QStringLiteral("°"));
    form->addRow(QStringLiteral("Angle:"), Card_grad_Stepper);
}

void CardBackgroundTab::makePattern(QFormLayout *form)
{
    Card_Style_fill_rd =
        named(new QRadioButton(QStringLiteral("Pattern"), Card_Fill_Box), "Card_Style_fill_rd");
    Card_hatch_style = combo(Card_Fill_Box, "Card_hatch_style");
    form->addRow(Card_Style_fill_rd, Card_hatch_style);
    form->addRow(QStringLiteral("Pattern back:"), well(Card_hatch_bk_clr, "Card_hatch_bk_clr"));
}

void CardBackgroundTab::makePicture(QFormLayout *form)
{
    Card_Image_fill_rd =
        named(new QRadioButton(QStringLiteral("Picture"), Card_Fill_Box), "Card_Image_fill_rd");
    form->addRow(Card_Image_fill_rd);
    Card_image_box = named(new QGroupBox(Card_Fill_Box), "Card_image_box");
    auto *imageForm = new QFormLayout(Card_image_box);
    Card_Image_path = named(new QLineEdit(Card_image_box), "Card_Image_path");
    Card_Image_path->setReadOnly(true);
    auto *buttons = new QHBoxLayout;
    Card_Image_Browse_btn =
        named(new QPushButton(QStringLiteral("Browse..."), Card_image_box), "Card_Image_Browse_btn");
    Card_Image_Library_btn =
        named(new QPushButton(QStringLiteral("Library..."), Card_image_box), "Card_Image_Library_btn");
    buttons->addWidget(Card_Image_Browse_btn);
    buttons->addWidget(Card_Image_Library_btn);
    Card_image_layout =
        combo(Card_image_box, "Card_image_layout", {QStringLiteral("Stretch"), QStringLiteral("Tile")});
    imageForm->addRow(Card_Image_path);
    imageForm->addRow(buttons);
    imageForm->addRow(QStringLiteral("Layout:"), Card_image_layout);
    form->addRow(Card_image_box);
}
