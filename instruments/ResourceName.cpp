// SPDX-License-Identifier: GPL-3.0-or-later
// The VISA resource name parser.
#include "instruments/ResourceName.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <vector>

namespace instruments {
namespace {

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::vector<std::string> splitFields(const std::string& name) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t at = name.find("::"); at != std::string::npos; at = name.find("::", start)) {
        fields.push_back(name.substr(start, at - start));
        start = at + 2;
    }
    fields.push_back(name.substr(start));
    return fields;
}

// "TCPIP", "TCPIP0", "USB12": the keyword followed by an optional board number.
bool isKeyword(const std::string& field, const std::string& keyword) {
    const std::string head = upper(field.substr(0, keyword.size()));
    return head == keyword &&
           std::all_of(field.begin() + static_cast<long>(head.size()), field.end(),
                       [](unsigned char c) { return std::isdigit(c) != 0; });
}

bool isNumber(const std::string& text, long min, long max, long& out) {
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return !text.empty() && ec == std::errc() && ptr == text.data() + text.size() && out >= min &&
           out <= max;
}

ParsedResource refuse(const std::string& name, const std::string& why) {
    return {{}, "'" + name + "' is not an instrument address this program knows: " + why};
}

ParsedResource tcpip(const std::string& name, const std::vector<std::string>& f) {
    const std::string last = upper(f.back());
    if (f.size() < 3 || f[1].empty()) {
        return refuse(name, "the host is missing.");
    }
    Resource r{ConnectionKind::Socket, f[1], kDefaultScpiPort, {}, {}, {}, {}, name};
    if (last == "SOCKET") {
        long port = 0;
        if (f.size() == 4 && !isNumber(f[2], 1, 65535, port)) {
            return refuse(name, "the port must be a number from 1 to 65535.");
        }
        if (f.size() > 4) {
            return refuse(name, "a raw socket is TCPIP::host::port::SOCKET.");
        }
        r.port = f.size() == 4 ? static_cast<int>(port) : kDefaultScpiPort;
        return {r, {}};
    }
    if (last == "INSTR" && f.size() <= 4) {
        r.kind = ConnectionKind::Vxi11;
        r.port = 0;
        r.device = f.size() == 4 ? f[2] : "inst0";
        return {r, {}};
    }
    return refuse(name, "a network instrument ends in ::SOCKET or ::INSTR.");
}

ParsedResource usb(const std::string& name, const std::vector<std::string>& f) {
    if (upper(f.back()) != "INSTR" || f.size() < 4 || f.size() > 6) {
        return refuse(name, "a USB instrument is USB::vendor::model[::serial]::INSTR.");
    }
    Resource r{ConnectionKind::Usbtmc, {}, 0, {}, f[1], f[2], {}, name};
    if (f.size() >= 5) {
        r.usbSerial = f[3];
    }
    return {r, {}};
}

ParsedResource serial(const std::string& name, const std::vector<std::string>& f) {
    const std::string device = f[0].substr(4);
    if (f.size() != 2 || upper(f[1]) != "INSTR" || device.empty()) {
        return refuse(name, "a serial instrument is ASRL<device>::INSTR.");
    }
    long number = 0;
    Resource r{ConnectionKind::Serial, {}, 0, device, {}, {}, {}, name};
    if (isNumber(device, 1, 256, number)) {
        r.device = "/dev/ttyS" + std::to_string(number - 1);
    }
    return {r, {}};
}

} // namespace

ParsedResource parseResource(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    const std::string name = first == std::string::npos
                                 ? std::string()
                                 : text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
    if (name.empty()) {
        return {{}, "No instrument address is set."};
    }
    if (name.rfind("/dev/usbtmc", 0) == 0) {
        long number = 0;
        if (!isNumber(name.substr(11), 0, 255, number)) {
            return refuse(name, "a USBTMC device is /dev/usbtmc<n>.");
        }
        return {{ConnectionKind::Usbtmc, {}, 0, name, {}, {}, {}, name}, {}};
    }
    const std::vector<std::string> fields = splitFields(name);
    if (isKeyword(fields[0], "TCPIP")) {
        return tcpip(name, fields);
    }
    if (isKeyword(fields[0], "USB")) {
        return usb(name, fields);
    }
    if (upper(fields[0].substr(0, 4)) == "ASRL") {
        return serial(name, fields);
    }
    return refuse(name, "it starts with neither TCPIP, ASRL nor USB.");
}

} // namespace instruments
