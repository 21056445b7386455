// Edits that write fields directly become one undo step each: the whole state of the objects they
// touch is put back in place (same objects, same places in the lists), and given again by redo.
#include "ModelFixture.h"

#include "model/EditStep.h"
#include "model/SKTDocument.h"
#include "model/SKTLine.h"
#include "model/SKTText.h"
#include "platform/UndoManager.h"
#include "support/DesignSetup.h"

namespace
{
class EditStepTest : public ModelTest
{
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        doc.undoManager().setGroupsByEvent(false);
        text = SKTGraphic::create(SKTGraphic::Kind::Text);
        line = SKTGraphic::create(SKTGraphic::Kind::Line);
        text->setBounds(QRectF(10, 10, 80, 30));
        doc.insertGraphicsIntoSide(SKTDocument::Back, {text, line}, {0, 1});
        doc.undoManager().removeAllActions();
    }
    // One write of a panel: several fields, some through their keys, some directly.
    void write(const QString &words, const UndoManager::MergeKey &key = {})
    {
        const EditStep step(doc, {QStringLiteral("Typing"), SKTDocument::Back, key},
                            {GraphicStates::of({text, line})});
        text->Text_contents().text = words;
        text->setValueForKey(SKTGraphicFillColorKey, QColor(Qt::red));
        text->setBounds(text->bounds().adjusted(0, 0, 0, 5));
        text->alpha_val = 0.5f;
        static_cast<SKTLine &>(*line).setEndPoint(QPointF(90, 70));
    }

    SKTDocument doc;
    GraphicPtr text, line;
};
} // namespace

TEST_F(EditStepTest, OneStepPutsEveryFieldBackIntoTheSameObjects)
{
    const GraphicPtr before = text->clone();
    const GraphicPtr lineBefore = line->clone();
    write(QStringLiteral("Hello"));
    UndoManager &undo = doc.undoManager();
    ASSERT_EQ(undo.undoCount(), 1);
    EXPECT_EQ(undo.undoActionName(), QStringLiteral("Typing"));
    EXPECT_EQ(undo.undoActionTag(), int(SKTDocument::Back));
    const GraphicPtr after = text->clone();

    undo.undo();
    EXPECT_EQ(doc.graphics_back(), (GraphicList{text, line}));
    EXPECT_TRUE(GraphicStates::sameState(*text, *before));
    EXPECT_TRUE(GraphicStates::sameState(*line, *lineBefore));
    EXPECT_EQ(undo.redoActionName(), QStringLiteral("Typing"));
    EXPECT_EQ(undo.redoActionTag(), int(SKTDocument::Back));
    undo.redo();
    EXPECT_TRUE(GraphicStates::sameState(*text, *after));
    EXPECT_EQ(undo.undoCount(), 1);
}

TEST_F(EditStepTest, WritesUnderOneKeyAreOneStepUntilTheMergeEnds)
{
    UndoManager &undo = doc.undoManager();
    const UndoManager::MergeKey key = EditStep::mergeKey(this, {text}, SKTDocument::Back);
    write(QStringLiteral("H"), key);
    write(QStringLiteral("He"), key);
    write(QStringLiteral("Hel"), key);
    EXPECT_EQ(undo.undoCount(), 1);
    undo.endMerge();
    write(QStringLiteral("Help"), key);
    EXPECT_EQ(undo.undoCount(), 2);
    undo.undo();
    EXPECT_EQ(text->Text_contents().text, QStringLiteral("Hel"));
    undo.undo();
    EXPECT_EQ(text->textContentsForDrawing().text, QStringLiteral("Text here"));
}

TEST_F(EditStepTest, NothingIsRecordedWithoutAChangeOrWithRegistrationOff)
{
    UndoManager &undo = doc.undoManager();
    {
        const EditStep step(doc, {QStringLiteral("Nothing"), 0, {}}, {GraphicStates::of({text})});
    }
    EXPECT_FALSE(undo.canUndo());
    doc.Enable_Disable_Undo_Registraion(0);
    write(QStringLiteral("Preview"));
    doc.Enable_Disable_Undo_Registraion(1);
    EXPECT_FALSE(undo.canUndo());
}

