// SPDX-License-Identifier: GPL-3.0-or-later
// Sectioned settings file in the classic initialisation format:
//
//   [OPTION]
//   ComPort=1
//   MR-12(RF Power)=0
//
// Reading behaves like the system's profile-string reader: section and key names are compared
// without regard to case, blanks around names and values are ignored, a missing file, section
// or key yields the default. Writing replaces or adds one key and keeps every other line of
// the file exactly as it was (comments, blank lines, other sections, their order, each line's
// own line end); a key that already holds the value is left as it was written. Keys are
// stored literally; nothing is escaped.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace platform {

class IniFile {
  public:
    struct Entry {
        std::string section;
        std::string key;
        std::string value;
    };

    explicit IniFile(std::string path);

    const std::string& path() const { return filePath; }

    // The value of key in section, or defaultValue when the file, section or key is missing.
    std::string read(const std::string& section, const std::string& key,
                     const std::string& defaultValue) const;

    // Sets key=value in section, creating the file, the section or the key as needed.
    // Returns false when the file could not be written; the file on disk is then unchanged.
    // A file or folder whose permission bits deny this user writing is not written even where
    // the system would let it through (root): a file marked read-only is never replaced.
    bool write(const std::string& section, const std::string& key, const std::string& value) const;
    // Sets every entry, in order, reading and writing the file once (not at all when every
    // key already holds its value); the same rules as for one.
    bool write(const std::vector<Entry>& entries) const;

    // The file as it is now, read once for many reads: a settings load asks for every key of
    // its section, and a large file must not be read once per key. Reads as IniFile::read.
    class Snapshot {
      public:
        explicit Snapshot(const std::string& path);
        ~Snapshot();
        Snapshot(const Snapshot&) = delete;
        Snapshot& operator=(const Snapshot&) = delete;

        std::string read(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;

      private:
        struct Text;
        std::unique_ptr<Text> text;
    };

  private:
    std::string filePath;
};

} // namespace platform
