// SPDX-License-Identifier: GPL-3.0-or-later
// The technician's 31 test channels (0 to 30): channel 0 serves TXF, channels 1, 2 and 3 the
// low, middle and high band-pass sweeps, the rest whatever the bench needs.
#pragma once

#include "model/clsRig_Ch.h"

#include <algorithm>
#include <array>
#include <cstdint>

class TestChannels {
  public:
    static constexpr int Count = 31;

    // The channel record; a number outside 0 to 30 is held at the nearest end.
    clsRig_Ch& ChUnit(int ChNo) { return channels[index(ChNo)]; }
    const clsRig_Ch& ChUnit(int ChNo) const { return channels[index(ChNo)]; }

  private:
    static std::size_t index(int ChNo) {
        return static_cast<std::size_t>(std::clamp(ChNo, 0, Count - 1));
    }

    std::array<clsRig_Ch, Count> channels;
};
