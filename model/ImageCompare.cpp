// SPDX-License-Identifier: GPL-3.0-or-later
// The comparison of two memory images.
#include "model/ImageCompare.h"

#include "common/CommonRoutines.h"
#include "link/clsCmcEeprom.h"
#include "model/MemoryMap.h"
#include "model/clsIndEep_RigK5.h"

std::vector<CompareLine> compareImages(const Bytes& first, const clsCmcEeprom& second,
                                       const TxfTable& txf) {
    clsCmcEeprom chosen;
    chosen.WriteBlock(0, first);
    using Eep = clsIndEep_RigK5;
    const std::vector<Eep::DumpLine> a = Eep::RigEep_Lines(chosen, txf);
    const std::vector<Eep::DumpLine> b = Eep::RigEep_Lines(second, txf);
    std::vector<CompareLine> lines;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const std::string& label = a[i].label;
        lines.push_back({trimBlanks(label.substr(0, label.rfind(':'))), a[i].value, b[i].value,
                         a[i].value != b[i].value});
    }
    return lines;
}

std::vector<CellResult> areaDifferences(const Bytes& from, const Bytes& to) {
    std::vector<CellResult> list;
    for (std::int32_t a = MemoryMap::AreaFirst; a <= MemoryMap::AreaLast; ++a) {
        const auto i = static_cast<std::size_t>(a);
        if (i < from.size() && i < to.size() && from[i] != to[i]) {
            list.push_back({a, from[i], to[i]});
        }
    }
    return list;
}
