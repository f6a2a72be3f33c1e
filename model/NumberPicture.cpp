// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers printed by a picture: fixed decimals, a minimum of integer digits, no "-0".
#include "model/NumberPicture.h"

#include <cstdio>

std::string numberPicture(double value, int minIntegerDigits, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    std::string sign;
    if (!text.empty() && text.front() == '-') {
        sign = "-";
        text.erase(0, 1);
    }
    const auto point = text.find('.');
    std::string integer = text.substr(0, point);
    const std::string fraction = point == std::string::npos ? "" : text.substr(point);
    while (integer.size() > static_cast<std::size_t>(minIntegerDigits) && integer.front() == '0') {
        integer.erase(0, 1);
    }
    while (integer.size() < static_cast<std::size_t>(minIntegerDigits)) {
        integer.insert(0, "0");
    }
    if ((integer + fraction).find_first_not_of("0.") == std::string::npos) {
        sign.clear(); // a value that prints as zero carries no sign
    }
    return sign + integer + fraction;
}
