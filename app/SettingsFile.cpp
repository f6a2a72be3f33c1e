// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file's places and the constants search, shared by both composition roots.
#include "app/SettingsFile.h"

#include "common/Product.h"
#include "platform/ProgramFolder.h"

namespace settings_file {

clsCmcProfileIO open(const std::string& folder, const std::string& userFolder,
                     const std::string& name) {
    clsCmcProfileIO file;
    file.SetCurrentPath();
    if (!folder.empty()) {
        file.setPath(folder);
    }
    file.SetUserConfigPath();
    if (!userFolder.empty()) {
        file.setUserPath(userFolder);
    }
    file.setName(name.empty() ? std::string(product::ShortName) + ".ini" : name);
    file.setSection(product::Title);
    return file;
}

ConstantsSearch constantsSearch(const std::string& firstFile, const clsCmcProfileIO& profile,
                                const std::string& dataFolder) {
    return ConstantsSearch(
        firstFile,
        {profile.UserPath(), dataFolder.empty() ? platform::installedDataFolder() : dataFolder});
}

} // namespace settings_file
