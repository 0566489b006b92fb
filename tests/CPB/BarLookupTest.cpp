#include "CPB/BarGenerator.h"
#include "Database/AlgorithmTable.h"

#include "Database/DbTestSupport.h"

#include <gtest/gtest.h>

namespace {

using BarLookup = dbtest::DbTest;

TEST_F(BarLookup, AlgorithmsAreFoundByTheConfiguredNames)
{
    exec("INSERT INTO Algorithm (Name, compDepthLow, compDepthHigh, eccRateLow, eccRateHigh, initVent, vRateLow, "
         "vRateHigh, vVolLow, vVolHigh, builtIn) VALUES ('Pediatric', 30, 38, 100, 120, 5, 12, 20, 0.1, 0.3, FALSE)");
    PropertyModel model;
    model.setAlgorithm1Name("PEDIATRIC");
    model.setAlgorithm2Name("Unknown");

    BarGenerator found(model, 1);
    EXPECT_EQ(found.getAlgorithm().Name, "Pediatric");
    EXPECT_EQ(found.getAlgorithm().compDepthLow, 30);
    EXPECT_EQ(found.row(0)[9], '5') << "five initial ventilations";
    EXPECT_EQ(std::string(found.row(5).begin() + 8, found.row(5).begin() + 10), "30");

    BarGenerator defaults(model, 2);
    Algorithm expected;
    expected.Name = "Unknown";
    EXPECT_EQ(defaults.getAlgorithm(), expected);
    EXPECT_EQ(defaults.barData(5), BarGenerator(model, expected).barData(5));
}

} // namespace
