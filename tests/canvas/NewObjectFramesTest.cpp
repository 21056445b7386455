// Where new objects start on a card: on it whatever their size, and on the snapping grid without
// leaving it.
#include "canvas/NewObjectFrames.h"
#include "model/SKTGrid.h"

#include <gtest/gtest.h>

namespace
{
const QSizeF Card(113.4, 170.1); // the smallest built-in card, upright
} // namespace

TEST(NewObjectFrames, AFrameAtANewObjectPlaceLiesOnTheCard)
{
    const struct {
        const char *what;
        QRectF asked;
        QRectF expected;
    } cases[] = {
        {"fits where it is", {30, 30, 50, 50}, {30, 30, 50, 50}},
        {"past the right edge: starts again at 10", {70, 30, 100, 50}, {10, 30, 100, 50}},
        {"past the bottom edge: starts again at 10", {30, 150, 50, 50}, {30, 10, 50, 50}},
        {"too wide to start at 10: as far in as it must", {70, 30, 110, 40}, {3.4, 30, 110, 40}},
        {"wider than the card: scaled down in proportion", {30, 30, 226.8, 113.4}, {0, 30, 113.4, 56.7}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NewObjectFrames::cascaded(c.asked, Card), c.expected) << c.what;
}

TEST(NewObjectFrames, BothCornersSnapWithoutLeavingTheCard)
{
    const struct {
        const char *what;
        double spacing;
        QRectF asked;
        QRectF expected;
    } cases[] = {
        {"inside", 20, {12, 31, 50, 50}, {20, 40, 60, 60}},
        {"rounded past the right edge: one step back", 20, {10, 10, 102, 50}, {20, 20, 80, 60}},
        {"a grid too coarse for the card keeps the frame", 100, {60, 1, 50, 20}, {60, 1, 50, 20}},
        {"off the card already: snapped as it is", 20, {100, 10, 40, 20}, {100, 20, 40, 20}},
    };
    for (const auto &c : cases) {
        SKTGrid grid;
        grid.setSpacing(c.spacing);
        grid.setConstraining(true);
        EXPECT_EQ(NewObjectFrames::snapped(c.asked, &grid, Card), c.expected) << c.what;
    }
}
