// The labels of a print run filled on several threads while the sheets are drawn: every sheet
// handed over whole and in order, only a window of labels filled ahead, and a run stopped early
// ends without filling the rest.
#include "output/LabelFeed.h"
#include "support/HangWatch.h"

#include <gtest/gtest.h>

#include <atomic>

namespace
{
// A label's number carried in the width of its front, so that what comes out shows what went in.
Printing_View::Sides marked(int label)
{
    DesignSettings design;
    design.setCardSize(QSizeF(label, 1));
    Printing_View::Sides sides;
    sides.front = RenderSide::of(design, 0, {}, {});
    return sides;
}

// `count` labels numbered from 100, in sheets of `perSheet` (the last one short).
struct Sheets {
    std::vector<int> labels, sheetEnds;
    Sheets(int count, int perSheet)
    {
        for (int i = 0; i < count; ++i) {
            labels.push_back(100 + i);
            if ((i + 1) % perSheet == 0 || i + 1 == count)
                sheetEnds.push_back(i + 1);
        }
    }
};
} // namespace

TEST(LabelFeed, SheetsComeWholeInOrderWithOnlyTheWindowFilledAhead)
{
    // A feeder that fills past its window overwrites a label still to be taken: the sheet waits.
    hangwatch::Watch::limitThisTest(std::chrono::seconds(20));
    struct Case {
        int labels, perSheet, ahead, threads;
    };
    for (const Case c : {Case{95, 10, 4, 3}, Case{40, 7, 30, 8}, Case{5, 10, 1, 1}}) {
        const Sheets run(c.labels, c.perSheet);
        const int window = std::max(c.ahead, c.perSheet);
        std::atomic<int> reachable{0}, fills{0}, pastWindow{0};
        LabelFeed feed(
            run.labels, run.sheetEnds, c.ahead,
            [&] {
                return [&](int label) {
                    ++fills;
                    if (label - 100 >= reachable + window)
                        ++pastWindow;
                    return marked(label);
                };
            },
            c.threads);
        int expected = 100;
        for (size_t sheet = 0; sheet < run.sheetEnds.size(); ++sheet) {
            reachable = run.sheetEnds[sheet];
            const std::vector<Printing_View::Sides> got = feed.takeSheet(int(sheet));
            const int start = sheet == 0 ? 0 : run.sheetEnds[sheet - 1];
            ASSERT_EQ(got.size(), size_t(run.sheetEnds[sheet] - start)) << "sheet " << sheet;
            for (const Printing_View::Sides &sides : got)
                EXPECT_EQ(sides.front->cardSize().width(), expected++);
        }
        EXPECT_EQ(expected, 100 + c.labels);
        EXPECT_EQ(fills, c.labels) << "each label is filled once";
        EXPECT_EQ(pastWindow, 0);
        EXPECT_TRUE(feed.takeSheet(int(run.sheetEnds.size())).empty());
    }
}

TEST(LabelFeed, AStoppedRunLeavesTheRestUnfilled)
{
    hangwatch::Watch::limitThisTest(std::chrono::seconds(20));
    const Sheets run(10000, 10);
    std::atomic<int> fills{0};
    {
        LabelFeed feed(run.labels, run.sheetEnds, 20, [&] {
            return [&](int label) {
                ++fills;
                return marked(label);
            };
        });
        EXPECT_EQ(feed.takeSheet(0).size(), 10u);
        // A sheet out of turn is refused rather than waited for.
        EXPECT_TRUE(feed.takeSheet(5).empty());
    }
    EXPECT_LE(fills, 10 + 20);
}