TEST_F(EditStepTest, ObjectsAddedDuringTheEditBelongToItsStep)
{
    const GraphicPtr added = SKTGraphic::create(SKTGraphic::Kind::Shape);
    {
        const EditStep step(doc, {QStringLiteral("Personal Details"), SKTDocument::Back, {}},
                            {GraphicStates::of(doc.graphics_back())});
        text->Text_contents().text = QStringLiteral("Ann");
        doc.insertGraphicsIntoSide(SKTDocument::Back, {added}, {2});
    }
    UndoManager &undo = doc.undoManager();
    EXPECT_EQ(undo.undoCount(), 1);
    EXPECT_EQ(undo.undoActionName(), QStringLiteral("Personal Details"));
    undo.undo();
    EXPECT_EQ(doc.graphics_back(), (GraphicList{text, line}));
    EXPECT_EQ(text->textContentsForDrawing().text, QStringLiteral("Text here"));
}

TEST_F(EditStepTest, AChangeMadeWithRegistrationOffLeavesTheNextOneRecorded)
{
    // Unrecorded and recorded changes in one group: the recorded one must still be undoable.
    UndoManager &undo = doc.undoManager();
    undo.beginUndoGrouping();
    doc.Enable_Disable_Undo_Registraion(0);
    text->setBounds(QRectF(1, 1, 80, 30));
    doc.Enable_Disable_Undo_Registraion(1);
    text->setBounds(QRectF(2, 2, 80, 30));
    undo.endUndoGrouping();
    ASSERT_TRUE(undo.canUndo());
    undo.undo();
    EXPECT_EQ(text->bounds(), QRectF(1, 1, 80, 30));
}

// The card page's step is the model's: both pages with the outline and size, and the binding table,
// put back into the document's design with no window, which the editor hears of by observing it.
TEST_F(EditStepTest, ADesignStepPutsBackThePagesOutlineSizeAndWorkbook)
{
    struct Watch : ChangeObserver {
        int told = 0;
        void observeValueForKeyPath(const QString &, Observable *, const ObservedChange &, void *) override
        {
            ++told;
        }
    } watch;
    doc.addObserver(&watch, SKTDocumentDesignKey, {});
    const CardDesign &design = doc.design();
    DesignSettings start;
    start.setCardSize(QSizeF(243, 154));
    start.binding.setColumnTitles({QStringLiteral("Name")});
    start.binding.setListData({{{"Extension", "1"}, {"Column1", "Ann"}}});
    start.binding.Excel_Source_Path = QStringLiteral("/data/guests.xlsx");
    doc.putSettingsUnrecorded(start);
    watch.told = 0;
    const DesignSettings before = design.settings();
    {
        // Several writes inside one step: one step, one notice.
        const EditStep step(doc, {QStringLiteral("Card Size"), SKTDocument::Front, {}},
                            {DesignState::of(doc)});
        doc.changeSettingsRecorded({}, SKTDocument::Front, [](DesignSettings &s) {
            s.setCardSize(QSizeF(300, 200));
            s.setOutline(CardDesign::Ellipse);
        });
        doc.changeSettingsRecorded({}, SKTDocument::Back, [](DesignSettings &s) {
            s.backPage.Card_border_chk = !s.backPage.Card_border_chk;
            s.binding.setListData({{{"Extension", "1"}, {"Column1", "Bo"}}});
            s.binding.Excel_Source_Path = QStringLiteral("/data/other.xlsx");
        });
        EXPECT_EQ(watch.told, 0) << "announced before the step ended";
    }
    EXPECT_EQ(watch.told, 1);
    watch.told = 0;
    UndoManager &undo = doc.undoManager();
    ASSERT_EQ(undo.undoCount(), 1);
    undo.undo();
    EXPECT_TRUE(design.settings() == before);
    EXPECT_EQ(design.cardSize(), QSizeF(243, 154));
    EXPECT_EQ(design.outline(), CardDesign::Rectangle);
    EXPECT_EQ(design.binding.Excel_Source_Path, QStringLiteral("/data/guests.xlsx"));
    EXPECT_EQ(watch.told, 1);
    undo.redo();
    EXPECT_EQ(design.cardSize(), QSizeF(300, 200));
    EXPECT_EQ(design.outline(), CardDesign::Ellipse);
    EXPECT_EQ(design.binding.objectValue(1, 0), QStringLiteral("Bo"));
    EXPECT_EQ(watch.told, 2);

    // Nothing changed: no step.
    {
        const EditStep step(doc, {QStringLiteral("Card Size"), SKTDocument::Front, {}},
                            {DesignState::of(doc)});
        testsupport::setCardSize(doc, design.cardSize());
    }
    EXPECT_EQ(undo.undoCount(), 1);
    doc.removeAllObservers(&watch);
}

