#include "editor/ui/Grid_Wizard.h"

#include "foundation/ui/ColorWell.h"
#include "foundation/ui/FloatSlider.h"
#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/WindowLook.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

Grid_Wizard::Grid_Wizard(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Grid"));
    WindowLook::applyBackground(this);
    Show_hide_grid_chk = new QCheckBox(QStringLiteral("Show grid"), this);
    Show_hide_grid_chk->setObjectName(QStringLiteral("Show_hide_grid_chk"));
    Grid_Opt_box = new QGroupBox(QStringLiteral("Grid options"), this);
    Grid_clr = new ColorWell(QColor(170, 170, 170), Grid_Opt_box);
    Grid_clr->setObjectName(QStringLiteral("Grid_clr"));
    Grid_Space_slidr = new FloatSlider(2.0, 50.0, 48, 0, Grid_Opt_box);
    Grid_Space_slidr->setObjectName(QStringLiteral("Grid_Space_slidr"));
    auto *form = new QFormLayout(Grid_Opt_box);
    form->addRow(QStringLiteral("Colour:"), Grid_clr);
    form->addRow(QStringLiteral("Spacing:"), Grid_Space_slidr);

    QHBoxLayout *buttons = WindowLook::okCancelRow(this, ok_button, cancel_button);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Show_hide_grid_chk);
    layout->addWidget(Grid_Opt_box);
    layout->addLayout(buttons);
    resize(340, 180);
    connect(ok_button, &QPushButton::clicked, this, &Grid_Wizard::OK_Btn_Clicked);
    connect(cancel_button, &QPushButton::clicked, this, &Grid_Wizard::Cancel_Btn_Clicked);
}

int Grid_Wizard::Open_Wnd()
{
    return ModalRunner::exec(*this);
}
