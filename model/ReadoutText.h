// SPDX-License-Identifier: GPL-3.0-or-later
// The lines of the A/D and D/A readout lists: the raw value in decimal and hexadecimal, then
// the reading it stands for (a temperature, a voltage, a percentage), right-aligned.
//
//   readoutLine(ReadoutPage::AD, 1, 128)  ->  "LVIN :128:80h:  2.51V"
//   readoutLine(ReadoutPage::AD, 0, 255)  ->  "TEMPS:255:FFh:*Error"     (open or shorted sensor)
//   readoutRow(ReadoutPage::DA, 3)        ->  -1                         (kept, never shown)
#pragma once

#include "model/RigView.h"

#include <string>

// A/D channels 0 to 3 (0 temperature, 1 level input, 2 signal detector, 3 unused) and D/A
// entries 0 to 10.
inline constexpr int AdCount = 4;
inline constexpr int DaCount = 11;

// The list row of a readout (0 is the list's caption), or -1 for a value without a line.
int readoutRow(ReadoutPage page, int index);
// The line of a readout showing the raw value v (0 to 255); empty for a row without a label.
std::string readoutLine(ReadoutPage page, int index, int v);
