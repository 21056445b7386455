// The start choice dialog: a card from a template, from the wizard, or a design file opened.
// Cancel ends the program.
#pragma once

#include <QDialog>

class QPushButton;

class Start_Card : public QDialog
{
    Q_OBJECT
public:
    explicit Start_Card(QWidget *parent = nullptr);

    int Open_Wnd();

    void Using_Template_Click() { Select_card_option(0); }
    void Using_Wizard_Click() { Select_card_option(1); }
    void Open_Log_Click() { Select_card_option(2); }
    // Sets Start_Card_Option to "T", "W" or "L" and closes with OK.
    void Select_card_option(int option);
    void OK_Click() { done(1); }
    void CancelClick();
    void HelpClick();

    QPushButton *template_button = nullptr;
    QPushButton *wizard_button = nullptr;
    QPushButton *open_button = nullptr;
    QPushButton *cancel_button = nullptr;
    QPushButton *help_button = nullptr;
};
