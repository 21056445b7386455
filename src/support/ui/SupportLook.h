// What the help, rate-us, share and promotion windows share: the window colour, the blue
// underlined link buttons, and opening a link with its failure logged.
#pragma once

#include <QString>

class QPushButton;
class QWidget;

namespace SupportLook
{
// The window colour on the window; each link button keeps its title, drawn bold 11 pt, blue,
// underlined, on the window colour, with the open-hand cursor.
void apply(QWidget *window, const QList<QPushButton *> &linkButtons);
void styleLinkButton(QPushButton *button);
// Asks the desktop to open link (taken as already encoded). An empty link opens nothing; a link
// the desktop cannot open is logged and the window stays as it is. True when it was handed over.
bool Open_Link(const QString &link);
} // namespace SupportLook
