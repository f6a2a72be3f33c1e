// SPDX-License-Identifier: GPL-3.0-or-later
// Settings values to and from their text form, and the reads and writes of one section.
#include "common/clsCmcProfileIO.h"

#include "common/CommonRoutines.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/UserFolders.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

// The reader hands back at most this many characters, as the fixed read buffer did.
constexpr std::size_t MaxValueLength = 254;
const char* const DateFormat = "yyyy.MM.dd-hh:mm:ss";

template <typename Number> std::string numberText(Number value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string toText(std::int16_t value) {
    return numberText(value);
}
std::string toText(std::int32_t value) {
    return numberText(value);
}
std::string toText(float value) {
    return numberText(value);
}
std::string toText(double value) {
    return numberText(value);
}
std::string toText(std::uint8_t value) {
    return numberText(static_cast<int>(value));
}
std::string toText(bool value) {
    return value ? "1" : "0";
}
std::string toText(const QDateTime& value) {
    return value.toString(DateFormat).toStdString();
}
std::string toText(const std::string& value) {
    return value;
}

// A decimal number (sign, digits, point, exponent) or "&H" hexadecimal, and nothing else.
std::optional<double> parseNumber(const std::string& text) {
    if (text.size() > 1 && text[0] == '&') {
        const auto hex = ampersandHex(text);
        if (!hex || hex->length != text.size()) {
            return std::nullopt; // nothing may follow the digits
        }
        return static_cast<double>(hex->value);
    }
    std::size_t start = 0;
    while (start < text.size() && text[start] == ' ') {
        ++start;
    }
    const char* first = text.data() + start;
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') {
        ++first;
    }
    double value = 0;
    const auto result = std::from_chars(first, last, value);
    if (result.ec != std::errc() || result.ptr != last || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// Whole-number types take the number rounded half to even, and refuse what does not fit.
template <typename Int> bool fromText(const std::string& text, Int& out) {
    const auto number = parseNumber(text);
    if (!number) {
        return false;
    }
    const double rounded = std::nearbyint(*number);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
        return false;
    }
    out = static_cast<Int>(rounded);
    return true;
}

bool fromText(const std::string& text, float& out) {
    const auto number = parseNumber(text);
    if (!number || std::fabs(*number) > std::numeric_limits<float>::max()) {
        return false;
    }
    out = static_cast<float>(*number);
    return true;
}

bool fromText(const std::string& text, double& out) {
    const auto number = parseNumber(text);
    if (!number) {
        return false;
    }
    out = *number;
    return true;
}

bool fromText(const std::string& text, bool& out) {
    out = text != "0";
    return true;
}

bool fromText(const std::string& text, std::string& out) {
    out = text;
    return true;
}

// Only the full 19-character form is taken; year at 1-4, month 6-7, day 9-10, hour 12-13,
// minute 15-16, second 18-19.
bool fromText(const std::string& text, QDateTime& out) {
    if (text.size() != 19) {
        return true; // a date of another length leaves the variable as it was
    }
    int parts[6] = {};
    const std::size_t starts[6] = {0, 5, 8, 11, 14, 17};
    const std::size_t lengths[6] = {4, 2, 2, 2, 2, 2};
    for (int i = 0; i < 6; ++i) {
        const char* first = text.data() + starts[i];
        const char* last = first + lengths[i];
        const auto result = std::from_chars(first, last, parts[i]);
        if (result.ec != std::errc() || result.ptr != last) {
            return false;
        }
    }
    const QDateTime value(QDate(parts[0], parts[1], parts[2]), QTime(parts[3], parts[4], parts[5]));
    if (!value.isValid()) {
        return false;
    }
    out = value;
    return true;
}

std::string withSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

} // namespace

void clsCmcProfileIO::SetCurrentPath() {
    path = withSeparator(platform::programFolder());
}

void clsCmcProfileIO::setUserPath(const std::string& value) {
    userPath = value.empty() ? value : withSeparator(value);
}

void clsCmcProfileIO::SetUserConfigPath() {
    setUserPath(platform::userConfigFolder());
}

platform::SettingsPlaces clsCmcProfileIO::places() const {
    return platform::SettingsPlaces(GetMyProfile(), userPath.empty() ? "" : userPath + name);
}

std::string clsCmcProfileIO::ProfileInUse() const {
    return places().fileToRead();
}

std::string clsCmcProfileIO::ProfileToSave() const {
    return places().fileToWrite();
}

std::vector<std::string> clsCmcProfileIO::PortsProfiles() const {
    return places().portsFiles();
}

