#include "output/ScriptMailTransport.h"

#include "platform/ProcessRunner.h"
#include "platform/ResourceRoot.h"

#include <QDir>

ScriptMailTransport::ScriptMailTransport()
    : ScriptMailTransport(QStringLiteral("/usr/bin/python3"), defaultScript())
{
    // A certificate bundle the user chose for TLS is honoured; nothing else is passed on.
    const QByteArray bundle = qgetenv("SSL_CERT_FILE");
    if (!bundle.isEmpty())
        addEnvironment(QStringLiteral("SSL_CERT_FILE"), QString::fromLocal8Bit(bundle));
}

ScriptMailTransport::ScriptMailTransport(const QString &interpreter, const QString &script)
    : m_interpreter(interpreter), m_script(script)
{
}

void ScriptMailTransport::abort()
{
    m_abort = true;
    endCurrent();
}

void ScriptMailTransport::endCurrent()
{
    const std::lock_guard lock(m_currentMutex);
    if (m_current)
        *m_current = true;
}

QString ScriptMailTransport::defaultScript()
{
    return QDir(ResourceRoot::shippedLocation()).filePath(QStringLiteral("pyth_mail.py"));
}

QStringList ScriptMailTransport::arguments(const Message &message, const Account &account) const
{
    // -I: isolated mode, so nothing from the user's site or environment is imported.
    QStringList args{QStringLiteral("-I"), m_script,          message.sender,  account.server, account.port,
                     message.sender,       message.recipient, message.subject, message.body,   account.ssl};
    args += message.attachments;
    return args;
}

QProcessEnvironment ScriptMailTransport::environment() const
{
    QProcessEnvironment env; // nothing inherited
    env.insert(QStringLiteral("PATH"), QStringLiteral("/bin:/usr/bin:/usr/local/bin"));
    env.insert(QStringLiteral("PYTHONPATH"), QString());
    for (const QString &name : m_extra.keys())
        env.insert(name, m_extra.value(name));
    return env;
}

QByteArray ScriptMailTransport::standardInput(const Account &account)
{
    return account.password.toUtf8() + "\nDescription";
}

MailTransport::Delivery ScriptMailTransport::send(const Message &message, const Account &account,
                                                  QString *error)
{
    if (message.body.toUtf8().size() > kMaxBodyBytes) {
        if (error)
            *error = QStringLiteral("The message text is longer than 100 KiB.");
        return Delivery::Failed; // the same text goes to everyone
    }
    if (m_abort) {
        if (error)
            *error = QStringLiteral("The program is quitting.");
        return Delivery::Failed;
    }
    // Each script has a kill flag of its own, so that Stop ends this message and no later one.
    std::atomic<bool> kill{false};
    {
        const std::lock_guard lock(m_currentMutex);
        m_current = &kill;
        if (m_abort)
            kill = true; // the program began to quit after the look above
    }
    ProcessRunner::Request request;
    request.abort = &kill;
    request.program = m_interpreter;
    request.arguments = arguments(message, account);
    request.environment = environment();
    request.standardInput = standardInput(account);
    request.timeoutMs = m_timeoutMs;
    const ProcessRunner::Result result = ProcessRunner::run(request);
    {
        const std::lock_guard lock(m_currentMutex);
        m_current = nullptr;
    }
    if (result.succeeded())
        return Delivery::Sent;
    const bool refused = result.started && !result.timedOut && !result.aborted && !result.crashed &&
                         result.exitCode == kRefusedExit;
    if (error) {
        if (result.aborted) {
            *error = m_abort ? QStringLiteral("The program is quitting.")
                             : QStringLiteral("Stopped: the message was given up before the server took it.");
            return Delivery::Failed;
        }
        QString why = result.error;
        const QString said = QString::fromUtf8(result.standardError).trimmed();
        if (!said.isEmpty())
            why = why.isEmpty() ? said : why + QLatin1Char('\n') + said;
        if (why.isEmpty())
            why = QStringLiteral("The mail script ended with status %1.").arg(result.exitCode);
        *error = why;
    }
    return refused ? Delivery::Refused : Delivery::Failed;
}
