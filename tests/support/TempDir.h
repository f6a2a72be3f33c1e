// A scratch folder that is removed with everything in it when the object goes.
#pragma once

#include <QTemporaryDir>

#include <string>

namespace testsupport {

class TempDir {
  public:
    TempDir();
    // The folder with a trailing separator.
    std::string path() const;
    std::string file(const std::string& name) const;
    void writeFile(const std::string& name, const std::string& text) const;
    std::string readFile(const std::string& name) const;

  private:
    QTemporaryDir dir;
};

} // namespace testsupport
