#include "panels/ui/CardSettingsTab.h"

#include "foundation/RowListModel.h"
#include "foundation/ui/ColorWell.h"
#include "foundation/ui/PanelWidgets.h"
#include "foundation/ui/StepperField.h"
#include "panels/CardSizeTables.h"
#include "panels/ui/InspectorLayout.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

using PanelWidgets::combo;
using PanelWidgets::named;

CardSettingsTab::CardSettingsTab(QWidget *page, InspectorLayout &ui)
{
    auto *layout = new QVBoxLayout(page);
    auto *form = new QFormLayout;
    ui.card_name = named(new QLineEdit(page), "card_name");
    ui.card_name->setPlaceholderText(QStringLiteral("Untitled"));
    ui.Sides_ComboBox =
        combo(page, "Sides_ComboBox", {QStringLiteral("Double Side"), QStringLiteral("Single Side")});
    ui.Preset_ComboBox =
        combo(page, "Preset_ComboBox", {QStringLiteral("Horizontal"), QStringLiteral("Vertical")});
    ui.Category_ComboBox = combo(page, "Category_ComboBox", CardSizeTables::categories());
    form->addRow(QStringLiteral("Name:"), ui.card_name);
    form->addRow(QStringLiteral("Sides:"), ui.Sides_ComboBox);
    form->addRow(QStringLiteral("Orientation:"), ui.Preset_ComboBox);
    form->addRow(QStringLiteral("Category:"), ui.Category_ComboBox);
    layout->addLayout(form);

    ui.ListData = new RowListModel({QStringLiteral("Extension")}, {QStringLiteral("Size")}, page);
    ui.ColList = named(new QTableView(page), "ColList");
    ui.ColList->setModel(ui.ListData);
    ui.ColList->setSelectionMode(QAbstractItemView::SingleSelection);
    ui.ColList->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui.ColList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui.ColList->horizontalHeader()->setStretchLastSection(true);
    ui.ColList->verticalHeader()->hide();
    ui.ColList->setMinimumHeight(110);
    ui.ColList->setMaximumHeight(190);
    layout->addWidget(ui.ColList, 1);

    auto *sizeRow = new QHBoxLayout;
    ui.width_Stepper = named(new StepperField(1, 2000, 1, 2, page), "width_Stepper");
    ui.height_Stepper = named(new StepperField(1, 2000, 1, 2, page), "height_Stepper");
    ui.Apply_Size_btn = named(new QPushButton(QStringLiteral("Apply"), page), "Apply_Size_btn");
    sizeRow->addWidget(new QLabel(QStringLiteral("W"), page));
    sizeRow->addWidget(ui.width_Stepper, 1);
    sizeRow->addWidget(new QLabel(QStringLiteral("H"), page));
    sizeRow->addWidget(ui.height_Stepper, 1);
    sizeRow->addWidget(ui.Apply_Size_btn);
    layout->addWidget(new QLabel(QStringLiteral("Size (mm):"), page));
    layout->addLayout(sizeRow);

    auto *shapeBox = new QGroupBox(QStringLiteral("Card shape"), page);
    auto *shapeRow = new QHBoxLayout(shapeBox);
    ui.matrix_card_shape = new QButtonGroup(page);
    const QStringList shapes{QStringLiteral("Rectangle"), QStringLiteral("Rounded"),
                             QStringLiteral("Ellipse")};
    for (int i = 0; i < shapes.size(); ++i) {
        auto *b = new QRadioButton(shapes.at(i), shapeBox);
        b->setObjectName(QStringLiteral("matrix_card_shape_%1").arg(i));
        ui.matrix_card_shape->addButton(b, i);
        shapeRow->addWidget(b);
    }
    ui.matrix_card_shape->button(0)->setChecked(true);
    layout->addWidget(shapeBox);

    auto *contentBox = new QGroupBox(QStringLiteral("Card content"), page);
    auto *contentForm = new QFormLayout(contentBox);
    ui.All_Text_font_value = named(new QLabel(contentBox), "All_Text_font_value");
    ui.All_Text_font_value->setWordWrap(true);
    ui.All_Text_font_btn = named(new QPushButton(QStringLiteral("Font..."), contentBox), "All_Text_font_btn");
    ui.All_Text_clr = named(new ColorWell(Qt::black, contentBox), "All_Text_clr");
    contentForm->addRow(ui.All_Text_font_value);
    contentForm->addRow(ui.All_Text_font_btn, ui.All_Text_clr);
    // The snapshot taken at each load of the page: never shown.
    ui.All_Text_font_value_COPY = named(new QLabel(contentBox), "All_Text_font_value_COPY");
    ui.All_Text_clr_COPY = named(new ColorWell(Qt::black, contentBox), "All_Text_clr_COPY");
    ui.All_Text_font_value_COPY->hide();
    ui.All_Text_clr_COPY->hide();
    layout->addWidget(contentBox);
    layout->addStretch();
}
