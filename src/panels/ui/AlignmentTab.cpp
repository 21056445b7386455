#include "panels/ui/AlignmentTab.h"

#include "foundation/ui/PanelWidgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

using PanelWidgets::named;

AlignmentTab::AlignmentTab(QWidget *page)
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
    button(align, Align_Left_btn, "Align_Left_btn", QStringLiteral("Left"), 0, 0);
    button(align, Align_Right_btn, "Align_Right_btn", QStringLiteral("Right"), 0, 1);
    button(align, Align_Top_btn, "Align_Top_btn", QStringLiteral("Top"), 1, 0);
    button(align, Align_Bottom_btn, "Align_Bottom_btn", QStringLiteral("Bottom"), 1, 1);
    button(align, Align_Horz_btn, "Align_Horz_btn", QStringLiteral("Horizontal Centres"), 2, 0);
    button(align, Align_Vert_btn, "Align_Vert_btn", QStringLiteral("Vertical Centres"), 2, 1);
    button(align, Align_Center_btn, "Align_Center_btn", QStringLiteral("Centre on Card"), 3, 0);
    button(align, Align_To_Grid_btn, "Align_To_Grid_btn", QStringLiteral("To Grid"), 3, 1);
    QGridLayout *size = group(QStringLiteral("Size"));
    button(size, Make_Same_Width_btn, "Make_Same_Width_btn", QStringLiteral("Same Width"), 0, 0);
    button(size, Make_Same_Height_btn, "Make_Same_Height_btn", QStringLiteral("Same Height"), 0, 1);
    button(size, Make_Natural_btn, "Make_Natural_btn", QStringLiteral("Natural Size"), 1, 0);
    print_object_chk = named(new QCheckBox(QStringLiteral("Do not print"), page), "print_object_chk");
    layout->addWidget(print_object_chk);
    layout->addStretch();
}

void AlignmentTab::onCommand(Command command, QObject *context, std::function<void()> run) const
{
    QAbstractButton *const buttons[] = {Align_Left_btn,   Align_Right_btn,     Align_Top_btn,
                                        Align_Bottom_btn, Align_Center_btn,    Align_Horz_btn,
                                        Align_Vert_btn,   Make_Same_Width_btn, Make_Same_Height_btn,
                                        Make_Natural_btn, Align_To_Grid_btn,   print_object_chk};
    QObject::connect(buttons[int(command)], &QAbstractButton::clicked, context,
                     [run = std::move(run)] { run(); });
}

void AlignmentTab::setSameSizeEnabled(bool enabled)
{
    Make_Same_Width_btn->setEnabled(enabled);
    Make_Same_Height_btn->setEnabled(enabled);
}

bool AlignmentTab::doNotPrint() const
{
    return print_object_chk->isChecked();
}

void AlignmentTab::showDoNotPrint(bool on)
{
    print_object_chk->setChecked(on);
}
