#include "editor/ui/TemplateCommands.h"

#include "data/ExcelBindingTable.h"
#include "editor/EditorState.h"
#include "editor/TemplateStore.h"
#include "editor/ui/Export_Template.h"
#include "editor/ui/FileCommands.h"
#include "editor/ui/Insert_Template.h"
#include "editor/ui/MainWindowOutputHost.h"
#include "editor/ui/SKTWindowController.h"
#include "editor/ui/SideViews.h"
#include "editor/ui/Template_Wizard.h"
#include "foundation/DataRoot.h"
#include "foundation/MessageBoxes.h"
#include "foundation/WindowRegistry.h"
#include "model/ModelGlobals.h"
#include "output/RunPlan.h"

int TemplateCommands::Export_As_Template_Clicked(SKTWindowController &window, WindowRegistry &registry)
{
    const QString folder = TemplateStore::userFolderOf(Resource_Path);
    auto *dialog = registry.instance<Export_Template>([&] { return new Export_Template(folder, &window); });
    if (dialog->runFor(QString()) != 1)
        return 0;

    // A copy: writing drops a picture path that is not the page fill, which only a save may do.
    CardDesign design = window.document().design();
    const plist::Array items = DesignFileFormat::buildItems(design);
    const auto plan = RunPlan::make(MainWindowOutputHost::designOf(window));

    const TemplateResult r =
        TemplateStore(folder).exportTemplate(Export_Template::export_template_name, items, plan);
    if (!r.ok() && !r.reason.isEmpty())
        Show_NSLog_Message(r.reason);
    Show_MessageBox(r.ok() ? TemplateStore::MsgExported : r.message);
    return r.ok() ? 1 : 0;
}

int TemplateCommands::New_From_Template(SKTWindowController &window, WindowRegistry &registry)
{
    auto *browser =
        registry.instance<Template_Wizard>([&] { return new Template_Wizard(&registry, &window); });
    const std::optional<QString> chosen = browser->chooseTemplate();
    if (!chosen)
        return 0;
    const QString &path = *chosen;
    if (!window.fileCommands().settleUnsavedChanges(FileCommands::SaveBeforeNewQuestion))
        return 0;
    // A template that cannot be read leaves the current design as it was.
    const DesignResult loaded = window.designFile().Read_and_load_design_Log(path, QStringLiteral("T"));
    if (!loaded.ok()) {
        if (!loaded.reason.isEmpty())
            Show_NSLog_Message(loaded.reason);
        Show_MessageBox(loaded.message.isEmpty() ? DesignFile::CorruptMessage : loaded.message);
        return 0;
    }
    window.Set_Log_Name_In_Title();
    window.Show_RHS_Properties(nullptr);
    window.sideViews().showWholeCard();
    window.Undo_Redo_Button_state();
    window.Refresh_Canvas();
    if (!loaded.message.isEmpty())
        Show_MessageBox(loaded.message);
    return 1;
}

void TemplateCommands::fill(SKTWindowController &window, WindowRegistry &registry)
{
    registry.fill(WindowRegistry::Window::TemplateBrowser,
                  [&](const QString &) { return New_From_Template(window, registry); });
    registry.fill(WindowRegistry::Window::ExportTemplate,
                  [&](const QString &) { return Export_As_Template_Clicked(window, registry); });
    registry.fillGreetingChooser([&](WindowRegistry::GreetingKind kind) {
        return registry.instance<Insert_Template>([&] { return new Insert_Template(&window); })
            ->chooseText(kind);
    });
}
