// The addresses the help, share, rate-us and promotion windows open: the maker's sites and mail
// addresses, the social share pages and the promotion mails, built and encoded in one place.
#pragma once

#include <QList>
#include <QString>
#include <QUrl>

class WebLinks
{
public:
    // The maker's addresses.
    static const QString SupportAddress;
    static const QString ResellerAddress;
    static const QString Website1;
    static const QString Website2; // the site the share pages share
    static const QString Website3;
    static const QString ReviewPage;
    static const QString SocialCommentsPage;
    // The reseller mail's subject and body, already encoded as they stand.
    static const QString ResellerQuery;

    static QString supportMail();  // "mailto:" and the support address alone
    static QString resellerMail(); // the reseller address with ResellerQuery
    static QString googlePlus();   // https, "/share?url=" and the site with its "://" encoded
    static QString facebook();     // http, "/share.php?u=" and the site as it stands
    static QString twitter();      // http, "/intent/tweet?source=<tag>&url=" and the site
    static QString facebookLike(); // https, "/plugins/like.php?href=" and the site

    // One of the maker's other products, shown by the promotion window.
    struct Product {
        QString code;    // "S", "R" or "B"
        QString picture; // resource file name
        QString title;
        QString shortDescription;
        QString longDescription;
        QString supportAddress;
        QString howToSubject;
        QString howToBody; // with line breaks
        QString siteName;
        QString productName;
        QString orderPage;
    };
    static const QList<Product> &products();
    // The product of a code, or nullptr for any other code.
    static const Product *product(const QString &code);

    // The promotion window's links. The mail and contact links encode "%", "&", "#" and "?" inside
    // the subject and body, trim the whole, then write "%0A%0A" for each line break and "%20"
    // for each blank. The order link is the order page as it stands.
    static QString mailLink(const Product &product);
    static QString contactLink(const Product &product, const QString &appName);
    static QString orderLink(const Product &product) { return product.orderPage; }
    // Each link for a code; "" for a code that names no product.
    static QString mailLink(const QString &code);
    static QString contactLink(const QString &code, const QString &appName);
    static QString orderLink(const QString &code);

    // An address as the desktop is asked to open it: taken as already encoded, never encoded again.
    static QUrl toUrl(const QString &link);
};
