// SPDX-License-Identifier: GPL-3.0-or-later
// "Connect" against the simulated radio where the golden trace of Connect (which pins every
// frame, value and wait) cannot say it: a record lost outside the adjustment area does not
// matter.
#include "tests/support/DoorBench.h"

#include <gtest/gtest.h>

TEST(ModelConnectTest, ARecordLostOutsideTheAdjustmentAreaDoesNotMatter) {
    vxk5sim::SimConfig config;
    config.dropRecord = 0;
    testsupport::DoorBench bench(config);
    ASSERT_TRUE(bench.connect());
    EXPECT_TRUE(bench.view().messages.empty());
}
