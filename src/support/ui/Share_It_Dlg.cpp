#include "support/ui/Share_It_Dlg.h"

#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/WindowLook.h"
#include "support/ui/SocialButtons.h"
#include "support/ui/SupportLinks.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Share_It_Dlg::Share_It_Dlg(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Share"));
    WindowLook::applyBackground(this);
    auto *layout = new QVBoxLayout(this);
    auto *text =
        new QLabel(QStringLiteral("Like Tessaly Greeting Designer? Share it with your friends."), this);
    layout->addWidget(text);
    SocialButtons social(this);
    gplus_button = social.gplus;
    facebook_button = social.facebook;
    twitter_button = social.twitter;
    like_button = social.like;
    layout->addLayout(social.row);

    share_it_button = new QPushButton(QStringLiteral("Read what others say"), this);
    share_it_button->setObjectName(QStringLiteral("share_it_button"));
    ok_button = new QPushButton(QStringLiteral("OK"), this);
    ok_button->setDefault(true);
    auto *row = new QHBoxLayout;
    row->addWidget(share_it_button);
    row->addStretch();
    row->addWidget(ok_button);
    layout->addLayout(row);

    connect(gplus_button, &QPushButton::clicked, this, &Share_It_Dlg::Gplus_Clicked);
    connect(facebook_button, &QPushButton::clicked, this, &Share_It_Dlg::Facebook_Clicked);
    connect(twitter_button, &QPushButton::clicked, this, &Share_It_Dlg::Twitter_Clicked);
    connect(like_button, &QPushButton::clicked, this, &Share_It_Dlg::FB_Like_Clicked);
    connect(share_it_button, &QPushButton::clicked, this, &Share_It_Dlg::Go_Share_It_Pressed);
    connect(ok_button, &QPushButton::clicked, this, &Share_It_Dlg::OK_Pressed);
}

int Share_It_Dlg::Open_Share_Window()
{
    setResult(0); // a reused dialog starts undecided
    return ModalRunner::exec(*this);
}

void Share_It_Dlg::Gplus_Clicked()
{
    SupportLinks::Open_Google_Plus();
}

void Share_It_Dlg::Facebook_Clicked()
{
    SupportLinks::Open_FaceBook();
}

void Share_It_Dlg::Twitter_Clicked()
{
    SupportLinks::Open_Twitter();
}

void Share_It_Dlg::FB_Like_Clicked()
{
    SupportLinks::Open_FB_Like();
}

// A button that does nothing would puzzle a user: it opens the comments page.
void Share_It_Dlg::Go_Share_It_Pressed()
{
    SupportLinks::Share_It_Button_Clicked();
}
