// SPDX-License-Identifier: GPL-3.0-or-later
// The memory map read both ways: the command that sets a byte is the one whose byte it is.
#include "model/MemoryMap.h"

#include <gtest/gtest.h>

TEST(MemoryMapTest, TheSetterOfEveryByteIsTheCommandThatSetsIt) {
    int reachable = 0;
    for (std::int32_t a = MemoryMap::AreaFirst; a <= MemoryMap::AreaLast; ++a) {
        const std::optional<MemoryMap::Setter> setter = MemoryMap::setterOfCell(a);
        if (!setter) {
            continue;
        }
        ++reachable;
        const std::optional<MemoryMap::Cell> cell = MemoryMap::cellOfCommand(setter->command);
        ASSERT_TRUE(cell.has_value());
        EXPECT_EQ(cell->address, a);
        EXPECT_EQ(cell->liveOffset, setter->liveOffset);
    }
    // Five bytes of the area no command reaches: 7ADh to 7AFh, 7BEh and 7BFh.
    EXPECT_EQ(reachable, MemoryMap::AreaSize - 5);
    EXPECT_FALSE(MemoryMap::setterOfCell(0x7AD));
}
