// The please-wait sheet for the length of a scope: opened window-modal over its parent, painted
// at once, closed on every way out. runWithPleaseWait runs slow work on a worker under it while
// the GUI thread keeps turning (message boxes from the work still show).
#include "foundation/PleaseWaitSheet.h"

#include "foundation/PleaseWait_Modeless.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

namespace
{
QPointer<PleaseWait_Modeless> g_current;
}

PleaseWaitSheet::PleaseWaitSheet(QWidget *parent) : m_window(new PleaseWait_Modeless(parent))
{
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

void runWithPleaseWaitVoid(QWidget *parent, const std::function<void()> &work)
{
    PleaseWaitSheet sheet(parent);
    QEventLoop loop;
    QThread *thread = QThread::create(work);
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    thread->start();
    // The loop keeps the GUI thread answering (message boxes asked for by the work).
    if (!thread->isFinished())
        loop.exec();
    thread->wait();
    delete thread;
}
