// Test doubles of the mail windows: a transport that records each message (with the thread it
// was sent on and its attachments' names), and typing that QTest's keys cannot do.
#pragma once

#include "output/MailTransport.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <QThread>

#include <functional>
#include <mutex>

namespace mailtest
{

class RecordingTransport : public MailTransport
{
public:
    struct Sent {
        Message message;
        Account account;
        QStringList names; // attachment file names, in order
        bool onGuiThread = false;
    };

    bool send(const Message &message, const Account &account, QString *error) override
    {
        Sent s{message, account, {}, QThread::currentThread() == QCoreApplication::instance()->thread()};
        for (const QString &path : message.attachments)
            s.names << QFileInfo(path).fileName();
        const bool ok = accept ? accept(message) : true;
        if (!ok && error)
            *error = QStringLiteral("535 authentication failed");
        const std::lock_guard<std::mutex> lock(mutex);
        if (ok)
            sent << s;
        ++calls;
        return ok;
    }
    void abort() override { aborted = true; }

    std::function<bool(const Message &)> accept;
    std::mutex mutex;
    QList<Sent> sent;
    int calls = 0;
    bool aborted = false;
};

// Types text into a field key by key; QTest has no keys for letters outside ASCII, which are
// inserted as an input method would.
inline void typeInto(QLineEdit *field, const QString &text)
{
    field->clear();
    for (const QChar ch : text) {
        if (ch.unicode() < 128)
            QTest::keyClick(field, char(ch.unicode()));
        else
            field->insert(QString(ch));
    }
}

// Answers the progress sheet's Stop question (run through ModalRunner) with the button of that
// object name, "stop_answer" or "continue_answer", as a click would.
inline int answerStopQuestion(QDialog &box, const char *button)
{
    if (auto *b = box.findChild<QAbstractButton *>(QString::fromLatin1(button)))
        b->click();
    return box.result();
}

} // namespace mailtest
