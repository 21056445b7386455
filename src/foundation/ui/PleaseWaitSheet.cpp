#include "foundation/ui/PleaseWaitSheet.h"

#include "foundation/WorkerRun.h"
#include "foundation/ui/PleaseWait_Modeless.h"

#include <QCoreApplication>
#include <QEventLoop>

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
