// SPDX-License-Identifier: GPL-3.0-or-later
// The places "Const.ini" is looked for, in order, and the texts that name them.
#include "app/ConstantsSearch.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

const char* const CannotRead = "Cannot read 'Const.ini'.";

// The folder as the technician would type it: absolute, without "..", no separator at its end.
std::string shownFolder(const fs::path& folder) {
    std::error_code error;
    fs::path shown = fs::absolute(folder.empty() ? "." : folder, error).lexically_normal();
    if (!shown.has_filename() && shown.has_relative_path()) {
        shown = shown.parent_path();
    }
    return shown.string();
}

} // namespace

ConstantsSearch::ConstantsSearch(std::string first, std::vector<std::string> others)
    : firstFile(std::move(first)), folders(std::move(others)) {
    std::erase(folders, std::string());
}

std::vector<std::string> ConstantsSearch::candidates() const {
    std::vector<std::string> files{firstFile};
    for (const std::string& folder : folders) {
        files.push_back((fs::path(folder) / FileName).string());
    }
    return files;
}

std::optional<std::string> ConstantsSearch::find() const {
    for (const std::string& file : candidates()) {
        std::error_code error;
        if (fs::exists(file, error)) {
            return file;
        }
    }
    return std::nullopt;
}

std::string ConstantsSearch::notFoundText() const {
    std::vector<std::string> shown;
    for (const std::string& file : candidates()) {
        const std::string folder = shownFolder(fs::path(file).parent_path());
        if (std::find(shown.begin(), shown.end(), folder) == shown.end()) {
            shown.push_back(folder);
        }
    }
    std::string list = shown.front();
    for (std::size_t i = 1; i < shown.size(); ++i) {
        list += (i + 1 == shown.size() ? " or " : ", ") + shown[i];
    }
    return std::string(CannotRead) + "\r\nNot found in " + list + ".";
}

std::string ConstantsSearch::refusedText(const std::string& file) {
    const std::string shown =
        (fs::path(shownFolder(fs::path(file).parent_path())) / fs::path(file).filename()).string();
    return std::string(CannotRead) + "\r\n'" + shown + "' is not a valid constants file.";
}
