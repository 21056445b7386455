#include "foundation/ui/PleaseWait_Modeless.h"

#include "foundation/ui/WindowLook.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

PleaseWait_Modeless::PleaseWait_Modeless(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("plz_wait_Window"));
    // The sheet's title is the program's name, as a message box's is: scripts that drive the
    // windows tell the two apart by this role, which no user sees.
    setWindowRole(WindowRole);
    WindowLook::applyBackground(this);
    modeless_msg_lbl = new QLabel(WaitText, this);
    modeless_msg_lbl->setObjectName(QStringLiteral("modeless_msg_lbl"));
    modeless_msg_lbl->setAlignment(Qt::AlignCenter);
    cancel_button = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_button->setObjectName(QStringLiteral("cancel_button"));
    cancel_button->setAutoDefault(false);
    cancel_button->hide();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(30, 20, 30, 20);
    layout->addWidget(modeless_msg_lbl);
    layout->addWidget(cancel_button, 0, Qt::AlignCenter);
    connect(cancel_button, &QPushButton::clicked, this, &PleaseWait_Modeless::reject);
}

void PleaseWait_Modeless::offerCancel(std::function<void()> cancel)
{
    m_cancel = std::move(cancel);
    cancel_button->setEnabled(true);
    cancel_button->show();
}

void PleaseWait_Modeless::reject()
{
    if (!m_cancel) {
        QDialog::reject();
        return;
    }
    // The sheet stays until the work it covers has ended; the work is only asked to end.
    if (cancel_button->isEnabled()) {
        cancel_button->setEnabled(false);
        m_cancel();
    }
}
