// SPDX-License-Identifier: GPL-3.0-or-later
// The test channels' settings.
#include "model/TestChannelSettings.h"

#include "common/clsCmcProfileIO.h"
#include "model/TestChannels.h"

#include <algorithm>
#include <string>

namespace test_channel_settings {
namespace {

constexpr std::int32_t DefaultFrequency = 14500000; // 145 MHz in 10 Hz

std::string channelKey(int channel, const char* field) {
    return "MR-" + std::to_string(channel) + field;
}

} // namespace

bool save(const clsCmcProfileIO& profile, const TestChannels& channels) {
    bool saved = true;
    for (int c = 0; c < TestChannels::Count; ++c) {
        const clsRig_Ch& ch = channels.ChUnit(c);
        saved = profile.saveData(channelKey(c, "(Appear)"), ch.AppearCh()) && saved;
        saved = profile.saveData(channelKey(c, "(Frequency)"), ch.FreqOp_Pure()) && saved;
        saved = profile.saveData(channelKey(c, "(Ref)"), ch.FreqOpRef_Pure()) && saved;
        saved = profile.saveData(channelKey(c, "(RF Power)"), ch.RFPower_Pure()) && saved;
    }
    return saved;
}

void load(const clsCmcProfileIO& profile, TestChannels& channels) {
    for (int c = 0; c < TestChannels::Count; ++c) {
        bool appear = c == 0;
        std::int32_t frequency = DefaultFrequency;
        std::int16_t reference = 0;
        std::int16_t power = 0;
        profile.loadData(channelKey(c, "(Appear)"), appear, c == 0);
        profile.loadData(channelKey(c, "(Frequency)"), frequency, DefaultFrequency);
        profile.loadData(channelKey(c, "(Ref)"), reference, std::int16_t{0});
        profile.loadData(channelKey(c, "(RF Power)"), power, std::int16_t{0});
        if (c == 0 && !appear) {
            // Channel 0 is always shown: the procedures rely on it.
            appear = true;
            frequency = DefaultFrequency;
            reference = 0;
            power = 0;
        }
        clsRig_Ch& ch = channels.ChUnit(c);
        ch.setAppearCh(appear);
        // A hand-edited frequency outside the radio's band would be sent as it stands (and a
        // negative one as nonsense digits): it is held at the band edge, as typed ones are.
        ch.setFreqOp_Pure(std::clamp(frequency, clsRig_Ch::FreqLowest, clsRig_Ch::FreqHighest));
        ch.setFreqOpRef_Pure(reference);
        ch.setRFPower_Pure(power);
    }
}

} // namespace test_channel_settings
