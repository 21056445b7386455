#include "editor/ui/StartWindows.h"

#include "canvas/ui/Image_Library.h"
#include "editor/ui/FileCommands.h"
#include "editor/ui/Invitation_Wizard.h"
#include "editor/ui/SKTWindowController.h"
#include "foundation/WindowRegistry.h"

void fillStartWindows(SKTWindowController &window, WindowRegistry &registry)
{
    registry.fill(WindowRegistry::Window::StartWizard, [&window, &registry](const QString &mode) {
        Invitation_Wizard *wizard = registry.instance<Invitation_Wizard>([&window] {
            return new Invitation_Wizard([&window] { return window.fileCommands().Open_Log_File(); },
                                         &window);
        });
        return wizard->Open_Wnd(mode == SKTWindowController::StartWindowFromNew);
    });
    registry.fillPictureChooser([&window, &registry](WindowRegistry::PictureShelf shelf) {
        return registry.instance<Image_Library>([&window] { return new Image_Library(&window); })
            ->choosePicture(shelf);
    });
}
