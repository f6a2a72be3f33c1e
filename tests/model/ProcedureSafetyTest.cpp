// SPDX-License-Identifier: GPL-3.0-or-later
// A sensor error that ends TXF after its first writes puts every byte it changed back in the
// radio and the image, and a procedure that reached its end keeps its result (the golden trace
// of abandoned procedures has the restores of a procedure left before its end, frame by frame).
#include "tests/support/ConnectedBench.h"

#include "platform/SessionLog.h"

#include <fstream>

using namespace proceduretest;

namespace {

constexpr std::int32_t AreaFirst = 0x7A8;
constexpr std::int32_t AreaSize = 64;

Bytes radioArea(DoorBench& bench) {
    const auto& memory = bench.radio().memory();
    return Bytes(memory.begin() + AreaFirst, memory.begin() + AreaFirst + AreaSize);
}
Bytes imageArea(DoorBench& bench) {
    return bench.image().ReadBlock(AreaFirst, AreaSize);
}
} // namespace

TEST(ProcedureSafetyTest, ASensorErrorAfterTheFirstWritesPutsThemBack) {
    const std::string error = "The temperature sensor of the VX-K5 reads *Error.\r\n"
                              "TXF cannot be adjusted; its values are unchanged.";
    testsupport::TempDir logs;
    const platform::SessionLog log(logs.file("logs")); // the whole session, read at the end
    Connected c; // after the first local write: it is put back
    const Bytes before = radioArea(c.bench);
    ASSERT_TRUE(c.enter(ItemTxf));
    ASSERT_TRUE(c.atStep(56, 200));
    c.items().UpDown(ItemTxf, 3);
    ASSERT_TRUE(c.atStep(57, 40));
    ASSERT_TRUE(c.bench.runUntil([&] { return c.step() != 57; }, 40));
    ASSERT_NE(radioArea(c.bench), before);
    c.bench.radio().config().temperature = 255;
    ASSERT_TRUE(c.runToEnd(40));
    EXPECT_EQ(radioArea(c.bench), before);
    EXPECT_EQ(imageArea(c.bench), before);
    EXPECT_EQ(c.message(), error);
    std::ifstream in(platform::SessionLog::currentPath());
    const std::string lines((std::istreambuf_iterator<char>(in)), {});
    for (const char* line :
         {"link     out FE FE EE EF E2 73 51 00 01 FD\n", "link     in  FE FE EF EE E4 ",
          "model    start TXF\n", "model    end TXF: Ended without result"}) {
        EXPECT_NE(lines.find(line), std::string::npos) << line << " not in\n" << lines;
    }
}

TEST(ProcedureSafetyTest, AProcedureThatReachedItsEndKeepsItsResult) {
    Connected c;
    ASSERT_TRUE(c.enter(ItemBpfLowAll));
    ASSERT_TRUE(c.runToEnd());
    const Bytes swept = radioArea(c.bench);
    c.bench.door().click(RigDoor::Reload);
    c.bench.tick(40);
    EXPECT_EQ(radioArea(c.bench), swept);
    EXPECT_EQ(imageArea(c.bench), swept);
}
