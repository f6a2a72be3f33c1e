// SPDX-License-Identifier: GPL-3.0-or-later
// The comparison of two memory images.
#include "model/ImageCompare.h"

#include "common/CommonRoutines.h"
#include "link/clsCmcEeprom.h"
#include "model/MemoryMap.h"
#include "model/clsIndEep_RigK5.h"

namespace {

constexpr std::size_t LabelWidth = 25; // the dump's label, then its four-character value

std::vector<std::string> dumpLines(const clsCmcEeprom& image, const TxfTable& txf) {
    const std::string text = clsIndEep_RigK5::RigEep_Text(image, txf);
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

} // namespace

std::vector<CompareLine> compareImages(const Bytes& first, const clsCmcEeprom& second,
                                       const TxfTable& txf) {
    clsCmcEeprom chosen;
    chosen.WriteBlock(0, first);
    const std::vector<std::string> a = dumpLines(chosen, txf);
    const std::vector<std::string> b = dumpLines(second, txf);
    std::vector<CompareLine> lines;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const std::string label = a[i].substr(0, LabelWidth);
        lines.push_back({trimBlanks(label.substr(0, label.rfind(':'))), a[i].substr(LabelWidth),
                         b[i].substr(LabelWidth), a[i] != b[i]});
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
