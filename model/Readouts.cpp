// SPDX-License-Identifier: GPL-3.0-or-later
// The readout exchanges and the judging of their answers.
#include "model/Readouts.h"

#include "common/CommonRoutines.h"
#include "link/clsCmcCln3Drv.h"
#include "link/clsCmcCln3Sequence.h"
#include "model/MemoryMap.h"
#include "model/RigView.h"

#include <algorithm>

namespace {

// An answer is the model and sub code, the readout command, and the value as two hexadecimal
// digit characters.
constexpr std::size_t AnswerLength = 7;
constexpr std::size_t ValueAt = 5;

} // namespace

Readouts::Readouts(clsCmcCln3Sequence& seq, const clsCmcCln3Drv& driver, RigView& view)
    : seq(seq), driver(driver), view(view) {}

void Readouts::reset() {
    std::fill(ad.begin(), ad.begin() + 3, -1);
    std::fill(da.begin(), da.begin() + 10, -1);
    rejected = false;
}

const ReadoutStamp& Readouts::stamp(ReadoutPage page, int index) const {
    return page == ReadoutPage::AD ? adStamps.at(static_cast<std::size_t>(index))
                                   : daStamps.at(static_cast<std::size_t>(index));
}

void Readouts::RigOpDisp_AD(std::int16_t channel, bool firstRequest, bool& done) {
    readout(ReadoutPage::AD, channel, firstRequest, done);
}

void Readouts::RigOpDisp_DA(std::int16_t entry, bool firstRequest, bool& done) {
    readout(ReadoutPage::DA, entry, firstRequest, done);
}

void Readouts::readout(ReadoutPage page, std::int16_t index, bool firstRequest, bool& done) {
    done = false;
    if (firstRequest) {
        const int parameter =
            page == ReadoutPage::AD ? index : index + MemoryMap::DaParameterOffset;
        seq.easySendE8ReqAnswer(liveCommandText(MemoryMap::E8Readout, parameter));
        return;
    }
    if (seq.OpRunning()) {
        return;
    }
    done = true;
    const Bytes& answer = driver.varLastE8Answer();
    if (answerIllegal(answer)) {
        rejected = true;
        return;
    }
    const auto v =
        static_cast<std::int16_t>(HexAsciiToInt({answer[ValueAt], answer[ValueAt + 1]}) & 0xFF);
    std::int16_t& last = page == ReadoutPage::AD ? ad.at(static_cast<std::size_t>(index))
                                                 : da.at(static_cast<std::size_t>(index));
    const auto at = static_cast<std::size_t>(index);
    (page == ReadoutPage::AD ? adStamps.at(at) : daStamps.at(at)) = current;
    if (v == last) {
        return; // an unchanged value leaves its line alone
    }
    last = v;
    if (const int row = readoutRow(page, index); row >= 0) {
        view.setReadoutLine(page, row, readoutLine(page, index, v));
    }
}

bool Readouts::answerIllegal(const Bytes& answer) const {
    if (answer.size() != AnswerLength) {
        return true;
    }
    if (answer.size() < radioNameBytes.size() ||
        !std::equal(radioNameBytes.begin(), radioNameBytes.end(), answer.begin())) {
        return true;
    }
    return hexDigitValue(static_cast<char>(answer[ValueAt])) < 0 ||
           hexDigitValue(static_cast<char>(answer[ValueAt + 1])) < 0;
}
