// Runs of random edits of every kind on both sides (objects, canvas moves, resizes and held-key
// nudges, card pages, the card's size and outline, Personal Details with its workbook), the preview
// side filled and refilled, workbooks loaded again or chosen anew, answers learnt outside any step,
// a write that is no step failing half way, undos and redos. Each edit is one step under its name,
// and what is no step records nothing. After each: undo of everything gives the design before the
// first step, redo of everything the last, each under the name it was made with; no undo or redo
// takes back what was learnt outside its step; every bound text shows its column's first value in
// the rows the design holds.
#include "ModelFixture.h"

#include "data/ColumnBinding.h"
#include "data/DataSourceChoices.h"
#include "foundation/CardCodes.h"
#include "model/EditStep.h"
#include "model/GraphicFields.h"
#include "model/SKTDocument.h"
#include "platform/UndoManager.h"
#include "support/DesignSetup.h"

#include <algorithm>
#include <functional>
#include <random>
#include <stdexcept>

namespace
{
const QStringList Headings{QStringLiteral("Name"), QStringLiteral("Mail"), QStringLiteral("City")};

// What the user edits and saves: the settings, and each side's objects in their places.
struct Snapshot {
    DesignSettings settings;
    GraphicList lists[2];
    GraphicList states[2];
};

class UndoSequenceTest : public ModelTest
{
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        doc.undoManager().setGroupsByEvent(false);
    }

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    QString word() { return QStringLiteral("w%1").arg(pick(100000)); }
    const ExcelBindingTable &binding() const { return doc.design().binding; }
    QString firstValue(const SKTGraphic &g) const
    {
        return DataSourceChoices::Get_First_Value_Of_Excel_Binding(
            binding(), ColumnBinding::resolve(binding(), g.excel_col_indx, g.excel_col_title));
    }

    // Rows as a workbook gives them: its headings in any order, one of them sometimes gone, and the
    // facts of a new state of its file.
    ExcelBindingTable readRows()
    {
        ExcelBindingTable t;
        QStringList titles = Headings;
        std::shuffle(titles.begin(), titles.end(), rng);
        if (pick(4) == 0)
            titles.removeLast();
        t.setColumnTitles(titles);
        QList<ExcelBindingTable::Row> rows;
        for (int r = 0, n = 1 + pick(3); r < n; ++r) {
            ExcelBindingTable::Row row{{ExcelBindingTable::rowNumberKey(), QString::number(r + 1)}};
            for (int k = 1; k <= titles.size(); ++k)
                row.insert(ExcelBindingTable::columnIdentifier(k), word());
            rows << row;
        }
        t.setListData(rows);
        t.sourceFacts.size = 1000 + pick(1000);
        t.sourceFacts.modifiedMs = ++clock;
        t.sourceFacts.sha256 = word().toLatin1();
        return t;
    }

    // A text shows a heading's first value as a bound text does, or words of its own.
    void bindText(SKTGraphic &g, bool bound)
    {
        if (bound) {
            const QString heading = Headings[pick(int(Headings.size()))];
            g.data_source_type = DataSourceCode::BindingColumn;
            g.Set_Excel_binding_Column(std::max(1, int(binding().columnTitles().indexOf(heading))), heading);
            g.Text_contents().text = firstValue(g);
        } else {
            g.data_source_type = DataSourceCode::Fixed;
            g.Text_contents().text = word();
        }
    }
    GraphicPtr newObject()
    {
        const bool text = pick(3) != 0;
        GraphicPtr g = SKTGraphic::create(text ? SKTGraphic::Kind::Text : SKTGraphic::Kind::Shape);
        g->setBounds(QRectF(pick(100), pick(100), 20 + pick(50), 20 + pick(50)));
        if (text)
            bindText(*g, pick(2) == 0);
        return g;
    }
    GraphicPtr anyObject(int side)
    {
        const GraphicList &list = doc.list(side);
        return list.isEmpty() ? nullptr : list[pick(int(list.size()))];
    }
    GraphicList texts(int side) const
    {
        GraphicList out;
        for (const GraphicPtr &g : doc.list(side))
            if (g->kind() == SKTGraphic::Kind::Text)
                out << g;
        return out;
    }
    // The recorders the canvas uses: insertions, removals and writes by key, one group each.
    void canvasStep(const std::function<void()> &edit)
    {
        UndoManager &undo = doc.undoManager();
        undo.beginUndoGrouping();
        edit();
        undo.endUndoGrouping();
    }
    void writePage(Card_Property &page)
    {
        switch (pick(4)) {
        case 0:
            page.Card_border_chk = !page.Card_border_chk;
            break;
        case 1:
            page.Card_bordr_clr = QColor(pick(256), pick(256), 0);
            break;
        case 2:
            page.Card_fill_clr = QColor(0, pick(256), pick(256));
            break;
        default:
            page.Card_Name = word();
        }
    }

