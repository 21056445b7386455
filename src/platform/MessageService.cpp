// How core code asks the user: an OK box and a Yes/No box, shown on the GUI thread.
// Calls from worker threads wait on a blocking queued call; GUI-thread calls are direct.
#include "platform/MessageService.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <atomic>

namespace
{
std::atomic<MessageService *> g_service{nullptr};

// Runs fn on the GUI thread and waits for it. A blocking queued call from the GUI thread itself
// would deadlock, so there the call is direct.
template <typename Fn> bool runOnGuiThread(Fn &&fn)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        fn();
        return true;
    }
    if (QCoreApplication::closingDown())
        return false;
    return QMetaObject::invokeMethod(app, std::forward<Fn>(fn), Qt::BlockingQueuedConnection);
}
} // namespace

MessageService::~MessageService()
{
    uninstall(this);
}

void MessageService::uninstall(MessageService *service)
{
    g_service.compare_exchange_strong(service, nullptr);
}

void MessageService::install(MessageService *service)
{
    g_service.store(service);
}

MessageService *MessageService::installed()
{
    return g_service.load();
}

bool MessageService::deliverMessage(const QString &text)
{
    if (!installed())
        return false;
    bool shown = false;
    runOnGuiThread([&] {
        // Read again on the GUI thread: the service may have changed while the call travelled.
        if (MessageService *s = installed()) {
            s->showMessage(text);
            shown = true;
        }
    });
    return shown;
}

std::optional<bool> MessageService::deliverYesNo(const QString &text)
{
    if (!installed())
        return std::nullopt;
    std::optional<bool> answer;
    runOnGuiThread([&] {
        if (MessageService *s = installed())
            answer = s->askYesNo(text);
    });
    return answer;
}
