// The "Rate Us" window shown on the way out: "Write a Review" opens the public review page and
// closes it; OK (the default, Enter) and Escape only close it.
#pragma once

#include <QDialog>

class QPushButton;

class Review_Form : public QDialog
{
    Q_OBJECT
public:
    explicit Review_Form(QWidget *parent = nullptr);
    // The instance made last (null once it is gone).
    static Review_Form *defaultInstance();

    // Runs the window modally and returns its code (1 from either button, 0 when closed), OK with
    // the keyboard.
    int Open_Review_Form_Window();

    void OK_Clicked();
    void Review_Clicked();

    QPushButton *support_id = nullptr;
    QPushButton *website_1 = nullptr;
    QPushButton *review_button = nullptr;
    QPushButton *ok_button = nullptr;
};
