#include "editor/ui/Start_Card.h"

#include "editor/EditorState.h"
#include "foundation/FileUtils.h"
#include "foundation/ui/AppExit.h"
#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/WindowLook.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Start_Card::Start_Card(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Start"));
    WindowLook::applyBackground(this);
    template_button = new QPushButton(QStringLiteral("Using a Template"), this);
    wizard_button = new QPushButton(QStringLiteral("Using the Wizard"), this);
    open_button = new QPushButton(QStringLiteral("Open a Design..."), this);
    cancel_button = new QPushButton(QStringLiteral("Cancel"), this);
    help_button = new QPushButton(QStringLiteral("Help"), this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("How would you like to start your card?"), this));
    layout->addWidget(template_button);
    layout->addWidget(wizard_button);
    layout->addWidget(open_button);
    auto *row = new QHBoxLayout;
    row->addWidget(help_button);
    row->addStretch();
    row->addWidget(cancel_button);
    layout->addLayout(row);
    connect(template_button, &QPushButton::clicked, this, &Start_Card::Using_Template_Click);
    connect(wizard_button, &QPushButton::clicked, this, &Start_Card::Using_Wizard_Click);
    connect(open_button, &QPushButton::clicked, this, &Start_Card::Open_Log_Click);
    connect(cancel_button, &QPushButton::clicked, this, &Start_Card::CancelClick);
    connect(help_button, &QPushButton::clicked, this, &Start_Card::HelpClick);
}

int Start_Card::Open_Wnd()
{
    return ModalRunner::exec(*this);
}

void Start_Card::Select_card_option(int option)
{
    static const char *const codes[] = {"T", "W", "L"};
    if (option >= 0 && option < 3)
        Start_Card_Option = QString::fromLatin1(codes[option]);
    OK_Click();
}

void Start_Card::CancelClick()
{
    Start_Card_Option.clear();
    done(0);
    AppExit::exit(0);
}

void Start_Card::HelpClick()
{
    Open_Help_File();
}
