#include "editor/ui/Card_Wizard.h"

#include "foundation/MessageBoxes.h"
#include "foundation/RowListModel.h"
#include "foundation/WindowRegistry.h"
#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/StepperField.h"
#include "foundation/ui/WindowLook.h"
#include "model/ModelGlobals.h"
#include "panels/CardSizeTables.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

Card_Wizard::Card_Wizard(WindowRegistry *registry, QWidget *parent) : QDialog(parent), m_registry(registry)
{
    setWindowTitle(QStringLiteral("Card Size"));
    WindowLook::applyBackground(this);
    ListData = new RowListModel({QStringLiteral("Extension")}, {QStringLiteral("Size")}, this);

    buildWindow();

    connect(matrix_card_shape, &QButtonGroup::idClicked, this, &Card_Wizard::card_shape_CellClick);
    connect(Category_ComboBox, &QComboBox::activated, this, &Card_Wizard::comboBoxSelectionDidChange);
    connect(ColList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &Card_Wizard::tableViewSelectionDidChange);
    connect(ok_button, &QPushButton::clicked, this, &Card_Wizard::OK_Click);
    connect(cancel_button, &QPushButton::clicked, this, &Card_Wizard::CancelClick);
    connect(user_profile_button, &QPushButton::clicked, this, &Card_Wizard::User_Profile_Click);
}

void Card_Wizard::buildWindow()
{
    QFormLayout *form = makeSizeForm();
    makeSizeList();
    form->addRow(QStringLiteral("Shape:"), makeShapeRow());
    QHBoxLayout *buttons = WindowLook::okCancelRow(this, ok_button, cancel_button);
    user_profile_button = new QPushButton(QStringLiteral("Personal Details..."), this);
    buttons->insertWidget(0, user_profile_button);

    auto *top = new QHBoxLayout;
    top->addLayout(form);
    top->addWidget(ColList, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    resize(620, 320);
}

// Name, sides, orientation, category and the size in millimetres.
QFormLayout *Card_Wizard::makeSizeForm()
{
    card_name = new QLineEdit(this);
    Sides_ComboBox = new QComboBox(this);
    Sides_ComboBox->addItems({QStringLiteral("Double Side"), QStringLiteral("Single Side")});
    Preset_ComboBox = new QComboBox(this);
    Preset_ComboBox->addItems({QStringLiteral("Horizontal"), QStringLiteral("Vertical")});
    Category_ComboBox = new QComboBox(this);
    Category_ComboBox->addItems({CardSizeTables::PvcCategory, QStringLiteral("Paper Badge")});
    width_Stepper = new StepperField(1, 1000, 1, 2, this);
    height_Stepper = new StepperField(1, 1000, 1, 2, this);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Name:"), card_name);
    form->addRow(QStringLiteral("Sides:"), Sides_ComboBox);
    form->addRow(QStringLiteral("Orientation:"), Preset_ComboBox);
    form->addRow(QStringLiteral("Category:"), Category_ComboBox);
    form->addRow(QStringLiteral("Width (mm):"), width_Stepper);
    form->addRow(QStringLiteral("Height (mm):"), height_Stepper);
    return form;
}

// The preset sizes of the chosen category, one row each.
void Card_Wizard::makeSizeList()
{
    ColList = new QTableView(this);
    ColList->setModel(ListData);
    ColList->setSelectionMode(QAbstractItemView::SingleSelection);
    ColList->setSelectionBehavior(QAbstractItemView::SelectRows);
    ColList->horizontalHeader()->setStretchLastSection(true);
    ColList->verticalHeader()->hide();
}

// The card outline: button ids 0 rectangle, 1 rounded rectangle, 2 ellipse.
QHBoxLayout *Card_Wizard::makeShapeRow()
{
    matrix_card_shape = new QButtonGroup(this);
    auto *shapes = new QHBoxLayout;
    const QStringList shapeNames{QStringLiteral("Rectangle"), QStringLiteral("Rounded Rectangle"),
                                 QStringLiteral("Ellipse")};
    for (int i = 0; i < shapeNames.size(); ++i) {
        auto *b = new QRadioButton(shapeNames.at(i), this);
        matrix_card_shape->addButton(b, i);
        shapes->addWidget(b);
    }
    return shapes;
}

int Card_Wizard::Open_Wnd()
{
    matrix_card_shape->button(0)->setChecked(true);
    m_outline = 0;
    Sides_ComboBox->setCurrentIndex(0);
    Preset_ComboBox->setCurrentIndex(0);
    Category_ComboBox->setCurrentIndex(0);
    comboBoxSelectionDidChange(); // a selection made by code runs its step too
    return ModalRunner::exec(*this);
}

void Card_Wizard::comboBoxSelectionDidChange()
{
    ListData->clear();
    for (const QString &name : CardSizeTables::namesFor(Category_ComboBox->currentText()))
        ListData->Create_List(name);
    ColList->selectRow(0);
    tableViewSelectionDidChange();
}

void Card_Wizard::tableViewSelectionDidChange()
{
    const QModelIndexList rows = ColList->selectionModel()->selectedRows();
    const int row = rows.isEmpty() ? -1 : rows.constFirst().row();
    const QSizeF mm = CardSizeTables::Get_My_card_Size(
        Category_ComboBox->currentText(), CardSizeTables::presetOf(Preset_ComboBox->currentText()), row);
    width_Stepper->setValue(float(mm.width()));
    height_Stepper->setValue(float(mm.height()));
}

QSizeF Card_Wizard::cardSize() const
{
    return QSizeF(CardSizeTables::MM_to_Points_Convert(float(width_Stepper->value())),
                  CardSizeTables::MM_to_Points_Convert(float(height_Stepper->value())));
}

void Card_Wizard::OK_Click()
{
    done(1);
}

void Card_Wizard::CancelClick()
{
    done(0);
}

void Card_Wizard::User_Profile_Click()
{
    if (m_registry)
        m_registry->open(WindowRegistry::Window::UserProfile, QString());
}
