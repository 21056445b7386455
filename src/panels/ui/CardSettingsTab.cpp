#include "panels/ui/CardSettingsTab.h"

#include "foundation/RowListModel.h"
#include "foundation/ui/ColorWell.h"
#include "foundation/ui/PanelWidgets.h"
#include "foundation/ui/StepperField.h"
#include "panels/CardSizeTables.h"

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

CardSettingsTab::CardSettingsTab(QWidget *page) : m_page(page)
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
    auto *form = new QFormLayout;
    card_name = named(new QLineEdit(m_page), "card_name");
    card_name->setPlaceholderText(QStringLiteral("Untitled"));
    Sides_ComboBox =
        combo(m_page, "Sides_ComboBox", {QStringLiteral("Double Side"), QStringLiteral("Single Side")});
    Preset_ComboBox =
        combo(m_page, "Preset_ComboBox", {QStringLiteral("Horizontal"), QStringLiteral("Vertical")});
    Category_ComboBox = combo(m_page, "Category_ComboBox", CardSizeTables::categories());
    form->addRow(QStringLiteral("Name:"), card_name);
    form->addRow(QStringLiteral("Sides:"), Sides_ComboBox);
    form->addRow(QStringLiteral("Orientation:"), Preset_ComboBox);
    form->addRow(QStringLiteral("Category:"), Category_ComboBox);
    return form;
}

QTableView *CardSettingsTab::makeSizeList()
{
    ListData = new RowListModel({QStringLiteral("Extension")}, {QStringLiteral("Size")}, m_page);
    ColList = named(new QTableView(m_page), "ColList");
    ColList->setModel(ListData);
    ColList->setSelectionMode(QAbstractItemView::SingleSelection);
    ColList->setSelectionBehavior(QAbstractItemView::SelectRows);
    ColList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ColList->horizontalHeader()->setStretchLastSection(true);
    ColList->verticalHeader()->hide();
    ColList->setMinimumHeight(110);
    ColList->setMaximumHeight(190);
    return ColList;
}

QHBoxLayout *CardSettingsTab::makeSizeRow()
{
    auto *sizeRow = new QHBoxLayout;
    width_Stepper = named(new StepperField(1, 2000, 1, 2, m_page), "width_Stepper");
    height_Stepper = named(new StepperField(1, 2000, 1, 2, m_page), "height_Stepper");
    Apply_Size_btn = named(new QPushButton(QStringLiteral("Apply"), m_page), "Apply_Size_btn");
    sizeRow->addWidget(new QLabel(QStringLiteral("W"), m_page));
    sizeRow->addWidget(width_Stepper, 1);
    sizeRow->addWidget(new QLabel(QStringLiteral("H"), m_page));
    sizeRow->addWidget(height_Stepper, 1);
    sizeRow->addWidget(Apply_Size_btn);
    return sizeRow;
}

QGroupBox *CardSettingsTab::makeShapeBox()
{
    auto *shapeBox = new QGroupBox(QStringLiteral("Card shape"), m_page);
    auto *shapeRow = new QHBoxLayout(shapeBox);
    matrix_card_shape = new QButtonGroup(m_page);
    const QStringList shapes{QStringLiteral("Rectangle"), QStringLiteral("Rounded"),
                             QStringLiteral("Ellipse")};
    for (int i = 0; i < shapes.size(); ++i) {
        auto *b = new QRadioButton(shapes.at(i), shapeBox);
        b->setObjectName(QStringLiteral("matrix_card_shape_%1").arg(i));
        matrix_card_shape->addButton(b, i);
        shapeRow->addWidget(b);
    }
    matrix_card_shape->button(0)->setChecked(true);
    return shapeBox;
}

QGroupBox *CardSettingsTab::makeContentBox()
{
    auto *contentBox = new QGroupBox(QStringLiteral("Card content"), m_page);
    auto *contentForm = new QFormLayout(contentBox);
    All_Text_font_value = named(new QLabel(contentBox), "All_Text_font_value");
    All_Text_font_value->setWordWrap(true);
    All_Text_font_btn = named(new QPushButton(QStringLiteral("Font..."), contentBox), "All_Text_font_btn");
    All_Text_clr = named(new ColorWell(Qt::black, contentBox), "All_Text_clr");
    contentForm->addRow(All_Text_font_value);
    contentForm->addRow(All_Text_font_btn, All_Text_clr);
    // The snapshot taken at each load of the page: never shown.
    return contentBox;
}
