// A stand-in for the desktop's xdg-open, first on PATH while it lives: a shell script that notes
// what it was given and ends as told, failing as xdg-open does on a desktop with no browser,
// succeeding, running on (as beside a browser in the foreground) until released, or running a
// viewer on what it was given until released, then failing as xdg-open does when the program it
// ran ends in failure (a viewer the user ended). The test's opener hook is taken away for the
// rest of the test, so the program's own road is taken.
#pragma once

#include "platform/UrlOpener.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtCore/qtestsupport_core.h>

namespace testsupport
{

class FakeDesktopOpener
{
public:
    enum class Ends { Failing, Succeeding, WhenReleased, ViewerWhenReleased };
    // xdg-open's status when no program takes the address ("a required tool could not be found").
    static constexpr int NoProgramStatus = 3;
    // Its status when the program it ran ended in failure ("the action failed").
    static constexpr int ActionFailedStatus = 4;

    explicit FakeDesktopOpener(Ends ends) : m_path(qgetenv("PATH"))
    {
        const QString waiting =
            QStringLiteral("while [ ! -e '%1' ]; do sleep 0.02; done\nexit \"$(cat '%1')\"")
                .arg(m_dir.filePath(QStringLiteral("release")));
        const QString viewer = m_dir.filePath(QStringLiteral("viewer"));
        writeFile(viewer, ("#!/bin/sh\n" + waiting + "\n").toUtf8());
        QFile::setPermissions(viewer, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString ending =
            ends == Ends::Failing      ? QStringLiteral("exit %1").arg(NoProgramStatus)
            : ends == Ends::Succeeding ? QStringLiteral("exit 0")
            : ends == Ends::WhenReleased
                ? waiting
                : QStringLiteral("'%1' \"$1\" || exit %2\nexit 0").arg(viewer).arg(ActionFailedStatus);
        const QString script = m_dir.filePath(QStringLiteral("xdg-open"));
        writeFile(script, QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '%1'\n%2\n")
                              .arg(m_dir.filePath(QStringLiteral("opened")), ending)
                              .toUtf8());
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(m_dir.path()) + ':' + m_path);
        UrlOpener::setHook({});
    }
    ~FakeDesktopOpener()
    {
        release(0);
        waitUntilEnded();
        qputenv("PATH", m_path);
    }
    FakeDesktopOpener(const FakeDesktopOpener &) = delete;
    FakeDesktopOpener &operator=(const FakeDesktopOpener &) = delete;

    // What each start of the opener was given.
    QStringList arguments() const
    {
        QFile f(m_dir.filePath(QStringLiteral("opened")));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLocal8Bit(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // Lets a running opener end with the status.
    void release(int status)
    {
        writeFile(m_dir.filePath(QStringLiteral("release")), QByteArray::number(status));
    }
    // Every opener started has ended and been collected.
    static bool waitUntilEnded()
    {
        return QTest::qWaitFor([] { return UrlOpener::runningOpeners() == 0; });
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_path;
};

} // namespace testsupport
