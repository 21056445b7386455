#include "foundation/ui/DesignerApplication.h"

#include "foundation/AppIdentity.h"
#include "foundation/FileUtils.h"
#include "foundation/MessageBoxes.h"
#include "foundation/ProgramLog.h"
#include "foundation/ui/DeferredIconStyle.h"
#include "foundation/ui/WindowLook.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace
{
// A signal handler may only write to a descriptor; the event loop reads the other end.
int g_signalPipe[2] = {-1, -1};

void onTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[0], &byte, 1);
}
} // namespace

DesignerApplication::DesignerApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    prepare(*this);
}

void DesignerApplication::prepare(QApplication &app)
{
    applyIdentity();
    DeferredIconStyle::installOn(app);
    WindowLook::KeptPlaces::installOn(app);
}

void DesignerApplication::quitOnTerminationSignals()
{
    if (m_signalNotifier || ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    m_signalNotifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, this);
    connect(m_signalNotifier, &QSocketNotifier::activated, this, [] {
        char byte;
        [[maybe_unused]] const ssize_t n = ::read(g_signalPipe[1], &byte, 1);
        // exit(), not quit(): quit() would first ask every window to close, and the main
        // window answers a close with its exit questions.
        QCoreApplication::exit(0);
    });
    struct sigaction sa = {};
    sa.sa_handler = onTerminationSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &sa, nullptr);
}

void DesignerApplication::applyIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("tessaly-designer"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TESSALY_VERSION));
    QGuiApplication::setApplicationDisplayName(AppIdentity::DisplayName);
    QGuiApplication::setDesktopFileName(QStringLiteral("tessaly-designer"));
}

bool DesignerApplication::initialise()
{
    // What the program logs goes to its log file, not the terminal it was started from.
    ProgramLog::open(ProgramLog::defaultPath());
    MessageService::install(&m_messages);
    const ResourceRoot::Result r = setUpDataRoot();
    if (!r.ok) {
        Show_MessageBox(QStringLiteral("Can not access Varnesk Data file."));
        return false;
    }
    return true;
}