    // A gesture on the canvas: a drag that moves or resizes, or arrow keys pressed and held (each
    // press one edit, the held repeats merged into it), as the canvas records them.
    void canvasGesture(int side)
    {
        const GraphicPtr g = anyObject(side);
        if (!g)
            return;
        const int kind = pick(3);
        if (kind < 2) {
            canvasStep([&] {
                const QRectF b = g->bounds();
                g->setValueForKey(SKTGraphicBoundsKey, kind == 0 ? b.translated(1 + pick(9), pick(9))
                                                                 : b.adjusted(0, 0, 1 + pick(9), pick(9)));
            });
            expected = kind == 0 ? QStringLiteral("Move") : QStringLiteral("Resize");
            return;
        }
        doc.undoManager().endMerge(); // a fresh press
        for (int repeat = 0, n = 1 + pick(4); repeat < n; ++repeat) {
            const EditStep step(doc, {QStringLiteral("Move"), side, EditStep::mergeKey(this, {g}, side)},
                                {GraphicStates::of({g})});
            SKTGraphic::translateGraphics({g}, 1, 0);
        }
        expected = QStringLiteral("Move");
    }
    // The preview side shows the live side's own objects, or copies with Personal Details laid on
    // them; neither is a step. Sometimes the refill fails half way: nothing is recorded either way,
    // and recording is on again after.
    void previewFill(int side)
    {
        expected = QString(); // no step
        const auto fill = [&] {
            doc.removeAllGraphicsFromSide(SKTDocument::Temp);
            GraphicList shown = pick(2) == 0 ? doc.list(side) : CardDesign::cloneList(doc.list(side));
            QList<int> indexes;
            for (int i = 0; i < shown.size(); ++i)
                indexes << i;
            doc.insertGraphicsIntoSide(SKTDocument::Temp, shown, indexes);
            const EditStep step(doc, {QStringLiteral("Personal Details"), SKTDocument::Temp, {}},
                                {GraphicStates::of(doc.graphics_temp())});
            GraphicPtr detail = SKTGraphic::create(SKTGraphic::Kind::Text);
            detail->Text_Value = word();
            doc.insertGraphicsIntoSide(SKTDocument::Temp, {detail}, {0});
            if (pick(3) == 0)
                throw std::runtime_error("the preview could not be drawn");
        };
        try {
            if (pick(2) == 0) {
                fill();
            } else {
                const UndoManager::Unrecorded unrecorded(doc.undoManager());
                fill();
            }
        } catch (const std::runtime_error &) {
        }
        EXPECT_TRUE(doc.undoManager().isUndoRegistrationEnabled());
    }

