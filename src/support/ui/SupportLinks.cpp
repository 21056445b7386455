#include "support/ui/SupportLinks.h"

#include "support/WebLinks.h"
#include "support/ui/SupportLook.h"

void SupportLinks::Open_Support_Mail()
{
    SupportLook::Open_Link(WebLinks::supportMail());
}

void SupportLinks::Open_Reseller_Mail()
{
    SupportLook::Open_Link(WebLinks::resellerMail());
}

void SupportLinks::Open_Website_1()
{
    SupportLook::Open_Link(WebLinks::Website1);
}

void SupportLinks::Open_Website_2()
{
    SupportLook::Open_Link(WebLinks::Website2);
}

void SupportLinks::Open_Website_3()
{
    SupportLook::Open_Link(WebLinks::Website3);
}

void SupportLinks::Open_Google_Plus()
{
    SupportLook::Open_Link(WebLinks::googlePlus());
}

void SupportLinks::Open_FaceBook()
{
    SupportLook::Open_Link(WebLinks::facebook());
}

void SupportLinks::Open_Twitter()
{
    SupportLook::Open_Link(WebLinks::twitter());
}

void SupportLinks::Open_FB_Like()
{
    SupportLook::Open_Link(WebLinks::facebookLike());
}

void SupportLinks::Open_Share_It_Dl()
{
    SupportLook::Open_Link(WebLinks::SocialCommentsPage);
}

QString SupportLinks::linkFor(const QString &key)
{
    if (key == u"website1")
        return WebLinks::Website1;
    if (key == u"website2")
        return WebLinks::Website2;
    if (key == u"website3")
        return WebLinks::Website3;
    if (key == u"support")
        return WebLinks::supportMail();
    if (key == u"reseller")
        return WebLinks::resellerMail();
    if (key == u"googleplus")
        return WebLinks::googlePlus();
    if (key == u"facebook")
        return WebLinks::facebook();
    if (key == u"twitter")
        return WebLinks::twitter();
    if (key == u"fblike")
        return WebLinks::facebookLike();
    if (key == u"comments")
        return WebLinks::SocialCommentsPage;
    return QString();
}
