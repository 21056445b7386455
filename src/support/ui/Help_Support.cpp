#include "support/ui/Help_Support.h"

#include "foundation/FileUtils.h"
#include "foundation/ui/ModalRunner.h"
#include "support/WebLinks.h"
#include "support/ui/SocialButtons.h"
#include "support/ui/SupportLinks.h"
#include "support/ui/SupportLook.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Help_Support::Help_Support(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Help and Support"));
    makeLinkButtons();
    auto *layout = new QVBoxLayout(this);
    auto *title = new QLabel(QStringLiteral("<b>Tessaly Greeting Designer</b>"), this);
    layout->addWidget(title);
    layout->addLayout(makeLinkForm());
    addSocialRow(layout);
    close_button = new QPushButton(QStringLiteral("Close"), this);
    close_button->setDefault(true);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(close_button);
    layout->addLayout(bottom);
    connectButtons();
}

// The help document, the site, and the support and reseller addresses, each a link button.
void Help_Support::makeLinkButtons()
{
    auto link = [this](const QString &title, const char *name) {
        auto *b = new QPushButton(title, this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    _Help_File_Label = link(QStringLiteral("Open the user's guide (Help.pdf)"), "_Help_File_Label");
    website_1 = link(QStringLiteral("Visit our website"), "website_1");
    support_id = link(WebLinks::SupportAddress, "support_id");
    support_id_2 = link(QStringLiteral("Online support pages"), "support_id_2");
    reseller_1 = link(WebLinks::ResellerAddress, "reseller_1");
    reseller_2 = link(QStringLiteral("Partner programme"), "reseller_2");
    SupportLook::apply(this, {website_1, reseller_1, reseller_2, support_id, support_id_2, _Help_File_Label});
}

QFormLayout *Help_Support::makeLinkForm()
{
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Help:"), _Help_File_Label);
    form->addRow(QStringLiteral("Website:"), website_1);
    form->addRow(QStringLiteral("Support:"), support_id);
    form->addRow(QString(), support_id_2);
    form->addRow(QStringLiteral("Resellers:"), reseller_1);
    form->addRow(QString(), reseller_2);
    return form;
}

// The four social pages and the comments page under their caption.
void Help_Support::addSocialRow(QVBoxLayout *layout)
{
    SocialButtons social(this);
    gplus_button = social.gplus;
    facebook_button = social.facebook;
    twitter_button = social.twitter;
    like_button = social.like;
    comments_button = new QPushButton(QStringLiteral("Social Comments"), this);
    comments_button->setObjectName(QStringLiteral("comments_button"));
    social.row->addWidget(comments_button);
    layout->addWidget(new QLabel(QStringLiteral("Tell your friends:"), this));
    layout->addLayout(social.row);
}

void Help_Support::connectButtons()
{
    connect(_Help_File_Label, &QPushButton::clicked, this, &Help_Support::HelpFilePressed);
    connect(website_1, &QPushButton::clicked, this, &Help_Support::Website_Pressed);
    connect(support_id, &QPushButton::clicked, this, [] { SupportLinks::Open_Support_Mail(); });
    connect(support_id_2, &QPushButton::clicked, this, [] { SupportLinks::Open_Website_1(); });
    connect(reseller_1, &QPushButton::clicked, this, [] { SupportLinks::Open_Reseller_Mail(); });
    connect(reseller_2, &QPushButton::clicked, this, [] { SupportLinks::Open_Website_2(); });
    connect(gplus_button, &QPushButton::clicked, this, &Help_Support::Gplus_Clicked);
    connect(facebook_button, &QPushButton::clicked, this, &Help_Support::Facebook_Clicked);
    connect(twitter_button, &QPushButton::clicked, this, &Help_Support::Twitter_Clicked);
    connect(like_button, &QPushButton::clicked, this, &Help_Support::FB_Like_Clicked);
    connect(comments_button, &QPushButton::clicked, this, &Help_Support::Social_Comments_Clicked);
    connect(close_button, &QPushButton::clicked, this, &Help_Support::Close_Help_Pressed);
}

int Help_Support::Open_Help_Window()
{
    setResult(0); // a reused dialog starts undecided
    return ModalRunner::exec(*this);
}

void Help_Support::HelpFilePressed()
{
    Open_Help_File();
}

void Help_Support::Website_Pressed()
{
    SupportLinks::Open_Website_3();
}

void Help_Support::Gplus_Clicked()
{
    SupportLinks::Open_Google_Plus();
}

void Help_Support::Facebook_Clicked()
{
    SupportLinks::Open_FaceBook();
}

void Help_Support::Twitter_Clicked()
{
    SupportLinks::Open_Twitter();
}

void Help_Support::FB_Like_Clicked()
{
    SupportLinks::Open_FB_Like();
}

// A button that does nothing would puzzle a user: it opens the comments page as Share does.
void Help_Support::Social_Comments_Clicked()
{
    SupportLinks::Share_It_Button_Clicked();
}