    // One edit, reload or answer of each kind the editor makes, by the roads it makes them;
    // `expected` names its step when it makes one ("" when it may make none, unset when the
    // name is the canvas's own).
    void randomOperation()
    {
        const int side = pick(2);
        expected.reset();
        switch (pick(14)) {
        case 0: { // an object page's write
            const GraphicPtr g = anyObject(side);
            if (!g)
                break;
            const EditStep step(doc, {QStringLiteral("Fill"), side, {}}, {GraphicStates::of({g})});
            expected = QStringLiteral("Fill");
            g->alpha_val = float(pick(100)) / 100.f;
            if (g->kind() == SKTGraphic::Kind::Text && pick(2) == 0)
                bindText(*g, pick(2) == 0);
            break;
        }
        case 1: // a drag or colour on the canvas
            if (const GraphicPtr g = anyObject(side))
                canvasStep([&] {
                    g->setValueForKey(SKTGraphicStrokeWidthKey, double(1 + pick(5)));
                    g->setValueForKey(SKTGraphicBoundsKey, g->bounds().translated(pick(9), pick(9)));
                });
            break;
        case 2:
            if (doc.list(side).size() < 8)
                canvasStep([&] {
                    doc.insertGraphicsIntoSide(side, {newObject()}, {pick(int(doc.list(side).size()) + 1)});
                });
            else
                canvasStep([&] { doc.removeGraphicsFromSide(side, {pick(int(doc.list(side).size()))}); });
            break;
        case 3: { // the card page, with the texts it may write
            const EditStep step(doc, {QStringLiteral("Card Page"), side, {}},
                                {DesignState::of(doc), GraphicStates::of(texts(side))});
            expected = QStringLiteral("Card Page");
            doc.changeSettingsRecorded({}, side, [&](DesignSettings &s) { writePage(s.page(side)); });
            break;
        }
        case 4: {
            Card_Property page = doc.design().page(side);
            writePage(page);
            testsupport::setPage(doc, side, page);
            break;
        }
        case 5:
            testsupport::setCardSize(doc, QSizeF(150 + pick(200), 100 + pick(100)));
            break;
        case 6:
            testsupport::setOutline(doc, pick(3));
            break;
        case 7: { // Personal Details: a workbook bound, details laid on the side
            const EditStep step(doc, {QStringLiteral("Personal Details"), side, {}},
                                {GraphicStates::of(doc.list(side)), DesignState::of(doc)});
            expected = QStringLiteral("Personal Details");
            ExcelBindingTable table = readRows();
            table.Excel_Binding_Use = true;
            table.Excel_Source_Path = QStringLiteral("/data/guests%1.xlsx").arg(pick(3));
            doc.setBinding(table);
            if (doc.list(side).size() < 8) {
                GraphicPtr detail = SKTGraphic::create(SKTGraphic::Kind::Text);
                bindText(*detail, true);
                doc.insertGraphicsIntoSide(side, {detail}, {int(doc.list(side).size())});
            }
            break;
        }
        case 8: // Load Again
            if (!binding().Excel_Source_Path.isEmpty()) {
                doc.takeWorkbookRows(QStringLiteral("Load Again"), binding().Excel_Source_Path, readRows());
                EXPECT_EQ(doc.undoManager().undoActionName(), QStringLiteral("Load Again"));
            }
            break;
        case 9: // Choose File... for a workbook gone
            doc.takeWorkbookRows(QStringLiteral("Choose Workbook"),
                                 QStringLiteral("/moved/guests%1.xlsx").arg(pick(3)), readRows());
            break;
        case 10: { // answers: the rows as loaded, or the same bytes under a new time
            DesignSettings s = doc.design().settings();
            s.binding.sourceFacts.settled = {pick(3000), ++clock};
            s.binding.sourceFacts.goneSettled = pick(2) == 0;
            doc.putSettingsUnrecorded(s);
            expected = QString();
            break;
        }
        case 11:
            canvasGesture(side);
            break;
        case 12:
            previewFill(side);
            break;
        default:
            for (int i = pick(3); i >= 0; --i)
                replay(pick(3) != 0 ? &UndoManager::undo : &UndoManager::redo);
        }
    }

