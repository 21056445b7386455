// The application object: names the program, installs the message boxes and prepares the
// per-user data root before any window opens.
#include "foundation/DesignerApplication.h"

#include "foundation/FileUtils.h"
#include "foundation/MessageBoxes.h"

DesignerApplication::DesignerApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    applyIdentity();
}

DesignerApplication::~DesignerApplication()
{
    MessageService::uninstall(&m_messages);
}

void DesignerApplication::applyIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("tessaly-designer"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TESSALY_VERSION));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Tessaly Greeting Designer"));
    QGuiApplication::setDesktopFileName(QStringLiteral("tessaly-designer"));
}

bool DesignerApplication::initialise()
{
    MessageService::install(&m_messages);
    const ResourceRoot::Result r = setUpDataRoot();
    if (!r.ok) {
        Show_MessageBox(QStringLiteral("Can not access Varnesk Data file."));
        return false;
    }
    return true;
}
