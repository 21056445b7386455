// The main window's Export and Print commands reach their windows through the registry, with the
// design the window holds.
#include "editor/WindowRegistry.h"
#include "editor/ui/MainWindowFixture.h"
#include "output/ExportSheet.h"
#include "output/Print_Wnd.h"

#include <QCheckBox>
#include <QLabel>

class MainWindowOutput : public MainWindowFixture
{
};

TEST_F(MainWindowOutput, ExportAndPrintOpenTheirWindowsOnTheCurrentDesign)
{
    WindowRegistry &registry = window->registry();
    ASSERT_TRUE(registry.isFilled(WindowRegistry::Window::Export));
    ASSERT_TRUE(registry.isFilled(WindowRegistry::Window::Print));
    bool combinedOffered = true;
    modalScripts.push_back([&](QDialog &dialog) {
        auto *sheet = qobject_cast<ExportSheet *>(&dialog);
        combinedOffered = sheet && sheet->export_combined_image_chk->isEnabled();
        return 0;
    });
    registry.open(WindowRegistry::Window::Export);
    QString paper;
    modalScripts.push_back([&](QDialog &dialog) {
        if (auto *print = qobject_cast<Print_Wnd *>(&dialog))
            paper = print->Size_id->text();
        return 0;
    });
    registry.open(WindowRegistry::Window::Print);
    EXPECT_EQ(modalTitles, (QStringList{"Export", "Print"}));
    EXPECT_FALSE(combinedOffered); // the sheet opens on the front side
    EXPECT_FALSE(paper.isEmpty());
}
