#include "panels/ui/SignTab.h"

#include "foundation/ui/ColorWell.h"
#include "foundation/ui/PanelWidgets.h"
#include "foundation/ui/StepperField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

SignTab::SignTab(QWidget *p) : page(p)
{
    auto *layout = new QVBoxLayout(page);
    Sign_border_chk = new QCheckBox(QStringLiteral("Border"), page);
    Sign_border_chk->setObjectName(QStringLiteral("Sign_border_chk"));
    Sign_Border_Box = new QGroupBox(page);
    Sign_Border_Box->setObjectName(QStringLiteral("Sign_Border_Box"));
    auto *border = new QFormLayout(Sign_Border_Box);
    Sign_bordr_clr = new ColorWell(Qt::black, Sign_Border_Box);
    Sign_bordr_clr->setObjectName(QStringLiteral("Sign_bordr_clr"));
    Sign_bor_Stepper = new StepperField(0, 50, 1, 0, Sign_Border_Box);
    Sign_bor_Stepper->setObjectName(QStringLiteral("Sign_bor_Stepper"));
    Sign_border_style = new QComboBox(Sign_Border_Box);
    Sign_border_style->setObjectName(QStringLiteral("Sign_border_style"));
    Sign_border_style->addItems(PanelWidgets::borderStyleNames());
    border->addRow(QStringLiteral("Colour:"), Sign_bordr_clr);
    border->addRow(QStringLiteral("Width:"), Sign_bor_Stepper);
    border->addRow(QStringLiteral("Style:"), Sign_border_style);
    layout->addWidget(Sign_border_chk);
    layout->addWidget(Sign_Border_Box);

    layout->addWidget(new QLabel(QStringLiteral("Picture (PNG):"), page));
    auto *row = new QHBoxLayout;
    Sign_image_path = new QLineEdit(page);
    Sign_image_path->setObjectName(QStringLiteral("Sign_image_path"));
    PanelWidgets::showReadOnly(Sign_image_path, true); // only Browse... chooses the file
    Sign_Browse_Btn = new QPushButton(QStringLiteral("Browse..."), page);
    Sign_Browse_Btn->setObjectName(QStringLiteral("Sign_Browse_Btn"));
    row->addWidget(Sign_image_path, 1);
    row->addWidget(Sign_Browse_Btn);
    layout->addLayout(row);
    layout->addStretch();
}
