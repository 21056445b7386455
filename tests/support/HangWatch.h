// Turns a test that hangs into a failure that names it within a bounded time, instead of a run held
// until ctest's own timeout: every test has a limit, and a message box nobody answers is closed.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#ifdef TESSALY_TEST_UI
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#endif

namespace hangwatch
{

// Sanitizer builds run several times slower; the limits stretch with them.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr int Slowdown = 4;
#else
inline constexpr int Slowdown = 1;
#endif

// Far above the slowest test's own time; TESSALY_TEST_HANG_LIMIT (seconds) sets another.
inline std::chrono::seconds defaultLimit()
{
    const char *set = std::getenv("TESSALY_TEST_HANG_LIMIT");
    const int seconds = set && std::atoi(set) > 0 ? std::atoi(set) : 180;
    return std::chrono::seconds(seconds * Slowdown);
}

// A watcher thread ends the program, naming the test, once a test outlives its limit: by then it
// waits for something that will not come, and nothing after it could run anyway.
class Watch
{
public:
    static Watch &instance()
    {
        static Watch *watch = new Watch; // lives as long as the watcher thread
        return *watch;
    }

    // Tightens the running test's limit, for a test whose hang a mend is known to cause.
    static void limitThisTest(std::chrono::seconds limit)
    {
        Watch &w = instance();
        std::lock_guard lock(w.m_mutex);
        w.m_deadline = std::min(w.m_deadline, Clock::now() + limit * Slowdown);
        w.m_limit = limit * Slowdown;
        w.m_changed.notify_all();
    }

    void started(const ::testing::TestInfo &info)
    {
        std::lock_guard lock(m_mutex);
        m_test = std::string(info.test_suite_name()) + "." + info.name();
        m_limit = defaultLimit();
        m_deadline = Clock::now() + m_limit;
        m_changed.notify_all();
    }

    void ended()
    {
        std::lock_guard lock(m_mutex);
        m_test.clear();
        m_changed.notify_all();
    }

private:
    using Clock = std::chrono::steady_clock;

    Watch()
    {
        // ThreadSanitizer ends a child a threaded test process forks once the child starts a
        // thread of its own (as the mail tests' server does): its runs keep ctest's timeout.
#ifndef __SANITIZE_THREAD__
        std::thread([this] { watch(); }).detach();
#endif
    }

    void watch()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            if (m_test.empty()) {
                m_changed.wait(lock);
                continue;
            }
            const auto deadline = m_deadline;
            if (m_changed.wait_until(lock, deadline) == std::cv_status::timeout && !m_test.empty() &&
                Clock::now() >= m_deadline) {
                std::fprintf(stderr, "\n%s hangs: it did not finish within %lld s\n", m_test.c_str(),
                             static_cast<long long>(m_limit.count()));
                std::fflush(stderr);
                std::_Exit(3);
            }
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::string m_test;
    Clock::time_point m_deadline;
    std::chrono::seconds m_limit{0};
};

// GoogleTest owns and deletes its listeners; the watch outlives them.
class Listener : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo &info) override { Watch::instance().started(info); }
    void OnTestEnd(const ::testing::TestInfo &) override { Watch::instance().ended(); }
};

#ifdef TESSALY_TEST_UI
// A test that leaves a real message box up waits for a click that never comes. A box open this long
// fails the test with its text and is closed by its Escape answer, so the test runs on to its end.
class UnansweredBoxes : public QObject
{
public:
    static constexpr int LimitMs = 15000 * Slowdown;

    explicit UnansweredBoxes(QApplication &app) : QObject(&app)
    {
        auto *timer = new QTimer(this);
        timer->setInterval(250);
        connect(timer, &QTimer::timeout, this, &UnansweredBoxes::look);
        timer->start();
    }

private:
    void look()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box != m_box) {
            m_box = box;
            m_since.start();
            return;
        }
        if (!box || m_since.elapsed() < LimitMs)
            return;
        ADD_FAILURE() << "A message box stayed open with nobody to answer it: \""
                      << box->windowTitle().toStdString() << "\": " << box->text().toStdString();
        m_box = nullptr;
        if (QAbstractButton *escape = box->escapeButton())
            escape->click();
        else
            box->reject();
    }

    QPointer<QMessageBox> m_box;
    QElapsedTimer m_since;
};
#endif

} // namespace hangwatch
