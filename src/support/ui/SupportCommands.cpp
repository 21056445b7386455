#include "support/ui/SupportCommands.h"

#include "foundation/WindowRegistry.h"
#include "support/WebLinks.h"
#include "support/ui/Help_Support.h"
#include "support/ui/Promotion_Form.h"
#include "support/ui/Review_Form.h"
#include "support/ui/Share_It_Dlg.h"
#include "support/ui/SupportLook.h"

#include <QHash>

void SupportCommands::Open_Support_Mail()
{
    SupportLook::Open_Link(WebLinks::supportMail());
}

void SupportCommands::Open_Reseller_Mail()
{
    SupportLook::Open_Link(WebLinks::resellerMail());
}

void SupportCommands::Open_Website_1()
{
    SupportLook::Open_Link(WebLinks::Website1);
}

void SupportCommands::Open_Website_2()
{
    SupportLook::Open_Link(WebLinks::Website2);
}

void SupportCommands::Open_Website_3()
{
    SupportLook::Open_Link(WebLinks::Website3);
}

void SupportCommands::Open_Google_Plus()
{
    SupportLook::Open_Link(WebLinks::googlePlus());
}

void SupportCommands::Open_FaceBook()
{
    SupportLook::Open_Link(WebLinks::facebook());
}

void SupportCommands::Open_Twitter()
{
    SupportLook::Open_Link(WebLinks::twitter());
}

void SupportCommands::Open_FB_Like()
{
    SupportLook::Open_Link(WebLinks::facebookLike());
}

void SupportCommands::Open_Share_It_Dl()
{
    SupportLook::Open_Link(WebLinks::SocialCommentsPage);
}

QString SupportCommands::linkFor(const QString &key)
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

QString SupportCommands::productCode(const QString &argument)
{
    static const QHash<QString, QString> codes{
        {QStringLiteral("1"), QStringLiteral("S")}, {QStringLiteral("2"), QStringLiteral("R")},
        {QStringLiteral("3"), QStringLiteral("B")}, {QStringLiteral("S"), QStringLiteral("S")},
        {QStringLiteral("R"), QStringLiteral("R")}, {QStringLiteral("B"), QStringLiteral("B")}};
    return codes.value(argument);
}

void SupportCommands::fill(WindowRegistry &registry, QWidget *parent, const QString &appName)
{
    using W = WindowRegistry::Window;
    registry.fill(W::Help, [&registry, parent](const QString &) {
        return registry.instance<Help_Support>([&] { return new Help_Support(parent); })->Open_Help_Window();
    });
    registry.fill(W::RateUs, [&registry, parent](const QString &) {
        return registry.instance<Review_Form>([&] { return new Review_Form(parent); })
            ->Open_Review_Form_Window();
    });
    registry.fill(W::Share, [&registry, parent](const QString &) {
        return registry.instance<Share_It_Dlg>([&] { return new Share_It_Dlg(parent); })->Open_Share_Window();
    });
    registry.fill(W::WebLinks,
                  [](const QString &key) { return SupportLook::Open_Link(linkFor(key)) ? 1 : 0; });
    registry.fill(W::Promotion, [&registry, parent, appName](const QString &argument) {
        auto *form = registry.instance<Promotion_Form>([&] { return new Promotion_Form(appName, parent); });
        form->software_type = productCode(argument);
        return form->Open_Promotion_Window();
    });
}
