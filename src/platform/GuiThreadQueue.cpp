#include "platform/GuiThreadQueue.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <chrono>
#include <deque>
#include <future>
#include <mutex>
#include <utility>

namespace
{
struct Task {
    quint64 id;
    std::function<void()> run;
};

std::mutex g_queueMutex;
std::deque<Task> g_tasks;
quint64 g_nextId = 1;

// Runs what is queued, one task at a time, on the GUI thread.
void drain()
{
    for (;;) {
        std::function<void()> run;
        {
            const std::lock_guard<std::mutex> lock(g_queueMutex);
            if (g_tasks.empty())
                return;
            run = std::move(g_tasks.front().run);
            g_tasks.pop_front();
        }
        run();
    }
}

// Queues a task and wakes the GUI thread; 0 when there is no application to run it. The posted
// call carries no data: everything travels through the mutex-guarded queue.
quint64 enqueue(std::function<void()> run)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || QCoreApplication::closingDown())
        return 0;
    quint64 id = 0;
    {
        const std::lock_guard<std::mutex> lock(g_queueMutex);
        id = g_nextId++;
        g_tasks.push_back({id, std::move(run)});
    }
    QMetaObject::invokeMethod(
        app, [] { drain(); }, Qt::QueuedConnection);
    return id;
}

// Takes a task back if it has not started; false when it has (or is done).
bool withdraw(quint64 id)
{
    const std::lock_guard<std::mutex> lock(g_queueMutex);
    for (auto it = g_tasks.begin(); it != g_tasks.end(); ++it) {
        if (it->id == id) {
            g_tasks.erase(it);
            return true;
        }
    }
    return false;
}

bool onGuiThread()
{
    QCoreApplication *app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}
} // namespace

bool GuiThreadQueue::post(std::function<void()> task)
{
    return enqueue(std::move(task)) != 0;
}

bool GuiThreadQueue::runAndWait(const std::function<void()> &task)
{
    if (onGuiThread()) {
        task();
        return true;
    }
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    const quint64 id = enqueue([&task, &done] {
        task();
        done.set_value();
    });
    if (id == 0)
        return false;
    // An application closing down no longer turns its event loop: take the task back unless
    // it has already started, in which case it finishes and we wait for it.
    using namespace std::chrono_literals;
    while (finished.wait_for(50ms) == std::future_status::timeout) {
        if ((!QCoreApplication::instance() || QCoreApplication::closingDown()) && withdraw(id))
            return false;
    }
    return true;
}
