// The message service of the windows: QMessageBox alerts, modal, on the GUI thread.
// Installed at start-up; core code reaches it through MessageService.
#include "foundation/MessageBoxService.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

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
    box.setIcon(QMessageBox::Information);
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setText(text);
    box.setInformativeText(QString());
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool MessageBoxService::askYesNo(const QString &text)
{
    QMessageBox box(parentForBox());
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setText(text);
    box.setInformativeText(QString());
    QPushButton *yes = box.addButton(QStringLiteral("Yes"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.exec();
    return box.clickedButton() == yes;
}
