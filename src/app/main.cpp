// Program entry: sets up the application (message boxes, data root) and opens the main window.
#include "foundation/DesignerApplication.h"
#include "foundation/MainWindowShell.h"

int main(int argc, char **argv)
{
    DesignerApplication app(argc, argv);
    if (!app.initialise())
        return 1;
    app.quitOnTerminationSignals();
    MainWindowShell window;
    app.messageService().setParentWindow(&window);
    window.show();
    return app.exec();
}
