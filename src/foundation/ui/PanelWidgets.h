// Small helpers the inspector's tabs and the output windows share for making their controls:
// every control carries its outlet name as object name, so tests and other windows can find it.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QString>
#include <QStringList>

namespace PanelWidgets
{
template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

inline QComboBox *combo(QWidget *parent, const char *name, const QStringList &items = {})
{
    auto *c = named(new QComboBox(parent), name);
    c->addItems(items);
    return c;
}

// The dash styles of every border-style list, in the order of their stored codes ("S" ... "DDD").
inline QStringList borderStyleNames()
{
    return {QStringLiteral("Solid"), QStringLiteral("Dash"), QStringLiteral("Dot"),
            QStringLiteral("Dash Dot"), QStringLiteral("Dash Dot Dot")};
}

// Tab walks the controls in the order given (controls made before their page come out of place).
void tabOrder(const QList<QWidget *> &controls);

// The bold heading at the top of a page.
QLabel *title(QWidget *parent, const QString &text);

// Shows a text in a control found by outlet name, whatever kind of text control it is.
void setOutletText(QWidget *control, const QString &text);

// A text box that takes no typing looks it: a shade darker than the window behind its text, and
// out of the keyboard's way (its text can still be selected with the mouse and copied). False
// makes it an ordinary box again.
void showReadOnly(QWidget *box, bool readOnly);
} // namespace PanelWidgets
