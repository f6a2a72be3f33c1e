// SPDX-License-Identifier: GPL-3.0-or-later
// The key buffer behind the main window's cmd00 buttons and the channel dialog's OK button.
// Characters typed on such a button are collected (each shifted up by one character code and
// upper-cased, so the code never stands in the program as typed); when the last 13 of them
// form the stored code, the stored caption text is decoded and handed back for the window
// caption. Both stored texts are kept in their shifted form only.
//
//   KeyBuffer kb("BCD", "Ifmmp");   // a buffer with its own code and text
//   kb.Feed("ab");  -> nothing       (buffer "BC")
//   kb.Feed("c");   -> "Hello"       (buffer "BCD")
#pragma once

#include <cstddef>
#include <optional>
#include <string>

class KeyBuffer {
  public:
    static constexpr std::size_t CodeLength = 13;

    // The program's own code and caption.
    KeyBuffer();
    // A buffer with another code (as the buffer would hold it) and another caption in its
    // shifted form; the buffer keeps the last code.size() characters.
    KeyBuffer(std::string code, std::string scrambledText);

    // Adds every character of typed (in order); returns the decoded caption when the buffer
    // matches the code after one of them, otherwise nothing.
    std::optional<std::string> Feed(const std::string& typed);

    const std::string& contents() const { return buffer; }

    // The shift of one typed character: one code higher, upper-cased.
    static char Encode(char typed);
    // Lowers every character code by one.
    static std::string Decode(const std::string& scrambled);

  private:
    std::string code;
    std::string scrambledText;
    std::string buffer;
};
