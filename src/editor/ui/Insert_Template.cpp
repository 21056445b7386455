#include "editor/ui/Insert_Template.h"

#include "foundation/MessageBoxes.h"
#include "foundation/StringUtils.h"
#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/WindowLook.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

Insert_Template::Insert_Template(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Greeting Texts"));
    WindowLook::applyBackground(this);
    msg_value = new QPlainTextEdit(this);
    msg_value->setObjectName(QStringLiteral("msg_value"));
    msg_value->setTabChangesFocus(true);
    msg_value->setMinimumSize(380, 110);
    back_button = new QPushButton(QStringLiteral("< Back"), this);
    next_button = new QPushButton(QStringLiteral("Next >"), this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(msg_value);
    auto *steps = new QHBoxLayout;
    steps->addWidget(back_button);
    steps->addStretch();
    steps->addWidget(next_button);
    layout->addLayout(steps);
    layout->addLayout(WindowLook::okCancelRow(this, ok_button, cancel_button));
    connect(back_button, &QPushButton::clicked, this, &Insert_Template::Msg_Back_Click);
    connect(next_button, &QPushButton::clicked, this, &Insert_Template::Msg_Next_Click);
    connect(ok_button, &QPushButton::clicked, this, &Insert_Template::OKPressed);
    connect(cancel_button, &QPushButton::clicked, this, &Insert_Template::CancelPressed);
}

std::optional<QString> Insert_Template::chooseText(Kind kind)
{
    title_or_msg = kind;
    if (Open_Template_Dialog() != 1)
        return std::nullopt;
    return Template_Msg_Val;
}

int Insert_Template::Open_Template_Dialog()
{
    Template_Msg_Val.clear();
    Load_Msg_And_Title();
    setWindowTitle(showsTitles() ? QStringLiteral("Greeting Titles") : QStringLiteral("Greeting Messages"));
    showCurrent();
    setResult(0); // a reused dialog starts undecided
    return ModalRunner::exec(*this);
}

void Insert_Template::Load_Msg_And_Title()
{
    Title_Array.load(QStringLiteral("Title.txt"));
    Message_Array.load(QStringLiteral("Message.txt"));
}

QString Insert_Template::Get_Title() const
{
    return Title_Array.current();
}

QString Insert_Template::Get_Message() const
{
    return Message_Array.current();
}

void Insert_Template::showCurrent()
{
    msg_value->setPlainText(showsTitles() ? Get_Title() : Get_Message());
}

void Insert_Template::Msg_Next_Click()
{
    shown().next();
    showCurrent();
}

void Insert_Template::Msg_Back_Click()
{
    shown().back();
    showCurrent();
}

void Insert_Template::OKPressed()
{
    Template_Msg_Val = Trim_Str(msg_value->toPlainText());
    if (Template_Msg_Val.isEmpty()) {
        Show_MessageBox(MsgSelectMessage);
        msg_value->setFocus();
        return;
    }
    done(1);
}

void Insert_Template::CancelPressed()
{
    Template_Msg_Val.clear();
    done(0);
}
