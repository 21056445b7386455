// The small "please wait" window: one line of text on the program's window colour. Shown without
// a modal run, as a sheet over the window whose work it covers.
#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

class PleaseWait_Modeless : public QDialog
{
    Q_OBJECT
public:
    explicit PleaseWait_Modeless(QWidget *parent = nullptr);

    static inline const QString WaitText = QStringLiteral("It may take a while, Please wait..");
    static inline const QString WindowRole = QStringLiteral("please-wait");

    // Shows a Cancel button; it, Escape and the close button call cancel (once) and leave the
    // sheet up until the work has ended.
    void offerCancel(std::function<void()> cancel);
    void reject() override;

    QLabel *modeless_msg_lbl = nullptr;
    QPushButton *cancel_button = nullptr; // hidden unless Cancel is offered
private:
    std::function<void()> m_cancel;
};
