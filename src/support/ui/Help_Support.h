// The help and support window: the help document, the maker's site, support and reseller
// addresses and the four social pages, each as a link button.
#pragma once

#include <QDialog>

class QFormLayout;
class QPushButton;
class QVBoxLayout;

class Help_Support : public QDialog
{
    Q_OBJECT
public:
    explicit Help_Support(QWidget *parent = nullptr);

    // Runs the window modally; 1 when closed with Close.
    int Open_Help_Window();

    // Opens "Help.pdf" of the data folder, or says "Help file does not exist!".
    void HelpFilePressed();
    void Close_Help_Pressed() { done(1); }
    void Website_Pressed();
    void Gplus_Clicked();
    void Facebook_Clicked();
    void Twitter_Clicked();
    void FB_Like_Clicked();
    void Social_Comments_Clicked();

    QPushButton *support_id = nullptr;
    QPushButton *support_id_2 = nullptr;
    QPushButton *website_1 = nullptr;
    QPushButton *reseller_1 = nullptr;
    QPushButton *reseller_2 = nullptr;
    QPushButton *_Help_File_Label = nullptr;
    QPushButton *gplus_button = nullptr;
    QPushButton *facebook_button = nullptr;
    QPushButton *twitter_button = nullptr;
    QPushButton *like_button = nullptr;
    QPushButton *comments_button = nullptr;
    QPushButton *close_button = nullptr;

private:
    void makeLinkButtons();
    QFormLayout *makeLinkForm();
    void addSocialRow(QVBoxLayout *layout);
    void connectButtons();
};
