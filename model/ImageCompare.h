// SPDX-License-Identifier: GPL-3.0-or-later
// Two memory images side by side, line by line as the adjustment dump shows them: the label,
// the value in each image, and whether they differ.
//
//   compareImages(backup, image, txf)[6]  ->  {"BPF LOW T1 Level", "  90", "  92", true}
//   areaDifferences(backup, now)          ->  {{0x7B0, 90, 92}}
#pragma once

#include "model/ServiceRecord.h"
#include "platform/Bytes.h"

#include <string>
#include <vector>

class TxfTable;
class clsCmcEeprom;

struct CompareLine {
    std::string label;
    std::string first;  // the value in the first image
    std::string second; // the value in the second image
    bool differs = false;
};

std::vector<CompareLine> compareImages(const Bytes& first, const clsCmcEeprom& second,
                                       const TxfTable& txf);

// The bytes of the adjustment area that differ between two whole images, in address order.
std::vector<CellResult> areaDifferences(const Bytes& from, const Bytes& to);
