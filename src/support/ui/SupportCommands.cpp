#include "support/ui/SupportCommands.h"

#include "foundation/WindowRegistry.h"
#include "support/ui/Help_Support.h"
#include "support/ui/Promotion_Form.h"
#include "support/ui/Review_Form.h"
#include "support/ui/Share_It_Dlg.h"
#include "support/ui/SupportLinks.h"
#include "support/ui/SupportLook.h"

#include <QHash>

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
    registry.fill(W::WebLinks, [](const QString &key) {
        return SupportLook::Open_Link(SupportLinks::linkFor(key)) ? 1 : 0;
    });
    registry.fill(W::Promotion, [&registry, parent, appName](const QString &argument) {
        auto *form = registry.instance<Promotion_Form>([&] { return new Promotion_Form(appName, parent); });
        form->software_type = productCode(argument);
        return form->Open_Promotion_Window();
    });
}
