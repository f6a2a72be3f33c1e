// SPDX-License-Identifier: GPL-3.0-or-later
// The scratch folder and its file helpers.
#include "tests/support/TempDir.h"

#include <fstream>
#include <sstream>

namespace testsupport {

namespace fs = std::filesystem;

TempDir::~TempDir() {
    // A folder left read-only would keep its files from being removed (for all but root).
    // Each folder is opened up before the walk enters it.
    std::error_code ignored;
    std::error_code walk;
    const fs::path root(dir.path().toStdString());
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (auto it = fs::recursive_directory_iterator(root, walk);
         !walk && it != fs::recursive_directory_iterator(); it.increment(walk)) {
        if (it->is_directory(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
}

std::string TempDir::path() const {
    return dir.path().toStdString() + "/";
}

std::string TempDir::file(const std::string& name) const {
    return path() + name;
}

void TempDir::writeFile(const std::string& name, const std::string& text) const {
    std::ofstream(file(name), std::ios::binary) << text;
}

std::string TempDir::readFile(const std::string& name) const {
    std::ifstream in(file(name), std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

bool TempDir::exists(const std::string& name) const {
    std::error_code error;
    return fs::exists(file(name), error);
}

void TempDir::makeFolder(const std::string& name) const {
    fs::create_directories(file(name));
}

void TempDir::setMode(const std::string& name, fs::perms mode) const {
    fs::permissions(file(name), mode, fs::perm_options::replace);
}

fs::perms TempDir::mode(const std::string& name) const {
    return fs::status(file(name)).permissions() & fs::perms::mask;
}

} // namespace testsupport
