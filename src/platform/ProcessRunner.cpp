#include "platform/ProcessRunner.h"

#include "platform/SpawnAttributes.h"

#include <QDeadlineTimer>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

// The child is started with posix_spawn rather than QProcess: QProcess starts children with a
// clone that shares the parent's memory, which the thread sanitizer cannot follow (it then stops
// checking the parent), and posix_spawn is as cheap and safe to call from any thread.
namespace
{
struct Pipe {
    int read = -1;
    int write = -1;
    bool open() { return ::pipe2(&read, O_CLOEXEC) == 0; }
    static void closeFd(int &fd)
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    ~Pipe()
    {
        closeFd(read);
        closeFd(write);
    }
};

// Byte strings that live as long as the argv/envp arrays pointing into them.
struct CStrings {
    std::vector<QByteArray> owned;
    std::vector<char *> pointers;
    void add(const QString &s) { owned.push_back(s.toLocal8Bit()); }
    char **terminated()
    {
        pointers.clear();
        for (QByteArray &b : owned)
            pointers.push_back(b.data());
        pointers.push_back(nullptr);
        return pointers.data();
    }
};

QString errnoText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// Writes what it can without blocking; a reader that went away ends the input (EPIPE), with the
// signal that would have killed us kept blocked on this thread and then discarded.
bool writeSome(int fd, const QByteArray &data, qsizetype &written)
{
    sigset_t pipeOnly, old;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeOnly, &old);
    const ssize_t n = ::write(fd, data.constData() + written, size_t(data.size() - written));
    const int err = errno;
    if (n < 0 && err == EPIPE) {
        const timespec zero{0, 0};
        while (sigtimedwait(&pipeOnly, nullptr, &zero) > 0) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    if (n > 0)
        written += n;
    return n >= 0 || err == EAGAIN || err == EINTR;
}

// Appends what is there; false at end of file or on an error.
bool readSome(int fd, QByteArray &into)
{
    char buffer[65536];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
        into.append(buffer, n);
        return true;
    }
    return n < 0 && (errno == EAGAIN || errno == EINTR);
}

// Takes what is waiting in a pipe without waiting for more.
void drain(int fd, QByteArray &into)
{
    char buffer[65536];
    ssize_t n = 0;
    while (fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) != 0) {
        if (n > 0)
            into.append(buffer, n);
        else if (errno != EINTR)
            break;
    }
}

// The three pipes of one run and the child at their other ends. Closed ends are -1.
struct ChildPipes {
    Pipe in, out, err;
    bool open() { return in.open() && out.open() && err.open(); }
};

// Starts the child on its ends of the pipes; 0, or the error posix_spawn gave.
int spawnChild(const ProcessRunner::Request &request, ChildPipes &pipes, pid_t &pid)
{
    CStrings argv, envp;
    argv.add(request.program);
    for (const QString &a : request.arguments)
        argv.add(a);
    if (request.environment) {
        for (const QString &kv : request.environment->toStringList())
            envp.add(kv);
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipes.in.read, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipes.out.write, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipes.err.write, STDERR_FILENO);
    const QByteArray dir = request.workingDirectory.toLocal8Bit();
    if (!dir.isEmpty())
        posix_spawn_file_actions_addchdir_np(&actions, dir.constData());
    const SpawnAttributes attributes;
    const QByteArray program = request.program.toLocal8Bit();
    const int spawnError = posix_spawnp(&pid, program.constData(), &actions, attributes.get(),
                                        argv.terminated(), request.environment ? envp.terminated() : environ);
    posix_spawn_file_actions_destroy(&actions);
    return spawnError;
}

// Keeps only this side's ends, not blocking; with no input to give, the child reads end of file.
void keepParentEnds(const ProcessRunner::Request &request, ChildPipes &pipes)
{
    Pipe::closeFd(pipes.in.read);
    Pipe::closeFd(pipes.out.write);
    Pipe::closeFd(pipes.err.write);
    for (int fd : {pipes.in.write, pipes.out.read, pipes.err.read})
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    if (request.standardInput.isEmpty())
        Pipe::closeFd(pipes.in.write);
}

