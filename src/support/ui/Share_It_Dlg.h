// The share window: the four social pages that share the maker's site, and the comments page.
#pragma once

#include <QDialog>

class QPushButton;

class Share_It_Dlg : public QDialog
{
    Q_OBJECT
public:
    explicit Share_It_Dlg(QWidget *parent = nullptr);

    // Runs the window modally; 1 when closed with OK.
    int Open_Share_Window();

    void OK_Pressed() { done(1); }
    void Gplus_Clicked();
    void Facebook_Clicked();
    void Twitter_Clicked();
    void FB_Like_Clicked();
    void Go_Share_It_Pressed();

    QPushButton *gplus_button = nullptr;
    QPushButton *facebook_button = nullptr;
    QPushButton *twitter_button = nullptr;
    QPushButton *like_button = nullptr;
    QPushButton *share_it_button = nullptr;
    QPushButton *ok_button = nullptr;
};
