// How core code asks the user: an OK box and a Yes/No box, shown on the GUI thread.
// Calls from worker threads wait for the GUI thread to answer; GUI-thread calls are direct.
#include "platform/MessageService.h"

#include "platform/GuiThreadQueue.h"

#include <atomic>

namespace
{
std::atomic<MessageService *> g_service{nullptr};
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
    GuiThreadQueue::runAndWait([&] {
        // Read again on the GUI thread: the service may have changed while the call travelled.
        if (MessageService *s = installed()) {
            s->showMessage(text);
            shown = true;
        }
    });
    return shown;
}

void MessageService::showTitledMessage(const QString &, const QString &text)
{
    showMessage(text);
}

bool MessageService::deliverTitledMessage(const QString &title, const QString &text)
{
    if (!installed())
        return false;
    bool shown = false;
    GuiThreadQueue::runAndWait([&] {
        if (MessageService *s = installed()) {
            s->showTitledMessage(title, text);
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
    GuiThreadQueue::runAndWait([&] {
        if (MessageService *s = installed())
            answer = s->askYesNo(text);
    });
    return answer;
}

int MessageService::askChoice(const QString &text, const QStringList &, int, int)
{
    return askYesNo(text) ? 0 : 1;
}

std::optional<int> MessageService::deliverChoice(const QString &text, const QStringList &buttons,
                                                 int defaultIndex, int escapeIndex)
{
    if (!installed())
        return std::nullopt;
    std::optional<int> answer;
    GuiThreadQueue::runAndWait([&] {
        if (MessageService *s = installed())
            answer = s->askChoice(text, buttons, defaultIndex, escapeIndex);
    });
    return answer;
}
