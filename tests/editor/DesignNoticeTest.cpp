// Every change of the design's settings reaches a listener as one notice, whichever road it took:
// an edit, its undo and redo, and opening a file. A listener reading the design on the notice finds
// the new settings there.
#include "editor/DesignFile.h"
#include "editor/EditorState.h"
#include "foundation/FoundationState.h"
#include "model/CardPageFields.h"
#include "model/EditStep.h"
#include "model/ModelGlobals.h"
#include "model/SKTDocument.h"
#include "platform/UndoManager.h"
#include "support/DesignSetup.h"
#include "support/PageFieldValues.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <functional>

namespace
{

// Counts the notices and keeps the settings the design held at the last of them.
struct Listener : ChangeObserver {
    explicit Listener(SKTDocument &document) : document(document)
    {
        document.addObserver(this, SKTDocumentDesignKey, {});
    }
    ~Listener() override { document.removeAllObservers(this); }
    void observeValueForKeyPath(const QString &, Observable *, const ObservedChange &change, void *) override
    {
        if (change.isPrior)
            return;
        ++heard;
        seen = document.design().settings();
    }
    SKTDocument &document;
    int heard = 0;
    DesignSettings seen;
};

struct Edit {
    QString name;
    std::function<void(SKTDocument &)> make;
};

// One edit per setting: the size, the outline, each stored field of a page, the workbook.
std::vector<Edit> editsOfEverySetting()
{
    std::vector<Edit> edits{
        {QStringLiteral("size"), [](SKTDocument &d) { testsupport::setCardSize(d, QSizeF(300, 200)); }},
        {QStringLiteral("outline"),
         [](SKTDocument &d) { testsupport::setOutline(d, DesignSettings::Ellipse); }},
        {QStringLiteral("workbook"),
         [](SKTDocument &d) {
             ExcelBindingTable table;
             table.setColumnTitles({QStringLiteral("Name")});
             table.setListData({{{"Extension", "1"}, {"Column1", "Ann"}}});
             table.Excel_Binding_Use = true;
             table.Excel_Source_Path = QStringLiteral("/data/guests.xlsx");
             d.setBinding(table);
         }},
    };
    const Card_Property changed = testsupport::pageWithEveryFieldSet();
    for (const CardPageFields::Field &field : CardPageFields::Table) {
        for (int side : {0, 1}) {
            edits.push_back({QStringLiteral("%1 of side %2").arg(QLatin1String(field.name)).arg(side),
                             [&field, side, changed](SKTDocument &d) {
                                 Card_Property page = d.design().page(side);
                                 std::visit([&](auto member) { page.*member = changed.*member; },
                                            field.member);
                                 testsupport::setPage(d, side, page);
                             }});
        }
    }
    return edits;
}

class DesignNotice : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ModelGlobals::instance().reset();
        EditorState::instance().reset();
        FoundationState::instance().setResourcePath(dir.path());
    }
    void TearDown() override
    {
        ModelGlobals::instance().reset();
        EditorState::instance().reset();
        FoundationState::instance().reset();
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(DesignNotice, EachSettingIsHeardOnceFromAnEditItsUndoItsRedoAndOpeningAFile)
{
    for (const Edit &edit : editsOfEverySetting()) {
        SKTDocument doc;
        const DesignSettings before = doc.design().settings();
        Listener listener(doc);
        edit.make(doc);
        const DesignSettings after = doc.design().settings();
        ASSERT_FALSE(after == before) << edit.name.toStdString() << ": the edit changed nothing";
        EXPECT_EQ(listener.heard, 1) << edit.name.toStdString() << " (edit)";
        EXPECT_TRUE(listener.seen == after) << edit.name.toStdString();

        UndoManager &undo = doc.undoManager();
        ASSERT_EQ(undo.undoCount(), 1) << edit.name.toStdString();
        undo.undo();
        EXPECT_EQ(listener.heard, 2) << edit.name.toStdString() << " (undo)";
        EXPECT_TRUE(listener.seen == before) << edit.name.toStdString();
        undo.redo();
        EXPECT_EQ(listener.heard, 3) << edit.name.toStdString() << " (redo)";
        EXPECT_TRUE(listener.seen == after) << edit.name.toStdString();

        // Saved, then opened over a design of other settings.
        const QString path = dir.filePath(QStringLiteral("notice.dcard"));
        EditorState::instance().Project_File_Name = path;
        ASSERT_TRUE(DesignFile(doc).Save_project_file(false, false).ok()) << edit.name.toStdString();
        const DesignSettings saved = doc.design().settings();
        undo.undo();
        listener.heard = 0;
        ASSERT_TRUE(DesignFile(doc).Read_and_load_design_Log(path, QStringLiteral("L")).ok());
        EXPECT_EQ(listener.heard, 1) << edit.name.toStdString() << " (open)";
        EXPECT_EQ(testsupport::differingPageFields(listener.seen.frontPage, saved.frontPage), QStringList())
            << edit.name.toStdString();
    }
}

TEST_F(DesignNotice, AnEditThatChangesNothingIsNeitherHeardNorAStep)
{
    SKTDocument doc;
    DesignSettings same = doc.design().settings();
    same.setCardSize(QSizeF(243, 154)); // a new design's pages hold no size of their own
    doc.putSettingsUnrecorded(same);
    Listener listener(doc);
    testsupport::setCardSize(doc, doc.design().cardSize());
    testsupport::setOutline(doc, doc.design().outline());
    testsupport::setPage(doc, SKTDocument::Back, doc.design().backPage);
    doc.setBinding(doc.design().binding);
    doc.putSettingsUnrecorded(same);
    EXPECT_EQ(listener.heard, 0);
    EXPECT_EQ(doc.undoManager().undoCount(), 0);
}

// Writes made inside one edit step (a control that sets the size, the outline and the objects) are
// one step and one notice, heard once the step is complete.
TEST_F(DesignNotice, WritesWithinOneStepAreHeardOnceWhenItEnds)
{
    SKTDocument doc;
    Listener listener(doc);
    {
        const EditStep step(doc, {QStringLiteral("Card Size"), SKTDocument::Front, {}},
                            {DesignState::of(doc)});
        testsupport::setCardSize(doc, QSizeF(120, 120));
        testsupport::setOutline(doc, DesignSettings::RoundedRectangle);
        EXPECT_EQ(listener.heard, 0);
    }
    EXPECT_EQ(listener.heard, 1);
    EXPECT_EQ(listener.seen.cardSize(), QSizeF(120, 120));
    EXPECT_EQ(doc.undoManager().undoCount(), 1);
    doc.undoManager().undo();
    EXPECT_EQ(listener.heard, 2);
    EXPECT_EQ(doc.design().cardSize(), DesignSettings::DefaultCardSize);
    EXPECT_EQ(doc.design().outline(), DesignSettings::Rectangle);
}
