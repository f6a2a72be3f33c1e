// SPDX-License-Identifier: GPL-3.0-or-later
// Typed access to one section of the program's settings file. Values are stored as text:
// numbers in decimal, booleans as "1"/"0", dates as "yyyy.mm.dd-hh:mm:ss", texts as they are.
//
//   profile.setSection("OPTION");
//   profile.saveData("ComPort", std::int16_t{3});          // ComPort=3
//   std::int16_t port = 0;
//   profile.loadData("ComPort", port, std::int16_t{1});    // 3, or 1 when the key is missing
//
// loadData leaves the variable unchanged (and returns false) when the value read is empty or
// does not convert to the variable's type.
//
// The file is Path & Name, beside the program. Where that place may not be written (a read-only
// folder or file), the settings are written to, and from then on read from, the file of the
// same name in UserPath, the user's own configuration folder; it starts as a copy of the file
// beside the program (platform::SettingsPlaces).
#pragma once

#include "platform/SettingsPlaces.h"

#include <QDateTime>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class clsCmcProfileIO {
  public:
    const std::string& Name() const { return name; }
    void setName(const std::string& value) { name = value; }
    const std::string& Path() const { return path; }
    void setPath(const std::string& value) { path = value; }
    const std::string& Section() const { return section; }
    void setSection(const std::string& value) { section = value; }
    // The folder for the settings when the program's own place is read-only; empty for none.
    // One separator is added at its end when it has none.
    const std::string& UserPath() const { return userPath; }
    void setUserPath(const std::string& value);

    // Path := the program's folder with one separator at its end.
    void SetCurrentPath();
    // UserPath := the user's configuration folder that Qt names for the application.
    void SetUserConfigPath();
    std::string GetMyProfile() const { return path + name; }
    // The file the settings are read from now, and the one a save writes to (the one to name
    // when a save fails).
    std::string ProfileInUse() const;
    std::string ProfileToSave() const;
    // What the technician reads when a save reached neither place.
    std::string notSavedText() const {
        return "Cannot save the settings to '" + ProfileToSave() + "'.";
    }
    // The files that map COM numbers to devices (section PORTS), the one in use first.
    std::vector<std::string> PortsProfiles() const;

    bool saveData(const std::string& sKey, std::int16_t sData) const;
    bool saveData(const std::string& sKey, std::int32_t sData) const;
    bool saveData(const std::string& sKey, float sData) const;
    bool saveData(const std::string& sKey, double sData) const;
    bool saveData(const std::string& sKey, std::uint8_t sData) const;
    bool saveData(const std::string& sKey, bool sData) const;
    bool saveData(const std::string& sKey, const QDateTime& sData) const;
    bool saveData(const std::string& sKey, const std::string& sData) const;
    bool saveData(const std::string& sKey, const char* sData) const;

    bool loadData(const std::string& sKey, std::int16_t& sData,
                  std::optional<std::int16_t> sDefaultData = std::nullopt) const;
    bool loadData(const std::string& sKey, std::int32_t& sData,
                  std::optional<std::int32_t> sDefaultData = std::nullopt) const;
    bool loadData(const std::string& sKey, float& sData,
                  std::optional<float> sDefaultData = std::nullopt) const;
    bool loadData(const std::string& sKey, double& sData,
                  std::optional<double> sDefaultData = std::nullopt) const;
    bool loadData(const std::string& sKey, std::uint8_t& sData,
                  std::optional<std::uint8_t> sDefaultData = std::nullopt) const;
    bool loadData(const std::string& sKey, bool& sData,
                  std::optional<bool> sDefaultData = std::nullopt) const;
    bool loadData(const std::string& sKey, QDateTime& sData,
                  std::optional<QDateTime> sDefaultData = std::nullopt) const;
    bool loadData(const std::string& sKey, std::string& sData,
                  std::optional<std::string> sDefaultData = std::nullopt) const;

    // The saves between beginSaving() and commitSaving() reach the file in one write, at the
    // commit: a large settings file is read and written once, not once per key. Each save
    // returns true meanwhile; the commit tells whether the file was written.
    void beginSaving() const;
    bool commitSaving() const;

    // The loads between beginLoading() and endLoading() read the file once, at the begin: a
    // large settings file is not read once per key.
    void beginLoading() const;
    void endLoading() const;

    // The text up to its first NUL character.
    static std::string StripTerminator(const std::string& StrString);

  private:
    platform::SettingsPlaces places() const;
    bool write(const std::string& key, const std::string& text) const;
    // The stored text of key (default text for a missing key), cut and trimmed as the
    // loaders need it; nothing when the text read is empty.
    std::optional<std::string> readText(const std::string& key,
                                        const std::string& defaultText) const;
    template <typename T>
    bool loadValue(const std::string& key, T& data, const std::optional<T>& defaultData) const;

    std::string name = "Profile.INI";
    std::string path;
    std::string section;
    std::string userPath;
    mutable std::optional<std::vector<platform::IniFile::Entry>> pendingSaves;
    mutable std::shared_ptr<const platform::IniFile::Snapshot> loading; // a copy shares it
};
