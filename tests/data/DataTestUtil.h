// Helpers of the data engine tests: running cardtool and Debian's python3, and small files.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace datatest
{

struct ProcResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline ProcResult run(const QString &program, const QStringList &args, const QByteArray &input = {},
                      int timeoutMs = 60000)
{
    QProcess p;
    p.start(program, args);
    ProcResult r;
    if (!p.waitForStarted())
        return r;
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(timeoutMs);
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

inline ProcResult cardtool(const QStringList &args, const QByteArray &input = {})
{
    return run(QStringLiteral(CARDTOOL_PATH), args, input);
}

inline ProcResult python(const QString &script, const QStringList &args = {}, const QByteArray &input = {})
{
    return run(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral("-c"), script} + args, input);
}

inline QString testFile(const QString &name)
{
    return QStringLiteral(TESSALY_TEST_DATA "/") + name;
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace datatest
