#include "support/WebLinks.h"

#include "foundation/StringUtils.h"

namespace
{
const QString shareTag = QStringLiteral("tessaly");

// Characters that would end a subject or body early, or start a fragment, inside a mail link.
QString encodeMailPart(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('%'), QStringLiteral("%25"));
    out.replace(QLatin1Char('&'), QStringLiteral("%26"));
    out.replace(QLatin1Char('#'), QStringLiteral("%23"));
    out.replace(QLatin1Char('?'), QStringLiteral("%3F"));
    return out;
}

QString finishMailLink(const QString &link)
{
    QString out = Trim_Str(link);
    out = Replace_char_in_string(out, QStringLiteral("\n"), QStringLiteral("%0A%0A"));
    return Replace_char_in_string(out, QStringLiteral(" "), QStringLiteral("%20"));
}

QString mailTo(const QString &address, const QString &subject, const QString &body)
{
    return finishMailLink(QStringLiteral("mailto:") + address + QStringLiteral("?subject=") +
                          encodeMailPart(subject) + QStringLiteral("&body=") + encodeMailPart(body));
}

// The share pages take the site's address after the scheme's "://".
QString encodedScheme(const QString &site)
{
    QString out = site;
    out.replace(QStringLiteral("://"), QStringLiteral("%3A%2F%2F"));
    return out;
}
} // namespace

const QString WebLinks::SupportAddress = QStringLiteral("support@example.com");
const QString WebLinks::ResellerAddress = QStringLiteral("partners@example.com");
const QString WebLinks::Website1 = QStringLiteral("https://www.example.com/");
const QString WebLinks::Website2 = QStringLiteral("https://www.example.org/");
const QString WebLinks::Website3 = QStringLiteral("https://greetings.example.com/");
const QString WebLinks::ReviewPage =
    QStringLiteral("https://www.example.com/review/tessaly-greeting-designer");
const QString WebLinks::SocialCommentsPage = QStringLiteral("https://www.example.org/comments");

const QString WebLinks::ResellerQuery = QStringLiteral(
    "?subject=Affiliate/Partnership%20Enquiry&body=Hello,%0AI%20am%20interested%20in%20reseller%20/"
    "%20partner%20opportunities.%20My%20business%20name%20and%20contact%20information%20is%20as%20follows:"
    "%0A%0A==============================================================%0A%0A[**Please%20provide%20your"
    "%20business%20name%20contact%20information%20here**]%0A%0A"
    "==============================================================%0A%0A%0AI%20am%20interested%20in"
    "%20following%20type%20of%20Partnership:%0A%0A[1.]%20I%20would%20like%20to%20become%20your%20affiliate"
    "%20and%20would%20like%20to%20earn%20commission%20by%20selling%20your%20Products.%0A%0A[and%20/%20or]"
    "%0A%0A[2.]%20I%20would%20like%20to%20become%20your%20reseller%20and%20want%20to%20purchase%20multiple"
    "%20licenses%20from%20you%20on%20discount%20pricing%20in%20order%20to%20earn%20profits%20by%20selling"
    "%20them%20to%20my%20clients/customers.%0A%0A[and%20/%20or]%0A%0A[3.]%20I%20am%20interested%20in"
    "%20advanced%20partnership%20options.%20(**Please%20Specify%20your%20partnership%20requirements**)%0A");

QString WebLinks::supportMail()
{
    return QStringLiteral("mailto:") + SupportAddress;
}

QString WebLinks::resellerMail()
{
    return QStringLiteral("mailto:") + ResellerAddress + ResellerQuery;
}

QString WebLinks::googlePlus()
{
    return QStringLiteral("https://plus.example.com/share?url=") + encodedScheme(Website2);
}

QString WebLinks::facebook()
{
    return QStringLiteral("http://social.example.com/share.php?u=") + Website2;
}

QString WebLinks::twitter()
{
    return QStringLiteral("http://microblog.example.com/intent/tweet?source=") + shareTag +
           QStringLiteral("&url=") + Website2;
}

QString WebLinks::facebookLike()
{
    return QStringLiteral("https://social.example.com/plugins/like.php?href=") + Website2;
}

const QList<WebLinks::Product> &WebLinks::products()
{
    static const QList<Product> table = {
        {QStringLiteral("S"), QStringLiteral("promotion_S.png"), QStringLiteral("Tessaly Label Studio"),
         QStringLiteral("Labels for shelves, parcels and jars."),
         QStringLiteral("Lay out labels of any size with text, pictures and barcodes, fill them from lists "
                        "and print whole sheets at once."),
         QStringLiteral("labels@example.com"), QStringLiteral("How to print a sheet of labels"),
         QStringLiteral("Hello,\nPlease tell me how to print a full sheet of labels.\nThank you."),
         QStringLiteral("Tessaly Labels"), QStringLiteral("Tessaly Label Studio"),
         QStringLiteral("https://www.example.com/order/label-studio")},
        {QStringLiteral("R"), QStringLiteral("promotion_R.png"), QStringLiteral("Tessaly Badge Maker"),
         QStringLiteral("Name badges and visitor passes."),
         QStringLiteral("Design badges for events and offices, with photos and numbers taken from a "
                        "workbook, one badge per person."),
         QStringLiteral("badges@example.com"), QStringLiteral("How to add photos to badges"),
         QStringLiteral("Hello,\nPlease tell me how to put each person's photo on a badge.\nThank you."),
         QStringLiteral("Tessaly Badges"), QStringLiteral("Tessaly Badge Maker"),
         QStringLiteral("https://www.example.com/order/badge-maker")},
        {QStringLiteral("B"), QStringLiteral("promotion_B.png"), QStringLiteral("Tessaly Barcode Designer"),
         QStringLiteral("Barcodes for stock and shipping."),
         QStringLiteral("Make linear and 2D barcodes in every common symbology, in series or from a list, "
                        "as pictures or printed labels."),
         QStringLiteral("barcodes@example.com"), QStringLiteral("How to make a series of barcodes"),
         QStringLiteral("Hello,\nPlease tell me how to make numbered barcodes in one go.\nThank you."),
         QStringLiteral("Tessaly Barcodes"), QStringLiteral("Tessaly Barcode Designer"),
         QStringLiteral("https://www.example.com/order/barcode-designer")},
    };
    return table;
}

const WebLinks::Product *WebLinks::product(const QString &code)
{
    for (const Product &p : products()) {
        if (p.code == code)
            return &p;
    }
    return nullptr;
}

QString WebLinks::mailLink(const Product &product)
{
    return mailTo(product.supportAddress, product.howToSubject, product.howToBody);
}

QString WebLinks::contactLink(const Product &product, const QString &appName)
{
    return mailTo(product.supportAddress, QStringLiteral("User Enquiry from App: ") + appName,
                  QStringLiteral("Dear ") + product.siteName + QStringLiteral(" Team\nI read about ") +
                      product.productName + QStringLiteral(" from ") + appName +
                      QStringLiteral(" and I have following Query:"));
}

QString WebLinks::mailLink(const QString &code)
{
    const Product *p = product(code);
    return p ? mailLink(*p) : QString();
}

QString WebLinks::contactLink(const QString &code, const QString &appName)
{
    const Product *p = product(code);
    return p ? contactLink(*p, appName) : QString();
}

QString WebLinks::orderLink(const QString &code)
{
    const Product *p = product(code);
    return p ? p->orderPage : QString();
}

QUrl WebLinks::toUrl(const QString &link)
{
    return QUrl::fromEncoded(link.toUtf8(), QUrl::TolerantMode);
}
