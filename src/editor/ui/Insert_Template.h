// The greeting text picker: one title or one message at a time from "Title.txt" or "Message.txt",
// stepped with Back and Next; OK hands the (possibly edited) text back.
#pragma once

#include "editor/GreetingTexts.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class Insert_Template : public QDialog
{
    Q_OBJECT
public:
    explicit Insert_Template(QWidget *parent = nullptr);

    static inline const QString MsgSelectMessage = QStringLiteral("Please select message.");

    // "T" shows titles, anything else messages; set before opening.
    QString title_or_msg = QStringLiteral("T");

    // Reads both files again and starts at the first entry; 1 with the editor's Template_Msg_Val
    // set to the chosen text ("" after Cancel).
    int Open_Template_Dialog();

    void OKPressed();
    void CancelPressed();
    void Msg_Back_Click();
    void Msg_Next_Click();
    void Load_Msg_And_Title();
    QString Get_Title() const;
    QString Get_Message() const;

    QPlainTextEdit *msg_value = nullptr;
    QPushButton *back_button = nullptr;
    QPushButton *next_button = nullptr;
    QPushButton *ok_button = nullptr;
    QPushButton *cancel_button = nullptr;

    GreetingTexts Title_Array;
    GreetingTexts Message_Array;

private:
    bool showsTitles() const { return title_or_msg == QLatin1String("T"); }
    GreetingTexts &shown() { return showsTitles() ? Title_Array : Message_Array; }
    void showCurrent();
};
