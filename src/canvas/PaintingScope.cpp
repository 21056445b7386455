#include "canvas/PaintingScope.h"

#include <QCoreApplication>
#include <QThread>

namespace
{
thread_local int t_paintDepth = 0;
}

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
    else
        QMetaObject::invokeMethod(app, refresh, Qt::QueuedConnection);
}
