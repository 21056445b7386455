#include "platform/UrlOpener.h"

#include "platform/SpawnAttributes.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTimer>

#include <atomic>
#include <mutex>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

namespace
{
std::mutex g_openerMutex;
UrlOpener::Hook g_hook;
std::atomic<int> g_running{0};

// Starts the opener on the argument with its outputs sent nowhere (the program writes nothing to
// the terminal); its pid, or 0.
pid_t startOpener(const QString &opener, const QByteArray &arg)
{
    const QByteArray program = QFile::encodeName(opener);
    char *argv[] = {const_cast<char *>(program.constData()), const_cast<char *>(arg.constData()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const SpawnAttributes attributes;
    pid_t pid = 0;
    const int error = posix_spawn(&pid, program.constData(), &actions, attributes.get(), argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : 0;
}

// Waits for one opener on the GUI thread's event loop, never blocking it: often while a failure
// still counts, then now and then only to collect its end.
class OpenerWatch : public QObject
{
public:
    OpenerWatch(pid_t pid, UrlOpener::Failed failed)
        : m_pid(pid), m_failed(std::move(failed)), m_timer(new QTimer(this))
    {
        ++g_running;
        m_age.start();
        connect(m_timer, &QTimer::timeout, this, &OpenerWatch::check);
    }
    ~OpenerWatch() override { --g_running; }
    void start() { m_timer->start(FastMs); }

private:
    static constexpr int FastMs = 50;
    static constexpr int SlowMs = 2000;

    void check()
    {
        int status = 0;
        const pid_t ended = ::waitpid(m_pid, &status, WNOHANG);
        const bool counts = m_age.elapsed() <= UrlOpener::FailureWindowMs;
        if (ended == 0) {
            if (!counts && m_timer->interval() != SlowMs)
                m_timer->setInterval(SlowMs);
            return;
        }
        m_timer->stop();
        const bool succeeded = ended == m_pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (!succeeded && counts && m_failed)
            m_failed();
        deleteLater();
    }

    pid_t m_pid;
    UrlOpener::Failed m_failed;
    QElapsedTimer m_age;
    QTimer *m_timer; // a child, so it moves with the watch to the GUI thread
};

bool openWithXdgOpen(const QString &opener, const QUrl &url, UrlOpener::Failed failed)
{
    QCoreApplication *app = QCoreApplication::instance();
    const pid_t pid =
        startOpener(opener, url.isLocalFile() ? QFile::encodeName(url.toLocalFile()) : url.toEncoded());
    if (pid == 0)
        return false;
    if (!app)
        return true; // no event loop to hear from it; the system collects it when we end
    auto *watch = new OpenerWatch(pid, std::move(failed));
    watch->moveToThread(app->thread());
    QMetaObject::invokeMethod(
        watch, [watch] { watch->start(); }, Qt::QueuedConnection);
    return true;
}
} // namespace

bool UrlOpener::open(const QUrl &url, Failed failed)
{
    if (!url.isValid() || url.isEmpty())
        return false;
    Hook hook;
    {
        const std::lock_guard<std::mutex> lock(g_openerMutex);
        hook = g_hook;
    }
    if (hook)
        return hook(url);
    // Qt hands addresses to xdg-open too, but does not wait to hear how it ended.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return QDesktopServices::openUrl(url);
    return openWithXdgOpen(opener, url, std::move(failed));
}

bool UrlOpener::openFile(const QString &path, Failed failed)
{
    if (path.isEmpty())
        return false;
    return open(QUrl::fromLocalFile(path), std::move(failed));
}

int UrlOpener::runningOpeners()
{
    return g_running.load();
}

void UrlOpener::setHook(Hook hook)
{
    const std::lock_guard<std::mutex> lock(g_openerMutex);
    g_hook = std::move(hook);
}
