// Workers change copies of the document's objects while the GUI thread edits, observes and undoes
// the originals: nothing a worker does may reach the originals, their observers or the undo stack.
#include "ModelFixture.h"

#include "model/SKTDocument.h"
#include "model/SKTText.h"
#include "platform/UndoManager.h"

#include <atomic>
#include <thread>
#include <vector>

namespace
{

class CountingObserver : public ChangeObserver
{
public:
    int changes = 0;
    void observeValueForKeyPath(const QString &, Observable *, const ObservedChange &, void *) override
    {
        ++changes;
    }
};

} // namespace

TEST_F(ModelTest, WorkersChangingCopiesLeaveTheOriginalsObserversAndUndoAlone)
{
    SKTDocument doc;
    UndoManager &um = doc.undoManager();
    GraphicList originals;
    for (int i = 0; i < 4; ++i) {
        GraphicPtr g = SKTGraphic::create(i % 2 ? SKTGraphic::Kind::Text : SKTGraphic::Kind::Shape);
        g->setBounds(QRectF(10 * i, 10, 40, 20));
        um.beginUndoGrouping();
        doc.addInGraphics(g);
        um.endUndoGrouping();
        originals << g;
    }
    CountingObserver watcher;
    for (const GraphicPtr &g : originals)
        g->addObserver(&watcher, SKTGraphicFillColorKey);
    const int undoBefore = um.undoCount();

    // Each worker gets its own deep copies, made here as a batch snapshot is.
    constexpr int kWorkers = 8;
    std::vector<GraphicList> copies(kWorkers);
    for (GraphicList &list : copies)
        for (const GraphicPtr &g : originals)
            list << g->clone();

    std::atomic<int> copiesObserved{0};
    std::vector<std::thread> workers;
    for (int w = 0; w < kWorkers; ++w) {
        workers.emplace_back([&, w] {
            for (int round = 0; round < 50; ++round) {
                for (const GraphicPtr &g : copies[w]) {
                    g->setValueForKey(SKTGraphicFillColorKey, QColor(w * 20, round, 0));
                    g->setBounds(QRectF(w, round, 30, 30));
                    if (g->hasObservers())
                        ++copiesObserved;
                }
            }
        });
    }
    // Meanwhile the GUI thread goes on editing and undoing the originals.
    for (int round = 0; round < 20; ++round) {
        um.beginUndoGrouping();
        originals[round % 4]->setValueForKey(SKTGraphicFillColorKey, QColor(0, 0, round * 10));
        um.endUndoGrouping();
        if (round % 3 == 2)
            um.undo();
    }
    for (std::thread &t : workers)
        t.join();

    EXPECT_EQ(copiesObserved, 0);
    EXPECT_EQ(um.undoCount(), undoBefore + 20 - 6); // the GUI's own groups, less those undone
    EXPECT_EQ(watcher.changes, 20 + 6);             // each change and each undo, nothing from workers
    for (int w = 0; w < kWorkers; ++w)
        EXPECT_EQ(copies[w].last()->bounds(), QRectF(w, 49, 30, 30));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(originals[i]->bounds(), QRectF(10 * i, 10, 40, 20));
    for (const GraphicPtr &g : originals)
        g->removeAllObservers(&watcher);
}
