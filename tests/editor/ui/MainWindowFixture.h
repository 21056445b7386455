// A fresh main window over a private data root for every test, with every seam answering from
// the test; helpers click tools and read the sides as a user would see them.
#pragma once

#include "canvas/ui/SKTGraphicView.h"
#include "data/ExcelBindingTable.h"
#include "editor/DesignFileFormat.h"
#include "editor/EditorState.h"
#include "editor/ui/SKTWindowController.h"
#include "editor/ui/SideViews.h"
#include "editor/ui/ToolController.h"
#include "foundation/WindowRegistry.h"
#include "model/ModelGlobals.h"
#include "platform/PropertyList.h"
#include "support/DesignSetup.h"
#include "support/WindowFixture.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QTest>

#include <memory>

class MainWindowFixture : public testsupport::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        ModelGlobals::instance().reset();
        EditorState::instance().reset();
        window = std::make_unique<SKTWindowController>();
        // Most tests begin on a plain new card; the wizard's own tests put the real one back.
        window->registry().fill(WindowRegistry::Window::StartWizard, [](const QString &) {
            Start_Card_Option = QStringLiteral("T");
            return 1;
        });
        window->show();
        window->start();
        QCoreApplication::processEvents();
        messages.clear();
    }
    void TearDown() override
    {
        window.reset();
        ModelGlobals::instance().reset();
        WindowFixture::TearDown();
    }

    void clickTool(int tool)
    {
        QTest::mouseClick(window->tools().button(tool), Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    // Ctrl+S on a design without a file, the save panel answered with name in the test's folder.
    QString saveAs(const QString &name)
    {
        const QString path = tempPath(name);
        files.answers.push_back(path);
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
        return path;
    }
    // The design as a save would write it. A copy: writing drops a picture path that only a
    // save may drop from the live page.
    QByteArray savedDesign()
    {
        CardDesign design = window->document().design();
        return PropertyList::writeBinary(plist::Value(DesignFileFormat::buildItems(design)));
    }
    // The message boxes' texts as the user reads them (boxes start with a blank line).
    QStringList shown() const
    {
        QStringList texts;
        for (const QString &m : messages.messages())
            texts << (m.startsWith(QLatin1Char('\n')) ? m.mid(1) : m);
        return texts;
    }
    const GraphicList &front() { return window->document().graphics(); }
    // The design's binding table.
    const ExcelBindingTable &binding() { return window->document().design().binding; }
    // Writes the design's binding table as a test's starting state (announced, no undo step).
    template <typename Write> void writeBinding(Write write)
    {
        testsupport::arrangeSettings(window->document(), [&write](DesignSettings &s) { write(s.binding); });
    }
    const GraphicList &back() { return window->document().graphics_back(); }
    SKTGraphicView *canvas(int side) { return window->sideViews().canvas(side); }

    std::unique_ptr<SKTWindowController> window;
};
