#include "foundation/ui/AppExit.h"

#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>

namespace
{
AppExit::Handler &exitHandler()
{
    static AppExit::Handler h;
    return h;
}
} // namespace

void AppExit::exit(int status)
{
    if (exitHandler()) {
        exitHandler()(status);
        return;
    }
    // Nothing is left to save here; tearing down windows and threads would only risk a crash on
    // the way out, so the process ends as it stands.
    std::fflush(stdout);
    std::fflush(stderr);
    ::_exit(status);
}

void AppExit::setHandler(Handler h)
{
    exitHandler() = std::move(h);
}
