#include "platform/UrlOpener.h"

#include "platform/SpawnAttributes.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
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
std::atomic<int> g_showing{0};

// Programs an opener runs on the address that are not what shows it: xdg-open's own helpers and
// the desktops' launchers, which answer for themselves whether they started anything.
bool isOpenersOwnTool(const QByteArray &name)
{
    static const QList<QByteArray> tools = {
        "xdg-open",           "xdg-mime",   "file",
        "mimetype",           "gio",        "gvfs-info",
        "gvfs-open",          "gnome-open", "mate-open",
        "exo-open",           "kde-open",   "kde-open5",
        "kde-open6",          "kfmclient",  "dde-open",
        "enlightenment_open", "cygstart",   "open",
        "run-mailcap",        "see",        "mimeopen",
        "basename",           "dirname",    "which",
        "readlink",           "realpath",   "kmimetypefinder",
        "kmimetypefinder5",
    };
    return tools.contains(name);
}

// The program a command line runs: a script's own name rather than its interpreter's.
QByteArray programOf(const QList<QByteArray> &args)
{
    static const QList<QByteArray> interpreters = {"sh",  "bash", "dash",    "ksh",
                                                   "zsh", "perl", "python3", "env"};
    const auto base = [](const QByteArray &path) { return path.mid(path.lastIndexOf('/') + 1); };
    if (args.isEmpty())
        return {};
    if (!interpreters.contains(base(args.first())))
        return base(args.first());
    for (qsizetype i = 1; i < args.size(); ++i)
        if (!args.at(i).startsWith('-'))
            return base(args.at(i));
    return base(args.first());
}

QByteArray readProcFile(const QByteArray &path)
{
    QFile f(QString::fromLatin1(path));
    return f.open(QIODevice::ReadOnly) ? f.read(64 * 1024) : QByteArray();
}

// Whether a process started under `root` runs, on the address, a program other than the opener's
// own tools: the viewer, browser or editor that shows it.
bool showsTheAddress(pid_t root, const QByteArray &address)
{
    QList<QByteArray> pending = {QByteArray::number(root)};
    for (int seen = 0; !pending.isEmpty() && seen < 256; ++seen) {
        const QByteArray pid = pending.takeFirst();
        const QList<QByteArray> children =
            readProcFile("/proc/" + pid + "/task/" + pid + "/children").simplified().split(' ');
        for (const QByteArray &child : children) {
            if (child.isEmpty())
                continue;
            pending << child;
            QList<QByteArray> args = readProcFile("/proc/" + child + "/cmdline").split('\0');
            if (!args.isEmpty() && args.last().isEmpty())
                args.removeLast();
            if (args.contains(address) && !isOpenersOwnTool(programOf(args)))
                return true;
        }
    }
    return false;
}

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
    OpenerWatch(pid_t pid, QByteArray address, UrlOpener::Failed failed)
        : m_pid(pid), m_address(std::move(address)), m_failed(std::move(failed)), m_timer(new QTimer(this))
    {
        ++g_running;
        m_age.start();
        connect(m_timer, &QTimer::timeout, this, &OpenerWatch::check);
    }
    ~OpenerWatch() override
    {
        --g_running;
        if (m_showing)
            --g_showing;
    }
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
            if (counts && !m_showing && m_failed && showsTheAddress(m_pid, m_address)) {
                m_showing = true;
                ++g_showing;
            }
            if (!counts && m_timer->interval() != SlowMs)
                m_timer->setInterval(SlowMs);
            return;
        }
        m_timer->stop();
        const bool succeeded = ended == m_pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        // How a viewer that was shown ended is the user's doing, not the opener's failure.
        if (!succeeded && counts && !m_showing && m_failed)
            m_failed();
        deleteLater();
    }

    pid_t m_pid;
    QByteArray m_address; // as the opener was given it
    UrlOpener::Failed m_failed;
    bool m_showing = false;
    QElapsedTimer m_age;
    QTimer *m_timer; // a child, so it moves with the watch to the GUI thread
};

bool openWithXdgOpen(const QString &opener, const QUrl &url, UrlOpener::Failed failed)
{
    QCoreApplication *app = QCoreApplication::instance();
    const QByteArray address = url.isLocalFile() ? QFile::encodeName(url.toLocalFile()) : url.toEncoded();
    const pid_t pid = startOpener(opener, address);
    if (pid == 0)
        return false;
    if (!app)
        return true; // no event loop to hear from it; the system collects it when we end
    auto *watch = new OpenerWatch(pid, address, std::move(failed));
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

int UrlOpener::openersShowing()
{
    return g_showing.load();
}

void UrlOpener::setHook(Hook hook)
{
    const std::lock_guard<std::mutex> lock(g_openerMutex);
    g_hook = std::move(hook);
}