std::string clsCmcProfileIO::StripTerminator(const std::string& StrString) {
    return StrString.substr(0, StrString.find('\0'));
}

bool clsCmcProfileIO::write(const std::string& key, const std::string& text) const {
    if (pendingSaves) {
        pendingSaves->push_back({section, key, text});
        return true;
    }
    return places().write(section, key, text);
}

void clsCmcProfileIO::beginSaving() const {
    pendingSaves.emplace();
}

bool clsCmcProfileIO::commitSaving() const {
    if (!pendingSaves) {
        return true;
    }
    const std::vector<platform::IniFile::Entry> entries = std::move(*pendingSaves);
    pendingSaves.reset();
    return places().write(entries);
}

void clsCmcProfileIO::beginLoading() const {
    loading = std::make_shared<const platform::IniFile::Snapshot>(ProfileInUse());
}

void clsCmcProfileIO::endLoading() const {
    loading.reset();
}

std::optional<std::string> clsCmcProfileIO::readText(const std::string& key,
                                                     const std::string& defaultText) const {
    std::string text = loading ? loading->read(section, key, defaultText)
                               : platform::IniFile(ProfileInUse()).read(section, key, defaultText);
    if (text.size() > MaxValueLength) {
        text.resize(MaxValueLength);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    text = StripTerminator(text);
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

template <typename T>
bool clsCmcProfileIO::loadValue(const std::string& key, T& data,
                                const std::optional<T>& defaultData) const {
    const auto text = readText(key, toText(defaultData.value_or(data)));
    if (!text) {
        return false;
    }
    T converted = data;
    if (!fromText(*text, converted)) {
        return false; // a failed conversion leaves the variable as it was
    }
    data = converted;
    return true;
}

bool clsCmcProfileIO::saveData(const std::string& sKey, std::int16_t sData) const {
    return write(sKey, toText(sData));
}
bool clsCmcProfileIO::saveData(const std::string& sKey, std::int32_t sData) const {
    return write(sKey, toText(sData));
}
bool clsCmcProfileIO::saveData(const std::string& sKey, float sData) const {
    return write(sKey, toText(sData));
}
bool clsCmcProfileIO::saveData(const std::string& sKey, double sData) const {
    return write(sKey, toText(sData));
}
bool clsCmcProfileIO::saveData(const std::string& sKey, std::uint8_t sData) const {
    return write(sKey, toText(sData));
}
bool clsCmcProfileIO::saveData(const std::string& sKey, bool sData) const {
    return write(sKey, toText(sData));
}
bool clsCmcProfileIO::saveData(const std::string& sKey, const QDateTime& sData) const {
    return write(sKey, toText(sData));
}
bool clsCmcProfileIO::saveData(const std::string& sKey, const std::string& sData) const {
    return write(sKey, sData);
}
bool clsCmcProfileIO::saveData(const std::string& sKey, const char* sData) const {
    return write(sKey, std::string(sData));
}

bool clsCmcProfileIO::loadData(const std::string& sKey, std::int16_t& sData,
                               std::optional<std::int16_t> sDefaultData) const {
    return loadValue(sKey, sData, sDefaultData);
}
bool clsCmcProfileIO::loadData(const std::string& sKey, std::int32_t& sData,
                               std::optional<std::int32_t> sDefaultData) const {
    return loadValue(sKey, sData, sDefaultData);
}
bool clsCmcProfileIO::loadData(const std::string& sKey, float& sData,
                               std::optional<float> sDefaultData) const {
    return loadValue(sKey, sData, sDefaultData);
}
bool clsCmcProfileIO::loadData(const std::string& sKey, double& sData,
                               std::optional<double> sDefaultData) const {
    return loadValue(sKey, sData, sDefaultData);
}
bool clsCmcProfileIO::loadData(const std::string& sKey, std::uint8_t& sData,
                               std::optional<std::uint8_t> sDefaultData) const {
    return loadValue(sKey, sData, sDefaultData);
}
bool clsCmcProfileIO::loadData(const std::string& sKey, bool& sData,
                               std::optional<bool> sDefaultData) const {
    return loadValue(sKey, sData, sDefaultData);
}
bool clsCmcProfileIO::loadData(const std::string& sKey, QDateTime& sData,
                               std::optional<QDateTime> sDefaultData) const {
    return loadValue(sKey, sData, sDefaultData);
}
bool clsCmcProfileIO::loadData(const std::string& sKey, std::string& sData,
                               std::optional<std::string> sDefaultData) const {
    return loadValue(sKey, sData, sDefaultData);
}
