// The series manager's question before new values arrive: replace the values in the list (1),
// keep them and append (0), or add nothing (2).
#pragma once

#include <QDialog>

class QPushButton;

class Load_Num_Info : public QDialog
{
    Q_OBJECT
public:
    enum Answer { No = 0, Yes = 1, Cancel = 2 };
    explicit Load_Num_Info(QWidget *parent = nullptr);

    // Runs the question modally and returns the answer.
    int ask();

    void YESPressed() { done(Yes); }
    void NOPressed() { done(No); }
    void CancelPressed() { done(Cancel); }
    void reject() override { done(Cancel); } // Escape and the title bar's close

    QPushButton *yes_button = nullptr;
    QPushButton *no_button = nullptr;
    QPushButton *cancel_button = nullptr;
};
