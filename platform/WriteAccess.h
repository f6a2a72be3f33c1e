// SPDX-License-Identifier: GPL-3.0-or-later
// May this program write here? Judged by the permission bits that apply to the current user
// (the owner's, the group's or everyone else's, in that order), and by the system as well.
// access() alone is not enough: for root it calls everything writable, and a settings file the
// technician marked read-only would be replaced all the same.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// A file may be made in folder: its bits grant this user writing and entering it.
bool mayWriteFolder(const std::string& folder);

// file may be written or replaced: its folder may be written, and the file, when it exists, is
// a regular file whose bits grant this user writing.
bool mayReplaceFile(const std::string& file);

// file's whole content replaced by text: written beside it, then renamed over it, so that a
// failed write leaves the old file whole and no half file behind. Only where mayReplaceFile
// allows it, for root as well: a folder or file marked read-only keeps what it has. False when
// it was not written.
bool replaceFile(const std::string& file, std::string_view text);

} // namespace platform
