// The widgets of the main window's command row, with the inspector's pages (InspectorLayout), built in
// one place and reached under their outlet names; the controller and the panels connect them.
#pragma once

#include "panels/ui/InspectorLayout.h"

class QCheckBox;
class QPushButton;
class QWidget;

struct MainWindowLayout : InspectorLayout {
    // The row of side buttons above the card, and the column of card and output buttons.
    QWidget *buildCommandRow(QWidget *parent);
    QWidget *buildCardButtons(QWidget *parent);

    // command row
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
};
