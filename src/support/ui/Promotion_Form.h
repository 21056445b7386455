// The promotion window: one of the maker's other products by its code ("S", "R" or "B") with its
// picture, title and descriptions, and buttons for its how-to mail, a contact mail and its order page.
#pragma once

#include <QDialog>
#include <QHash>
#include <QPixmap>

class Promotion_Pattern;
class QLabel;
class QPushButton;

class Promotion_Form : public QDialog
{
    Q_OBJECT
public:
    // appName goes into the contact mails; the links and pictures are made once, here.
    explicit Promotion_Form(const QString &appName, QWidget *parent = nullptr);
    static Promotion_Form *defaultInstance();

    // Shows the product of software_type (any other code keeps what was shown) and runs the
    // window modally; returns its code.
    int Open_Promotion_Window();
    void OK_Clicked() { done(1); }
    void Mail_Clicked();
    void Contact_us_Clicked();
    void Order_Clicked();

    // The links of the current code, "" for a code that names no product.
    QString mailLink() const;
    QString contactLink() const;
    QString orderLink() const;

    QString software_type;
    QLabel *Software_title = nullptr;
    QLabel *short_descp = nullptr;
    QLabel *long_descp = nullptr;
    Promotion_Pattern *bundle_image = nullptr;
    QPushButton *mail_button = nullptr;
    QPushButton *support_id = nullptr; // the contact mail
    QPushButton *website_1 = nullptr;  // the order page
    QPushButton *ok_button = nullptr;

private:
    void makeTexts();
    void makeButtons();
    void layOut();

    struct Links {
        QString mail, contact, order;
    };
    QString linkOf(QString Links::*kind) const;
    QHash<QString, QPixmap> m_pictures;
    QHash<QString, Links> m_links;
};
