// SPDX-License-Identifier: GPL-3.0-or-later
// The service record across Connects: the same radio, as the utility last knew it, continues
// the job (its first backup stays the way back); another radio starts a new one.
#include "model/ServiceRecord.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

Bytes memoryWith(std::uint8_t areaByte, std::uint8_t outsideByte = 0) {
    Bytes image(2048, outsideByte);
    std::fill(image.begin() + 0x7A8, image.begin() + 0x7E8, 0);
    image[0x7B0] = areaByte;
    return image;
}

struct ReconnectCase {
    const char* name;
    const char* subCode;
    Bytes image;     // read at the second Connect
    Bytes lastKnown; // the image before it
    bool sameJob;
};

class ReconnectTest : public ::testing::TestWithParam<ReconnectCase> {};

} // namespace

TEST_P(ReconnectTest, ContinuesTheJobOnlyForTheRadioAsLastKnown) {
    const ReconnectCase& p = GetParam();
    ServiceRecord record([] { return QDateTime(QDate(2026, 12, 6), QTime(9, 0)); });
    const Bytes first = memoryWith(90);
    record.beginSession({{}, 1, "VX-K5", "0001", "/b/first.img"}, first, Bytes());
    record.noteValue(0x7B0, 90, 92);
    record.noteRun({"BPF Low ALL", {}, RunOutcome::Completed, "", {{0x7B0, 90, 92}}});
    record.beginSession({{}, 1, "VX-K5", p.subCode, "/b/second.img"}, p.image, p.lastKnown);
    EXPECT_EQ(record.imageAtConnect(), p.sameJob ? first : p.image);
    EXPECT_EQ(record.sessionStarts().size(), p.sameJob ? 2u : 1u);
    EXPECT_EQ(record.valuesSent().size(), p.sameJob ? 1u : 0u);
    EXPECT_EQ(record.runs().size(), p.sameJob ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Connects, ReconnectTest,
    ::testing::Values(
        ReconnectCase{"SameRadio", "0001", memoryWith(92), memoryWith(92), true},
        // Outside the adjustments a radio may change by itself (its channel memories): still
        // the same job.
        ReconnectCase{"SameAdjustmentsOtherChannels", "0001", memoryWith(92, 7), memoryWith(92),
                      true},
        ReconnectCase{"OtherAdjustments", "0001", memoryWith(100), memoryWith(92), false},
        ReconnectCase{"OtherSubCode", "0002", memoryWith(92), memoryWith(92), false}),
    [](const auto& info) { return std::string(info.param.name); });
