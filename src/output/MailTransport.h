// Hands one e-mail message to whatever delivers it; the mail run sends through this.
// Tests put a recording fake in its place; the program uses the mail script.
#pragma once

#include <QString>
#include <QStringList>

class MailTransport
{
public:
    struct Message {
        QString sender;
        QString recipient;
        QString subject;
        QString body;
        QStringList attachments; // file paths, in the order they are attached
    };
    // How the sender reaches the server: the stored mail settings.
    struct Account {
        QString password;
        QString server;
        QString port;
        QString ssl; // "Y": TLS from the start; anything else: STARTTLS required
    };

    // What became of one message.
    enum class Delivery {
        Sent,    // the server accepted it
        Refused, // the server refused this message (its recipient or its content); others may go
        Failed,  // it could not be handed over (no connection, login or certificate refused, given
                 // up): every further message would meet the same
    };

    virtual ~MailTransport() = default;
    // Sent only when the server accepted the message; otherwise *error says why, in words.
    virtual Delivery send(const Message &message, const Account &account, QString *error) = 0;
    // The program is quitting: a message in progress is given up at once and no other is sent.
    // Any thread may call it.
    virtual void abort() {}
    // Stop: the message in progress, if any, is given up at once (a silent server); later
    // messages may still be sent. Any thread may call it.
    virtual void endCurrent() {}
};
