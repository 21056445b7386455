// The help, rate-us, share and promotion windows driven through their buttons: which addresses
// reach the desktop, exactly as they are handed over, and what the windows show.
#include "foundation/FileUtils.h"
#include "foundation/WindowRegistry.h"
#include "support/FakeDesktopOpener.h"
#include "support/KeyboardWalk.h"
#include "support/TestSupport.h"
#include "support/WebLinks.h"
#include "support/WindowFixture.h"
#include "support/ui/Help_Support.h"
#include "support/ui/Promotion_Form.h"
#include "support/ui/Promotion_Pattern.h"
#include "support/ui/Review_Form.h"
#include "support/ui/Share_It_Dlg.h"
#include "support/ui/SupportCommands.h"
#include "support/ui/SupportLinks.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <optional>

using testsupport::WindowFixture;

namespace
{
const QString AppName = QStringLiteral("Tessaly Greeting Designer");

QStringList encoded(const QList<QUrl> &urls)
{
    QStringList out;
    for (const QUrl &u : urls)
        out << QString::fromUtf8(u.toEncoded());
    return out;
}
} // namespace

class SupportWindows : public WindowFixture
{
protected:
    // Runs dialog's opener; the modal script clicks button and reports the dialog's result.
    int clickInside(QPushButton *button, const std::function<int()> &open)
    {
        modalScripts.push_back([button](QDialog &dialog) {
            QTest::mouseClick(button, Qt::LeftButton);
            return dialog.result();
        });
        return open();
    }
    QStringList opened() const { return encoded(openedUrls); }
};

TEST_F(SupportWindows, RateUsOpensTheReviewPageOnlyFromItsReviewButton)
{
    Review_Form form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Rate Us"));
    EXPECT_EQ(Review_Form::defaultInstance(), &form);
    EXPECT_EQ(clickInside(form.review_button, [&] { return form.Open_Review_Form_Window(); }), 1);
    EXPECT_EQ(opened(), QStringList{WebLinks::ReviewPage});
    EXPECT_TRUE(WebLinks::ReviewPage.startsWith(QStringLiteral("https://www.example.com/")));

    // OK, the keyboard's Enter and Return, Escape and the frame's close button open nothing.
    openedUrls.clear();
    EXPECT_EQ(clickInside(form.ok_button, [&] { return form.Open_Review_Form_Window(); }), 1);
    const std::pair<Qt::Key, int> keys[] = {{Qt::Key_Return, 1}, {Qt::Key_Enter, 1}, {Qt::Key_Escape, 0}};
    for (const auto &[key, code] : keys) {
        modalScripts.push_back([key](QDialog &dialog) {
            EXPECT_TRUE(testsupport::showWithKeyboard(dialog));
            QTest::keyClick(QApplication::focusWidget(), key);
            return dialog.result();
        });
        EXPECT_EQ(form.Open_Review_Form_Window(), code) << key;
    }
    modalScripts.push_back([](QDialog &dialog) {
        dialog.close();
        return dialog.result();
    });
    EXPECT_EQ(form.Open_Review_Form_Window(), 0);
    EXPECT_TRUE(openedUrls.isEmpty()) << opened().join(u' ').toStdString();
    for (QPushButton *opensBrowser : {form.review_button, form.website_1, form.support_id})
        EXPECT_FALSE(opensBrowser->isDefault() || opensBrowser->autoDefault());
    saveArtifact(&form, QStringLiteral("rate_us.png"));
}

TEST_F(SupportWindows, HelpDocumentOpensOrIsReportedMissing)
{
    Help_Support help;
    EXPECT_EQ(help.windowTitle(), QStringLiteral("Help and Support"));
    const QString pdf = dataRoot() + QStringLiteral("Help.pdf");
    ASSERT_TRUE(QFile::exists(pdf)); // shipped and copied into the data folder
    // The guide promises only the ways in that the start window offers.
    const QString guide = testsupport::output("pdftotext", {pdf, "-"}).simplified();
    EXPECT_TRUE(
        guide.contains(QStringLiteral("it offers two ways in: the wizard, or a design file you kept.")));
    EXPECT_TRUE(guide.contains(QStringLiteral("File > New from Template starts a card from a template")));
    // ... and the wizard's steps as it takes them: its last asks From and To, no date, time or venue.
    EXPECT_TRUE(guide.contains(QStringLiteral("The wizard takes four steps:")));
    EXPECT_TRUE(
        guide.contains(QStringLiteral("and From and To, the names of the sender and the addressee.")));
    for (const char *gone : {"venue", "the date", "the time"})
        EXPECT_FALSE(guide.contains(QLatin1String(gone), Qt::CaseInsensitive)) << gone;
    QTest::mouseClick(help._Help_File_Label, Qt::LeftButton);
    ASSERT_EQ(openedUrls.size(), 1);
    EXPECT_EQ(openedUrls.first().toLocalFile(), pdf);
    EXPECT_TRUE(messages.messages().isEmpty());

    // Nothing on the desktop reads PDF: the user is told where the guide is, to open it by hand.
    desktopOpens = false;
    QTest::mouseClick(help._Help_File_Label, Qt::LeftButton);
    EXPECT_EQ(openedUrls.size(), 2);
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages().first().trimmed(), helpNotOpenedText(pdf));
    EXPECT_TRUE(messages.messages().first().endsWith(QStringLiteral(":\n") + pdf));
    messages.clear();

    ASSERT_TRUE(QFile::remove(pdf));
    openedUrls.clear();
    QTest::mouseClick(help._Help_File_Label, Qt::LeftButton);
    EXPECT_TRUE(openedUrls.isEmpty());
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages().first().trimmed(), QStringLiteral("Help file does not exist!"));

    EXPECT_EQ(clickInside(help.close_button, [&] { return help.Open_Help_Window(); }), 1);
    saveArtifact(&help, QStringLiteral("help_and_support.png"));
}