// One wait of at most 0.1 s on the open pipes, then what they allow: input written, outputs read,
// ends closed at end of file. False when the pipes cannot be watched any more.
bool pumpOnce(const ProcessRunner::Request &request, ChildPipes &pipes, const QDeadlineTimer &deadline,
              qsizetype &written, ProcessRunner::Result &r)
{
    pollfd fds[3];
    int *owners[3];
    int count = 0;
    auto watch = [&](int &fd, short events) {
        if (fd >= 0) {
            fds[count] = {fd, events, 0};
            owners[count++] = &fd;
        }
    };
    watch(pipes.in.write, POLLOUT);
    watch(pipes.out.read, POLLIN);
    watch(pipes.err.read, POLLIN);
    // With every pipe closed only the exit is left to wait for: look often.
    const qint64 left = deadline.remainingTime();
    const int tick = count > 0 ? 100 : 2;
    const int ready = ::poll(fds, nfds_t(count), left < 0 ? tick : int(qMin<qint64>(left, tick)));
    if (ready < 0 && errno != EINTR)
        return false;
    for (int i = 0; i < count && ready > 0; ++i) {
        if (!fds[i].revents)
            continue;
        int &fd = *owners[i];
        if (&fd == &pipes.in.write) {
            if (!writeSome(fd, request.standardInput, written) || written >= request.standardInput.size())
                Pipe::closeFd(fd);
        } else if (!readSome(fd, &fd == &pipes.out.read ? r.standardOutput : r.standardError)) {
            Pipe::closeFd(fd);
        }
    }
    return true;
}

// Feeds the input and drains both outputs until the child has ended, the time is up or the run
// is aborted; true once the child is reaped, its status in *status. A grandchild may keep the
// outputs open: once the child has ended, what is there is taken and the rest is not waited for.
bool pumpUntilExit(const ProcessRunner::Request &request, ChildPipes &pipes, pid_t pid,
                   const QDeadlineTimer &deadline, ProcessRunner::Result &r, int *status)
{
    qsizetype written = 0;
    for (;;) {
        if (deadline.hasExpired()) {
            r.timedOut = true;
            return false;
        }
        if (request.abort && request.abort->load()) {
            r.aborted = true;
            return false;
        }
        if (!pumpOnce(request, pipes, deadline, written, r)) {
            ::kill(pid, SIGKILL); // cannot watch it any more: do not leave it running unseen
            return false;
        }
        if (::waitpid(pid, status, WNOHANG) == pid) {
            drain(pipes.out.read, r.standardOutput);
            drain(pipes.err.read, r.standardError);
            return true;
        }
    }
}

// Stops a child that overran or was aborted, always reaps it, and reads how it ended.
void finishChild(const ProcessRunner::Request &request, pid_t pid, bool reaped, int status,
                 ProcessRunner::Result &r)
{
    if (r.timedOut || r.aborted) {
        r.error =
            r.timedOut
                ? QStringLiteral("%1 did not finish in time and was stopped.").arg(request.program)
                : QStringLiteral("%1 was stopped because the program is quitting.").arg(request.program);
        if (!reaped)
            ::kill(pid, SIGKILL);
    }
    while (!reaped) {
        if (::waitpid(pid, &status, 0) == pid)
            reaped = true;
        else if (errno != EINTR)
            break;
    }
    if (!r.timedOut && !r.aborted) {
        if (reaped && WIFSIGNALED(status)) {
            r.crashed = true;
            r.error = QStringLiteral("%1 ended abnormally.").arg(request.program);
        } else if (reaped) {
            r.exitCode = WEXITSTATUS(status);
        }
    }
}
} // namespace

ProcessRunner::Result ProcessRunner::run(const Request &request)
{
    Result r;
    if (request.program.isEmpty()) {
        r.error = QStringLiteral("No program to run.");
        return r;
    }
    // The time limit counts from here, the start included.
    const QDeadlineTimer deadline =
        request.timeoutMs > 0 ? QDeadlineTimer(request.timeoutMs) : QDeadlineTimer(QDeadlineTimer::Forever);
    ChildPipes pipes;
    if (!pipes.open()) {
        r.error = QStringLiteral("%1 could not be started: %2").arg(request.program, errnoText(errno));
        return r;
    }
    pid_t pid = -1;
    if (const int spawnError = spawnChild(request, pipes, pid); spawnError != 0) {
        r.error = QStringLiteral("%1 could not be started: %2").arg(request.program, errnoText(spawnError));
        return r;
    }
    r.started = true;
    keepParentEnds(request, pipes);
    int status = 0;
    const bool reaped = pumpUntilExit(request, pipes, pid, deadline, r, &status);
    finishChild(request, pid, reaped, status, r);
    return r;
}
