#include "foundation/ui/MessageBoxService.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace
{
void describe(QMessageBox &box, QMessageBox::Icon icon, const QString &text)
{
    box.setIcon(icon);
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setText(text);
}
} // namespace

MessageBoxService::~MessageBoxService()
{
    MessageService::uninstall(this);
}

QWidget *MessageBoxService::parentForBox() const
{
    if (m_parent)
        return m_parent;
    return QApplication::activeWindow();
}

void MessageBoxService::showMessage(const QString &text)
{
    QMessageBox box(parentForBox());
    describe(box, QMessageBox::Information, text);
    // Every button carries a mnemonic, so Alt and its letter answer the box.
    box.addButton(QStringLiteral("&OK"), QMessageBox::AcceptRole);
    box.exec();
}

void MessageBoxService::showTitledMessage(const QString &title, const QString &text)
{
    QMessageBox box(parentForBox());
    describe(box, QMessageBox::Warning, text);
    box.setWindowTitle(title);
    box.addButton(QStringLiteral("&OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool MessageBoxService::askYesNo(const QString &text)
{
    QMessageBox box(parentForBox());
    describe(box, QMessageBox::Question, text);
    QPushButton *yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

int MessageBoxService::askChoice(const QString &text, const QStringList &buttons, int defaultIndex,
                                 int escapeIndex)
{
    QMessageBox box(parentForBox());
    describe(box, QMessageBox::Question, text);
    QList<QPushButton *> made;
    for (int i = 0; i < buttons.size(); ++i) {
        // The roles only place the buttons; the answer is the button's index.
        const QMessageBox::ButtonRole role = i == escapeIndex    ? QMessageBox::RejectRole
                                             : i == defaultIndex ? QMessageBox::AcceptRole
                                                                 : QMessageBox::DestructiveRole;
        made.append(box.addButton(buttons.at(i), role));
    }
    if (defaultIndex >= 0 && defaultIndex < made.size())
        box.setDefaultButton(made.at(defaultIndex));
    if (escapeIndex >= 0 && escapeIndex < made.size())
        box.setEscapeButton(made.at(escapeIndex));
    box.exec();
    // Escape and the title bar's close button click the escape button; a box closed any other
    // way counts as the escape button too.
    const qsizetype chosen = made.indexOf(qobject_cast<QPushButton *>(box.clickedButton()));
    return chosen >= 0 ? int(chosen) : escapeIndex;
}
