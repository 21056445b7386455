// The shared dialog for messages too long for a message box: a title, a scrolling message, OK,
// an optional No button and an optional apply-to-all check box. One instance, made on first use.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class Long_SMS_Dlg : public QDialog
{
    Q_OBJECT
public:
    static Long_SMS_Dlg *defaultInstance();

    // Asks the question in title_val and msg_val_str modally (through ModalRunner), with Yes and
    // No (the default), and returns 1 for Yes, 0 for No or closing. The check box shows when apply_chk_show
    // is set and starts clear. title_val, msg_val_str and apply_chk_show serve this one opening.
    int Open_Long_sms_Dialog();
    // Shows an information text with OK alone; 1 for OK, 0 for closing.
    int showInformation(const QString &title, const QString &message);
    // The apply-to-all tick at the last OK (Msg_Apply_All_Chk), which later questions of a run
    // read; a run clears it before its first question.
    static bool applyToAllTicked();
    static void clearApplyToAll();

    // Set by a caller before an opening.
    QString title_val;
    QString msg_val_str;
    bool apply_chk_show = false;

    // The controls (reachable for tests and callers that need to look at them).
    QLabel *_Msg_Title = nullptr;
    QPlainTextEdit *_Msg_Val = nullptr;
    QPushButton *ok_button = nullptr;
    QPushButton *no_button = nullptr;
    QCheckBox *apply_chk = nullptr;

public slots:
    void OKPressed();
    void CancelPressed();

private:
    explicit Long_SMS_Dlg(QWidget *parent = nullptr);
    int run(const QString &title, const QString &message, bool question);
};
