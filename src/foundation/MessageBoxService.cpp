// The message service of the windows: QMessageBox alerts, modal, on the GUI thread.
// Installed at start-up; core code reaches it through MessageService.
#include "foundation/MessageBoxService.h"

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
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool MessageBoxService::askYesNo(const QString &text)
{
    QMessageBox box(parentForBox());
    describe(box, QMessageBox::Question, text);
    QPushButton *yes = box.addButton(QStringLiteral("Yes"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.exec();
    return box.clickedButton() == yes;
}
