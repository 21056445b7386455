#include "foundation/MessageBoxes.h"

#include "foundation/FoundationState.h"
#include "foundation/ProgramLog.h"
#include "platform/MessageService.h"

#include <QDebug>

#include <exception>

void Show_MessageBox(const QString &text)
{
    try {
        MessageService::deliverMessage(QStringLiteral("\n") + text);
    } catch (const std::exception &e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Show_TitledMessageBox(const QString &title, const QString &text)
{
    try {
        MessageService::deliverTitledMessage(title, text);
    } catch (const std::exception &e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

bool Show_YES_NO_MessageBox(const QString &text)
{
    if (!MessageService::installed())
        return (yes_no_msg_val.load() & 1) != 0;
    try {
        // The answer returned is this call's own; the shared flag is kept for older readers.
        yes_no_msg_val = 0;
        const std::optional<bool> answer = MessageService::deliverYesNo(text);
        if (!answer)
            return (yes_no_msg_val.load() & 1) != 0;
        yes_no_msg_val = *answer ? 1 : 0;
        return *answer;
    } catch (const std::exception &e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return false;
    }
}

QStringList yesNoButtons()
{
    return {QStringLiteral("&Yes"), QStringLiteral("&No")};
}

bool Ask_YES_NO_Keeping(const QString &text)
{
    try {
        return MessageService::deliverChoice(text, yesNoButtons(), 1, 1).value_or(1) == 0;
    } catch (const std::exception &e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return false;
    }
}

bool settleUnsavedChanges(const QString &question, const std::function<bool()> &save)
{
    switch (Ask_Save_Changes(question)) {
    case SaveAnswer::DontSave:
        return true;
    case SaveAnswer::Cancel:
        return false;
    case SaveAnswer::Save:
        break;
    }
    return save();
}

QStringList saveAnswerButtons()
{
    return {QStringLiteral("&Save"), QStringLiteral("Do&n't Save"), QStringLiteral("&Cancel")};
}

SaveAnswer Ask_Save_Changes(const QString &text)
{
    try {
        const std::optional<int> answer = MessageService::deliverChoice(
            text, saveAnswerButtons(), int(SaveAnswer::Save), int(SaveAnswer::Cancel));
        if (!answer)
            return SaveAnswer::DontSave;
        if (*answer == int(SaveAnswer::Save))
            return SaveAnswer::Save;
        if (*answer == int(SaveAnswer::DontSave))
            return SaveAnswer::DontSave;
        return SaveAnswer::Cancel;
    } catch (const std::exception &e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return SaveAnswer::Cancel;
    }
}

void Show_NSLog_Message(const QString &text)
{
    if (text.isEmpty())
        return;
    // The terminal only while no log file is open (tests, a program not yet set up).
    if (!ProgramLog::write(text))
        qInfo().noquote() << text;
}
