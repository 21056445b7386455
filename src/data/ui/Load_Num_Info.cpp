#include "data/ui/Load_Num_Info.h"

#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/WindowLook.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Load_Num_Info::Load_Num_Info(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Load_Number_Window"));
    setWindowTitle(QStringLiteral("Add Values"));
    WindowLook::fitTitle(this);
    WindowLook::applyBackground(this);
    auto *layout = new QVBoxLayout(this);
    auto *text =
        new QLabel(QStringLiteral("The list already holds values.\nDo you want to replace them with the "
                                  "new values? Choose No to add the new values after them."),
                   this);
    text->setWordWrap(true);
    layout->addWidget(text);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    yes_button = new QPushButton(QStringLiteral("&Yes"), this);
    no_button = new QPushButton(QStringLiteral("&No"), this);
    cancel_button = new QPushButton(QStringLiteral("&Cancel"), this);
    yes_button->setDefault(true);
    for (QPushButton *b : {yes_button, no_button, cancel_button})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(yes_button, &QPushButton::clicked, this, &Load_Num_Info::YESPressed);
    connect(no_button, &QPushButton::clicked, this, &Load_Num_Info::NOPressed);
    connect(cancel_button, &QPushButton::clicked, this, &Load_Num_Info::CancelPressed);
}

int Load_Num_Info::ask()
{
    // Closing the window by its title bar counts as Cancel.
    setResult(Cancel);
    const int answer = ModalRunner::exec(*this);
    hide();
    return answer == Yes || answer == No ? answer : int(Cancel);
}
