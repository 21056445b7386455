// Runs a child process to the end: program, arguments, bytes on standard input, environment and
// a time limit in; exit code, both outputs and what went wrong out. Usable on worker threads.
#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <atomic>
#include <optional>

class ProcessRunner
{
public:
    struct Request {
        QString program;
        QStringList arguments;
        QByteArray standardInput;                       // written, then the channel is closed
        std::optional<QProcessEnvironment> environment; // none: the program's own environment
        QString workingDirectory;
        int timeoutMs = 60000; // for the whole run; <= 0 waits forever
        // When it turns true the child is killed (the program is quitting); looked at every 0.1 s.
        const std::atomic<bool> *abort = nullptr;
    };

    struct Result {
        bool started = false;
        bool timedOut = false; // killed when the time limit passed
        bool aborted = false;  // killed because abort turned true
        bool crashed = false;  // ended by a signal
        int exitCode = -1;
        QByteArray standardOutput;
        QByteArray standardError;
        QString error; // why it failed to start, timed out or crashed

        bool succeeded() const { return started && !timedOut && !aborted && !crashed && exitCode == 0; }
    };

    static Result run(const Request &request);
};