TEST_F(SupportWindows, SocialButtonsOfBothWindowsOpenTheMainWindowsPages)
{
    SupportLinks::Open_Google_Plus();
    SupportLinks::Open_FaceBook();
    SupportLinks::Open_Twitter();
    SupportLinks::Open_FB_Like();
    const QStringList commands = opened();
    ASSERT_EQ(commands.size(), 4);

    Help_Support help;
    Share_It_Dlg share;
    for (const QList<QPushButton *> &buttons :
         {QList<QPushButton *>{help.gplus_button, help.facebook_button, help.twitter_button,
                               help.like_button},
          QList<QPushButton *>{share.gplus_button, share.facebook_button, share.twitter_button,
                               share.like_button}}) {
        openedUrls.clear();
        for (QPushButton *b : buttons)
            QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(opened(), commands);
    }

    // Google+ gets the site with its "://" encoded; the other three get it as it stands.
    EXPECT_TRUE(commands.at(0).startsWith(QStringLiteral("https://")));
    EXPECT_TRUE(commands.at(0).contains(QStringLiteral("/share?url=https%3A%2F%2Fwww.example.org/")))
        << commands.at(0).toStdString();
    EXPECT_TRUE(commands.at(1).endsWith(QStringLiteral("/share.php?u=https://www.example.org/")));
    EXPECT_TRUE(commands.at(2).startsWith(QStringLiteral("http://")));
    EXPECT_TRUE(commands.at(2).endsWith(QStringLiteral("&url=https://www.example.org/")));
    EXPECT_TRUE(commands.at(3).endsWith(QStringLiteral("/plugins/like.php?href=https://www.example.org/")));
    saveArtifact(&share, QStringLiteral("share.png"));
}

TEST_F(SupportWindows, MailLinksReachTheDesktopWithoutBeingEncodedAgain)
{
    Help_Support help;
    QTest::mouseClick(help.reseller_1, Qt::LeftButton);
    QTest::mouseClick(help.support_id, Qt::LeftButton);
    ASSERT_EQ(opened().size(), 2);
    const QString reseller = opened().at(0);
    EXPECT_EQ(reseller, QStringLiteral("mailto:") + WebLinks::ResellerAddress + WebLinks::ResellerQuery);
    const QString rule = QStringLiteral("%0A%0A") + QString(62, QLatin1Char('=')) + QStringLiteral("%0A%0A");
    EXPECT_EQ(reseller.count(rule), 2);
    EXPECT_TRUE(reseller.contains(QStringLiteral("[**Please%20provide%20your%20business")));
    EXPECT_EQ(opened().at(1), QStringLiteral("mailto:") + WebLinks::SupportAddress);

    // The menu's link entries go through the same road.
    WindowRegistry registry;
    SupportCommands::fill(registry, nullptr, AppName);
    openedUrls.clear();
    EXPECT_EQ(registry.open(WindowRegistry::Window::WebLinks, QStringLiteral("reseller")), 1);
    EXPECT_EQ(registry.open(WindowRegistry::Window::WebLinks, QStringLiteral("website1")), 1);
    EXPECT_EQ(registry.open(WindowRegistry::Window::WebLinks, QStringLiteral("nothing")), 0);
    EXPECT_EQ(opened(), (QStringList{reseller, WebLinks::Website1}));
}

