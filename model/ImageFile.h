// SPDX-License-Identifier: GPL-3.0-or-later
// Memory images on disk: the radio's 2048 bytes, raw, the form other clone tools read and
// write; the names of the backups the utility makes at every Connect; and the rule that ties an
// image to a radio. A raw image carries no identity of its own, so its name does: "VX-K5_",
// the sub code and "_".
//
//   ImageFile::backupName("0001", 6 Dec 2026 14:03:07)   -> "VX-K5_0001_20261206-140307.img"
//   ImageFile::freePath("/b", "VX-K5_0001_20261206-140307.img")
//       -> "/b/VX-K5_0001_20261206-140307-2.img" when the first name is taken
//   ImageFile::read("short.img")  -> no bytes, the reason in words
#pragma once

#include "link/clsCmcEeprom.h"
#include "platform/Bytes.h"

#include <cstdint>
#include <string>

class QDateTime;

class ImageFile {
  public:
    static constexpr std::int32_t Size = clsCmcEeprom::DefaultSize;

    struct ReadResult {
        Bytes bytes;       // exactly Size bytes when read
        std::string error; // why not, for the technician; empty when read
        bool ok() const { return error.empty(); }
    };

    static ReadResult read(const std::string& path);
    // Written whole or not at all: a failed write leaves an existing file as it was.
    [[nodiscard]] static bool write(const std::string& path, const Bytes& image);

    static std::string backupName(const std::string& subCode, const QDateTime& at);
    // A path in folder under name (or name with "-2", "-3" ... before its extension) that no
    // file has yet: a backup never replaces another.
    static std::string freePath(const std::string& folder, const std::string& name);
    // The name the utility gives every image of a radio: the model, the sub code, "_".
    static std::string namePrefix(const std::string& subCode);
    // The file's name (not its folder) begins with namePrefix(subCode).
    static bool namesRadio(const std::string& path, const std::string& subCode);
};
