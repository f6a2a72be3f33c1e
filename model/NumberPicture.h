// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers printed by a picture such as "##0.#0": a fixed count of decimals and at least a
// given count of integer digits ("###.#0" prints 0.65 as ".65", "#000.####0" prints 145 as
// "145.00000").
#pragma once

#include <string>

std::string numberPicture(double value, int minIntegerDigits, int decimals);
