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

CardSettingsTab::CardSettingsTab(QWidget *page, InspectorLayout &ui) : m_page(page), m_ui(ui)
{
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(makeNameForm());
    layout->addWidget(makeSizeList(), 1);
    QHBoxLayout *sizeRow = makeSizeRow();
    layout->addWidget(new QLabel(QStringLiteral("Size (mm):"), page));
    layout->addLayout(sizeRow);
    layout->addWidget(makeShapeBox());
    layout->addWidget(makeContentBox());
    layout->addStretch();
}

QFormLayout *CardSettingsTab::makeNameForm()
{
    InspectorLayout &ui = m_ui;
    auto *form = new QFormLayout;
    ui.card_name = named(new QLineEdit(m_page), "card_name");
    ui.card_name->setPlaceholderText(QStringLiteral("Untitled"));
    ui.Sides_ComboBox =
        combo(m_page, "Sides_ComboBox", {QStringLiteral("Double Side"), QStringLiteral("Single Side")});
    ui.Preset_ComboBox =
        combo(m_page, "Preset_ComboBox", {QStringLiteral("Horizontal"), QStringLiteral("Vertical")});
    ui.Category_ComboBox = combo(m_page, "Category_ComboBox", CardSizeTables::categories());
    form->addRow(QStringLiteral("Name:"), ui.card_name);
    form->addRow(QStringLiteral("Sides:"), ui.Sides_ComboBox);
    form->addRow(QStringLiteral("Orientation:"), ui.Preset_ComboBox);
    form->addRow(QStringLiteral("Category:"), ui.Category_ComboBox);
    return form;
}

QTableView *CardSettingsTab::makeSizeList()
{
    InspectorLayout &ui = m_ui;
    ui.ListData = new RowListModel({QStringLiteral("Extension")}, {QStringLiteral("Size")}, m_page);
    ui.ColList = named(new QTableView(m_page), "ColList");
    ui.ColList->setModel(ui.ListData);
    ui.ColList->setSelectionMode(QAbstractItemView::SingleSelection);
    ui.ColList->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui.ColList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui.ColList->horizontalHeader()->setStretchLastSection(true);
    ui.ColList->verticalHeader()->hide();
    ui.ColList->setMinimumHeight(110);
    ui.ColList->setMaximumHeight(190);
    return ui.ColList;
}

QHBoxLayout *CardSettingsTab::makeSizeRow()
{
    InspectorLayout &ui = m_ui;
    auto *sizeRow = new QHBoxLayout;
    ui.width_Stepper = named(new StepperField(1, 2000, 1, 2, m_page), "width_Stepper");
    ui.height_Stepper = named(new StepperField(1, 2000, 1, 2, m_page), "height_Stepper");
    ui.Apply_Size_btn = named(new QPushButton(QStringLiteral("Apply"), m_page), "Apply_Size_btn");
    sizeRow->addWidget(new QLabel(QStringLiteral("W"), m_page));
    sizeRow->addWidget(ui.width_Stepper, 1);
    sizeRow->addWidget(new QLabel(QStringLiteral("H"), m_page));
    sizeRow->addWidget(ui.height_Stepper, 1);
    sizeRow->addWidget(ui.Apply_Size_btn);
    return sizeRow;
}

QGroupBox *CardSettingsTab::makeShapeBox()
{
    auto *shapeBox = new QGroupBox(QStringLiteral("Card shape"), m_page);
    auto *shapeRow = new QHBoxLayout(shapeBox);
    m_ui.matrix_card_shape = new QButtonGroup(m_page);
    const QStringList shapes{QStringLiteral("Rectangle"), QStringLiteral("Rounded"),
                             QStringLiteral("Ellipse")};
    for (int i = 0; i < shapes.size(); ++i) {
        auto *b = new QRadioButton(shapes.at(i), shapeBox);
        b->setObjectName(QStringLiteral("matrix_card_shape_%1").arg(i));
        m_ui.matrix_card_shape->addButton(b, i);
        shapeRow->addWidget(b);
    }
    m_ui.matrix_card_shape->button(0)->setChecked(true);
    return shapeBox;
}

QGroupBox *CardSettingsTab::makeContentBox()
{
    InspectorLayout &ui = m_ui;
    auto *contentBox = new QGroupBox(QStringLiteral("Card content"), m_page);
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
    return contentBox;
}
