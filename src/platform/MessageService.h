// How core code asks the user: an OK box and a Yes/No box, shown on the GUI thread.
// The windows install an implementation with boxes; tests install a MessageAnswerer.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class MessageService
{
public:
    virtual ~MessageService();

    // Both are called on the GUI thread and return once the user has answered.
    virtual void showMessage(const QString &text) = 0;
    virtual bool askYesNo(const QString &text) = 0; // true for "Yes"
    // A question with buttons of its own (texts may carry mnemonics: "&Save"); the index of the
    // button chosen. Escape and closing the box choose escapeIndex. A service without its own
    // boxes asks Yes/No: Yes is button 0, No button 1.
    virtual int askChoice(const QString &text, const QStringList &buttons, int defaultIndex, int escapeIndex);
    // A message whose box names what it is about ("Save"); a service without titles shows the
    // text alone.
    virtual void showTitledMessage(const QString &title, const QString &text);

    // The process-wide service (not owned); nullptr removes it.
    static void install(MessageService *service);
    static MessageService *installed();
    // Removes `service` only if it is the one installed.
    static void uninstall(MessageService *service);

    // Usable from any thread. On the GUI thread the service is called directly; from another
    // thread the call is carried to the GUI thread and the caller waits for the answer, which
    // belongs to this call alone. Without a service nothing is shown: false / no answer.
    // A thread the GUI thread is waiting for must not ask (it would never be answered).
    static bool deliverMessage(const QString &text);
    static bool deliverTitledMessage(const QString &title, const QString &text);
    static std::optional<bool> deliverYesNo(const QString &text);
    static std::optional<int> deliverChoice(const QString &text, const QStringList &buttons, int defaultIndex,
                                            int escapeIndex);
};
