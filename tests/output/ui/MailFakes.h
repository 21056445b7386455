// Test doubles of the mail windows: a transport that records each message (with the thread it
// was sent on and its attachments' names), real servers on 127.0.0.1 (one that takes messages and
// refuses one recipient, one that never answers), and typing that QTest's keys cannot do.
#pragma once

#include "foundation/Preferences.h"
#include "output/MailTransport.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <QThread>

#include <functional>
#include <mutex>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace mailtest
{

// Mail settings that let Send start: a sender and a server on a reserved domain.
inline void useExampleAccount()
{
    Preferences::sharedInstance().setsend_email_SenderEmail(QStringLiteral("cards@example.com"));
    Preferences::sharedInstance().setsend_email_SMTP_server(QStringLiteral("smtp.example.com"));
}

class RecordingTransport : public MailTransport
{
public:
    struct Sent {
        Message message;
        Account account;
        QStringList names; // attachment file names, in order
        bool onGuiThread = false;
    };

    Delivery send(const Message &message, const Account &account, QString *error) override
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
        return ok ? Delivery::Sent : Delivery::Failed;
    }
    void abort() override { aborted = true; }

    std::function<bool(const Message &)> accept;
    std::mutex mutex;
    QList<Sent> sent;
    int calls = 0;
    bool aborted = false;
};

// The SMTP server of smtp_server.py on 127.0.0.1 while the object lives: STARTTLS with its own
// certificate, any login, and 550 for the recipient given as refused.
class SmtpServer
{
public:
    explicit SmtpServer(const QString &folder, const QString &refused = {})
    {
        QStringList args{QStringLiteral(TESSALY_TESTS_DIR "/output/smtp_server.py"), folder};
        if (!refused.isEmpty())
            args << QStringLiteral("--refuse") << refused;
        m_folder = folder;
        m_process.start(QStringLiteral("/usr/bin/python3"), args);
        // waitForReadyRead may come back early while other tests' processes come and go: wait for
        // the whole line against a deadline instead.
        QDeadlineTimer deadline(30000);
        QByteArray out;
        while (m_process.waitForStarted() && !out.contains('\n') && !deadline.hasExpired() &&
               m_process.state() == QProcess::Running) {
            m_process.waitForReadyRead(int(std::min<qint64>(deadline.remainingTime(), 500)));
            out += m_process.readAllStandardOutput();
        }
        const QStringList line =
            QString::fromUtf8(out).section(QLatin1Char('\n'), 0, 0).trimmed().split(QLatin1Char(' '));
        if (line.size() == 2) {
            port = line[0];
            certificate = line[1];
        } else { // says why in the test's output
            qWarning("The SMTP server did not start: %s", m_process.readAllStandardError().constData());
        }
    }
    ~SmtpServer()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
        m_process.waitForFinished();
    }
    bool listening() const { return !port.isEmpty(); }
    // The recipient of each message the server took, in order.
    QStringList delivered() const
    {
        QFile f(m_folder + QStringLiteral("/delivered"));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    // The folder of each message's attachments, by its recipient, in the order taken.
    QList<std::pair<QString, QString>> received() const
    {
        QList<std::pair<QString, QString>> out;
        const QDir folder(m_folder + QStringLiteral("/received"));
        for (const QString &name : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
            out.append({name.section(QLatin1Char('-'), 1), folder.filePath(name)});
        return out;
    }

    QString port;
    QString certificate;

private:
    QString m_folder;
    QProcess m_process;
};

// A server on 127.0.0.1 that lets connections complete in its backlog and never answers.
class SilentServer
{
public:
    SilentServer()
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
            ::listen(m_fd, 4) != 0 ||
            ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return;
        port = QString::number(ntohs(address.sin_port));
    }
    ~SilentServer()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    // A client has connected and waits for the greeting.
    bool hasWaitingClient() const
    {
        pollfd fd{m_fd, POLLIN, 0};
        return ::poll(&fd, 1, 0) == 1;
    }

    QString port; // empty when it could not listen

private:
    int m_fd = -1;
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
