// The text editing page of the inspector: the text itself, the greeting-text button and the date
// and time inserters, under their outlet names.
#pragma once

class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QWidget;

class TextEditingTab
{
public:
    explicit TextEditingTab(QWidget *page);

    QWidget *page;
    QPlainTextEdit *Text_value_Edit;
    QPushButton *insert_template_btn;
    QComboBox *Text_Date_style;
    QPushButton *Text_Insert_Date_btn;
    QComboBox *Text_Time_style;
    QPushButton *Text_Insert_Time_btn;
};