// Writes continuing one step may reach other fields than the first did (a gradient's two colours,
// the texts a content colour reaches): undo of the step puts back everything they changed.
TEST_F(EditStepTest, AContinuedStepPutsBackWhatEachOfItsWritesChanged)
{
    const UndoManager::MergeKey key = EditStep::mergeKey(this, {text}, SKTDocument::Front);
    const Card_Property page = doc.design().frontPage;
    const GraphicPtr before = text->clone();
    const GraphicPtr lineBefore = line->clone();
    const auto writeFront = [&](const std::function<void(Card_Property &)> &write, const GraphicPtr &object) {
        const EditStep step(doc, {QStringLiteral("Card Page"), SKTDocument::Front, key},
                            {DesignState::of(doc), GraphicStates::of({text, line})});
        doc.changeSettingsRecorded({}, SKTDocument::Front, [&](DesignSettings &s) { write(s.frontPage); });
        object->alpha_val = 0.25f;
    };
    writeFront([](Card_Property &p) { p.Card_fill_Grd_1_clr = QColor(10, 20, 30); }, text);
    writeFront([](Card_Property &p) { p.Card_fill_Grd_2_clr = QColor(40, 50, 60); }, line);
    UndoManager &undo = doc.undoManager();
    ASSERT_EQ(undo.undoCount(), 1);
    undo.undo();
    EXPECT_TRUE(DesignSettings::samePage(doc.design().frontPage, page));
    EXPECT_TRUE(GraphicStates::sameState(*text, *before));
    EXPECT_TRUE(GraphicStates::sameState(*line, *lineBefore));
    undo.redo();
    EXPECT_EQ(doc.design().frontPage.Card_fill_Grd_1_clr, QColor(10, 20, 30));
    EXPECT_EQ(doc.design().frontPage.Card_fill_Grd_2_clr, QColor(40, 50, 60));
    EXPECT_FLOAT_EQ(line->alpha_val, 0.25f);
}

// A step's undo puts back what the step changed and nothing else: an object it took but left alone,
// and a page field it did not write, keep what was done to them after it.
TEST_F(EditStepTest, UndoLeavesWhatTheStepDidNotChange)
{
    {
        const EditStep step(doc, {QStringLiteral("Card Page"), SKTDocument::Front, {}},
                            {DesignState::of(doc), GraphicStates::of({text, line})});
        doc.changeSettingsRecorded({}, SKTDocument::Front, [](DesignSettings &s) {
            s.frontPage.Card_fill_Grd_1_clr = QColor(10, 20, 30);
        });
        text->alpha_val = 0.25f;
    }
    line->alpha_val = 0.75f;
    DesignSettings later = doc.design().settings();
    later.frontPage.Card_fill_Grd_2_clr = QColor(40, 50, 60);
    later.backPage.Card_fill_Grd_1_clr = QColor(70, 80, 90);
    doc.putSettingsUnrecorded(later);

    doc.undoManager().undo();
    EXPECT_NE(doc.design().frontPage.Card_fill_Grd_1_clr, QColor(10, 20, 30));
    EXPECT_NE(text->alpha_val, 0.25f);
    EXPECT_EQ(doc.design().frontPage.Card_fill_Grd_2_clr, QColor(40, 50, 60));
    EXPECT_EQ(doc.design().backPage.Card_fill_Grd_1_clr, QColor(70, 80, 90));
    EXPECT_FLOAT_EQ(line->alpha_val, 0.75f);
}
