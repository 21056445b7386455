// Runs a child process to the end: program, arguments, bytes on standard input, environment and
// a time limit in; exit code, both outputs and what went wrong out. Usable on worker threads.
#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

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
    };

    struct Result {
        bool started = false;
        bool timedOut = false; // killed when the time limit passed
        bool crashed = false;  // ended by a signal
        int exitCode = -1;
        QByteArray standardOutput;
        QByteArray standardError;
        QString error; // why it failed to start, timed out or crashed

        bool succeeded() const { return started && !timedOut && !crashed && exitCode == 0; }
    };

    static Result run(const Request &request);
};
