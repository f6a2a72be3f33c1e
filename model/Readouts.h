// SPDX-License-Identifier: GPL-3.0-or-later
// The radio's A/D and D/A readouts: one value at a time, asked for with the readout command
// (E8 3 and the parameter number, with an answer) and judged when the answer is in. A changed
// value rewrites its line in the readout list; the raw values stay for the procedures.
//
//   tick 1: RigOpDisp_AD(1, true, done)   -> E8 03 30 31 asked; done false
//   tick 2: RigOpDisp_AD(1, false, done)  -> the answer 73 51 00 01 03 38 30 is in: adLast 1 is
//           128, line "LVIN :128:80h:  2.51V"; done true
#pragma once

#include "model/ReadoutText.h"
#include "platform/Bytes.h"

#include <QDateTime>

#include <array>
#include <cstdint>
#include <string>
#include <utility>

class RigView;
class clsCmcCln3Drv;
class clsCmcCln3Sequence;

// When and on what occasion a value was read: "at Connect", "at Reload", "during TXF".
struct ReadoutStamp {
    std::string occasion;
    QDateTime at;
};

class Readouts {
  public:
    Readouts(clsCmcCln3Sequence& seq, const clsCmcCln3Drv& driver, RigView& view);

    // No value yet for A/D 0 to 2 and D/A 0 to 9 (so the next readings are all shown again),
    // no answer rejected.
    void reset();
    // The radio's model and sub code bytes that every answer must begin with.
    void setRadioNameBytes(const Bytes& bytes) { radioNameBytes = bytes; }

    // One tick of the readout of A/D channel 0 to 3 or D/A entry 0 to 10; firstRequest asks
    // anew. done is true once the answer was judged (taken, or rejected: see commError).
    void RigOpDisp_AD(std::int16_t channel, bool firstRequest, bool& done);
    void RigOpDisp_DA(std::int16_t entry, bool firstRequest, bool& done);

    std::int16_t adLast(int channel) const { return ad.at(static_cast<std::size_t>(channel)); }
    std::int16_t daLast(int entry) const { return da.at(static_cast<std::size_t>(entry)); }
    // A readout got an answer it had to reject; the model reports the link error.
    bool commError() const { return rejected; }

    // The values read from now on were read on this occasion, at this time. A value keeps the
    // stamp of its last reading, changed or not: a readout read at Connect and never again is
    // not the radio's value after the procedures that followed.
    void setOccasion(std::string occasion, const QDateTime& at) {
        current = {std::move(occasion), at};
    }
    // The same occasion goes on: only its time moves.
    void setOccasionTime(const QDateTime& at) { current.at = at; }
    const ReadoutStamp& stamp(ReadoutPage page, int index) const;

  private:
    void readout(ReadoutPage page, std::int16_t index, bool firstRequest, bool& done);
    bool answerIllegal(const Bytes& answer) const;

    clsCmcCln3Sequence& seq;
    const clsCmcCln3Drv& driver;
    RigView& view;
    Bytes radioNameBytes;
    std::array<std::int16_t, AdCount> ad{-1, -1, -1, -1};
    std::array<std::int16_t, DaCount> da{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    bool rejected = false;
    ReadoutStamp current;
    std::array<ReadoutStamp, AdCount> adStamps{};
    std::array<ReadoutStamp, DaCount> daStamps{};
};
