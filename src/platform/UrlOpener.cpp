#include "platform/UrlOpener.h"

#include <QDesktopServices>
#include <mutex>

namespace
{
std::mutex g_openerMutex;
UrlOpener::Hook g_hook;
} // namespace

bool UrlOpener::open(const QUrl &url)
{
    if (!url.isValid() || url.isEmpty())
        return false;
    Hook hook;
    {
        const std::lock_guard<std::mutex> lock(g_openerMutex);
        hook = g_hook;
    }
    if (hook)
        return hook(url);
    return QDesktopServices::openUrl(url);
}

bool UrlOpener::openFile(const QString &path)
{
    if (path.isEmpty())
        return false;
    return open(QUrl::fromLocalFile(path));
}

void UrlOpener::setHook(Hook hook)
{
    const std::lock_guard<std::mutex> lock(g_openerMutex);
    g_hook = std::move(hook);
}
