#include "data/ui/SeriesWindows.h"

#include "data/ExcelBindingTable.h"

#include "data/ui/BatchWizard.h"
#include "data/ui/Data_From_Excel.h"
#include "data/ui/Generate_List.h"
#include "data/ui/Import_Wizard.h"
#include "data/ui/View_Data_Series.h"
#include "foundation/MessageBoxes.h"
#include "foundation/StringUtils.h"
#include "foundation/WindowRegistry.h"

#include <QPointer>

#include <memory>

namespace SeriesWindows
{
void fill(WindowRegistry &registry, QWidget *parent, const SeriesInUseTest &inUse,
          const std::function<ExcelBindingTable()> &binding,
          const std::function<void(const ExcelBindingTable &)> &keep)
{
    QPointer<QWidget> owner(parent);
    WindowRegistry *reg = &registry;
    auto manager = [reg, owner, inUse] {
        return reg->instance<BatchWizard>([&] {
            auto *w = new BatchWizard(owner);
            w->setInUseTest(inUse);
            w->setRegistry(reg);
            return w;
        });
    };
    registry.fill(WindowRegistry::Window::SeriesManager,
                  [manager](const QString &) { return manager()->Open_Wnd(); });
    // From the main window the generator writes a new series and leaves the manager's list alone.
    // It and the wizard below show over the main window, as the manager that keeps them is hidden.
    registry.fill(WindowRegistry::Window::SeriesGenerator, [manager, owner](const QString &) {
        Generate_List *g = manager()->generator(owner);
        g->file_name_required = 1;
        g->file_name_Insert = 0;
        return g->Open_Wnd();
    });
    // From the main window the wizard makes a new series file.
    registry.fill(WindowRegistry::Window::ImportWizard, [manager, owner](const QString &) {
        Import_Wizard *w = manager()->importWizard(owner);
        w->file_name_required = 1;
        w->file_name_Insert = 0;
        return w->Open_Wnd();
    });
    registry.fill(WindowRegistry::Window::SeriesViewer, [reg, owner](const QString &name) {
        const QString trimmed = Trim_Str(name);
        if (trimmed.isEmpty()) {
            Show_MessageBox(QStringLiteral("Please select the series."));
            return 0;
        }
        View_Data_Series *viewer =
            reg->instance<View_Data_Series>([&] { return new View_Data_Series(owner); });
        viewer->file_name = trimmed;
        return viewer->Open_Wnd();
    });
    auto working = std::make_shared<ExcelBindingTable>();
    registry.fill(WindowRegistry::Window::BindingTableViewer, [reg, owner, working, binding,
                                                               keep](const QString &) {
        *working = binding();
        const int result =
            reg->instance<Data_From_Excel>([&] { return new Data_From_Excel(*working, owner); })->Open_Wnd();
        // Corrections go into the table at OK only: Escape and the close button leave it as it was.
        if (result == 1)
            keep(*working);
        return result;
    });
}
} // namespace SeriesWindows
