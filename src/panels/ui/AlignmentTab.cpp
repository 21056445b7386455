#include "panels/ui/AlignmentTab.h"

#include "foundation/ui/PanelWidgets.h"
#include "panels/ui/InspectorLayout.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

using PanelWidgets::named;

AlignmentTab::AlignmentTab(QWidget *page, InspectorLayout &ui)
{
    auto *layout = new QVBoxLayout(page);
    const auto group = [&](const QString &title) {
        auto *box = new QGroupBox(title, page);
        layout->addWidget(box);
        return new QGridLayout(box);
    };
    const auto button = [](QGridLayout *grid, QPushButton *&field, const char *name, const QString &title,
                           int r, int c) {
        field = named(new QPushButton(title, grid->parentWidget()), name);
        field->setFocusPolicy(Qt::NoFocus);
        grid->addWidget(field, r, c);
    };
    QGridLayout *align = group(QStringLiteral("Align"));
    button(align, ui.Align_Left_btn, "Align_Left_btn", QStringLiteral("Left"), 0, 0);
    button(align, ui.Align_Right_btn, "Align_Right_btn", QStringLiteral("Right"), 0, 1);
    button(align, ui.Align_Top_btn, "Align_Top_btn", QStringLiteral("Top"), 1, 0);
    button(align, ui.Align_Bottom_btn, "Align_Bottom_btn", QStringLiteral("Bottom"), 1, 1);
    button(align, ui.Align_Horz_btn, "Align_Horz_btn", QStringLiteral("Horizontal Centres"), 2, 0);
    button(align, ui.Align_Vert_btn, "Align_Vert_btn", QStringLiteral("Vertical Centres"), 2, 1);
    button(align, ui.Align_Center_btn, "Align_Center_btn", QStringLiteral("Centre on Card"), 3, 0);
    button(align, ui.Align_To_Grid_btn, "Align_To_Grid_btn", QStringLiteral("To Grid"), 3, 1);
    QGridLayout *size = group(QStringLiteral("Size"));
    button(size, ui.Make_Same_Width_btn, "Make_Same_Width_btn", QStringLiteral("Same Width"), 0, 0);
    button(size, ui.Make_Same_Height_btn, "Make_Same_Height_btn", QStringLiteral("Same Height"), 0, 1);
    button(size, ui.Make_Natural_btn, "Make_Natural_btn", QStringLiteral("Natural Size"), 1, 0);
    ui.print_object_chk = named(new QCheckBox(QStringLiteral("Do not print"), page), "print_object_chk");
    layout->addWidget(ui.print_object_chk);
    layout->addStretch();
}