TEST_F(SupportWindows, ALinkNothingCanOpenIsShownWithItsAddress)
{
    WindowRegistry registry;
    SupportCommands::fill(registry, nullptr, AppName);
    const QStringList keys{QStringLiteral("website1"), QStringLiteral("website2"),
                           QStringLiteral("website3"), QStringLiteral("support"),
                           QStringLiteral("reseller"), QStringLiteral("googleplus"),
                           QStringLiteral("facebook"), QStringLiteral("twitter"),
                           QStringLiteral("fblike"),   QStringLiteral("comments")};
    // The desktop has no opener; or its opener starts, finds no browser or mail program and fails.
    for (const bool openerStarts : {false, true}) {
        SCOPED_TRACE(openerStarts ? "the opener fails" : "no opener");
        messages.clear();
        desktopOpens = false;
        std::optional<testsupport::FakeDesktopOpener> opener;
        if (openerStarts)
            opener.emplace(testsupport::FakeDesktopOpener::Ends::Failing);
        for (const QString &key : keys) {
            SCOPED_TRACE(key.toStdString());
            const qsizetype before = messages.messages().size();
            registry.open(WindowRegistry::Window::WebLinks, key);
            ASSERT_TRUE(QTest::qWaitFor([&] { return messages.messages().size() == before + 1; }));
            const QUrl url = openerStarts ? QUrl(opener->arguments().last()) : openedUrls.last();
            const QString address = url.scheme() == QLatin1String("mailto") ? url.path() : url.toString();
            EXPECT_FALSE(address.isEmpty());
            EXPECT_TRUE(messages.messages().last().endsWith(QLatin1Char('\n') + address));
        }
        EXPECT_TRUE(
            messages.messages().last().trimmed().startsWith(QStringLiteral("The link could not be opened.")));
        EXPECT_EQ(
            messages.messages().at(3).trimmed(),
            QStringLiteral("No mail program could be opened. You can write to this address yourself:\n") +
                WebLinks::SupportAddress);
    }
}

TEST_F(SupportWindows, PromotionShowsTheProductAndOpensItsThreeLinks)
{
    Promotion_Form form(AppName);
    EXPECT_EQ(Promotion_Form::defaultInstance(), &form);
    form.software_type = QStringLiteral("R");
    modalScripts.push_back([&](QDialog &dialog) {
        QTest::mouseClick(form.mail_button, Qt::LeftButton);
        QTest::mouseClick(form.support_id, Qt::LeftButton);
        QTest::mouseClick(form.website_1, Qt::LeftButton);
        saveArtifact(&form, QStringLiteral("promotion_R.png"));
        QTest::mouseClick(form.ok_button, Qt::LeftButton);
        return dialog.result();
    });
    EXPECT_EQ(form.Open_Promotion_Window(), 1);
    const WebLinks::Product *product = WebLinks::product(QStringLiteral("R"));
    ASSERT_NE(product, nullptr);
    EXPECT_EQ(form.Software_title->text(), product->title);
    EXPECT_EQ(form.long_descp->text(), product->longDescription);
    EXPECT_FALSE(form.bundle_image->pixmap().isNull());  // promotion_R.png is shipped
    EXPECT_FALSE(form.bundle_image->pattern().isNull()); // and so is pattern_1.jpg

    const QStringList links = opened();
    ASSERT_EQ(links.size(), 3);
    // Each line break of the body is an empty line in the mail, each blank "%20"; nothing stays raw.
    EXPECT_TRUE(links.at(0).startsWith(QStringLiteral("mailto:") + product->supportAddress +
                                       QStringLiteral("?subject=")));
    EXPECT_EQ(links.at(0).count(QStringLiteral("%0A%0A")), product->howToBody.count(QLatin1Char('\n')));
    EXPECT_FALSE(links.at(0).contains(QLatin1Char(' ')));
    EXPECT_EQ(links.at(1).count(QString(AppName).replace(QLatin1Char(' '), QStringLiteral("%20"))), 2);
    EXPECT_EQ(links.at(2), product->orderPage);

    // A code of no product keeps what the window showed, and its buttons open nothing.
    form.software_type = QStringLiteral("X");
    openedUrls.clear();
    modalScripts.push_back([&](QDialog &dialog) {
        QTest::mouseClick(form.mail_button, Qt::LeftButton);
        QTest::mouseClick(form.support_id, Qt::LeftButton);
        QTest::mouseClick(form.website_1, Qt::LeftButton);
        return 1;
    });
    form.Open_Promotion_Window();
    EXPECT_EQ(form.Software_title->text(), product->title);
    EXPECT_TRUE(openedUrls.isEmpty());
}

TEST_F(SupportWindows, RegistryEntriesOpenTheirWindows)
{
    QWidget owner;
    WindowRegistry registry;
    SupportCommands::fill(registry, &owner, AppName);
    registry.open(WindowRegistry::Window::Help);
    registry.open(WindowRegistry::Window::RateUs);
    registry.open(WindowRegistry::Window::Share);
    registry.open(WindowRegistry::Window::Promotion, QStringLiteral("3"));
    EXPECT_EQ(modalTitles, (QStringList{QStringLiteral("Help and Support"), QStringLiteral("Rate Us"),
                                        QStringLiteral("Share"), QStringLiteral("More from Tessaly")}));
    ASSERT_NE(Promotion_Form::defaultInstance(), nullptr);
    EXPECT_EQ(Promotion_Form::defaultInstance()->software_type, QStringLiteral("B"));
    EXPECT_EQ(Promotion_Form::defaultInstance()->Software_title->text(),
              WebLinks::product(QStringLiteral("B"))->title);
}
