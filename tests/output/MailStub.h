// Stand-ins for the mail script's interpreter: one records what it is given, byte for byte; one
// sleeps until it is killed.
#pragma once

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QList>

namespace mailtest
{

inline QList<QByteArray> nulSeparated(const QByteArray &bytes)
{
    QList<QByteArray> parts = bytes.split('\0');
    if (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    return parts;
}

inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// An interpreter that writes what it was given into dir (arguments NUL-separated, environment,
// standard input, a copy of each attachment) and exits with the status in dir/code.
inline QString makeStub(const QString &dir)
{
    const QString path = QDir(dir).filePath("python-stub");
    testsupport::writeFile(path,
                           QStringLiteral("#!/bin/sh\n"
                                          "d='%1'\n"
                                          "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$d/argv\"\n"
                                          "cat /proc/$$/environ > \"$d/env\"\n"
                                          "cat > \"$d/stdin\"\n"
                                          "if [ $# -gt 10 ]; then shift 10; for f in \"$@\"; do\n"
                                          "  cp \"$f\" \"$d/\" 2>/dev/null; done; fi\n"
                                          "exit $(cat \"$d/code\")\n")
                               .arg(dir)
                               .toUtf8());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// A shell script standing in for the interpreter: records its process id, then sleeps long.
inline QString writeSleepingInterpreter(const QString &folder)
{
    const QString path = folder + QStringLiteral("/sleepy-python");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("#!/bin/sh\necho $$ > \"" + (folder + QStringLiteral("/pid")).toUtf8() + "\"\nexec sleep 60\n");
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    return path;
}

} // namespace mailtest
