// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated signal generator's SCPI command set.
#include "sim/SimGenerator.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vxk5sim {
namespace {

const char* const kIdentity = "VXK5SIM,Simulated signal generator,0,1.0";
const char* const kUndefinedHeader = "-113,\"Undefined header\"";
const char* const kIllegalValue = "-224,\"Illegal parameter value\"";
const char* const kOutOfRange = "-222,\"Data out of range\"";
// SCPI keeps at most this many errors; one more replaces the last with a queue overflow.
constexpr std::size_t kErrorQueueLength = 16;

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// "FREQ" and "FREQUENCY" both match the keyword FREQuency (short form: its capitals).
bool keyword(const std::string& given, const std::string& shortForm, const std::string& longForm) {
    return given == shortForm || given == longForm;
}

// "145.525 MHz" -> 145525000 (Hz); "-47.5 dBm" -> -47.5. False for anything else.
bool number(const std::string& argument, const std::string& baseUnit, double& out) {
    const char* start = argument.c_str();
    char* end = nullptr;
    const double value = std::strtod(start, &end);
    if (end == start || !std::isfinite(value)) {
        return false;
    }
    const std::string unit = upper(trimmed(end));
    double scale = 1.0;
    if (unit == "KHZ" && baseUnit == "HZ") {
        scale = 1e3;
    } else if (unit == "MHZ" && baseUnit == "HZ") {
        scale = 1e6;
    } else if (unit == "GHZ" && baseUnit == "HZ") {
        scale = 1e9;
    } else if (!unit.empty() && unit != baseUnit) {
        return false;
    }
    out = value * scale;
    return true;
}

std::string levelText(double dbm) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", dbm); // the tool never changes the C locale
    return text;
}

} // namespace

SimGenerator::Reply SimGenerator::handle(const std::string& raw) {
    lines.push_back(raw);
    if (knobs.dropAfterLines >= 0 && knobs.dropAfterLines-- == 0) {
        return {Reply::Kind::Drop, {}};
    }
    const std::string line = trimmed(raw);
    const auto blank = line.find_first_of(" \t");
    std::string header = upper(line.substr(0, blank));
    const std::string argument = blank == std::string::npos ? "" : trimmed(line.substr(blank));
    const bool query = !header.empty() && header.back() == '?';
    if (query) {
        header.pop_back();
    }
    if (!header.empty() && header.front() == ':') {
        header.erase(0, 1);
    }
    for (const char* prefix : {"SOURCE:", "SOUR:"}) {
        if (header.rfind(prefix, 0) == 0) {
            header.erase(0, std::string(prefix).size());
        }
    }
    return command(header, argument, query);
}

SimGenerator::Reply SimGenerator::command(const std::string& header, const std::string& argument,
                                          bool query) {
    const auto answer = [](std::string text) {
        return Reply{Reply::Kind::Answer, std::move(text)};
    };
    if (query && (header == "*IDN" || keyword(header, "SYST:ERR", "SYSTEM:ERROR") ||
                  keyword(header, "SYST:ERR:NEXT", "SYSTEM:ERROR:NEXT"))) {
        if (header == "*IDN") {
            return answer(kIdentity);
        }
        std::string error = errors.empty() ? "0,\"No error\"" : errors.front();
        if (!errors.empty()) {
            errors.pop_front();
        }
        return answer(error);
    }
    const bool isFrequency =
        keyword(header, "FREQ", "FREQUENCY") || keyword(header, "FREQ:CW", "FREQUENCY:CW");
    const bool isLevel = keyword(header, "POW", "POWER");
    const bool isOutput = keyword(header, "OUTP", "OUTPUT");
    if (query && (isFrequency || isLevel || isOutput)) {
        return answer(isFrequency ? std::to_string(frequency)
                      : isLevel   ? levelText(level)
                                  : std::string(output ? "1" : "0"));
    }
    if (!query && (header == "*RST" || header == "*CLS")) {
        errors.clear();
        if (header == "*RST") {
            const SimGenerator reset;
            output = reset.output;
            frequency = reset.frequency;
            level = reset.level;
        }
        return {};
    }
    if (query || !(isFrequency || isLevel || isOutput)) {
        queueError(kUndefinedHeader);
        return {};
    }
    if (!knobs.settingError.empty()) {
        queueError(knobs.settingError);
    } else if (isOutput) {
        const std::string state = upper(argument);
        if (state == "ON" || state == "1" || state == "OFF" || state == "0") {
            output = state == "ON" || state == "1";
        } else {
            queueError(kIllegalValue);
        }
    } else {
        setNumber(isFrequency, argument);
    }
    return {};
}

void SimGenerator::setNumber(bool isFrequency, const std::string& argument) {
    double value = 0.0;
    if (!number(argument, isFrequency ? "HZ" : "DBM", value)) {
        queueError(kIllegalValue);
    } else if (isFrequency && value >= kLowestHz && value <= kHighestHz) {
        frequency = std::llround(value);
    } else if (!isFrequency && value >= kLowestDbm && value <= kHighestDbm) {
        level = std::round(value * 10.0) / 10.0;
    } else {
        queueError(kOutOfRange);
    }
}

void SimGenerator::queueError(const std::string& error) {
    if (errors.size() < kErrorQueueLength) {
        errors.push_back(error);
    } else {
        errors.back() = "-350,\"Queue overflow\"";
    }
}

} // namespace vxk5sim
