#include "editor/WindowCatalog.h"

#include "data/SeriesWindows.h"
#include "editor/MainWindowOutputHost.h"
#include "editor/SKTWindowController.h"
#include "editor/SeriesInUse.h"
#include "editor/StartWindows.h"
#include "editor/TemplateCommands.h"
#include "foundation/FoundationState.h"
#include "foundation/WindowRegistry.h"
#include "panels/BarcodePanel.h"
#include "profile/UserProfileCommands.h"
#include "support/SupportCommands.h"

void fillWindowRegistry(SKTWindowController &window, WindowRegistry &registry)
{
    // Entries not filled here keep their menu items disabled.
    MainWindowOutputHost::fillRegistry(window, registry);
    fillStartWindows(window, registry);
    UserProfileCommands::fillRegistry(window, registry);
    TemplateCommands::fill(window, registry);
    SupportCommands::fill(registry, &window, SKTWindowController::App_Name);
    BarcodePanel::fillRegistry(window, registry);
    SeriesWindows::fill(registry, &window, [&window](const QString &name) {
        SKTDocument &doc = window.document();
        return Check_Batch_File_In_Use_Validation(name, doc.graphics(), doc.graphics_back(),
                                                  window.Front_card_Prop.Card_Side, Data_Folder_Path);
    });
}
