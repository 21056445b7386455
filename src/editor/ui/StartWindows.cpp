#include "editor/ui/StartWindows.h"

#include "canvas/ui/Image_Library.h"
#include "editor/EditorState.h"
#include "editor/ui/FileCommands.h"
#include "editor/ui/Invitation_Wizard.h"
#include "editor/ui/SKTWindowController.h"
#include "foundation/WindowRegistry.h"

void fillStartWindows(SKTWindowController &window, WindowRegistry &registry)
{
    registry.fill(WindowRegistry::Window::StartWizard, [&window, &registry](const QString &mode) {
        Invitation_Wizard *wizard = registry.instance<Invitation_Wizard>([&window] {
            return new Invitation_Wizard(
                &window, [&window] { return window.fileCommands().Open_Log_File(); }, &window);
        });
        const int result = wizard->Open_Wnd(mode == SKTWindowController::StartWindowFromNew);
        return result != 1 && wizard->exitChosen() ? SKTWindowController::StartWindowExit : result;
    });
    registry.fill(WindowRegistry::Window::ImageLibrary, [&window, &registry](const QString &mode) {
        Image_Library *library =
            registry.instance<Image_Library>([&window] { return new Image_Library(&window); });
        library->control_or_BG = mode;
        const int result = library->Open_Library_Window();
        if (result == 1)
            EditorState::instance().lib_window_sel_file = library->selected_image;
        return result;
    });
}
