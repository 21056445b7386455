// The main window's link commands (the maker's sites, the support and reseller mails, the social
// pages, the promotions) and where the help, rate-us, share and promotion windows fill their entries.
#pragma once

#include <QString>

class QWidget;
class WindowRegistry;

class SupportCommands
{
public:
    static void Open_Support_Mail();
    static void Open_Reseller_Mail();
    static void Open_Website_1();
    static void Open_Website_2();
    static void Open_Website_3();
    static void Open_Google_Plus();
    static void Open_FaceBook();
    static void Open_Twitter();
    static void Open_FB_Like();
    static void Open_Share_It_Dl();
    static void Share_It_Button_Clicked() { Open_Share_It_Dl(); }

    // The link of a menu item by its key ("website1", "website2", "website3", "support",
    // "reseller", "googleplus", "facebook", "twitter", "fblike", "comments"); "" for another key.
    static QString linkFor(const QString &key);
    // The product code of a promotion item ("1", "2", "3" or the code itself); "" for another.
    static QString productCode(const QString &argument);

    // Fills Help, RateUs, Share, WebLinks and Promotion; the windows are made on first use as
    // children of parent. appName goes into the promotion contact mails.
    static void fill(WindowRegistry &registry, QWidget *parent, const QString &appName);
};
