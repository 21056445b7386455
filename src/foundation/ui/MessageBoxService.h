// The message service of the windows: QMessageBox alerts, modal, on the GUI thread.
// Installed at start-up; core code reaches it through MessageService.
#pragma once

#include "platform/MessageService.h"

#include <QPointer>
#include <QWidget>

class MessageBoxService : public MessageService
{
public:
    MessageBoxService() = default;
    ~MessageBoxService() override;

    void showMessage(const QString &text) override;
    void showTitledMessage(const QString &title, const QString &text) override;
    bool askYesNo(const QString &text) override;
    int askChoice(const QString &text, const QStringList &buttons, int defaultIndex,
                  int escapeIndex) override;

    // The window the boxes belong to (the main window once it exists).
    void setParentWindow(QWidget *window) { m_parent = window; }

private:
    QWidget *parentForBox() const;
    QPointer<QWidget> m_parent;
};
