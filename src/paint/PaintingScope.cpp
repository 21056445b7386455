#include "paint/PaintingScope.h"

#include "platform/GuiThreadQueue.h"

#include <QCoreApplication>
#include <QThread>

#include <atomic>

namespace
{
thread_local int t_paintDepth = 0;
// One posted request at a time: a batch run on workers would otherwise flood the GUI thread.
std::atomic<bool> g_posted{false};
} // namespace

PaintingScope::PaintingScope()
{
    ++t_paintDepth;
}

PaintingScope::~PaintingScope()
{
    --t_paintDepth;
}

bool PaintingScope::isPainting()
{
    return t_paintDepth > 0;
}

void PaintingScope::requestRefresh(const std::function<void()> &refresh)
{
    if (!refresh || isPainting())
        return;
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    if (QThread::currentThread() == app->thread())
        refresh();
    else if (!g_posted.exchange(true)) {
        const bool queued = GuiThreadQueue::post([refresh] {
            g_posted = false;
            refresh();
        });
        if (!queued)
            g_posted = false; // nothing would clear it otherwise
    }
}
