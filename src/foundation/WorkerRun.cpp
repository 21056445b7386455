#include "foundation/WorkerRun.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

WorkerRun::End WorkerRun::run(const std::function<void()> &work, const Options &options)
{
    QEventLoop loop;
    std::atomic<bool> finished{false};
    std::exception_ptr thrown;

    bool quitAsked = false;
    const auto askQuit = [&] {
        if (quitAsked || finished)
            return;
        quitAsked = true;
        if (options.quit)
            options.quit();
    };
    QMetaObject::Connection quitting;
    if (QCoreApplication *app = QCoreApplication::instance())
        quitting = QObject::connect(app, &QCoreApplication::aboutToQuit, &loop, askQuit);

    QTimer ticks;
    if (options.tickMs > 0 && options.tick) {
        ticks.setInterval(options.tickMs);
        QObject::connect(&ticks, &QTimer::timeout, &loop, options.tick);
        ticks.start();
    }

    std::mutex ending;
    std::condition_variable ended;
    // The thread only reads what it is given and writes `thrown`, which is read after the join.
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            thrown = std::current_exception();
        }
        {
            const std::lock_guard lock(ending);
            finished = true;
        }
        ended.notify_all();
        // Wakes the loop; the loop object outlives the thread, so the posted call finds it.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    if (options.quietMs > 0) {
        std::unique_lock lock(ending);
        ended.wait_for(lock, std::chrono::milliseconds(options.quietMs), [&] { return finished.load(); });
    }
    if (!finished)
        loop.exec();
    // The loop also ends (or does not start) when the application is told to exit: the work must
    // not outlive it, so it is cut short before it is waited for.
    if (!finished)
        askQuit();
    worker.join();
    ticks.stop();
    QObject::disconnect(quitting);
    if (thrown)
        std::rethrow_exception(thrown);
    return quitAsked ? End::Quit : End::Finished;
}
