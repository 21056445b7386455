// The card size dialog: a preset size from the plastic or paper tables, or one typed in
// millimetres, and the card outline. It writes nothing: whoever opens it makes the card from the
// size and outline chosen, in one write of the design.
#pragma once

#include <QDialog>
#include <QSizeF>

class QButtonGroup;
class QComboBox;
class QFormLayout;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class RowListModel;
class StepperField;
class WindowRegistry;

class Card_Wizard : public QDialog
{
    Q_OBJECT
public:
    explicit Card_Wizard(WindowRegistry *registry, QWidget *parent = nullptr);

    // Runs the dialog modally; 1 for OK, 0 for Cancel.
    int Open_Wnd();

    // The outline and the size in points chosen.
    void card_shape_CellClick(int row) { m_outline = row; }
    int outline() const { return m_outline; }
    QSizeF cardSize() const;
    void comboBoxSelectionDidChange(); // the category combo
    void tableViewSelectionDidChange();
    void OK_Click();
    void CancelClick();
    void User_Profile_Click();

    RowListModel *ListData = nullptr;
    QLineEdit *card_name = nullptr;
    QComboBox *Sides_ComboBox = nullptr;
    QComboBox *Preset_ComboBox = nullptr;
    QComboBox *Category_ComboBox = nullptr;
    StepperField *width_Stepper = nullptr;  // millimetres
    StepperField *height_Stepper = nullptr; // millimetres
    QTableView *ColList = nullptr;
    QButtonGroup *matrix_card_shape = nullptr;
    QPushButton *ok_button = nullptr;
    QPushButton *cancel_button = nullptr;
    QPushButton *user_profile_button = nullptr;

private:
    // One maker per group, in the order the user tabs through.
    void buildWindow();
    QFormLayout *makeSizeForm();
    void makeSizeList();
    QHBoxLayout *makeShapeRow();

    WindowRegistry *m_registry;
    int m_outline = 0;
};
