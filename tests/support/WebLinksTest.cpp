// Web and mail links: the share pages, the reseller query, the promotion mails and their encoding,
// and that the desktop is handed each address without encoding it again.
#include "support/WebLinks.h"

#include <QFileInfo>
#include <QSet>
#include <QUrl>
#include <QUrlQuery>

#include <gtest/gtest.h>

TEST(WebLinks, SharePagesCarryTheSecondSite)
{
    EXPECT_TRUE(WebLinks::googlePlus().startsWith("https://"));
    EXPECT_TRUE(WebLinks::googlePlus().endsWith("/share?url=https%3A%2F%2Fwww.example.org/"));
    EXPECT_TRUE(WebLinks::facebook().startsWith("http://"));
    EXPECT_TRUE(WebLinks::facebook().endsWith("/share.php?u=" + WebLinks::Website2));
    EXPECT_TRUE(WebLinks::twitter().contains("/intent/tweet?source="));
    EXPECT_TRUE(WebLinks::twitter().endsWith("&url=" + WebLinks::Website2));
    EXPECT_TRUE(WebLinks::facebookLike().endsWith("/plugins/like.php?href=" + WebLinks::Website2));
    for (const QString &link : {WebLinks::googlePlus(), WebLinks::facebook(), WebLinks::twitter(),
                                WebLinks::facebookLike(), WebLinks::Website1, WebLinks::ReviewPage}) {
        const QString host = QUrl(link).host();
        EXPECT_TRUE(host.endsWith(".example.com") || host.endsWith(".example.org")) << link.toStdString();
    }
}

TEST(WebLinks, ResellerMailKeepsItsQueryVerbatim)
{
    const QString link = WebLinks::resellerMail();
    EXPECT_EQ(link, "mailto:" + WebLinks::ResellerAddress + WebLinks::ResellerQuery);
    EXPECT_EQ(WebLinks::ResellerQuery.count(QString(62, '=')), 2);
    EXPECT_FALSE(WebLinks::ResellerQuery.contains(QString(63, '=')));
    // Handed over as it stands: not one "%" becomes "%25".
    EXPECT_EQ(QString::fromUtf8(WebLinks::toUrl(link).toEncoded()), link);
    const QUrlQuery query(WebLinks::toUrl(link));
    EXPECT_EQ(query.queryItemValue("subject", QUrl::FullyDecoded),
              QStringLiteral("Affiliate/Partnership Enquiry"));
    EXPECT_TRUE(query.queryItemValue("body", QUrl::FullyDecoded).startsWith("Hello,\nI am interested"));
    EXPECT_EQ(WebLinks::supportMail(), "mailto:" + WebLinks::SupportAddress);
}

TEST(WebLinks, PromotionMailsEncodeLineBreaksBlanksAndQueryCharacters)
{
    WebLinks::Product p = *WebLinks::product("S");
    p.supportAddress = "help@example.com";
    p.howToSubject = "Q&A #1: 100% sure?";
    p.howToBody = "  Line one\nLine two  ";
    const QString link = WebLinks::mailLink(p);
    EXPECT_EQ(link, "mailto:help@example.com?subject=Q%26A%20%231:%20100%25%20sure%3F"
                    "&body=%20%20Line%20one%0A%0ALine%20two");
    // The desktop reads back exactly the subject and body that were meant.
    const QUrlQuery query(WebLinks::toUrl(link));
    EXPECT_EQ(query.queryItemValue("subject", QUrl::FullyDecoded), QStringLiteral("Q&A #1: 100% sure?"));
    EXPECT_EQ(query.queryItemValue("body", QUrl::FullyDecoded), QStringLiteral("  Line one\n\nLine two"));
    EXPECT_EQ(QString::fromUtf8(WebLinks::toUrl(link).toEncoded()), link);
}

TEST(WebLinks, ContactLinkNamesTheAppTwice)
{
    const QString link = WebLinks::contactLink("R", "Tessaly Greeting Designer");
    EXPECT_EQ(link.count("Tessaly%20Greeting%20Designer"), 2);
    EXPECT_TRUE(
        link.contains("?subject=User%20Enquiry%20from%20App:%20Tessaly%20Greeting%20Designer&body=Dear%20"));
    EXPECT_TRUE(link.contains("%20Team%0A%0AI%20read%20about%20"));
    EXPECT_TRUE(link.endsWith("%20and%20I%20have%20following%20Query:"));
    EXPECT_FALSE(link.contains(' '));
}

TEST(WebLinks, ProductsByCode)
{
    QStringList codes;
    for (const auto &p : WebLinks::products())
        codes << p.code;
    EXPECT_EQ(codes, (QStringList{"S", "R", "B"}));
    // Each product's order link is its own secure page on the example sites, and its picture ships.
    QSet<QString> pages;
    for (const QString &code : codes) {
        const QUrl order(WebLinks::orderLink(code));
        EXPECT_TRUE(order.isValid()) << code.toStdString();
        EXPECT_EQ(order.scheme(), QStringLiteral("https")) << code.toStdString();
        EXPECT_TRUE(order.host().endsWith(QLatin1String("example.com")) ||
                    order.host().endsWith(QLatin1String("example.org")))
            << code.toStdString();
        pages.insert(order.toString());
        EXPECT_TRUE(QFileInfo::exists(QStringLiteral(TESSALY_SOURCE_RESOURCES "/") +
                                      WebLinks::product(code)->picture))
            << code.toStdString();
    }
    EXPECT_EQ(pages.size(), codes.size());
    for (const QString &none : {QString("X"), QString(), QString("s")}) {
        EXPECT_TRUE(WebLinks::mailLink(none).isEmpty());
        EXPECT_TRUE(WebLinks::contactLink(none, "App").isEmpty());
        EXPECT_TRUE(WebLinks::orderLink(none).isEmpty());
    }
}
