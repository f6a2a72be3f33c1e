// SPDX-License-Identifier: GPL-3.0-or-later
// Where the settings file is read and written. Its place is beside the program; when the
// technician may not write there (a read-only folder or file), the settings go to the user's
// own configuration folder instead, into a file that starts as a copy of the one beside the
// program, so its other sections (the PORTS mapping) and comments stay.
//
//   SettingsPlaces places("/opt/vsk5/VSK5ALN.ini", "/home/tech/.config/VSK5ALN/VSK5ALN.ini");
//   places.write("OPTION", "ComPort", "3");   // /opt/vsk5 read-only: the copy in .config
//   places.fileToRead();                      // from now on the copy in .config
#pragma once

#include "platform/IniFile.h"

#include <string>
#include <vector>

namespace platform {

class SettingsPlaces {
  public:
    // userFile empty: the program's place is the only one.
    SettingsPlaces(std::string programFile, std::string userFile);

    // The program's file while that place may be written or no user's file exists yet;
    // otherwise the user's file.
    std::string fileToRead() const;
    // The file a write lands in when all goes well; the one to name when it does not.
    std::string fileToWrite() const;
    // The files a PORTS mapping is looked up in, in order: the one read, then the program's.
    std::vector<std::string> portsFiles() const;

    // Writes key=value into the program's file, or failing that into the user's file (made
    // from the program's one first). False when neither could be written.
    bool write(const std::string& section, const std::string& key, const std::string& value) const;
    // Every entry in one write of the file, the same way.
    bool write(const std::vector<IniFile::Entry>& entries) const;

  private:
    bool programPlaceWritable() const;
    bool prepareUserFile() const;

    std::string programFile;
    std::string userFile;
};

} // namespace platform
