// Sends each message by running the program's mail script under the system's Python: the
// message's fields as arguments, the password on standard input, a clean environment.
#pragma once

#include "output/MailTransport.h"

#include <QProcessEnvironment>

#include <atomic>
#include <mutex>

class ScriptMailTransport : public MailTransport
{
public:
    // The script shipped with the program and Debian's interpreter.
    ScriptMailTransport();
    ScriptMailTransport(const QString &interpreter, const QString &script);

    // Variables added to the script's otherwise empty environment (tests trust their own
    // certificate through SSL_CERT_FILE).
    void addEnvironment(const QString &name, const QString &value) { m_extra.insert(name, value); }
    // The time one message may take before its script is stopped.
    void setTimeoutMs(int ms) { m_timeoutMs = ms; }

    Delivery send(const Message &message, const Account &account, QString *error) override;
    // Kills the script of a message in progress; later messages are not started.
    void abort() override;
    // Kills the script of the message in progress only.
    void endCurrent() override;

    // The shipped script's path.
    static QString defaultScript();
    // The longest body handed to the script: more does not fit an argument list.
    static constexpr qsizetype kMaxBodyBytes = 100 * 1024;
    // The script's exit status when the server refused this message only (a recipient, say).
    static constexpr int kRefusedExit = 4;

    // What goes to the script, for tests: arguments after the interpreter, environment, stdin.
    QStringList arguments(const Message &message, const Account &account) const;
    QProcessEnvironment environment() const;
    static QByteArray standardInput(const Account &account);

private:
    QString m_interpreter;
    QString m_script;
    QProcessEnvironment m_extra;
    int m_timeoutMs = 180000;
    std::atomic<bool> m_abort{false};
    std::mutex m_currentMutex;
    std::atomic<bool> *m_current = nullptr; // the running script's kill flag, while one runs
};
