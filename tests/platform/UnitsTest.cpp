// Length conversions: the rounded factors stored designs and entry fields were made with, and the
// exact ones of the postal bars.
#include "platform/Units.h"

#include <gtest/gtest.h>

TEST(Units, EntriesInEachUnitBecomePoints)
{
    EXPECT_FLOAT_EQ(float(Units::enteredToPoints(0.1f, 1)), 2.8346472f);
    EXPECT_FLOAT_EQ(float(Units::enteredToPoints(10.0f, 2)), 28.346472f);
    EXPECT_EQ(Units::enteredToPoints(1.0, 0), 72.0);
    EXPECT_EQ(Units::enteredToPoints(1.0, 3), 72.0);        // an unknown unit code reads as inches
    EXPECT_FLOAT_EQ(float(Units::milsToPoints(10)), 0.72f); // divided in single precision
    EXPECT_EQ(Units::inchesToPoints(0.5), 36.0);
    EXPECT_EQ(Units::pointsToInches(36.0), 0.5);
}

TEST(Units, ShownMillimetresUseTheRoundedFactors)
{
    EXPECT_EQ(Units::pointsToMillimetres(243.0f), float(243.0 * 0.3527777777778));
    EXPECT_EQ(Units::millimetresToPoints(85.6f), float(double(85.6f) * 2.834645669291));
    EXPECT_NEAR(Units::millimetresToPoints(Units::pointsToMillimetres(154.0f)), 154.0f, 1e-4);
    EXPECT_DOUBLE_EQ(Units::PointsPerMillimetre * Units::MillimetresPerInch, 72.0);
    EXPECT_NEAR(1.0 / Units::MillimetresPerPointPostal, Units::PointsPerMillimetre, 1e-12);
}
