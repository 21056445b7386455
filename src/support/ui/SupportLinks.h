// The link commands of the main window and of the help and share windows: the maker's sites, the
// support and reseller mails and the social pages, each opened on the desktop with its failure logged.
#pragma once

#include <QString>

class SupportLinks
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
};
