// The main window's own buttons: the row of side buttons and the ruler box above the card, and the
// column of card and output buttons beside it. The window's commands connect them.
#pragma once

class QCheckBox;
class QPushButton;
class QWidget;

class CommandRow
{
public:
    explicit CommandRow(QWidget *parent);

    // The row above the card and the column of buttons, for the window to lay out.
    QWidget *sideRow() const { return m_row; }
    QWidget *cardButtons() const { return m_column; }

    QPushButton *Front_Card_Btn = nullptr;
    QPushButton *Back_Card_Btn = nullptr;
    QPushButton *Temp_Card_Btn = nullptr;
    QCheckBox *Show_Ruler_chk = nullptr;
    QPushButton *Card_Prop_Btn = nullptr;
    QPushButton *Card_Bckgrnd_Btn = nullptr;
    QPushButton *Grid_Btn = nullptr;
    QPushButton *User_Profile_Btn = nullptr;
    QPushButton *Print_Btn = nullptr;
    QPushButton *Mail_Btn = nullptr;

private:
    QWidget *buildSideRow(QWidget *parent);
    QWidget *buildCardButtons(QWidget *parent);

    QWidget *m_row;
    QWidget *m_column;
};
