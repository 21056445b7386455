// Point, size and rectangle texts: the forms written, the strict reading of archives and the
// lenient reading of design files.
#include "platform/GeometryText.h"

#include <gtest/gtest.h>

#include <limits>

TEST(GeometryText, WritesShortestExactNumbers)
{
    EXPECT_EQ(GeometryText::point(QPointF(1.5, -2)), "{1.5, -2}");
    EXPECT_EQ(GeometryText::size(QSizeF(0.1, 243)), "{0.1, 243}");
    EXPECT_EQ(GeometryText::rect(QRectF(-0.0, 1e-7, 1e21, 3)),
              "{{0, 0.0000001}, {1000000000000000000000, 3}}");
    EXPECT_EQ(GeometryText::number(std::numeric_limits<double>::infinity()), "0");
    const double third = 1.0 / 3.0;
    EXPECT_EQ(GeometryText::parsePoint(GeometryText::point(QPointF(third, -third))), QPointF(third, -third));
    EXPECT_EQ(GeometryText::parseRect(GeometryText::rect(QRectF(third, 2, 3, third))),
              QRectF(third, 2, 3, third));
}

TEST(GeometryText, StrictReadingWantsTheWholeShape)
{
    EXPECT_EQ(GeometryText::parseRect(" { {1, 2} , {3e1, .5} } "), QRectF(1, 2, 30, 0.5));
    EXPECT_EQ(GeometryText::parseSize("{+4,5}"), QSizeF(4, 5));
    for (const char *bad :
         {"{1, 2, 3}", "1, 2", "{1, 2}}", "{1; 2}", "{1e999, 2}", "{{1, 2}, {3}}", "", "{a, b}"}) {
        EXPECT_FALSE(GeometryText::parsePoint(bad)) << bad;
        EXPECT_FALSE(GeometryText::parseRect(bad)) << bad;
    }
    EXPECT_FALSE(GeometryText::parseRect("{1, 2}"));
    EXPECT_FALSE(GeometryText::parsePoint("{{1, 2}, {3, 4}}"));
}

TEST(GeometryText, LenientReadingTakesTheFirstNumbers)
{
    EXPECT_EQ(GeometryText::pointIn("x=3 y=-4.5 z=9"), QPointF(3, -4.5));
    EXPECT_EQ(GeometryText::sizeIn("{7}"), QSizeF(7, 0));
    EXPECT_EQ(GeometryText::sizeIn("junk"), QSizeF(0, 0));
    EXPECT_TRUE(std::isinf(GeometryText::sizeIn("{1e999, 2}").width()));
}
