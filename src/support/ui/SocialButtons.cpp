#include "support/ui/SocialButtons.h"

#include <QHBoxLayout>
#include <QPushButton>

SocialButtons::SocialButtons(QWidget *window)
{
    auto make = [window](const QString &title, const char *name) {
        auto *b = new QPushButton(title, window);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    gplus = make(QStringLiteral("Google+"), "gplus_button");
    facebook = make(QStringLiteral("Facebook"), "facebook_button");
    twitter = make(QStringLiteral("Twitter"), "twitter_button");
    like = make(QStringLiteral("Like"), "like_button");
    row = new QHBoxLayout;
    row->addWidget(gplus);
    row->addWidget(facebook);
    row->addWidget(twitter);
    row->addWidget(like);
}
