// Runs a child process to the end: program, arguments, bytes on standard input, environment and
// a time limit in; exit code, both outputs and what went wrong out. Usable on worker threads.
#include "platform/ProcessRunner.h"

#include <QDeadlineTimer>
#include <QProcess>

ProcessRunner::Result ProcessRunner::run(const Request &request)
{
    Result r;
    if (request.program.isEmpty()) {
        r.error = QStringLiteral("No program to run.");
        return r;
    }
    QDeadlineTimer deadline =
        request.timeoutMs > 0 ? QDeadlineTimer(request.timeoutMs) : QDeadlineTimer(QDeadlineTimer::Forever);
    QProcess p;
    p.setProgram(request.program);
    p.setArguments(request.arguments);
    if (request.environment)
        p.setProcessEnvironment(*request.environment);
    if (!request.workingDirectory.isEmpty())
        p.setWorkingDirectory(request.workingDirectory);
    p.start(QIODevice::ReadWrite);
    if (!p.waitForStarted(request.timeoutMs > 0 ? int(deadline.remainingTime()) : -1)) {
        r.error = QStringLiteral("%1 could not be started: %2").arg(request.program, p.errorString());
        if (p.state() != QProcess::NotRunning) {
            p.kill();
            p.waitForFinished(2000);
        }
        return r;
    }
    r.started = true;
    if (!request.standardInput.isEmpty())
        p.write(request.standardInput);
    p.closeWriteChannel();

    const bool finished = p.waitForFinished(request.timeoutMs > 0 ? int(deadline.remainingTime()) : -1);
    if (!finished && p.state() != QProcess::NotRunning) {
        r.timedOut = true;
        r.error = QStringLiteral("%1 did not finish in time and was stopped.").arg(request.program);
        p.kill();
        p.waitForFinished(5000);
    }
    r.standardOutput = p.readAllStandardOutput();
    r.standardError = p.readAllStandardError();
    if (!r.timedOut) {
        if (p.exitStatus() == QProcess::CrashExit) {
            r.crashed = true;
            r.error = QStringLiteral("%1 ended abnormally.").arg(request.program);
        } else {
            r.exitCode = p.exitCode();
        }
    }
    return r;
}
