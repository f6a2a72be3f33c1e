// SPDX-License-Identifier: GPL-3.0-or-later
// Where the model constants ("Const.ini") are found at start: the current folder first, as the
// program always did, then the technician's own configuration folder, then the data folder
// that the installation put beside the program. The first place that has the file decides: a
// file there that the model refuses ends the start and is named, instead of a later place being
// read in its stead, so that nobody aligns a radio against constants other than the ones put
// in place.
//
//   ConstantsSearch search("Const.ini", {"/home/tech/.config/VSK5ALN", "/usr/share/vsk5-aln"});
//   search.find();         // "Const.ini" when the current folder has one, else the first of
//                          // the folders' files that exists, else nothing
//   search.notFoundText(); // "Cannot read 'Const.ini'.\r\nNot found in /home/tech,
//                          //  /home/tech/.config/VSK5ALN or /usr/share/vsk5-aln."
#pragma once

#include <optional>
#include <string>
#include <vector>

class ConstantsSearch {
  public:
    static constexpr const char* FileName = "Const.ini";

    // firstFile is looked at first (a relative name: in the current folder), then FileName in
    // each folder; empty folders are left out.
    ConstantsSearch(std::string firstFile, std::vector<std::string> folders);

    // The first file that exists; nothing when none does.
    std::optional<std::string> find() const;

    // What the technician is told when no place has the file, naming every folder looked in,
    // and when the file found was refused, naming it.
    std::string notFoundText() const;
    static std::string refusedText(const std::string& file);

  private:
    std::vector<std::string> candidates() const;

    std::string firstFile;
    std::vector<std::string> folders;
};