    Snapshot snapshot() const
    {
        Snapshot s{doc.design().settings(), {}, {}};
        for (const int side : {0, 1}) {
            s.lists[side] = doc.list(side);
            s.states[side] = CardDesign::cloneList(doc.list(side));
        }
        return s;
    }
    ::testing::AssertionResult holds(const Snapshot &s) const
    {
        if (!(doc.design().settings() == s.settings))
            return ::testing::AssertionFailure() << "other settings";
        for (const int side : {0, 1}) {
            if (doc.list(side) != s.lists[side])
                return ::testing::AssertionFailure() << "other objects on side " << side;
            for (int i = 0; i < s.lists[side].size(); ++i)
                if (!GraphicStates::sameState(*s.lists[side][i], *s.states[side][i])) {
                    std::string f;
                    const SKTGraphic &a = *doc.list(side)[i], &b = *s.states[side][i];
                    for (const auto &field : GraphicFields::Table) {
                        if (!std::visit(
                                [&](auto m) {
                                    if constexpr (std::is_same_v<decltype(a.*m),
                                                                 const std::optional<Picture> &>)
                                        return true;
                                    else
                                        return a.*m == b.*m;
                                },
                                field.member))
                            f += std::string(field.name) + " ";
                    }
                    return ::testing::AssertionFailure()
                           << "object " << i << " of side " << side << " differs " << f << int(a.kind())
                           << " src " << a.data_source_type << " "
                           << a.textContentsForDrawing().text.toStdString() << " vs "
                           << b.textContentsForDrawing().text.toStdString() << " "
                           << a._Text_contents.has_value() << b._Text_contents.has_value();
                }
        }
        return ::testing::AssertionSuccess();
    }
    // Every bound text shows the first value of its column in the rows the design holds.
    ::testing::AssertionResult showsTheRows() const
    {
        for (const int side : {0, 1})
            for (const GraphicPtr &g : doc.list(side))
                if (g->kind() == SKTGraphic::Kind::Text &&
                    g->data_source_type == DataSourceCode::BindingColumn &&
                    g->textContentsForDrawing().text != firstValue(*g))
                    return ::testing::AssertionFailure()
                           << "side " << side << " shows \"" << g->textContentsForDrawing().text.toStdString()
                           << "\" for \"" << firstValue(*g).toStdString() << "\"";
        return ::testing::AssertionSuccess();
    }
    // An undo or redo: what the user answered about the workbook's file stays unless the step put
    // back another workbook.
    void replay(void (UndoManager::*which)())
    {
        const ExcelBindingTable before = binding();
        (doc.undoManager().*which)();
        if (DesignSettings::sameBinding(before, binding())) {
            EXPECT_EQ(binding().sourceFacts.settled, before.sourceFacts.settled);
            EXPECT_EQ(binding().sourceFacts.goneSettled, before.sourceFacts.goneSettled);
        }
        EXPECT_TRUE(showsTheRows());
    }

    // Undoes every step, then redoes every step: each is named alike both ways.
    void undoAndRedoAll()
    {
        UndoManager &undo = doc.undoManager();
        QStringList undone, redone;
        while (undo.canUndo() && !::testing::Test::HasFailure()) {
            undone.prepend(undo.undoActionName());
            replay(&UndoManager::undo);
        }
        ASSERT_TRUE(holds(first)) << "undo of every step";
        while (undo.canRedo() && !::testing::Test::HasFailure()) {
            redone.append(undo.redoActionName());
            replay(&UndoManager::redo);
        }
        // Redone first are those just undone; after them, those undone before the operation.
        EXPECT_EQ(redone.mid(0, undone.size()), undone);
    }

    SKTDocument doc;
    Snapshot first;
    std::optional<QString> expected;
    std::mt19937 rng{20261209};
    qint64 clock = 0;
};
} // namespace

TEST_F(UndoSequenceTest, EveryStepTakesBackItsOwnChangesAndTheViewsFollowTheRows)
{
    constexpr int Runs = 100, OperationsPerRun = 30;
    UndoManager &undo = doc.undoManager();
    for (int run = 0; run < Runs && !HasFailure(); ++run) {
        undo.removeAllActions();
        first = snapshot();
        Snapshot newest = first; // the state with nothing left to redo
        for (int op = 0; op < OperationsPerRun && !HasFailure(); ++op) {
            SCOPED_TRACE(testing::Message() << "run " << run << ", operation " << op);
            const int stepsBefore = undo.undoCount();
            randomOperation();
            ASSERT_TRUE(showsTheRows());
            if (expected && expected->isEmpty()) {
                EXPECT_EQ(undo.undoCount(), stepsBefore) << "a step where there is none";
            } else if (expected && undo.undoCount() > stepsBefore) {
                EXPECT_EQ(undo.undoActionName(), *expected);
            }
            const Snapshot now = snapshot();
            const int undone = undo.redoCount();
            if (undone == 0)
                newest = now;
            undoAndRedoAll();
            ASSERT_TRUE(holds(newest)) << "redo of every step";
            for (int i = 0; i < undone; ++i)
                replay(&UndoManager::undo);
            ASSERT_TRUE(holds(now)) << "back where the operation left the design";
        }
    }
}
