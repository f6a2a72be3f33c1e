// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file and the constants search as both composition roots find them: the window's
// and the command line's read the same "VSK5ALN.ini" in the same places (the given folder or
// the program's own, then the per-user configuration folder) and look for "Const.ini" in the
// same order, so a technician's set-up serves both.
//
//   clsCmcProfileIO profile = settings_file::open({});          // <program folder>/VSK5ALN.ini
//   settings_file::constantsSearch("Const.ini", profile, {}).find();
#pragma once

#include "app/ConstantsSearch.h"
#include "common/clsCmcProfileIO.h"

#include <string>

namespace settings_file {

// The settings file in folder (empty: the program's own folder) or, when that may not be
// written, in userFolder (empty: the per-user configuration folder Qt names). name empty: the
// product's own name.
clsCmcProfileIO open(const std::string& folder, const std::string& userFolder = {},
                     const std::string& name = {});

// "Const.ini": firstFile (relative: in the current folder), then the settings file's user
// folder, then dataFolder (empty: the installed data folder beside the program).
ConstantsSearch constantsSearch(const std::string& firstFile, const clsCmcProfileIO& profile,
                                const std::string& dataFolder);

} // namespace settings_file
