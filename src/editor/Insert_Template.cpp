// The greeting text picker: one title or one message at a time from "Title.txt" or "Message.txt",
// stepped with Back and Next; OK hands the (possibly edited) text back.
#include "editor/Insert_Template.h"

#include "editor/EditorState.h"
#include "editor/TemplateStore.h"
#include "foundation/FoundationState.h"
#include "foundation/MessageBoxes.h"
#include "foundation/ModalRunner.h"
#include "foundation/StringUtils.h"
#include "foundation/WindowLook.h"

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

int Insert_Template::Open_Template_Dialog()
{
    EditorState::instance().Template_Msg_Val.clear();
    title_index = message_index = 0;
    Load_Msg_And_Title();
    setWindowTitle(showsTitles() ? QStringLiteral("Greeting Titles") : QStringLiteral("Greeting Messages"));
    showCurrent();
    setResult(0); // a reused dialog starts undecided
    return ModalRunner::exec(*this);
}

void Insert_Template::Load_Msg_And_Title()
{
    Title_Array = TemplateStore::greetingTexts(Resource_Path + QStringLiteral("Title.txt"));
    Message_Array = TemplateStore::greetingTexts(Resource_Path + QStringLiteral("Message.txt"));
}

QString Insert_Template::Get_Title() const
{
    return title_index >= 0 && title_index < Title_Array.size() ? Title_Array.at(title_index) : QString();
}

QString Insert_Template::Get_Message() const
{
    return message_index >= 0 && message_index < Message_Array.size() ? Message_Array.at(message_index)
                                                                      : QString();
}

void Insert_Template::showCurrent()
{
    msg_value->setPlainText(showsTitles() ? Get_Title() : Get_Message());
}

void Insert_Template::step(int by)
{
    int &index = showsTitles() ? title_index : message_index;
    const int count = int(showsTitles() ? Title_Array.size() : Message_Array.size());
    if (count > 0)
        index = ((index + by) % count + count) % count;
    showCurrent();
}

void Insert_Template::Msg_Next_Click()
{
    step(1);
}

void Insert_Template::Msg_Back_Click()
{
    step(-1);
}

void Insert_Template::OKPressed()
{
    EditorState::instance().Template_Msg_Val = Trim_Str(msg_value->toPlainText());
    if (EditorState::instance().Template_Msg_Val.isEmpty()) {
        Show_MessageBox(MsgSelectMessage);
        msg_value->setFocus();
        return;
    }
    done(1);
}

void Insert_Template::CancelPressed()
{
    EditorState::instance().Template_Msg_Val.clear();
    done(0);
}
