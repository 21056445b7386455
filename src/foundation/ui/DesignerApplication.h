// The application object: names the program, installs the message boxes and prepares the
// per-user data root before any window opens.
#pragma once

#include "foundation/ui/MessageBoxService.h"

#include <QApplication>

class DesignerApplication : public QApplication
{
    Q_OBJECT
public:
    DesignerApplication(int &argc, char **argv);

    // Installs the message boxes and sets up Resource_Path. On failure the user has been told
    // and the program should end.
    bool initialise();

    MessageBoxService &messageService() { return m_messages; }

    // Ends the event loop normally on SIGTERM, SIGINT or SIGHUP (logout, a terminal's Ctrl+C),
    // so the program closes as through Quit and exits with status 0.
    void quitOnTerminationSignals();

    // Names the program (used for its per-user folders); also called by tests.
    static void applyIdentity();
    // What the program's application object is given before any widget is made: its name, its
    // style (standard icons made on first use) and its windows' kept places. Tests of the start
    // take the same road.
    static void prepare(QApplication &app);

private:
    MessageBoxService m_messages;
    class QSocketNotifier *m_signalNotifier = nullptr;
};
