// Program entry: sets up the application (message boxes, data root), opens the main window and
// starts a new design, or the design file named on the command line.
#include "editor/ui/SKTWindowController.h"
#include "foundation/ui/DesignerApplication.h"

#include <QStringList>

int main(int argc, char **argv)
{
    DesignerApplication app(argc, argv);
    if (!app.initialise())
        return 1;
    app.quitOnTerminationSignals();
    SKTWindowController window;
    app.messageService().setParentWindow(&window);
    window.show();
    // The desktop entry passes a design file as the first argument.
    const QStringList args = QCoreApplication::arguments().mid(1);
    QString design;
    for (const QString &a : args) {
        if (!a.startsWith(QLatin1Char('-'))) {
            design = a;
            break;
        }
    }
    window.start(design);
    return app.exec();
}
