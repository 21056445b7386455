#include "foundation/ui/PleaseWait_Modeless.h"

#include "foundation/ui/WindowLook.h"

#include <QLabel>
#include <QVBoxLayout>

PleaseWait_Modeless::PleaseWait_Modeless(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("plz_wait_Window"));
    WindowLook::applyBackground(this);
    modeless_msg_lbl = new QLabel(WaitText, this);
    modeless_msg_lbl->setObjectName(QStringLiteral("modeless_msg_lbl"));
    modeless_msg_lbl->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(30, 20, 30, 20);
    layout->addWidget(modeless_msg_lbl);
}
