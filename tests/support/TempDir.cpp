// The scratch folder and its file helpers.
#include "tests/support/TempDir.h"

#include <fstream>
#include <sstream>

namespace testsupport {

TempDir::TempDir() = default;

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

} // namespace testsupport
