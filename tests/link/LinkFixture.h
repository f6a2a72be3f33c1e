// SPDX-License-Identifier: GPL-3.0-or-later
// The link tests' common ground: frames written out byte by byte from their layout (the
// records and the bodies the link sends), and a link wired as the program wires it, over the
// in-process simulated radio on the test clock. A failed operation is recorded with the message the
// window would show, and resets the link as the window's report does.
#pragma once

#include "link/CloneErrorText.h"
#include "link/clsCmcCln3Sequence.h"
#include "link/clsCmcRadio.h"
#include "link/frmCom.h"
#include "platform/TickCount.h"
#include "tests/support/SimSerialControl.h"
#include "tests/support/WireFrames.h"

#include <gtest/gtest.h>

#include <numeric>

namespace linktest {

using testsupport::cat;
using testsupport::radioFrame;
// What the computer sends (and gets back as its echo), the command byte first in the body.
inline Bytes pcFrame(const Bytes& body) {
    return testsupport::hostFrame(body.at(0), Bytes(body.begin() + 1, body.end()));
}
inline const Bytes EndFrame = radioFrame(0xE5, {'V', 'e', 'x', 'o', ' ', 'I', 'n', 'c', '.'});
// E8 command 0 with the unlock text of the adjustment state, as the model sends it.
inline const std::string UnlockText = "0035526B39547A33577131";

// An E4 record in ASCII hex: address, count, data, checksum making the sum 0 mod 256. A count
// or checksum off by the given amount spoils it on purpose.
inline Bytes recordFrame(int adr, const Bytes& data, int countOff = 0, int sumOff = 0) {
    const auto count = static_cast<std::uint8_t>(data.size() + countOff);
    Bytes raw = cat({std::uint8_t(adr >> 8), std::uint8_t(adr), count}, data);
    raw.push_back(std::uint8_t(sumOff - std::accumulate(raw.begin(), raw.end(), 0)));
    return radioFrame(0xE4, testsupport::hex(raw));
}

class LinkTest : public ::testing::Test {
  protected:
    struct Report {
        std::string text;
        DriverError lastError;
        SequencerError seqError;
    };

    void SetUp() override {
        platform::TickCount::setTestClock(100000);
        build({});
    }
    void build(const vxk5sim::SimConfig& config) {
        auto sim = std::make_unique<testsupport::SimSerialControl>(config);
        port = sim.get();
        wire(std::move(sim));
    }
    void wire(std::unique_ptr<SerialControl> control) {
        seq.reset();
        com = std::make_unique<frmCom>(std::move(control));
        radio = clsCmcRadio();
        radio.setRadioNameM("7351");
        radio.setRadionameS("0001");
        radio.cloneWriteAdrList_Add(0x0000, 0x07FF);
        seq = std::make_unique<clsCmcCln3Sequence>(*com, radio, [](const std::string& nameS) {
            return nameS.substr(0, 2) <= std::string("00");
        });
        QObject::connect(seq.get(), &clsCmcCln3Sequence::operationFailed, [this] { report(); });
    }
    void report() {
        reports.push_back({cloneErrorText(*com, *seq), com->cln3D.lastError(), seq->error()});
        seq->easyReset(seq->ComPortNo());
    }
    // The link's part of the program's tick.
    void tick() {
        platform::TickCount::advanceTestClock(50);
        if (!com->errPortLost()) {
            com->serviceLine();
            seq->task();
            if (seq->OpRunning()) {
                seq->task();
            }
        }
        if (com->totalError()) {
            report();
        }
        if (com->comOpen() && com->totalError()) {
            com->setComOpen(false);
        }
    }
    // Ticks until the running operation ends; false if it never did.
    bool runToEnd(int ticks = 1000) {
        while (ticks-- > 0 && seq->OpRunning()) {
            tick();
        }
        return !seq->OpRunning();
    }
    vxk5sim::SimRadio& sim() { return port->radio(); }
    Bytes image() { return radio.objEep().ReadBlock(0, 2048); }
    Bytes radioMemory() { return Bytes(sim().memory().begin(), sim().memory().end()); }

    testsupport::SimSerialControl* port = nullptr;
    std::unique_ptr<frmCom> com;
    clsCmcRadio radio;
    std::unique_ptr<clsCmcCln3Sequence> seq;
    std::vector<Report> reports;
};

} // namespace linktest
