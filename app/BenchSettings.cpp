// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BenchSettings.h"

#include "common/clsCmcProfileIO.h"

#include <cmath>

namespace {

constexpr const char* Section = "INSTRUMENTS";

} // namespace

namespace bench_settings {

BenchSettings load(clsCmcProfileIO& profile) {
    BenchSettings settings;
    profile.setSection(Section);
    profile.beginLoading();
    profile.loadData("Generator", settings.generator.resource, std::string{});
    profile.loadData("GeneratorProfile", settings.generator.profile, std::string{});
    profile.loadData("Plan", settings.plan, std::string{});
    std::int32_t settle = BenchSettings::DefaultSettleMs;
    if (profile.loadData("SettleTime", settle, std::int32_t{BenchSettings::DefaultSettleMs}) &&
        settle >= 0 && settle <= instruments::kLongestSettleMs) {
        settings.settleMs = settle;
    }
    double maximum = instruments::kDefaultMaximumLevelDbm;
    if (profile.loadData("MaximumLevel", maximum, instruments::kDefaultMaximumLevelDbm) &&
        std::isfinite(maximum) && maximum >= instruments::kLowestMaximumDbm &&
        maximum <= instruments::kHighestMaximumDbm) {
        settings.generator.maximumLevelDbm = maximum;
    }
    profile.endLoading();
    return settings;
}

bool save(clsCmcProfileIO& profile, const BenchSettings& settings) {
    profile.setSection(Section);
    profile.beginSaving();
    profile.saveData("Generator", settings.generator.resource);
    profile.saveData("GeneratorProfile", settings.generator.profile);
    profile.saveData("Plan", settings.plan);
    profile.saveData("SettleTime", std::int32_t{settings.settleMs});
    profile.saveData("MaximumLevel", settings.generator.maximumLevelDbm);
    return profile.commitSaving();
}

} // namespace bench_settings
