#include "foundation/ui/PleaseWaitSheet.h"

#include "foundation/WorkerRun.h"
#include "foundation/ui/PleaseWait_Modeless.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QWidget>

#include <algorithm>

namespace
{
QPointer<PleaseWait_Modeless> g_current;
}

PleaseWaitSheet::PleaseWaitSheet(QWidget *parent, std::function<void()> cancel)
    : m_window(new PleaseWait_Modeless(parent))
{
    if (cancel)
        m_window->offerCancel(std::move(cancel));
    m_window->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    m_window->open();
    g_current = m_window;
    // Painted once before the work starts, without taking the user's input meanwhile.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

PleaseWaitSheet::~PleaseWaitSheet()
{
    if (m_window) {
        m_window->hide();
        m_window->deleteLater();
    }
    if (g_current == m_window)
        g_current = nullptr;
}

PleaseWait_Modeless *PleaseWaitSheet::current()
{
    return g_current;
}

void runWithPleaseWaitVoid(QWidget *parent, const std::function<void()> &work,
                           const std::function<void()> &onQuit)
{
    PleaseWaitSheet sheet(parent);
    WorkerRun::Options options;
    options.quit = onQuit;
    WorkerRun::run(work, options);
}

namespace
{
// Drops the user's input to every window while installed.
class InputHold : public QObject
{
public:
    InputHold() { QCoreApplication::instance()->installEventFilter(this); }
    ~InputHold() override { QCoreApplication::instance()->removeEventFilter(this); }
    InputHold(const InputHold &) = delete;
    InputHold &operator=(const InputHold &) = delete;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return true;
        case QEvent::Close:
            // The window stays until the work is done; closing it then asks what closing asks.
            if (watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow()) {
                event->ignore();
                return true;
            }
            return false;
        default:
            return false;
        }
    }
};
} // namespace

// Work that ends within this long is waited for without turning the window's loop.
constexpr int QuietMs = 100;

void runHoldingInput(QWidget *parent, const std::function<void()> &work, int lateMs)
{
    const InputHold hold;
    std::optional<PleaseWaitSheet> sheet;
    WorkerRun::Options options;
    // A small design is read or written at once, as a plain call would: no event is taken meanwhile.
    options.quietMs = std::min(lateMs, QuietMs);
    options.tickMs = std::max(1, lateMs);
    options.tick = [&] {
        if (!sheet)
            sheet.emplace(parent);
    };
    WorkerRun::run(work, options);
}
