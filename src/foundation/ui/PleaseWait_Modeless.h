// The small "please wait" window: one line of text on the program's window colour. Shown without
// a modal run, as a sheet over the window whose work it covers.
#pragma once

#include <QDialog>

class QLabel;

class PleaseWait_Modeless : public QDialog
{
    Q_OBJECT
public:
    explicit PleaseWait_Modeless(QWidget *parent = nullptr);

    static inline const QString WaitText = QStringLiteral("It may take a while, Please wait..");

    QLabel *modeless_msg_lbl = nullptr;
};
