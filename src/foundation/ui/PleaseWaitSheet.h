// The please-wait sheet for the length of a scope: opened window-modal over its parent, painted
// at once, closed on every way out. runWithPleaseWait runs slow work on a worker under it while
// the GUI thread keeps turning (message boxes from the work still show).
#pragma once

#include <QPointer>

#include <functional>
#include <optional>
#include <type_traits>

class PleaseWait_Modeless;
class QWidget;

class PleaseWaitSheet
{
public:
    // With cancel, the sheet offers a Cancel button that calls it (PleaseWait_Modeless::offerCancel).
    explicit PleaseWaitSheet(QWidget *parent, std::function<void()> cancel = {});
    ~PleaseWaitSheet();
    PleaseWaitSheet(const PleaseWaitSheet &) = delete;
    PleaseWaitSheet &operator=(const PleaseWaitSheet &) = delete;

    PleaseWait_Modeless *window() const { return m_window; }
    // The sheet of the scope that is open now, if any (tests look at it).
    static PleaseWait_Modeless *current();

private:
    QPointer<PleaseWait_Modeless> m_window;
};

// Runs work on a worker thread under the please-wait sheet and returns when it has finished.
// onQuit is called on the GUI thread if the program is told to quit meanwhile (WorkerRun::run).
void runWithPleaseWaitVoid(QWidget *parent, const std::function<void()> &work,
                           const std::function<void()> &onQuit = {});

// Work that is often quick but may not be (opening or saving a big design): it runs on a worker
// while the user's keys, clicks and window closes are dropped, since they would act on what the work
// is about to replace, and the windows keep painting; once it has run lateMs, the please-wait sheet
// shows over parent until it ends.
constexpr int PleaseWaitLateMs = 1000;
void runHoldingInput(QWidget *parent, const std::function<void()> &work, int lateMs = PleaseWaitLateMs);

template <typename Work>
auto runWithPleaseWait(QWidget *parent, Work work, const std::function<void()> &onQuit = {})
    -> decltype(work())
{
    using Result = decltype(work());
    if constexpr (std::is_void_v<Result>) {
        runWithPleaseWaitVoid(parent, work, onQuit);
    } else {
        std::optional<Result> result;
        runWithPleaseWaitVoid(
            parent, [&] { result.emplace(work()); }, onQuit);
        return std::move(*result);
    }
}
