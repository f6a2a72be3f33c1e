// SPDX-License-Identifier: GPL-3.0-or-later
// The 31 test channels in the settings file's section OPTION, four keys each:
//
//   MR-1(Appear)=1   MR-1(Frequency)=14600000   MR-1(Ref)=0   MR-1(RF Power)=0
//
// Channel 0 always comes back shown (the procedures rely on it), and a hand-edited frequency
// outside the radio's band is held at the band edge.
#pragma once

class TestChannels;
class clsCmcProfileIO;

namespace test_channel_settings {

// Every key is tried even after one failed; false when any could not be saved.
bool save(const clsCmcProfileIO& profile, const TestChannels& channels);
void load(const clsCmcProfileIO& profile, TestChannels& channels);

} // namespace test_channel_settings
