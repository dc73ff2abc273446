// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "fit/DataFile.h"

#include <gtest/gtest.h>

#include <cmath>

namespace velmora {
namespace {

// Mode "R" with the default fields on the demo measurement fits the radius
// the generator used (field 10) within two radius steps almost everywhere.
TEST(Recovery, DemoRadiusWithinTwoStepsAtNinetyFivePercent) {
    const TDataTable table = ReadDataFile(VELMORA_DEMO_FILE);
    ASSERT_GE(table.lineCount(), 400);
    test::RecordingView view;
    const FitResult r = runFit(test::inputsFor(FitMode::R, VELMORA_DEMO_FILE), view);
    ASSERT_EQ(r.timePoints, table.lineCount());
    const double step = (200.0 - 20.0) / 200;
    int close = 0;
    for (int t = 1; t <= r.timePoints; ++t) {
        if (std::fabs(r.Rfit[t] - table.field(t - 1, 10)) <= 2 * step) {
            ++close;
        }
    }
    EXPECT_GE(close, 0.95 * r.timePoints) << close << " of " << r.timePoints;
    // The generator's concentration falls slowly from 1000; a radius half a
    // step off moves it by some ten percent (intensities grow as R^6).
    EXPECT_NEAR(r.Conc[1], 1000.0, 250.0);
    EXPECT_LT(r.Conc[r.timePoints], r.Conc[1]);
}

} // namespace
} // namespace velmora
