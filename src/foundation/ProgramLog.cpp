#include "foundation/ProgramLog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
std::mutex g_logMutex;
int g_logFd = -1;
std::atomic<QtMessageHandler> g_previousHandler{nullptr};

// Warnings, Qt's own and the program's checks of its own calls, go to the log with the rest, so
// the terminal the program was started from stays quiet. Debug and info lines are written only
// when a user asks for them (QT_LOGGING_RULES): they still go where they always went. A fatal
// message still ends the program.
void logQtMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const QtMessageHandler previous = g_previousHandler.load();
    if (type == QtDebugMsg || type == QtInfoMsg) {
        if (previous)
            previous(type, context, message);
        return;
    }
    QString line = QLatin1String(type == QtWarningMsg    ? "warning"
                                 : type == QtCriticalMsg ? "critical"
                                                         : "fatal");
    if (context.category && std::strcmp(context.category, "default") != 0)
        line += QLatin1Char(' ') + QLatin1String(context.category);
    line += QStringLiteral(": ") + message;
    const bool logged = ProgramLog::write(line);
    if ((!logged || type == QtFatalMsg) && previous)
        previous(type, context, message);
}
} // namespace

QString ProgramLog::defaultPath()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(state + QStringLiteral("/tessaly-designer/tessaly-designer.log"));
}

bool ProgramLog::open(const QString &path)
{
    close();
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir()) {
        QDir().mkpath(QFileInfo(folder).absolutePath());
        ::mkdir(QFile::encodeName(folder).constData(), 0700);
    }
    const QByteArray local = QFile::encodeName(path);
    struct stat st {
    };
    if (::lstat(local.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > KeepBytes)
        ::rename(local.constData(), (local + ".1").constData());
    const int fd = ::open(local.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    {
        const std::lock_guard lock(g_logMutex);
        g_logFd = fd;
    }
    g_previousHandler.store(qInstallMessageHandler(logQtMessage));
    return true;
}

void ProgramLog::close()
{
    if (const QtMessageHandler previous = g_previousHandler.exchange(nullptr))
        qInstallMessageHandler(previous);
    const std::lock_guard lock(g_logMutex);
    if (g_logFd >= 0)
        ::close(g_logFd);
    g_logFd = -1;
}

bool ProgramLog::write(const QString &text)
{
    const QByteArray line = (QDateTime::currentDateTime().toString(Qt::ISODateWithMs) + QLatin1Char(' ') +
                             text + QLatin1Char('\n'))
                                .toUtf8();
    const std::lock_guard lock(g_logMutex);
    if (g_logFd < 0)
        return false;
    // One write per line: lines from several threads never interleave.
    qsizetype done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(g_logFd, line.constData() + done, size_t(line.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break; // a full disk loses the line, not the program
        done += n;
    }
    return true;
}
