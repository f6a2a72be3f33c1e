// SPDX-License-Identifier: GPL-3.0-or-later
// A scratch folder that is removed with everything in it when the object goes, also when a test
// made parts of it read-only.
#pragma once

#include <QTemporaryDir>

#include <filesystem>
#include <string>

namespace testsupport {

class TempDir {
  public:
    TempDir() = default;
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder with a trailing separator.
    std::string path() const;
    std::string file(const std::string& name) const;
    void writeFile(const std::string& name, const std::string& text) const;
    std::string readFile(const std::string& name) const;
    bool exists(const std::string& name) const;
    // Makes the folder name (and any folder above it) inside the scratch folder.
    void makeFolder(const std::string& name) const;

    // The permission bits of name ("" for the scratch folder itself), set and read.
    void setMode(const std::string& name, std::filesystem::perms mode) const;
    std::filesystem::perms mode(const std::string& name) const;

  private:
    QTemporaryDir dir;
};

} // namespace testsupport
