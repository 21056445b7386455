#include "support/ui/SupportLook.h"

#include "foundation/FileUtils.h"
#include "foundation/ui/WindowLook.h"
#include "support/WebLinks.h"

#include <QPushButton>

void SupportLook::styleLinkButton(QPushButton *button)
{
    // A style sheet, so the title sits at the left like a link in text, not centred like a button.
    button->setStyleSheet(QStringLiteral("QPushButton { color: blue; background: %1; border: none;"
                                         " font-weight: bold; font-size: 11pt; text-decoration: underline;"
                                         " text-align: left; padding: 2px 0px; }")
                              .arg(WindowLook::backgroundColor().name()));
    button->setCursor(Qt::OpenHandCursor);
    button->setFlat(true);
}

void SupportLook::apply(QWidget *window, const QList<QPushButton *> &linkButtons)
{
    WindowLook::applyBackground(window);
    for (QPushButton *b : linkButtons)
        styleLinkButton(b);
}

bool SupportLook::Open_Link(const QString &link)
{
    if (link.isEmpty())
        return false;
    return openUrlOrSay(WebLinks::toUrl(link));
}
