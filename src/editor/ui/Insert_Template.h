// The greeting text picker: one title or one message at a time from "Title.txt" or "Message.txt",
// stepped with Back and Next; OK hands the (possibly edited) text back.
#pragma once

#include "editor/GreetingTexts.h"
#include "foundation/WindowRegistry.h"

#include <QDialog>

#include <optional>

class QPlainTextEdit;
class QPushButton;

class Insert_Template : public QDialog
{
    Q_OBJECT
public:
    explicit Insert_Template(QWidget *parent = nullptr);

    static inline const QString MsgSelectMessage = QStringLiteral("Please select message.");

    using Kind = WindowRegistry::GreetingKind;

    // Which texts the window steps through; set before opening.
    Kind title_or_msg = Kind::Titles;

    // Reads both files again, starts at the first entry of kind and runs the window: the text
    // chosen with OK, trimmed; nothing after Cancel.
    std::optional<QString> chooseText(Kind kind);

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
    int Open_Template_Dialog();
    QString Template_Msg_Val; // the text OK took
    bool showsTitles() const { return title_or_msg == Kind::Titles; }
    GreetingTexts &shown() { return showsTitles() ? Title_Array : Message_Array; }
    void showCurrent();
};
