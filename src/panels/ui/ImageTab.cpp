#include "panels/ui/ImageTab.h"

#include "foundation/ui/ColorWell.h"
#include "foundation/ui/FloatSlider.h"
#include "foundation/ui/PanelWidgets.h"
#include "foundation/ui/StepperField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

using PanelWidgets::named;

ImageTab::ImageTab(QWidget *p) : page(p)
{
    QWidget *content = makeScrollingContent();
    auto *layout = new QVBoxLayout(content);
    layout->addWidget(PanelWidgets::title(content, QStringLiteral("Image Properties")));
    manualSlot = new QVBoxLayout;
    layout->addLayout(manualSlot);
    makeBorder(content, layout);
    layout->addLayout(makeEffects(content));
    layout->addLayout(makeSliders(content));
    Image_reset_Button = named(new QPushButton(QStringLiteral("Reset"), content), "Image_reset_Button");
    layout->addWidget(Image_reset_Button, 0, Qt::AlignRight);
    layout->addStretch();
}

// The page is taller than the inspector: it scrolls.
QWidget *ImageTab::makeScrollingContent()
{
    auto *outer = new QVBoxLayout(page);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *scroll = new QScrollArea(page);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    outer->addWidget(scroll);
    auto *content = new QWidget(scroll);
    scroll->setWidget(content);
    return content;
}

void ImageTab::makeBorder(QWidget *content, QVBoxLayout *layout)
{
    Image_border_chk = named(new QCheckBox(QStringLiteral("Border"), content), "Image_border_chk");
    Image_Border_Box = named(new QGroupBox(content), "Image_Border_Box");
    auto *border = new QFormLayout(Image_Border_Box);
    Image_bordr_clr = named(new ColorWell(Qt::black, Image_Border_Box), "Image_bordr_clr");
    Image_bor_Stepper = named(new StepperField(0, 50, 1, 0, Image_Border_Box), "Image_bor_Stepper");
    Image_border_style = named(new QComboBox(Image_Border_Box), "Image_border_style");
    Image_border_style->addItems(PanelWidgets::borderStyleNames());
    border->addRow(QStringLiteral("Colour:"), Image_bordr_clr);
    border->addRow(QStringLiteral("Width:"), Image_bor_Stepper);
    border->addRow(QStringLiteral("Style:"), Image_border_style);
    layout->addWidget(Image_border_chk);
    layout->addWidget(Image_Border_Box);
}

QGridLayout *ImageTab::makeEffects(QWidget *content)
{
    auto *effects = new QGridLayout;
    Image_FIH_chk = named(new QCheckBox(QStringLiteral("Flip horizontally"), content), "Image_FIH_chk");
    Image_FIV_chk = named(new QCheckBox(QStringLiteral("Flip vertically"), content), "Image_FIV_chk");
    Image_Invert_chk = named(new QCheckBox(QStringLiteral("Invert"), content), "Image_Invert_chk");
    Image_Gray_Scale_chk =
        named(new QCheckBox(QStringLiteral("Grey scale"), content), "Image_Gray_Scale_chk");
    Image_Sepia_chk = named(new QCheckBox(QStringLiteral("Sepia"), content), "Image_Sepia_chk");
    effects->addWidget(Image_FIH_chk, 0, 0);
    effects->addWidget(Image_FIV_chk, 0, 1);
    effects->addWidget(Image_Gray_Scale_chk, 1, 0);
    effects->addWidget(Image_Sepia_chk, 1, 1);
    effects->addWidget(Image_Invert_chk, 2, 0);
    return effects;
}

// Ranges follow what each picture filter accepts; the values are stored unscaled.
QFormLayout *ImageTab::makeSliders(QWidget *content)
{
    auto *sliders = new QFormLayout;
    const auto slider = [&](FloatSlider *&field, const char *name, const QString &label, double min,
                            double max, int steps, int decimals) {
        field = named(new FloatSlider(min, max, steps, decimals, content), name);
        field->valueLabel()->setObjectName(QString::fromLatin1(name) + QStringLiteral("_val"));
        sliders->addRow(label, field);
    };
    slider(Rotate_slidr, "Rotate_slidr", QStringLiteral("Rotation:"), -180, 180, 360, 0);
    slider(Trsp_slidr, "Trsp_slidr", QStringLiteral("Transparency:"), 0, 100, 100, 0);
    slider(Hue_slidr, "Hue_slidr", QStringLiteral("Hue:"), -3.14, 3.14, 628, 2);
    slider(Sat_slidr, "Sat_slidr", QStringLiteral("Saturation:"), 0, 2, 200, 2);
    slider(Brt_slidr, "Brt_slidr", QStringLiteral("Brightness:"), -1, 1, 200, 2);
    slider(Con_slidr, "Con_slidr", QStringLiteral("Contrast:"), 0.25, 4, 375, 2);
    slider(shrp_slidr, "shrp_slidr", QStringLiteral("Sharpness:"), 0, 2, 200, 2);
    slider(ev_slidr, "ev_slidr", QStringLiteral("Exposure:"), -2, 2, 400, 2);
    slider(blr_slidr, "blr_slidr", QStringLiteral("Blur:"), 0, 20, 200, 1);
    return sliders;
}
